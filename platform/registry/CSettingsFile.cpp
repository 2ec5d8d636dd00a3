#include "platform/registry/CSettingsFile.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/MRegistryText.h"

#include <cstdint>
#include <optional>

namespace {

void AppendUtf8(std::string& sOut, std::uint32_t lCode) {
    if (lCode < 0x80) {
        sOut += static_cast<char>(lCode);
    } else if (lCode < 0x800) {
        sOut += static_cast<char>(0xC0 | (lCode >> 6));
        sOut += static_cast<char>(0x80 | (lCode & 0x3F));
    } else if (lCode < 0x10000) {
        sOut += static_cast<char>(0xE0 | (lCode >> 12));
        sOut += static_cast<char>(0x80 | ((lCode >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (lCode & 0x3F));
    } else {
        sOut += static_cast<char>(0xF0 | (lCode >> 18));
        sOut += static_cast<char>(0x80 | ((lCode >> 12) & 0x3F));
        sOut += static_cast<char>(0x80 | ((lCode >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (lCode & 0x3F));
    }
}

// A file saved by a Windows registry editor is UTF-16LE with its mark.
std::string FromUtf16(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size() / 2);
    const auto Unit = [&](std::size_t n) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(sText[n]) |
                                          (static_cast<unsigned char>(sText[n + 1]) << 8));
    };
    for (std::size_t n = 2; n + 1 < sText.size(); n += 2) {
        std::uint32_t lCode = Unit(n);
        if (lCode >= 0xD800 && lCode <= 0xDBFF && n + 3 < sText.size()) {
            const std::uint32_t lLow = Unit(n + 2);
            if (lLow >= 0xDC00 && lLow <= 0xDFFF) {
                lCode = 0x10000 + ((lCode - 0xD800) << 10) + (lLow - 0xDC00);
                n += 2;
            }
        }
        AppendUtf8(sOut, lCode);
    }
    return sOut;
}

std::string Trim(const std::string& sText) {
    const std::size_t nFirst = sText.find_first_not_of(" \t");
    if (nFirst == std::string::npos) {
        return "";
    }
    return sText.substr(nFirst, sText.find_last_not_of(" \t") - nFirst + 1);
}

// A line that cannot be read, and why.
struct SUnreadable {
    std::string sWhy;
    bool bOutside = false; // a key line of a key outside HKEY_CURRENT_USER
};

// Reads a quoted, escaped text starting at sLine[n] == '"'; leaves n after the closing quote.
std::string ReadQuoted(const std::string& sLine, std::size_t& n) {
    std::string sOut;
    ++n;
    while (n < sLine.size()) {
        const char c = sLine[n++];
        if (c == '"') {
            return sOut;
        }
        if (c != '\\') {
            sOut += c;
            continue;
        }
        if (n >= sLine.size()) {
            break;
        }
        switch (sLine[n++]) {
        case '\\':
            sOut += '\\';
            break;
        case '"':
            sOut += '"';
            break;
        case 'n':
            sOut += '\n';
            break;
        case 'r':
            sOut += '\r';
            break;
        case '0':
            sOut += '\0';
            break;
        default:
            throw SUnreadable{"unknown escape \\" + std::string(1, sLine[n - 1])};
        }
    }
    throw SUnreadable{"missing closing quote"};
}

std::optional<std::uint32_t> ParseDword(const std::string& sDigits) {
    if (sDigits.empty() || sDigits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t lValue = 0;
    for (const char c : sDigits) {
        int iDigit = 0;
        if (c >= '0' && c <= '9') {
            iDigit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            iDigit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            iDigit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        lValue = lValue * 16 + static_cast<std::uint32_t>(iDigit);
    }
    return lValue;
}

// "[HKEY_CURRENT_USER\a\b]" -> {"a", "b"}
std::vector<std::string> SectionParts(const std::string& sLine) {
    if (sLine.size() > 1 && sLine[1] == '-') {
        throw SUnreadable{"key removal is not kept in settings"};
    }
    if (sLine.size() < 2 || sLine.back() != ']') {
        throw SUnreadable{"key name without closing bracket"};
    }
    const std::string sFull = sLine.substr(1, sLine.size() - 2);
    const std::string sRoot = CSettingsFile::RootName;
    if (!MRegistryText::SameName(sFull.substr(0, sRoot.size()), sRoot) ||
        (sFull.size() > sRoot.size() && sFull[sRoot.size()] != '\\')) {
        throw SUnreadable{"key outside " + sRoot, true};
    }
    const std::string sRest = sFull.substr(sRoot.size());
    if (sRest.find("\\\\") != std::string::npos || (!sRest.empty() && sRest.back() == '\\')) {
        throw SUnreadable{"empty key name"};
    }
    std::vector<std::string> vParts = MRegistryText::SplitPath(sRest);
    if (!CSettingsTree::Fits(vParts)) {
        throw SUnreadable{"key deeper than " + std::to_string(CSettingsTree::MaxDepth) +
                          " levels or with a name longer than " +
                          std::to_string(CSettingsTree::MaxNameLength) + " characters"};
    }
    return vParts;
}

// One "name"=value line; the name is empty for @=.
CSettingsTree::SValue ValueLine(const std::string& sLine) {
    std::size_t n = 0;
    CSettingsTree::SValue oValue;
    if (sLine[0] == '@') {
        n = 1;
    } else if (sLine[0] == '"') {
        oValue.sName = ReadQuoted(sLine, n);
    } else {
        throw SUnreadable{"unreadable line"};
    }
    while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
        ++n;
    }
    if (n >= sLine.size() || sLine[n] != '=') {
        throw SUnreadable{"value without '='"};
    }
    ++n;
    while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
        ++n;
    }
    if (n < sLine.size() && sLine[n] == '"') {
        oValue.sValue = ReadQuoted(sLine, n);
        if (!Trim(sLine.substr(n)).empty()) {
            throw SUnreadable{"text after the value"};
        }
    } else if (sLine.compare(n, 6, "dword:") == 0) {
        const auto olValue = ParseDword(Trim(sLine.substr(n + 6)));
        if (!olValue) {
            throw SUnreadable{"bad dword value"};
        }
        oValue.sValue = std::to_string(*olValue);
    } else {
        throw SUnreadable{"value of a kind not kept in settings"};
    }
    return oValue;
}

// "line 9 ("Purge Age"=7): why", the line's text cut short when long.
std::string SkippedLine(std::size_t nLine, const std::string& sLine, const std::string& sWhy) {
    constexpr std::size_t Shown = 60;
    std::string sShown = sLine.substr(0, Shown);
    while (!sShown.empty() && sShown.size() < sLine.size() &&
           (static_cast<unsigned char>(sShown.back()) & 0xC0) == 0x80) {
        sShown.pop_back(); // never cut inside a character
    }
    if (sShown.size() < sLine.size()) {
        sShown += "...";
    }
    return "line " + std::to_string(nLine) + " (" + sShown + "): " + sWhy;
}

} // namespace

std::string CSettingsFile::Quote(const std::string& sText) {
    std::string sOut = "\"";
    for (const char c : sText) {
        switch (c) {
        case '\\':
            sOut += "\\\\";
            break;
        case '"':
            sOut += "\\\"";
            break;
        case '\n':
            sOut += "\\n";
            break;
        case '\r':
            sOut += "\\r";
            break;
        case '\0':
            sOut += "\\0";
            break;
        default:
            sOut += c;
        }
    }
    return sOut + "\"";
}

std::string CSettingsFile::Format(const CSettingsTree& oTree) {
    std::string sText = std::string(Header) + "\n";
    for (CSettingsTree::KeyId nKey = 0; nKey < oTree.KeyCount(); ++nKey) {
        const std::vector<CSettingsTree::SValue>& vValues = oTree.Values(nKey);
        if (nKey == CSettingsTree::Root && vValues.empty()) {
            continue;
        }
        sText += "\n[";
        sText += RootName;
        if (nKey != CSettingsTree::Root) {
            sText += '\\';
            sText += oTree.Path(nKey);
        }
        sText += "]\n";
        for (const CSettingsTree::SValue& oValue : vValues) {
            sText += oValue.sName.empty() ? std::string("@") : Quote(oValue.sName);
            sText += '=';
            sText += Quote(oValue.sValue);
            sText += '\n';
        }
    }
    return sText;
}

CSettingsTree CSettingsFile::Parse(const std::string& sRawText, std::vector<std::string>* pvSkipped,
                                   SLostKeys* pLostKeys) {
    std::string sText;
    if (sRawText.size() >= 2 && static_cast<unsigned char>(sRawText[0]) == 0xFF &&
        static_cast<unsigned char>(sRawText[1]) == 0xFE) {
        sText = FromUtf16(sRawText);
    } else if (sRawText.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        sText = sRawText.substr(3);
    } else {
        sText = sRawText;
    }

    CSettingsTree oTree;
    // The key that value lines go to; none before the first key and under a skipped one.
    CSettingsTree::KeyId nKey = CSettingsTree::Root;
    bool bInKey = false;
    bool bKeySkipped = false;
    SLostKeys oLost;
    bool bHeader = false;
    bool bAnythingRead = false;
    std::vector<std::string> vSkipped;
    std::size_t nLine = 0;
    std::size_t nStart = 0;
    while (nStart < sText.size()) {
        std::size_t nEnd = sText.find('\n', nStart);
        if (nEnd == std::string::npos) {
            nEnd = sText.size();
        }
        std::string sLine = sText.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        ++nLine;
        if (!sLine.empty() && sLine.back() == '\r') {
            sLine.pop_back();
        }
        sLine = Trim(sLine);
        if (sLine.empty() || sLine[0] == ';') {
            continue;
        }
        if (!bHeader) {
            // Without its header the text is not a settings file at all.
            if (sLine != Header && sLine != "REGEDIT4") {
                throw CRunTimeError(RunTimeErrors::TypeMismatch,
                                    "line " + std::to_string(nLine) + ": not a registry file");
            }
            bHeader = true;
            continue;
        }
        try {
            if (sLine[0] == '[') {
                bInKey = false;
                bKeySkipped = true;
                const std::vector<std::string> vParts = SectionParts(sLine);
                nKey = CSettingsTree::Root;
                for (const std::string& sPart : vParts) {
                    nKey = oTree.EnsureSubKey(nKey, sPart);
                }
                bInKey = true;
                bKeySkipped = false;
            } else {
                CSettingsTree::SValue oValue = ValueLine(sLine);
                if (!bInKey) {
                    throw SUnreadable{bKeySkipped ? "value of a key that was skipped"
                                                  : "value outside a key"};
                }
                // The later line wins, as an import does.
                oTree.SetValue(nKey, oValue.sName, oValue.sValue);
            }
            bAnythingRead = true;
        } catch (const SUnreadable& oUnreadable) {
            vSkipped.push_back(SkippedLine(nLine, sLine, oUnreadable.sWhy));
            if (sLine[0] == '[') {
                // Only a key outside the tree is known to hold none of its values.
                oLost.bAnyKey = oLost.bAnyKey || !oUnreadable.bOutside;
            } else if (bInKey) {
                oLost.vPaths.push_back(oTree.Path(nKey));
            }
        }
    }
    if (!vSkipped.empty() && !bAnythingRead) {
        throw CRunTimeError(RunTimeErrors::TypeMismatch, vSkipped.front());
    }
    if (pvSkipped != nullptr) {
        *pvSkipped = std::move(vSkipped);
    }
    if (pLostKeys != nullptr) {
        *pLostKeys = std::move(oLost);
    }
    return oTree;
}
