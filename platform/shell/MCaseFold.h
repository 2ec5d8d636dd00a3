#pragma once

#include <string>

// Letter case for comparisons. Text is UTF-8; every character is mapped through the C
// library's Unicode tables, so "ÉTUDES" and "Études" fold alike, and so do the long s and the
// final sigma with their plain forms. Bytes that are not well-formed UTF-8 stay as they are.
namespace MCaseFold {

// The text in one letter case (the upper case of the lower case of every character), to be
// compared or used as a key; never shown.
std::string Fold(const std::string& sText);

// Whether the two texts differ at most in letter case.
bool Equal(const std::string& sFirst, const std::string& sSecond);

} // namespace MCaseFold
