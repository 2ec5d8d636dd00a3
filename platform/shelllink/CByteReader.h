#pragma once

#include "platform/errors/CRunTimeError.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A bounds-checked little-endian view of a shortcut file's bytes, or of one structure inside
// it. Every read names what it reads, so that a short or lying file ends in a damaged-link
// error that says where, and never in a read past the buffer.
class CByteReader {
public:
    CByteReader(const std::uint8_t* pData, std::size_t nSize) : m_pData(pData), m_nSize(nSize) {}

    std::size_t Size() const { return m_nSize; }
    const std::uint8_t* Data() const { return m_pData; }

    // True when nCount bytes starting at nOffset lie inside the view (overflow-safe).
    bool Contains(std::size_t nOffset, std::size_t nCount) const {
        return nOffset <= m_nSize && nCount <= m_nSize - nOffset;
    }
    // Throws the damaged-link error when the range does not lie inside the view.
    void Require(std::size_t nOffset, std::size_t nCount, const std::string& sWhat) const;
    // A view of a range inside this one (checked).
    CByteReader Sub(std::size_t nOffset, std::size_t nCount, const std::string& sWhat) const;

    std::uint8_t U8(std::size_t nOffset, const std::string& sWhat) const;
    std::uint16_t U16(std::size_t nOffset, const std::string& sWhat) const;
    std::uint32_t U32(std::size_t nOffset, const std::string& sWhat) const;
    std::uint64_t U64(std::size_t nOffset, const std::string& sWhat) const;

    // Unchecked reads for callers that checked the range themselves.
    std::uint16_t RawU16(std::size_t nOffset) const;
    std::uint32_t RawU32(std::size_t nOffset) const;

    // The count of bytes before the first NUL byte from nOffset; throws when there is none.
    std::size_t AnsiLength(std::size_t nOffset, const std::string& sWhat) const;
    // The count of 16-bit units before the first NUL unit from nOffset; throws when none.
    std::size_t Utf16Length(std::size_t nOffset, const std::string& sWhat) const;

    // The error every malformed shortcut ends in: "The shortcut file is damaged: <reason>".
    static CRunTimeError Damaged(const std::string& sReason);

private:
    const std::uint8_t* m_pData;
    std::size_t m_nSize;
};
