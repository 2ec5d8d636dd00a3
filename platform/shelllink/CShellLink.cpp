#include "platform/shelllink/CShellLink.h"

#include "platform/shell/CFileHandle.h"
#include "platform/shell/CFileSystem.h"
#include "platform/shell/MPrivateFiles.h"
#include "platform/shelllink/CByteReader.h"
#include "platform/shelllink/CByteWriter.h"
#include "platform/shelllink/MLinkText.h"
#include "platform/shelllink/MPropertyStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t HeaderSize = 0x4C;
// 00021401-0000-0000-C000-000000000046 in its on-disk byte order.
constexpr std::uint8_t LinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// The environment, icon environment and darwin blocks: a 260-byte ANSI and a 520-byte
// Unicode copy of one path.
constexpr std::size_t PathBlockSize = 0x314;
constexpr std::size_t PathBlockAnsiSize = 260;

// The flag bits that only say which parts are present; ToBytes sets them from the parts.
constexpr std::uint32_t PresenceFlags =
    CShellLink::HasLinkTargetIdList | CShellLink::HasLinkInfo | CShellLink::HasName |
    CShellLink::HasRelativePath | CShellLink::HasWorkingDir | CShellLink::HasArguments |
    CShellLink::HasIconLocation | CShellLink::IsUnicode | CShellLink::HasExpString |
    CShellLink::HasDarwinId | CShellLink::HasExpIcon | CShellLink::RunWithShimLayer;

// The classic error for a file that cannot be opened.
CRunTimeError OpenError(int iErrno, const std::string& sPath, bool bForWriting) {
    switch (iErrno) {
    case ENOENT: {
        const std::filesystem::path oParent = std::filesystem::path(sPath).parent_path();
        std::error_code ec;
        if (bForWriting || (!oParent.empty() && !std::filesystem::is_directory(oParent, ec))) {
            return CRunTimeError::Standard(RunTimeErrors::PathNotFound);
        }
        return CRunTimeError::Standard(RunTimeErrors::FileNotFound);
    }
    case ENOTDIR:
        return CRunTimeError::Standard(RunTimeErrors::PathNotFound);
    case ENOSPC:
        return CRunTimeError::Standard(RunTimeErrors::DiskFull);
    default:
        return CRunTimeError::Standard(RunTimeErrors::PathFileAccessError);
    }
}

struct SStringField {
    std::uint32_t lFlag;
    const char* pszName;
};
// StringData in file order.
constexpr SStringField StringFields[] = {{CShellLink::HasName, "description"},
                                         {CShellLink::HasRelativePath, "relative path"},
                                         {CShellLink::HasWorkingDir, "working folder"},
                                         {CShellLink::HasArguments, "arguments"},
                                         {CShellLink::HasIconLocation, "icon location"}};

} // namespace

