#pragma once

#include <cstdint>
#include <string>

namespace qlCommonLibrary {

// Small routines that several of the Library's sources share.
namespace MLibraryHelpers {

// Leading and trailing spaces removed (spaces only, as the classic Trim does).
std::string TrimSpaces(const std::string& sText);
// A 16-bit result; throws Overflow (6) when llValue does not fit.
std::int16_t ToInteger(std::int64_t llValue);

} // namespace MLibraryHelpers
} // namespace qlCommonLibrary
