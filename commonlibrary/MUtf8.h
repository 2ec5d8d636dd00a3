#pragma once

#include <cstddef>
#include <string>

namespace qlCommonLibrary {

// Character steps over UTF-8 text. A character is one code point; a byte that does not start a
// well-formed sequence counts as one character of its own, so no text can stall a loop.
namespace MUtf8 {

// The byte length of the character that starts at iPos (0 at or past the end).
std::size_t CharLength(const std::string& sText, std::size_t iPos);
// The number of characters.
std::size_t CharCount(const std::string& sText);
// The first character (empty for empty text).
std::string FirstChar(const std::string& sText);
// The first iCount characters.
std::string LeftChars(const std::string& sText, std::size_t iCount);

} // namespace MUtf8
} // namespace qlCommonLibrary
