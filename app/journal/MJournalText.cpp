#include "app/journal/MJournalText.h"

#include <cstdio>
#include <cstring>

namespace {
// The length of the well-formed UTF-8 sequence at nPos, or 0 when the byte there starts none.
size_t SequenceLength(const std::string& sText, size_t nPos) {
    const auto uLead = static_cast<unsigned char>(sText[nPos]);
    if (uLead < 0x80) {
        return 1;
    }
    size_t nLength = 0;
    unsigned char uLow = 0x80;
    unsigned char uHigh = 0xBF;
    if (uLead >= 0xC2 && uLead <= 0xDF) {
        nLength = 2;
    } else if (uLead >= 0xE0 && uLead <= 0xEF) {
        nLength = 3;
        uLow = uLead == 0xE0 ? 0xA0 : 0x80;
        uHigh = uLead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (uLead >= 0xF0 && uLead <= 0xF4) {
        nLength = 4;
        uLow = uLead == 0xF0 ? 0x90 : 0x80;
        uHigh = uLead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (nPos + nLength > sText.size()) {
        return 0;
    }
    const auto uSecond = static_cast<unsigned char>(sText[nPos + 1]);
    if (uSecond < uLow || uSecond > uHigh) {
        return 0;
    }
    for (size_t i = 2; i < nLength; ++i) {
        if ((static_cast<unsigned char>(sText[nPos + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return nLength;
}

const char* const Replacement = "\xEF\xBF\xBD";

std::string Hex(const char* pszFormat, unsigned uValue) {
    char sz[8];
    std::snprintf(sz, sizeof sz, pszFormat, uValue);
    return sz;
}

// The control character at nPos of well-formed UTF-8 (C0, DEL, or C1 U+0080 to U+009F), as its
// code point, and its length in bytes; 0 when there is none.
size_t ControlAt(const std::string& sValid, size_t nPos, unsigned& uCode) {
    const auto u = static_cast<unsigned char>(sValid[nPos]);
    if (u < 0x20 || u == 0x7F) {
        uCode = u;
        return 1;
    }
    if (u == 0xC2 && nPos + 1 < sValid.size() &&
        static_cast<unsigned char>(sValid[nPos + 1]) <= 0x9F) {
        uCode = static_cast<unsigned char>(sValid[nPos + 1]);
        return 2;
    }
    return 0;
}

// sValid with every control character that a terminal acts on written "\xHH" (HH its code
// point), except those of szKept.
std::string WithoutControls(const std::string& sValid, const char* szKept) {
    std::string sOut;
    sOut.reserve(sValid.size());
    for (size_t nPos = 0; nPos < sValid.size();) {
        unsigned uCode = 0;
        const size_t nLength = ControlAt(sValid, nPos, uCode);
        if (nLength == 0 || (uCode != 0 && std::strchr(szKept, static_cast<int>(uCode)))) {
            sOut += sValid[nPos++];
            continue;
        }
        sOut += Hex("\\x%02x", uCode);
        nPos += nLength;
    }
    return sOut;
}

// A spreadsheet takes a cell that begins with one of these for a formula.
bool StartsLikeFormula(const std::string& sCell) {
    return !sCell.empty() && sCell.front() != '\0' &&
           std::strchr("=+-@\t\r", sCell.front()) != nullptr;
}
} // namespace

namespace MJournalText {

std::string IsoDate(const CDateTime& dDate) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%04d-%02d-%02d", dDate.Year(), dDate.Month(), dDate.Day());
    return sz;
}

std::string IsoTime(const CDateTime& dTime) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%02d:%02d:%02d", dTime.Hour(), dTime.Minute(), dTime.Second());
    return sz;
}

std::optional<CDateTime> ParseIsoDate(const std::string& sText) {
    if (sText.size() != 10 || sText[4] != '-' || sText[7] != '-') {
        return std::nullopt;
    }
    int aParts[3] = {0, 0, 0};
    const size_t anStart[3] = {0, 5, 8};
    const size_t anLength[3] = {4, 2, 2};
    for (int i = 0; i < 3; ++i) {
        for (size_t n = 0; n < anLength[i]; ++n) {
            const char c = sText[anStart[i] + n];
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            aParts[i] = aParts[i] * 10 + (c - '0');
        }
    }
    return CDateTime::FromValidParts(aParts[0], aParts[1], aParts[2]);
}

std::string ValidUtf8(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t nPos = 0; nPos < sText.size();) {
        const size_t nLength = SequenceLength(sText, nPos);
        if (nLength == 0) {
            sOut += Replacement;
            ++nPos;
        } else {
            sOut.append(sText, nPos, nLength);
            nPos += nLength;
        }
    }
    return sOut;
}

std::string CsvField(const std::string& sText) {
    std::string sValid = WithoutControls(ValidUtf8(sText), "\t\n\r");
    if (StartsLikeFormula(sValid)) {
        sValid.insert(sValid.begin(), '\'');
    }
    const bool bQuote = sValid.find_first_of(",\"\r\n") != std::string::npos ||
                        (!sValid.empty() && (sValid.front() == ' ' || sValid.back() == ' '));
    if (!bQuote) {
        return sValid;
    }
    std::string sOut = "\"";
    for (const char c : sValid) {
        if (c == '"') {
            sOut += '"';
        }
        sOut += c;
    }
    sOut += '"';
    return sOut;
}

std::string JsonString(const std::string& sText) {
    const std::string sValid = ValidUtf8(sText);
    std::string sOut = "\"";
    for (size_t nPos = 0; nPos < sValid.size(); ++nPos) {
        const auto u = static_cast<unsigned char>(sValid[nPos]);
        switch (u) {
        case '"':
            sOut += "\\\"";
            continue;
        case '\\':
            sOut += "\\\\";
            continue;
        case '\b':
            sOut += "\\b";
            continue;
        case '\f':
            sOut += "\\f";
            continue;
        case '\n':
            sOut += "\\n";
            continue;
        case '\r':
            sOut += "\\r";
            continue;
        case '\t':
            sOut += "\\t";
            continue;
        default:
            break;
        }
        if (u < 0x20 || u == 0x7F) {
            sOut += Hex("\\u%04x", u);
        } else if (u == 0xC2 && nPos + 1 < sValid.size() &&
                   static_cast<unsigned char>(sValid[nPos + 1]) <= 0x9F) {
            // U+0080 to U+009F, the second control block.
            sOut += Hex("\\u%04x", static_cast<unsigned char>(sValid[++nPos]));
        } else if (u == 0xE2 && nPos + 2 < sValid.size() &&
                   static_cast<unsigned char>(sValid[nPos + 1]) == 0x80 &&
                   (static_cast<unsigned char>(sValid[nPos + 2]) == 0xA8 ||
                    static_cast<unsigned char>(sValid[nPos + 2]) == 0xA9)) {
            sOut += static_cast<unsigned char>(sValid[nPos + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            nPos += 2;
        } else {
            sOut += static_cast<char>(u);
        }
    }
    sOut += '"';
    return sOut;
}

std::string TabField(const std::string& sText) {
    const std::string sValid = ValidUtf8(sText);
    std::string sOut;
    sOut.reserve(sValid.size());
    for (const char c : sValid) {
        if (c == '\\') {
            sOut += "\\\\";
        } else if (c == '\t') {
            sOut += "\\t";
        } else if (c == '\n') {
            sOut += "\\n";
        } else if (c == '\r') {
            sOut += "\\r";
        } else {
            sOut += c;
        }
    }
    return WithoutControls(sOut, "");
}

} // namespace MJournalText
