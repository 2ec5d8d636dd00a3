#include "platform/shelllink/MLinkText.h"

namespace MLinkText {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// Code points of the bytes 0x80-0x9F; zero marks the five bytes the code page leaves
// undefined, which map to the C1 control of the same value.
constexpr char32_t Windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Windows1252ToCodePoint(std::uint8_t bByte) {
    if (bByte >= 0x80 && bByte < 0xA0 && Windows1252High[bByte - 0x80] != 0) {
        return Windows1252High[bByte - 0x80];
    }
    return bByte;
}

// The windows-1252 byte of a code point, or '?' when the code page has none.
std::uint8_t CodePointToWindows1252(char32_t cCodePoint) {
    if (cCodePoint < 0x80 || (cCodePoint >= 0xA0 && cCodePoint <= 0xFF)) {
        return static_cast<std::uint8_t>(cCodePoint);
    }
    for (std::size_t i = 0; i < 32; ++i) {
        const char32_t cMapped = Windows1252High[i] != 0 ? Windows1252High[i] : 0x80 + i;
        if (cMapped == cCodePoint) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

void AppendUtf8(std::string& sText, char32_t cCodePoint) {
    if (cCodePoint > 0x10FFFF || (cCodePoint >= 0xD800 && cCodePoint <= 0xDFFF)) {
        cCodePoint = ReplacementCharacter;
    }
    if (cCodePoint < 0x80) {
        sText += static_cast<char>(cCodePoint);
    } else if (cCodePoint < 0x800) {
        sText += static_cast<char>(0xC0 | (cCodePoint >> 6));
        sText += static_cast<char>(0x80 | (cCodePoint & 0x3F));
    } else if (cCodePoint < 0x10000) {
        sText += static_cast<char>(0xE0 | (cCodePoint >> 12));
        sText += static_cast<char>(0x80 | ((cCodePoint >> 6) & 0x3F));
        sText += static_cast<char>(0x80 | (cCodePoint & 0x3F));
    } else {
        sText += static_cast<char>(0xF0 | (cCodePoint >> 18));
        sText += static_cast<char>(0x80 | ((cCodePoint >> 12) & 0x3F));
        sText += static_cast<char>(0x80 | ((cCodePoint >> 6) & 0x3F));
        sText += static_cast<char>(0x80 | (cCodePoint & 0x3F));
    }
}

std::u32string DecodeUtf8(const std::string& sText) {
    std::u32string sResult;
    const std::size_t nSize = sText.size();
    std::size_t n = 0;
    while (n < nSize) {
        const auto bLead = static_cast<std::uint8_t>(sText[n]);
        std::size_t nLength = 0;
        char32_t cCodePoint = 0;
        char32_t cMinimum = 0;
        if (bLead < 0x80) {
            sResult += bLead;
            ++n;
            continue;
        } else if ((bLead & 0xE0) == 0xC0) {
            nLength = 2;
            cCodePoint = bLead & 0x1F;
            cMinimum = 0x80;
        } else if ((bLead & 0xF0) == 0xE0) {
            nLength = 3;
            cCodePoint = bLead & 0x0F;
            cMinimum = 0x800;
        } else if ((bLead & 0xF8) == 0xF0) {
            nLength = 4;
            cCodePoint = bLead & 0x07;
            cMinimum = 0x10000;
        }
        bool bValid = nLength != 0 && nSize - n >= nLength;
        for (std::size_t i = 1; bValid && i < nLength; ++i) {
            const auto bNext = static_cast<std::uint8_t>(sText[n + i]);
            bValid = (bNext & 0xC0) == 0x80;
            cCodePoint = (cCodePoint << 6) | (bNext & 0x3F);
        }
        if (bValid && cCodePoint >= cMinimum && cCodePoint <= 0x10FFFF &&
            !(cCodePoint >= 0xD800 && cCodePoint <= 0xDFFF)) {
            sResult += cCodePoint;
            n += nLength;
        } else {
            sResult += ReplacementCharacter;
            ++n;
        }
    }
    return sResult;
}

std::string FromWindows1252(const std::uint8_t* pBytes, std::size_t nCount) {
    std::string sResult;
    sResult.reserve(nCount);
    for (std::size_t n = 0; n < nCount; ++n) {
        AppendUtf8(sResult, Windows1252ToCodePoint(pBytes[n]));
    }
    return sResult;
}

std::vector<std::uint8_t> ToWindows1252(const std::string& sText) {
    std::vector<std::uint8_t> vResult;
    for (const char32_t cCodePoint : DecodeUtf8(sText)) {
        vResult.push_back(CodePointToWindows1252(cCodePoint));
    }
    return vResult;
}

std::string FromUtf16Le(const std::uint8_t* pBytes, std::size_t nUnits) {
    std::string sResult;
    sResult.reserve(nUnits);
    auto Unit = [pBytes](std::size_t n) -> char32_t {
        return static_cast<char32_t>(pBytes[2 * n] | (pBytes[2 * n + 1] << 8));
    };
    for (std::size_t n = 0; n < nUnits; ++n) {
        const char32_t cUnit = Unit(n);
        if (cUnit >= 0xD800 && cUnit <= 0xDBFF && n + 1 < nUnits) {
            const char32_t cLow = Unit(n + 1);
            if (cLow >= 0xDC00 && cLow <= 0xDFFF) {
                AppendUtf8(sResult, 0x10000 + ((cUnit - 0xD800) << 10) + (cLow - 0xDC00));
                ++n;
                continue;
            }
        }
        // A lone surrogate of either half ends up as U+FFFD through AppendUtf8.
        AppendUtf8(sResult, cUnit);
    }
    return sResult;
}

std::vector<std::uint8_t> ToUtf16Le(const std::string& sText) {
    std::vector<std::uint8_t> vResult;
    auto Put = [&vResult](char32_t cUnit) {
        vResult.push_back(static_cast<std::uint8_t>(cUnit & 0xFF));
        vResult.push_back(static_cast<std::uint8_t>((cUnit >> 8) & 0xFF));
    };
    for (const char32_t cCodePoint : DecodeUtf8(sText)) {
        if (cCodePoint >= 0x10000) {
            const char32_t cOffset = cCodePoint - 0x10000;
            Put(0xD800 + (cOffset >> 10));
            Put(0xDC00 + (cOffset & 0x3FF));
        } else {
            Put(cCodePoint);
        }
    }
    return vResult;
}

std::size_t Utf16Length(const std::string& sText) {
    return ToUtf16Le(sText).size() / 2;
}

} // namespace MLinkText
