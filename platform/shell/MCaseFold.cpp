#include "platform/shell/MCaseFold.h"

#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace {
// C.UTF-8 is built into the C library, so it exists whatever locales are installed; the
// process's own locale is left alone.
locale_t Utf8Locale() {
    static const locale_t oLocale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return oLocale;
}

// The code point that starts at nPos and its byte length; a malformed sequence is one byte
// with no code point.
bool Decode(const std::string& sText, size_t nPos, char32_t& cPoint, size_t& nLength) {
    const auto uLead = static_cast<unsigned char>(sText[nPos]);
    size_t nNeed = 0;
    char32_t cMin = 0;
    if (uLead >= 0xC2 && uLead <= 0xDF) {
        nNeed = 1, cPoint = uLead & 0x1F, cMin = 0x80;
    } else if (uLead >= 0xE0 && uLead <= 0xEF) {
        nNeed = 2, cPoint = uLead & 0x0F, cMin = 0x800;
    } else if (uLead >= 0xF0 && uLead <= 0xF4) {
        nNeed = 3, cPoint = uLead & 0x07, cMin = 0x10000;
    } else {
        return false;
    }
    if (nPos + nNeed >= sText.size()) {
        return false;
    }
    for (size_t i = 1; i <= nNeed; ++i) {
        const auto uNext = static_cast<unsigned char>(sText[nPos + i]);
        if ((uNext & 0xC0) != 0x80) {
            return false;
        }
        cPoint = (cPoint << 6) | (uNext & 0x3F);
    }
    if (cPoint < cMin || cPoint > 0x10FFFF || (cPoint >= 0xD800 && cPoint <= 0xDFFF)) {
        return false;
    }
    nLength = nNeed + 1;
    return true;
}

void Encode(char32_t cPoint, std::string& sOut) {
    if (cPoint < 0x80) {
        sOut += static_cast<char>(cPoint);
    } else if (cPoint < 0x800) {
        sOut += static_cast<char>(0xC0 | (cPoint >> 6));
        sOut += static_cast<char>(0x80 | (cPoint & 0x3F));
    } else if (cPoint < 0x10000) {
        sOut += static_cast<char>(0xE0 | (cPoint >> 12));
        sOut += static_cast<char>(0x80 | ((cPoint >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (cPoint & 0x3F));
    } else {
        sOut += static_cast<char>(0xF0 | (cPoint >> 18));
        sOut += static_cast<char>(0x80 | ((cPoint >> 12) & 0x3F));
        sOut += static_cast<char>(0x80 | ((cPoint >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (cPoint & 0x3F));
    }
}

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

namespace MCaseFold {

std::string Fold(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    const locale_t oLocale = Utf8Locale();
    for (size_t nPos = 0; nPos < sText.size();) {
        const char c = sText[nPos];
        char32_t cPoint = 0;
        size_t nLength = 1;
        if (static_cast<unsigned char>(c) < 0x80 || oLocale == static_cast<locale_t>(0) ||
            !Decode(sText, nPos, cPoint, nLength)) {
            sOut += FoldAscii(c);
            ++nPos;
            continue;
        }
        const auto wLower = towlower_l(static_cast<wint_t>(cPoint), oLocale);
        Encode(static_cast<char32_t>(towupper_l(wLower, oLocale)), sOut);
        nPos += nLength;
    }
    return sOut;
}

bool Equal(const std::string& sFirst, const std::string& sSecond) {
    return Fold(sFirst) == Fold(sSecond);
}

} // namespace MCaseFold
