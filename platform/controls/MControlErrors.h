#pragma once

#include <cstdint>

// The errors the controls raise, with the classic numbers of the common controls. A control
// raises them from inside an operation; the caller's routine handles them at its boundary.
namespace MControlErrors {

constexpr std::int32_t InvalidPropertyValue = 380;
constexpr std::int32_t IndexOutOfBounds = 35600;
constexpr std::int32_t ElementNotFound = 35601;
constexpr std::int32_t KeyNotUnique = 35602;

// Throws CRunTimeError with lNumber and its text ("Element not found" for 35601 ...).
[[noreturn]] void Raise(std::int32_t lNumber);

} // namespace MControlErrors
