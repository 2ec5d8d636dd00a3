#include "platform/shelllink/MPropertyStore.h"

#include "platform/shelllink/CByteReader.h"
#include "platform/shelllink/MLinkText.h"

#include <cstring>

namespace MPropertyStore {
namespace {

constexpr std::uint32_t StorageVersion = 0x53505331; // "1SPS"
constexpr std::size_t StorageHeaderSize = 4 + 4 + 16;
constexpr std::size_t ValueHeaderSize = 4 + 4 + 1; // size, id or name size, reserved
constexpr std::uint16_t TypeUnicodeString = 0x1F;  // VT_LPWSTR
// D5CDD505-2E9C-101B-9397-08002B2CF9AE in its on-disk byte order: the set whose values are
// named by strings instead of numbers.
constexpr std::uint8_t NamedSetId[16] = {0x05, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                         0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

// The texts of one serialized property set.
void ReadStorage(const CByteReader& oStorage, std::vector<std::string>& vTexts) {
    const bool bNamed = std::memcmp(oStorage.Data() + 8, NamedSetId, sizeof NamedSetId) == 0;
    std::size_t nOffset = StorageHeaderSize;
    while (oStorage.Contains(nOffset, ValueHeaderSize)) {
        const std::uint32_t lValueSize = oStorage.RawU32(nOffset);
        if (lValueSize < ValueHeaderSize || !oStorage.Contains(nOffset, lValueSize)) {
            return;
        }
        const CByteReader oValue(oStorage.Data() + nOffset, lValueSize);
        nOffset += lValueSize;
        std::size_t nTyped = ValueHeaderSize;
        if (bNamed) {
            const std::uint32_t lNameSize = oValue.RawU32(4);
            if (!oValue.Contains(nTyped, lNameSize)) {
                continue;
            }
            nTyped += lNameSize;
        }
        // The typed value: its type, two bytes of padding, then for a Unicode string its
        // length in units (the terminating NUL included) and the units.
        if (!oValue.Contains(nTyped, 8) || oValue.RawU16(nTyped) != TypeUnicodeString) {
            continue;
        }
        const std::size_t nUnits = oValue.RawU32(nTyped + 4);
        const std::size_t nText = nTyped + 8;
        if (nUnits > (oValue.Size() - nText) / 2) {
            continue;
        }
        const std::uint8_t* pText = oValue.Data() + nText;
        std::size_t nLength = 0;
        while (nLength < nUnits && (pText[2 * nLength] | pText[2 * nLength + 1]) != 0) {
            ++nLength;
        }
        if (nLength > 0) {
            vTexts.push_back(MLinkText::FromUtf16Le(pText, nLength));
        }
    }
}

} // namespace

std::vector<std::string> Texts(const std::vector<std::uint8_t>& vBlock) {
    std::vector<std::string> vTexts;
    const CByteReader oBlock(vBlock.data(), vBlock.size());
    std::size_t nOffset = 8; // after the block's size and signature
    while (oBlock.Contains(nOffset, StorageHeaderSize)) {
        const std::uint32_t lStorageSize = oBlock.RawU32(nOffset);
        if (lStorageSize < StorageHeaderSize || !oBlock.Contains(nOffset, lStorageSize) ||
            oBlock.RawU32(nOffset + 4) != StorageVersion) {
            break;
        }
        ReadStorage(CByteReader(oBlock.Data() + nOffset, lStorageSize), vTexts);
        nOffset += lStorageSize;
    }
    return vTexts;
}

} // namespace MPropertyStore
