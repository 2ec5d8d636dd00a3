#include "platform/shelllink/CLinkInfo.h"

#include "platform/shelllink/CByteWriter.h"
#include "platform/shelllink/MLinkText.h"

#include <algorithm>

namespace {

constexpr std::uint32_t VolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;
constexpr std::uint32_t MinimumHeaderSize = 0x1C;
constexpr std::uint32_t UnicodeHeaderSize = 0x24;
constexpr std::uint32_t ValidDevice = 0x1;
constexpr std::uint32_t ValidNetType = 0x2;

std::string AnsiAt(const CByteReader& oData, std::size_t nOffset, const std::string& sWhat,
                   CAnsiText& oAnsi, bool* pbAboveAscii = nullptr) {
    const std::size_t nCount = oData.AnsiLength(nOffset, sWhat);
    const std::uint8_t* pBytes = oData.Data() + nOffset;
    if (pbAboveAscii != nullptr &&
        std::any_of(pBytes, pBytes + nCount, [](std::uint8_t b) { return b >= 0x80; })) {
        *pbAboveAscii = true;
    }
    return oAnsi.Decode(pBytes, nCount);
}

std::string Utf16At(const CByteReader& oData, std::size_t nOffset, const std::string& sWhat) {
    const std::size_t nUnits = oData.Utf16Length(nOffset, sWhat);
    return MLinkText::FromUtf16Le(oData.Data() + nOffset, nUnits);
}

// "a" + "\" + "b", without doubling a backslash that is already there.
std::string JoinPath(const std::string& sBase, const std::string& sSuffix) {
    if (sSuffix.empty()) {
        return sBase;
    }
    if (sBase.empty() || sBase.back() == '\\') {
        return sBase + sSuffix;
    }
    return sBase + "\\" + sSuffix;
}

void AppendAnsi(CByteWriter& oWriter, const std::string& sText) {
    oWriter.Bytes(MLinkText::ToWindows1252(sText));
    oWriter.U8(0);
}

void AppendUtf16(CByteWriter& oWriter, const std::string& sText) {
    oWriter.Bytes(MLinkText::ToUtf16Le(sText));
    oWriter.U16(0);
}

// The components of a path between its backslashes; a trailing backslash adds no empty last
// component.
std::vector<std::string> Components(const std::string& sPath) {
    std::vector<std::string> vComponents;
    std::size_t nStart = 0;
    for (std::size_t nEnd = sPath.find('\\'); nEnd != std::string::npos;
         nEnd = sPath.find('\\', nStart)) {
        vComponents.push_back(sPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    if (nStart < sPath.size()) {
        vComponents.push_back(sPath.substr(nStart));
    }
    return vComponents;
}

bool IsAscii(const std::string& sText) {
    return std::all_of(sText.begin(), sText.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool EqualIgnoringAsciiCase(const std::string& sFirst, const std::string& sSecond) {
    const auto Lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return sFirst.size() == sSecond.size() &&
           std::equal(sFirst.begin(), sFirst.end(), sSecond.begin(),
                      [&Lower](char a, char b) { return Lower(a) == Lower(b); });
}

// sPart with each of its components that is not plain ASCII replaced by the next name of
// vNames from nNext on; nNext moves past every component of sPart.
std::string Respell(const std::string& sPart, const std::vector<std::string>& vNames,
                    std::size_t& nNext) {
    std::string sResult;
    const std::vector<std::string> vComponents = Components(sPart);
    for (std::size_t i = 0; i < vComponents.size(); ++i, ++nNext) {
        if (i > 0) {
            sResult += '\\';
        }
        sResult += IsAscii(vComponents[i]) ? vComponents[i] : vNames[nNext];
    }
    if (!sPart.empty() && sPart.back() == '\\') {
        sResult += '\\';
    }
    return sResult;
}

} // namespace

CLinkInfo CLinkInfo::Parse(const CByteReader& oData, CAnsiText& oAnsi) {
    const std::uint32_t lSize = oData.U32(0, "the LinkInfo size");
    if (lSize < MinimumHeaderSize) {
        throw CByteReader::Damaged("the LinkInfo is smaller than its header");
    }
    const CByteReader oInfo = oData.Sub(0, lSize, "the LinkInfo");
    const std::uint32_t lHeaderSize = oInfo.U32(4, "the LinkInfo header size");
    if (lHeaderSize < MinimumHeaderSize || lHeaderSize > lSize) {
        throw CByteReader::Damaged("the LinkInfo header size is invalid");
    }
    const std::uint32_t lFlags = oInfo.U32(8, "the LinkInfo flags");
    const std::uint32_t lVolumeOffset = oInfo.U32(12, "the VolumeID offset");
    const std::uint32_t lBasePathOffset = oInfo.U32(16, "the local base path offset");
    const std::uint32_t lNetworkOffset = oInfo.U32(20, "the network link offset");
    const std::uint32_t lSuffixOffset = oInfo.U32(24, "the common path suffix offset");
    std::uint32_t lBasePathOffsetUnicode = 0;
    std::uint32_t lSuffixOffsetUnicode = 0;
    if (lHeaderSize >= UnicodeHeaderSize) {
        lBasePathOffsetUnicode = oInfo.U32(28, "the Unicode local base path offset");
        lSuffixOffsetUnicode = oInfo.U32(32, "the Unicode common path suffix offset");
    }

    CLinkInfo oResult;
    if ((lFlags & VolumeIdAndLocalBasePath) != 0) {
        oResult.ReadVolume(oInfo, lVolumeOffset, oAnsi);
        oResult.m_sLocalBasePath =
            lBasePathOffsetUnicode != 0
                ? Utf16At(oInfo, lBasePathOffsetUnicode, "the Unicode local base path")
                : AnsiAt(oInfo, lBasePathOffset, "the local base path", oAnsi,
                         &oResult.m_bLocalPathFromAnsi);
    }
    if ((lFlags & CommonNetworkRelativeLinkAndPathSuffix) != 0) {
        oResult.ReadNetwork(oInfo, lNetworkOffset, oAnsi);
    }
    if (lSuffixOffsetUnicode != 0) {
        oResult.m_sCommonPathSuffix =
            Utf16At(oInfo, lSuffixOffsetUnicode, "the Unicode common path suffix");
    } else if (lSuffixOffset != 0) {
        oResult.m_sCommonPathSuffix = AnsiAt(oInfo, lSuffixOffset, "the common path suffix", oAnsi,
                                             &oResult.m_bLocalPathFromAnsi);
    }
    oResult.m_bLocalPathFromAnsi = oResult.m_bLocalPathFromAnsi && oResult.m_bHasVolume;
    return oResult;
}

void CLinkInfo::ReadVolume(const CByteReader& oInfo, std::size_t nOffset, CAnsiText& oAnsi) {
    const std::uint32_t lSize = oInfo.U32(nOffset, "the VolumeID size");
    if (lSize < 0x10) {
        throw CByteReader::Damaged("the VolumeID is smaller than its header");
    }
    const CByteReader oVolume = oInfo.Sub(nOffset, lSize, "the VolumeID");
    m_bHasVolume = true;
    m_lDriveType = oVolume.U32(4, "the drive type");
    m_lDriveSerialNumber = oVolume.U32(8, "the drive serial number");
    const std::uint32_t lLabelOffset = oVolume.U32(12, "the volume label offset");
    if (lLabelOffset == 0x14) {
        const std::uint32_t lUnicodeOffset = oVolume.U32(16, "the Unicode volume label offset");
        m_sVolumeLabel = Utf16At(oVolume, lUnicodeOffset, "the Unicode volume label");
    } else {
        m_sVolumeLabel = AnsiAt(oVolume, lLabelOffset, "the volume label", oAnsi);
    }
}

void CLinkInfo::ReadNetwork(const CByteReader& oInfo, std::size_t nOffset, CAnsiText& oAnsi) {
    const std::uint32_t lSize = oInfo.U32(nOffset, "the network link size");
    if (lSize < 0x14) {
        throw CByteReader::Damaged("the network link is smaller than its header");
    }
    const CByteReader oNetwork = oInfo.Sub(nOffset, lSize, "the network link");
    m_bHasNetwork = true;
    const std::uint32_t lFlags = oNetwork.U32(4, "the network link flags");
    const std::uint32_t lNetNameOffset = oNetwork.U32(8, "the net name offset");
    const std::uint32_t lDeviceOffset = oNetwork.U32(12, "the device name offset");
    m_lNetworkProviderType = oNetwork.U32(16, "the network provider type");
    std::uint32_t lNetNameOffsetUnicode = 0;
    std::uint32_t lDeviceOffsetUnicode = 0;
    if (lNetNameOffset > 0x14) {
        lNetNameOffsetUnicode = oNetwork.U32(20, "the Unicode net name offset");
        lDeviceOffsetUnicode = oNetwork.U32(24, "the Unicode device name offset");
    }
    m_sNetName = lNetNameOffsetUnicode != 0
                     ? Utf16At(oNetwork, lNetNameOffsetUnicode, "the Unicode net name")
                     : AnsiAt(oNetwork, lNetNameOffset, "the net name", oAnsi);
    if ((lFlags & ValidDevice) != 0) {
        if (lDeviceOffsetUnicode != 0) {
            m_sDeviceName = Utf16At(oNetwork, lDeviceOffsetUnicode, "the Unicode device name");
        } else if (lDeviceOffset != 0) {
            m_sDeviceName = AnsiAt(oNetwork, lDeviceOffset, "the device name", oAnsi);
        }
    }
    if ((lFlags & ValidNetType) == 0) {
        m_lNetworkProviderType = 0;
    }
}

CLinkInfo CLinkInfo::ForPath(const std::string& sPath) {
    CLinkInfo oResult;
    if (sPath.size() > 2 && sPath[0] == '\\' && sPath[1] == '\\') {
        const std::size_t nServerEnd = sPath.find('\\', 2);
        if (nServerEnd != std::string::npos && nServerEnd > 2 && nServerEnd + 1 < sPath.size() &&
            sPath[nServerEnd + 1] != '\\') {
            const std::size_t nShareEnd = sPath.find('\\', nServerEnd + 1);
            oResult.m_bHasNetwork = true;
            oResult.m_lNetworkProviderType = NetworkProviderLanman;
            oResult.m_sNetName = sPath.substr(0, nShareEnd);
            if (nShareEnd != std::string::npos) {
                oResult.m_sCommonPathSuffix = sPath.substr(nShareEnd + 1);
            }
            return oResult;
        }
    }
    oResult.m_bHasVolume = true;
    oResult.m_lDriveType = DriveFixed;
    oResult.m_sLocalBasePath = sPath;
    return oResult;
}

std::string CLinkInfo::Path() const {
    const std::string sLocal = LocalPath();
    return !sLocal.empty() ? sLocal : NetworkPath();
}

std::string CLinkInfo::LocalPath() const {
    if (!m_bHasVolume || m_sLocalBasePath.empty()) {
        return "";
    }
    return JoinPath(m_sLocalBasePath, m_sCommonPathSuffix);
}

bool CLinkInfo::AdoptUnicodeNames(const std::string& sPath) {
    if (!m_bLocalPathFromAnsi || sPath.empty()) {
        return false;
    }
    const std::vector<std::string> vLocal = Components(LocalPath());
    const std::vector<std::string> vNames = Components(sPath);
    if (vLocal.empty() || vLocal.size() != vNames.size()) {
        return false;
    }
    for (std::size_t i = 0; i < vLocal.size(); ++i) {
        // The drive must be the same; so must every component the ANSI bytes spell for sure.
        if ((i == 0 || IsAscii(vLocal[i])) && !EqualIgnoringAsciiCase(vLocal[i], vNames[i])) {
            return false;
        }
    }
    std::size_t nNext = 0;
    m_sLocalBasePath = Respell(m_sLocalBasePath, vNames, nNext);
    m_sCommonPathSuffix = Respell(m_sCommonPathSuffix, vNames, nNext);
    m_bLocalPathFromAnsi = false;
    return true;
}

std::string CLinkInfo::NetworkPath() const {
    if (!m_bHasNetwork || m_sNetName.empty()) {
        return "";
    }
    return JoinPath(m_sNetName, m_sCommonPathSuffix);
}

std::vector<std::uint8_t> CLinkInfo::VolumeBytes() const {
    CByteWriter oWriter;
    oWriter.U32(0); // size, patched below
    oWriter.U32(m_lDriveType);
    oWriter.U32(m_lDriveSerialNumber);
    // The ANSI form does not say its code page and a reader takes the one the file's Unicode
    // names prove, so only a plain ASCII label is sure to read back as it was.
    if (IsAscii(m_sVolumeLabel)) {
        oWriter.U32(0x10);
        AppendAnsi(oWriter, m_sVolumeLabel);
    } else {
        oWriter.U32(0x14);
        oWriter.U32(0x18);
        oWriter.U32(0); // an empty ANSI label nothing reads
        AppendUtf16(oWriter, m_sVolumeLabel);
    }
    oWriter.PatchU32(0, static_cast<std::uint32_t>(oWriter.Size()));
    return oWriter.Result();
}

std::vector<std::uint8_t> CLinkInfo::NetworkBytes() const {
    const std::vector<std::uint8_t> vNetName = MLinkText::ToWindows1252(m_sNetName);
    const std::vector<std::uint8_t> vDevice = MLinkText::ToWindows1252(m_sDeviceName);
    const std::vector<std::uint8_t> vNetNameUnicode = MLinkText::ToUtf16Le(m_sNetName);
    const bool bHasDevice = !m_sDeviceName.empty();

    const std::size_t nNetName = 0x1C;
    const std::size_t nDevice = nNetName + vNetName.size() + 1;
    const std::size_t nNetNameUnicode = nDevice + (bHasDevice ? vDevice.size() + 1 : 0);
    const std::size_t nDeviceUnicode = nNetNameUnicode + vNetNameUnicode.size() + 2;

    CByteWriter oWriter;
    oWriter.U32(0); // size, patched below
    oWriter.U32((bHasDevice ? ValidDevice : 0) | (m_lNetworkProviderType != 0 ? ValidNetType : 0));
    oWriter.U32(static_cast<std::uint32_t>(nNetName));
    oWriter.U32(bHasDevice ? static_cast<std::uint32_t>(nDevice) : 0);
    oWriter.U32(m_lNetworkProviderType);
    oWriter.U32(static_cast<std::uint32_t>(nNetNameUnicode));
    oWriter.U32(bHasDevice ? static_cast<std::uint32_t>(nDeviceUnicode) : 0);
    AppendAnsi(oWriter, m_sNetName);
    if (bHasDevice) {
        AppendAnsi(oWriter, m_sDeviceName);
    }
    AppendUtf16(oWriter, m_sNetName);
    if (bHasDevice) {
        AppendUtf16(oWriter, m_sDeviceName);
    }
    oWriter.PatchU32(0, static_cast<std::uint32_t>(oWriter.Size()));
    return oWriter.Result();
}

std::vector<std::uint8_t> CLinkInfo::ToBytes() const {
    CByteWriter oWriter;
    oWriter.U32(0); // LinkInfoSize, patched at the end
    oWriter.U32(UnicodeHeaderSize);
    oWriter.U32((m_bHasVolume ? VolumeIdAndLocalBasePath : 0) |
                (m_bHasNetwork ? CommonNetworkRelativeLinkAndPathSuffix : 0));
    const std::size_t nOffsets = oWriter.Size();
    oWriter.Zeros(6 * 4); // five offsets and the Unicode suffix offset, patched as written
    auto Here = [&oWriter] { return static_cast<std::uint32_t>(oWriter.Size()); };

    if (m_bHasVolume) {
        oWriter.PatchU32(nOffsets, Here());
        oWriter.Bytes(VolumeBytes());
        oWriter.PatchU32(nOffsets + 4, Here());
        AppendAnsi(oWriter, m_sLocalBasePath);
    }
    if (m_bHasNetwork) {
        oWriter.PatchU32(nOffsets + 8, Here());
        oWriter.Bytes(NetworkBytes());
    }
    oWriter.PatchU32(nOffsets + 12, Here());
    AppendAnsi(oWriter, m_sCommonPathSuffix);
    if (m_bHasVolume) {
        oWriter.PatchU32(nOffsets + 16, Here());
        AppendUtf16(oWriter, m_sLocalBasePath);
    }
    oWriter.PatchU32(nOffsets + 20, Here());
    AppendUtf16(oWriter, m_sCommonPathSuffix);
    oWriter.PatchU32(0, Here());
    return oWriter.Result();
}
