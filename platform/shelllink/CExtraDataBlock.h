#pragma once

#include <cstdint>
#include <vector>

// One block of a shortcut's extra data, kept whole (its size and signature included) so that
// blocks this reader does not interpret are written back unchanged.
class CExtraDataBlock {
public:
    static constexpr std::uint32_t EnvironmentVariable = 0xA0000001;
    static constexpr std::uint32_t Console = 0xA0000002;
    static constexpr std::uint32_t Tracker = 0xA0000003;
    static constexpr std::uint32_t ConsoleFE = 0xA0000004;
    static constexpr std::uint32_t SpecialFolder = 0xA0000005;
    static constexpr std::uint32_t Darwin = 0xA0000006;
    static constexpr std::uint32_t IconEnvironment = 0xA0000007;
    static constexpr std::uint32_t Shim = 0xA0000008;
    static constexpr std::uint32_t PropertyStore = 0xA0000009;
    static constexpr std::uint32_t KnownFolder = 0xA000000B;
    static constexpr std::uint32_t VistaAndAboveIdList = 0xA000000C;

    CExtraDataBlock(std::uint32_t lSignature, std::vector<std::uint8_t> vBytes)
        : m_lSignature(lSignature), m_vBytes(std::move(vBytes)) {}

    std::uint32_t Signature() const { return m_lSignature; }
    const std::vector<std::uint8_t>& Bytes() const { return m_vBytes; }

private:
    std::uint32_t m_lSignature;
    std::vector<std::uint8_t> m_vBytes;
};
