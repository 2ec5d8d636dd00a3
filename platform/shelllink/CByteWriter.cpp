#include "platform/shelllink/CByteWriter.h"

void CByteWriter::U16(std::uint16_t iValue) {
    m_vBytes.push_back(static_cast<std::uint8_t>(iValue & 0xFF));
    m_vBytes.push_back(static_cast<std::uint8_t>(iValue >> 8));
}

void CByteWriter::U32(std::uint32_t lValue) {
    for (int i = 0; i < 4; ++i) {
        m_vBytes.push_back(static_cast<std::uint8_t>((lValue >> (8 * i)) & 0xFF));
    }
}

void CByteWriter::U64(std::uint64_t llValue) {
    U32(static_cast<std::uint32_t>(llValue & 0xFFFFFFFFu));
    U32(static_cast<std::uint32_t>(llValue >> 32));
}

void CByteWriter::Bytes(const std::vector<std::uint8_t>& vBytes) {
    m_vBytes.insert(m_vBytes.end(), vBytes.begin(), vBytes.end());
}

void CByteWriter::PatchU16(std::size_t nOffset, std::uint16_t iValue) {
    m_vBytes.at(nOffset) = static_cast<std::uint8_t>(iValue & 0xFF);
    m_vBytes.at(nOffset + 1) = static_cast<std::uint8_t>(iValue >> 8);
}

void CByteWriter::PatchU32(std::size_t nOffset, std::uint32_t lValue) {
    for (std::size_t i = 0; i < 4; ++i) {
        m_vBytes.at(nOffset + i) = static_cast<std::uint8_t>((lValue >> (8 * i)) & 0xFF);
    }
}
