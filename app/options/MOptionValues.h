#pragma once

#include <cstdint>
#include <string>

// How the text of an option, stored or typed, becomes its number.
namespace MOptionValues {

// A decimal number ("60", " +5 ", "2.5", "1e3") rounded to the nearest whole number, a half
// going to the even neighbour (2.5 gives 2, 3.5 gives 4). Raises CRunTimeError 13 (Type
// mismatch) for text that is not a number ("", "-", "1-", "abc") and 6 (Overflow) for a number
// outside 32 bits.
std::int32_t ToLong(const std::string& sText);

} // namespace MOptionValues