CShellLink CShellLink::Load(const std::string& sPath) {
    CFileSystem& oFiles = CFileSystem::Current();
    const CFileHandle oFile(oFiles, oFiles.Open(sPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (oFile.Fd() < 0) {
        throw OpenError(errno, sPath, false);
    }
    struct stat oStat {};
    if (oFiles.FileStat(oFile.Fd(), oStat) != 0 || S_ISDIR(oStat.st_mode)) {
        throw CRunTimeError::Standard(RunTimeErrors::PathFileAccessError);
    }
    std::vector<std::uint8_t> vBytes;
    if (!ReadOpenFile(oFile.Fd(), oStat.st_size, vBytes)) {
        throw CRunTimeError::Standard(RunTimeErrors::PathFileAccessError);
    }
    return FromBytes(vBytes);
}

bool CShellLink::ReadOpenFile(int iFd, off_t llSize, std::vector<std::uint8_t>& vBytes) {
    // Sized by the file: a shortcut is read with one small buffer and one read.
    vBytes.assign(
        std::min<std::size_t>(static_cast<std::size_t>(std::max<off_t>(llSize, 0)), MaxFileSize) +
            1,
        0);
    CFileSystem& oFiles = CFileSystem::Current();
    std::size_t nRead = 0;
    while (nRead < vBytes.size()) {
        const ssize_t nChunk = oFiles.Read(iFd, vBytes.data() + nRead, vBytes.size() - nRead);
        if (nChunk < 0 && errno == EINTR) {
            continue;
        }
        if (nChunk < 0) {
            return false;
        }
        if (nChunk == 0) {
            break;
        }
        nRead += static_cast<std::size_t>(nChunk);
        if (nRead < vBytes.size() &&
            nRead >= static_cast<std::size_t>(std::max<off_t>(llSize, 0))) {
            break; // the end that the size gave: no second read to find it
        }
        if (nRead == vBytes.size() && vBytes.size() <= MaxFileSize) {
            vBytes.resize(std::min<std::size_t>(vBytes.size() * 2, MaxFileSize + 1));
        }
    }
    vBytes.resize(nRead);
    return true;
}

CShellLink CShellLink::FromBytes(const std::vector<std::uint8_t>& vBytes) {
    if (vBytes.size() > MaxFileSize) {
        throw CByteReader::Damaged("the file is larger than 1 MiB");
    }
    const CByteReader oFile(vBytes.data(), vBytes.size());
    CAnsiText oAnsi;
    CShellLink oLink = Parse(oFile, oAnsi);
    // ANSI texts that are neither ASCII nor UTF-8 are read again in the code page that the
    // file's own Unicode names prove, when they prove one.
    if (!oAnsi.Guessed().empty()) {
        CAnsiText oProven(oAnsi.ProveCodePage(oLink.UnicodeNames()));
        if (!oProven.CodePage().empty()) {
            oLink = Parse(oFile, oProven);
        }
    }
    // The names of the target id list, where it spells the same path, come before any reading
    // of the ANSI bytes.
    if (oLink.m_oLinkInfo) {
        oLink.m_oLinkInfo->AdoptUnicodeNames(oLink.UnicodeIdListPath());
    }
    return oLink;
}

CShellLink CShellLink::Parse(const CByteReader& oFile, CAnsiText& oAnsi) {
    if (oFile.Size() < HeaderSize) {
        throw CByteReader::Damaged("the file is shorter than a shortcut header");
    }
    if (oFile.RawU32(0) != HeaderSize ||
        std::memcmp(oFile.Data() + 4, LinkClassId, sizeof LinkClassId) != 0) {
        throw CByteReader::Damaged("the file is not a shortcut");
    }
    CShellLink oLink;
    oLink.m_lLinkFlags = oFile.RawU32(0x14);
    oLink.m_lFileAttributes = oFile.RawU32(0x18);
    oLink.m_llCreationTime = oFile.U64(0x1C, "the creation time");
    oLink.m_llAccessTime = oFile.U64(0x24, "the access time");
    oLink.m_llWriteTime = oFile.U64(0x2C, "the write time");
    oLink.m_lFileSize = oFile.RawU32(0x34);
    oLink.m_lIconIndex = static_cast<std::int32_t>(oFile.RawU32(0x38));
    oLink.m_lShowCommand = oFile.RawU32(0x3C);
    oLink.m_iHotKey = oFile.RawU16(0x40);

    std::size_t nOffset = HeaderSize;
    if ((oLink.m_lLinkFlags & HasLinkTargetIdList) != 0) {
        nOffset = oLink.ReadIdList(oFile, nOffset);
    }
    if ((oLink.m_lLinkFlags & HasLinkInfo) != 0) {
        const std::uint32_t lSize = oFile.U32(nOffset, "the LinkInfo size");
        oLink.m_oLinkInfo = CLinkInfo::Parse(oFile.Sub(nOffset, lSize, "the LinkInfo"), oAnsi);
        nOffset += lSize;
    }
    nOffset = oLink.ReadStringData(oFile, nOffset, oAnsi);
    oLink.ReadExtraData(oFile, nOffset);
    oLink.m_sAnsiCodePage = oAnsi.CodePage();
    return oLink;
}

std::size_t CShellLink::ReadIdList(const CByteReader& oFile, std::size_t nOffset) {
    const std::uint16_t iSize = oFile.U16(nOffset, "the target id list size");
    const CByteReader oList = oFile.Sub(nOffset + 2, iSize, "the target id list");
    m_bHasIdList = true;
    std::size_t n = 0;
    // Every item advances by at least two bytes, so the walk ends within the list.
    while (oList.Contains(n, 2)) {
        const std::uint16_t iItemSize = oList.RawU16(n);
        if (iItemSize == 0) {
            break;
        }
        if (iItemSize < 2) {
            throw CByteReader::Damaged("an item of the target id list has an impossible size");
        }
        oList.Require(n, iItemSize, "an item of the target id list");
        m_vIdList.emplace_back(
            std::vector<std::uint8_t>(oList.Data() + n, oList.Data() + n + iItemSize));
        n += iItemSize;
    }
    return nOffset + 2 + iSize;
}

std::size_t CShellLink::ReadStringData(const CByteReader& oFile, std::size_t nOffset,
                                       CAnsiText& oAnsi) {
    std::string* const aTargets[] = {&m_sDescription, &m_sRelativePath, &m_sWorkingDirectory,
                                     &m_sArguments, &m_sIconLocation};
    const bool bUnicode = (m_lLinkFlags & IsUnicode) != 0;
    for (std::size_t i = 0; i < std::size(StringFields); ++i) {
        if ((m_lLinkFlags & StringFields[i].lFlag) == 0) {
            continue;
        }
        const std::string sWhat = std::string("the ") + StringFields[i].pszName + " string";
        const std::uint16_t iCount = oFile.U16(nOffset, sWhat);
        const std::size_t nBytes = bUnicode ? 2u * iCount : iCount;
        oFile.Require(nOffset + 2, nBytes, sWhat);
        const std::uint8_t* pText = oFile.Data() + nOffset + 2;
        *aTargets[i] =
            bUnicode ? MLinkText::FromUtf16Le(pText, iCount) : oAnsi.Decode(pText, iCount);
        nOffset += 2 + nBytes;
    }
    return nOffset;
}

void CShellLink::ReadExtraData(const CByteReader& oFile, std::size_t nOffset) {
    // A file that ends where the terminal block should be is read as if it were there.
    while (oFile.Contains(nOffset, 4)) {
        const std::uint32_t lSize = oFile.RawU32(nOffset);
        if (lSize < 4) {
            break;
        }
        if (lSize < 8) {
            throw CByteReader::Damaged("an extra data block is smaller than its header");
        }
        oFile.Require(nOffset, lSize, "an extra data block");
        const std::uint8_t* pBlock = oFile.Data() + nOffset;
        m_vExtraDataBlocks.emplace_back(oFile.RawU32(nOffset + 4),
                                        std::vector<std::uint8_t>(pBlock, pBlock + lSize));
        nOffset += lSize;
    }
}

std::vector<std::uint8_t> CShellLink::ToBytes() const {
    auto Overflow = [] { return CRunTimeError::Standard(RunTimeErrors::Overflow); };
    std::uint32_t lFlags = (m_lLinkFlags & ~PresenceFlags) | IsUnicode;
    if (m_bHasIdList) {
        lFlags |= HasLinkTargetIdList;
    }
    if (m_oLinkInfo) {
        lFlags |= HasLinkInfo;
    }
    const std::string* const aStrings[] = {&m_sDescription, &m_sRelativePath, &m_sWorkingDirectory,
                                           &m_sArguments, &m_sIconLocation};
    for (std::size_t i = 0; i < std::size(StringFields); ++i) {
        if (!aStrings[i]->empty()) {
            lFlags |= StringFields[i].lFlag;
        }
    }
    if (FindBlock(CExtraDataBlock::EnvironmentVariable) != nullptr) {
        lFlags |= HasExpString;
    }
    if (FindBlock(CExtraDataBlock::Darwin) != nullptr) {
        lFlags |= HasDarwinId;
    }
    if (FindBlock(CExtraDataBlock::IconEnvironment) != nullptr) {
        lFlags |= HasExpIcon;
    }
    if (FindBlock(CExtraDataBlock::Shim) != nullptr) {
        lFlags |= RunWithShimLayer;
    }

    CByteWriter oWriter;
    oWriter.U32(HeaderSize);
    oWriter.Bytes(std::vector<std::uint8_t>(std::begin(LinkClassId), std::end(LinkClassId)));
    oWriter.U32(lFlags);
    oWriter.U32(m_lFileAttributes);
    oWriter.U64(m_llCreationTime);
    oWriter.U64(m_llAccessTime);
    oWriter.U64(m_llWriteTime);
    oWriter.U32(m_lFileSize);
    oWriter.U32(static_cast<std::uint32_t>(m_lIconIndex));
    oWriter.U32(m_lShowCommand);
    oWriter.U16(m_iHotKey);
    oWriter.Zeros(10); // Reserved1-3

    if (m_bHasIdList) {
        std::size_t nListSize = 2; // the terminal item
        for (const CShellItem& oItem : m_vIdList) {
            nListSize += oItem.Bytes().size();
        }
        if (nListSize > 0xFFFF) {
            throw Overflow();
        }
        oWriter.U16(static_cast<std::uint16_t>(nListSize));
        for (const CShellItem& oItem : m_vIdList) {
            oWriter.Bytes(oItem.Bytes());
        }
        oWriter.U16(0);
    }
    if (m_oLinkInfo) {
        oWriter.Bytes(m_oLinkInfo->ToBytes());
    }
    for (const std::string* pString : aStrings) {
        if (pString->empty()) {
            continue;
        }
        const std::vector<std::uint8_t> vText = MLinkText::ToUtf16Le(*pString);
        if (vText.size() / 2 > 0xFFFF) {
            throw Overflow();
        }
        oWriter.U16(static_cast<std::uint16_t>(vText.size() / 2));
        oWriter.Bytes(vText);
    }
    for (const CExtraDataBlock& oBlock : m_vExtraDataBlocks) {
        oWriter.Bytes(oBlock.Bytes());
    }
    oWriter.U32(0); // terminal block
    if (oWriter.Size() > MaxFileSize) {
        throw Overflow();
    }
    return oWriter.Result();
}

void CShellLink::Save(const std::string& sPath) const {
    const std::vector<std::uint8_t> vBytes = ToBytes();
    CFileSystem& oFiles = CFileSystem::Current();
    // A shortcut names a document of the user's: a new one is the user's alone.
    CFileHandle oFile(oFiles,
                      MPrivateFiles::OpenOrCreate(sPath, O_WRONLY | O_TRUNC | O_CLOEXEC, oFiles));
    if (oFile.Fd() < 0) {
        throw OpenError(errno, sPath, true);
    }
    std::size_t nWritten = 0;
    while (nWritten < vBytes.size()) {
        const ssize_t nChunk =
            oFiles.Write(oFile.Fd(), vBytes.data() + nWritten, vBytes.size() - nWritten);
        if (nChunk < 0 && errno == EINTR) {
            continue;
        }
        if (nChunk <= 0) {
            throw OpenError(nChunk < 0 ? errno : ENOSPC, sPath, true);
        }
        nWritten += static_cast<std::size_t>(nChunk);
    }
    if (const int iErrno = oFile.Close(); iErrno != 0) {
        throw OpenError(iErrno, sPath, true);
    }
}

std::string CShellLink::TargetPath() const {
    if (m_oLinkInfo) {
        const std::string sPath = m_oLinkInfo->Path();
        if (!sPath.empty()) {
            return sPath;
        }
    }
    const std::string sIdListPath = IdListPath();
    if (!sIdListPath.empty()) {
        return sIdListPath;
    }
    return EnvironmentTarget();
}

void CShellLink::SetTargetPath(const std::string& sPath) {
    if (sPath.empty()) {
        m_oLinkInfo.reset();
    } else {
        m_oLinkInfo = CLinkInfo::ForPath(sPath);
    }
    m_bHasIdList = false;
    m_vIdList.clear();
    m_lLinkFlags &= ~ForceNoLinkInfo;
    RemoveBlocks({CExtraDataBlock::EnvironmentVariable, CExtraDataBlock::Tracker,
                  CExtraDataBlock::SpecialFolder, CExtraDataBlock::KnownFolder,
                  CExtraDataBlock::VistaAndAboveIdList, CExtraDataBlock::Darwin});
}

void CShellLink::SetIconLocation(const std::string& sValue) {
    m_sIconLocation = sValue;
    RemoveBlocks({CExtraDataBlock::IconEnvironment});
}

std::string CShellLink::IdListPath() const {
    return SpellIdList(false);
}

std::string CShellLink::UnicodeIdListPath() const {
    return SpellIdList(true);
}

std::string CShellLink::SpellIdList(bool bUnicodeOnly) const {
    std::string sPath;
    bool bOnDrive = false;
    for (const CShellItem& oItem : m_vIdList) {
        if (oItem.Kind() == CShellItem::EKind::Volume && !oItem.VolumeName().empty()) {
            sPath = oItem.VolumeName();
            bOnDrive = true;
        } else if (oItem.Kind() == CShellItem::EKind::FileEntry && bOnDrive &&
                   !oItem.Name().empty()) {
            if (bUnicodeOnly && !oItem.NameIsUnicode()) {
                return "";
            }
            if (!sPath.empty() && sPath.back() != '\\') {
                sPath += '\\';
            }
            sPath += oItem.Name();
        }
    }
    return bOnDrive ? sPath : "";
}

std::vector<std::string> CShellLink::UnicodeNames() const {
    std::vector<std::string> vNames;
    for (const CShellItem& oItem : m_vIdList) {
        if (oItem.Kind() == CShellItem::EKind::FileEntry && oItem.NameIsUnicode()) {
            vNames.push_back(oItem.Name());
        }
    }
    for (const std::uint32_t lSignature :
         {CExtraDataBlock::EnvironmentVariable, CExtraDataBlock::IconEnvironment,
          CExtraDataBlock::Darwin}) {
        vNames.push_back(PathBlockUnicode(lSignature));
    }
    for (const CExtraDataBlock& oBlock : m_vExtraDataBlocks) {
        if (oBlock.Signature() == CExtraDataBlock::PropertyStore) {
            for (std::string& sText : MPropertyStore::Texts(oBlock.Bytes())) {
                vNames.push_back(std::move(sText));
            }
        }
    }
    return vNames;
}

const CExtraDataBlock* CShellLink::FindBlock(std::uint32_t lSignature) const {
    for (const CExtraDataBlock& oBlock : m_vExtraDataBlocks) {
        if (oBlock.Signature() == lSignature) {
            return &oBlock;
        }
    }
    return nullptr;
}

std::string CShellLink::PathBlockUnicode(std::uint32_t lSignature) const {
    const CExtraDataBlock* pBlock = FindBlock(lSignature);
    if (pBlock == nullptr || pBlock->Bytes().size() < PathBlockSize) {
        return "";
    }
    const std::uint8_t* pUnicode = pBlock->Bytes().data() + 8 + PathBlockAnsiSize;
    std::size_t nUnits = 0;
    while (nUnits < PathBlockAnsiSize && (pUnicode[2 * nUnits] | pUnicode[2 * nUnits + 1]) != 0) {
        ++nUnits;
    }
    return MLinkText::FromUtf16Le(pUnicode, nUnits);
}

std::string CShellLink::PathBlockText(std::uint32_t lSignature) const {
    const std::string sUnicode = PathBlockUnicode(lSignature);
    if (!sUnicode.empty()) {
        return sUnicode;
    }
    const CExtraDataBlock* pBlock = FindBlock(lSignature);
    if (pBlock == nullptr || pBlock->Bytes().size() < PathBlockSize) {
        return "";
    }
    const std::uint8_t* pAnsi = pBlock->Bytes().data() + 8;
    const std::size_t nCount = std::find(pAnsi, pAnsi + PathBlockAnsiSize, std::uint8_t{0}) - pAnsi;
    CAnsiText oAnsi(m_sAnsiCodePage);
    return oAnsi.Decode(pAnsi, nCount);
}

std::string CShellLink::EnvironmentTarget() const {
    return PathBlockText(CExtraDataBlock::EnvironmentVariable);
}

std::string CShellLink::IconEnvironmentLocation() const {
    return PathBlockText(CExtraDataBlock::IconEnvironment);
}

std::string CShellLink::DarwinId() const {
    return PathBlockText(CExtraDataBlock::Darwin);
}

void CShellLink::RemoveBlocks(const std::vector<std::uint32_t>& vSignatures) {
    std::erase_if(m_vExtraDataBlocks, [&vSignatures](const CExtraDataBlock& oBlock) {
        return std::find(vSignatures.begin(), vSignatures.end(), oBlock.Signature()) !=
               vSignatures.end();
    });
}
