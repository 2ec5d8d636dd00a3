#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz targets share: the input as text, and the checks of what a parser promises.
// A broken promise prints what was promised and the input being replayed, then aborts, so that
// libFuzzer keeps the input and the replay test fails on it.
namespace MFuzzCheck {

// The input's bytes as a string (any bytes, NULs included).
std::string Text(const std::uint8_t* pData, std::size_t nSize);

// Aborts with szPromise when bCondition is false.
void Expect(bool bCondition, const char* szPromise);

// The name of the file being replayed, shown with a broken promise (empty under libFuzzer,
// which names the input itself).
void SetCurrentInput(const std::string& sName);

} // namespace MFuzzCheck
