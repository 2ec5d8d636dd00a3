#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The text encodings of shortcut files, to and from the system's UTF-8 strings: the ANSI
// forms are written as windows-1252 (CAnsiText decides how to read them), the Unicode forms
// as UTF-16LE.
namespace MLinkText {

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined become the C1
// control characters of the same value, as the platform's own conversion does.
std::string FromWindows1252(const std::uint8_t* pBytes, std::size_t nCount);
// UTF-8 as windows-1252; a character the code page cannot hold becomes '?'.
std::vector<std::uint8_t> ToWindows1252(const std::string& sText);

// nUnits UTF-16LE code units as UTF-8. A surrogate pair becomes one character; a lone
// surrogate becomes U+FFFD and the unit after it is decoded on its own.
std::string FromUtf16Le(const std::uint8_t* pBytes, std::size_t nUnits);
// UTF-8 as UTF-16LE bytes (no terminator).
std::vector<std::uint8_t> ToUtf16Le(const std::string& sText);
// The count of UTF-16 code units sText takes.
std::size_t Utf16Length(const std::string& sText);

// The code points of a UTF-8 string; a malformed sequence gives U+FFFD for each bad byte.
std::u32string DecodeUtf8(const std::string& sText);
// One code point appended as UTF-8.
void AppendUtf8(std::string& sText, char32_t cCodePoint);

} // namespace MLinkText
