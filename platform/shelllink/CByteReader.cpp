#include "platform/shelllink/CByteReader.h"

#include "platform/shelllink/CShellLink.h"

void CByteReader::Require(std::size_t nOffset, std::size_t nCount, const std::string& sWhat) const {
    if (!Contains(nOffset, nCount)) {
        throw Damaged(sWhat + " lies past the end of its data");
    }
}

CByteReader CByteReader::Sub(std::size_t nOffset, std::size_t nCount,
                             const std::string& sWhat) const {
    Require(nOffset, nCount, sWhat);
    return CByteReader(m_pData + nOffset, nCount);
}

std::uint8_t CByteReader::U8(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 1, sWhat);
    return m_pData[nOffset];
}

std::uint16_t CByteReader::U16(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 2, sWhat);
    return RawU16(nOffset);
}

std::uint32_t CByteReader::U32(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 4, sWhat);
    return RawU32(nOffset);
}

std::uint64_t CByteReader::U64(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 8, sWhat);
    return static_cast<std::uint64_t>(RawU32(nOffset)) |
           (static_cast<std::uint64_t>(RawU32(nOffset + 4)) << 32);
}

std::uint16_t CByteReader::RawU16(std::size_t nOffset) const {
    return static_cast<std::uint16_t>(m_pData[nOffset] | (m_pData[nOffset + 1] << 8));
}

std::uint32_t CByteReader::RawU32(std::size_t nOffset) const {
    return static_cast<std::uint32_t>(m_pData[nOffset]) |
           (static_cast<std::uint32_t>(m_pData[nOffset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_pData[nOffset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_pData[nOffset + 3]) << 24);
}

std::size_t CByteReader::AnsiLength(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 0, sWhat);
    for (std::size_t n = nOffset; n < m_nSize; ++n) {
        if (m_pData[n] == 0) {
            return n - nOffset;
        }
    }
    throw Damaged(sWhat + " has no end");
}

std::size_t CByteReader::Utf16Length(std::size_t nOffset, const std::string& sWhat) const {
    Require(nOffset, 0, sWhat);
    for (std::size_t n = nOffset; m_nSize - n >= 2; n += 2) {
        if (RawU16(n) == 0) {
            return (n - nOffset) / 2;
        }
    }
    throw Damaged(sWhat + " has no end");
}

CRunTimeError CByteReader::Damaged(const std::string& sReason) {
    return CRunTimeError(CShellLink::DamagedLinkError, "The shortcut file is damaged: " + sReason);
}
