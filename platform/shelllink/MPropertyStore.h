#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The property store that Windows puts into a shortcut's extra data (block 0xA0000009): a
// series of serialized property sets, each a series of typed values.
namespace MPropertyStore {

// The texts (Unicode string values) of the block, in file order. vBlock is the whole block,
// its size and signature included. The store is free-form: what does not parse ends the walk
// with the texts found so far, never with an error.
std::vector<std::string> Texts(const std::vector<std::uint8_t>& vBlock);

} // namespace MPropertyStore
