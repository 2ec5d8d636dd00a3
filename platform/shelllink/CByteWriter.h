#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Builds the little-endian bytes of a shortcut file; sizes and offsets that are only known
// later are patched in place.
class CByteWriter {
public:
    void U8(std::uint8_t bValue) { m_vBytes.push_back(bValue); }
    void U16(std::uint16_t iValue);
    void U32(std::uint32_t lValue);
    void U64(std::uint64_t llValue);
    void Bytes(const std::vector<std::uint8_t>& vBytes);
    void Zeros(std::size_t nCount) { m_vBytes.insert(m_vBytes.end(), nCount, 0); }

    void PatchU16(std::size_t nOffset, std::uint16_t iValue);
    void PatchU32(std::size_t nOffset, std::uint32_t lValue);

    std::size_t Size() const { return m_vBytes.size(); }
    const std::vector<std::uint8_t>& Result() const { return m_vBytes; }

private:
    std::vector<std::uint8_t> m_vBytes;
};
