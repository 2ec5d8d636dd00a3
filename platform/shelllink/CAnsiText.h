#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// How the ANSI texts of one shortcut are read. A shortcut does not record the code page its
// writer used, and real ones come from East Asian and Cyrillic code pages and from the
// system-wide UTF-8 setting as well as from windows-1252. A text is read as UTF-8 when its
// bytes are valid UTF-8; else in the code page proven for the file, when it has one and that
// code page reads the bytes; else as windows-1252. The texts that were left to the fallback are
// remembered, so that the file can be read again once its own Unicode names have shown which
// code page wrote it (ProveCodePage).
class CAnsiText {
public:
    // No code page proven: valid UTF-8, else windows-1252.
    CAnsiText() = default;
    // sCodePage is a converter name such as "CP932"; empty for none.
    explicit CAnsiText(std::string sCodePage) : m_sCodePage(std::move(sCodePage)) {}

    const std::string& CodePage() const { return m_sCodePage; }

    // The bytes as UTF-8. Remembers them when neither UTF-8 nor the proven code page read them.
    std::string Decode(const std::uint8_t* pBytes, std::size_t nCount);
    // The texts, in the order read, that ended in windows-1252 although they hold a byte above
    // 0x7F.
    const std::vector<std::vector<std::uint8_t>>& Guessed() const { return m_vGuessed; }

    // The code page that the file's Unicode texts vNames prove for the guessed texts: among the
    // ANSI code pages of the platform, the one that reads every guessed text and reads the most
    // of their non-ASCII letters as words that vNames also hold. Empty when none does better
    // than windows-1252; a file without Unicode names proves nothing.
    std::string ProveCodePage(const std::vector<std::string>& vNames) const;

    // Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points
    // past U+10FFFF).
    static bool IsUtf8(const std::uint8_t* pBytes, std::size_t nCount);
    // The bytes read in the code page sCodePage; false when the code page is unknown here or
    // does not define the bytes.
    static bool FromCodePage(const std::string& sCodePage, const std::uint8_t* pBytes,
                             std::size_t nCount, std::string& sText);

private:
    std::string m_sCodePage;
    std::vector<std::vector<std::uint8_t>> m_vGuessed;
};
