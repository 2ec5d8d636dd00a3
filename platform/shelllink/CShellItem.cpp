#include "platform/shelllink/CShellItem.h"

#include "platform/shelllink/CByteReader.h"
#include "platform/shelllink/MLinkText.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint32_t FileEntryExtensionSignature = 0xBEEF0004;
constexpr std::size_t PrimaryNameOffset = 14;

} // namespace

CShellItem::CShellItem(std::vector<std::uint8_t> vBytes) : m_vBytes(std::move(vBytes)) {
    if (m_vBytes.size() < 3) {
        return;
    }
    m_bClassType = m_vBytes[2];
    if (m_bClassType == 0x1F) {
        ReadRootFolder();
    } else if ((m_bClassType & 0x70) == 0x20) {
        ReadVolume();
    } else if ((m_bClassType & 0x70) == 0x30) {
        ReadFileEntry();
    }
}

bool CShellItem::NameIsUnicode() const {
    if (!m_sLongName.empty() || (m_bClassType & 0x04) != 0) {
        return true;
    }
    return std::all_of(m_sPrimaryName.begin(), m_sPrimaryName.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void CShellItem::ReadRootFolder() {
    // Size, class type, sort index, then the folder's GUID in its mixed-endian layout.
    if (m_vBytes.size() < 20) {
        return;
    }
    const CByteReader oItem(m_vBytes.data(), m_vBytes.size());
    const std::uint8_t* p = m_vBytes.data() + 4;
    char szText[40];
    std::snprintf(szText, sizeof szText, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(oItem.RawU32(4)), static_cast<unsigned>(oItem.RawU16(8)),
                  static_cast<unsigned>(oItem.RawU16(10)), p[8], p[9], p[10], p[11], p[12], p[13],
                  p[14], p[15]);
    m_eKind = EKind::RootFolder;
    m_sFolderId = szText;
}

void CShellItem::ReadVolume() {
    m_eKind = EKind::Volume;
    // Only the kinds with the "has name" bit carry the drive's name, right after the class.
    if ((m_bClassType & 0x01) == 0) {
        return;
    }
    std::size_t n = 3;
    while (n < m_vBytes.size() && m_vBytes[n] != 0) {
        ++n;
    }
    m_sVolumeName = MLinkText::FromWindows1252(m_vBytes.data() + 3, n - 3);
}

void CShellItem::ReadFileEntry() {
    m_eKind = EKind::FileEntry;
    if (m_vBytes.size() <= PrimaryNameOffset) {
        return;
    }
    // The primary name ends at its NUL or, when a writer left it unterminated, where the
    // extension block begins.
    const std::size_t nBlock = FindExtensionBlock();
    const std::size_t nEnd = nBlock != 0 ? nBlock : m_vBytes.size();
    const std::uint8_t* pName = m_vBytes.data() + PrimaryNameOffset;
    std::size_t nCount = 0;
    if ((m_bClassType & 0x04) != 0) {
        const std::size_t nMaxUnits = (nEnd - PrimaryNameOffset) / 2;
        while (nCount < nMaxUnits && (pName[2 * nCount] | pName[2 * nCount + 1]) != 0) {
            ++nCount;
        }
        m_sPrimaryName = MLinkText::FromUtf16Le(pName, nCount);
    } else {
        while (PrimaryNameOffset + nCount < nEnd && pName[nCount] != 0) {
            ++nCount;
        }
        m_sPrimaryName = MLinkText::FromWindows1252(pName, nCount);
    }
    if (nBlock != 0) {
        ReadLongName(nBlock);
    }
}

std::size_t CShellItem::FindExtensionBlock() const {
    const CByteReader oItem(m_vBytes.data(), m_vBytes.size());
    auto IsBlockAt = [&oItem](std::size_t nOffset) {
        return nOffset >= PrimaryNameOffset && oItem.Contains(nOffset, 8) &&
               oItem.RawU32(nOffset + 4) == FileEntryExtensionSignature;
    };
    // The item's last two bytes give the offset of its first extension block.
    const std::size_t nTrailing = oItem.RawU16(m_vBytes.size() - 2);
    if (IsBlockAt(nTrailing)) {
        return nTrailing;
    }
    for (std::size_t nOffset = PrimaryNameOffset; oItem.Contains(nOffset, 8); ++nOffset) {
        if (IsBlockAt(nOffset)) {
            return nOffset;
        }
    }
    return 0;
}

void CShellItem::ReadLongName(std::size_t nBlock) {
    const CByteReader oItem(m_vBytes.data(), m_vBytes.size());
    const std::size_t nBlockSize = oItem.RawU16(nBlock);
    const std::uint16_t iVersion = oItem.RawU16(nBlock + 2);
    if (nBlockSize < 8 || !oItem.Contains(nBlock, nBlockSize)) {
        return;
    }
    // Where the long name starts depends on the block's version: later versions put a file
    // reference and further fields before it.
    std::size_t nNameOffset = 0;
    if (iVersion >= 9) {
        nNameOffset = 46;
    } else if (iVersion == 8) {
        nNameOffset = 42;
    } else if (iVersion == 7) {
        nNameOffset = 38;
    } else if (iVersion >= 3) {
        nNameOffset = 20;
    } else {
        return;
    }
    const CByteReader oBlock(m_vBytes.data() + nBlock, nBlockSize);
    try {
        const std::size_t nUnits = oBlock.Utf16Length(nNameOffset, "long name");
        m_sLongName = MLinkText::FromUtf16Le(oBlock.Data() + nNameOffset, nUnits);
    } catch (const CRunTimeError&) {
        // An unterminated long name leaves only the primary name; the link is still readable.
        m_sLongName.clear();
    }
}
