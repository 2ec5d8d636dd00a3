#include "platform/registry/CSettingsFile.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/MRegistryText.h"

#include <cstdint>
#include <optional>

namespace {

[[noreturn]] void Corrupt(std::size_t nLine, const std::string& sWhat) {
    throw CRunTimeError(RunTimeErrors::TypeMismatch,
                        "line " + std::to_string(nLine) + ": " + sWhat);
}

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

// Reads a quoted, escaped text starting at sLine[n] == '"'; leaves n after the closing quote.
std::string ReadQuoted(const std::string& sLine, std::size_t& n, std::size_t nLine) {
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
            Corrupt(nLine, "unknown escape \\" + std::string(1, sLine[n - 1]));
        }
    }
    Corrupt(nLine, "missing closing quote");
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

// "[HKEY_CURRENT_USER\a\b]" -> "a\b"
std::string SectionPath(const std::string& sLine, std::size_t nLine) {
    if (sLine.size() < 2 || sLine.back() != ']') {
        Corrupt(nLine, "key name without closing bracket");
    }
    const std::string sFull = sLine.substr(1, sLine.size() - 2);
    const std::string sRoot = CSettingsFile::RootName;
    if (!MRegistryText::SameName(sFull.substr(0, sRoot.size()), sRoot) ||
        (sFull.size() > sRoot.size() && sFull[sRoot.size()] != '\\')) {
        Corrupt(nLine, "key outside " + sRoot);
    }
    const std::string sRest = sFull.substr(sRoot.size());
    if (sRest.find("\\\\") != std::string::npos || (!sRest.empty() && sRest.back() == '\\')) {
        Corrupt(nLine, "empty key name");
    }
    return MRegistryText::JoinPath(MRegistryText::SplitPath(sRest));
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
    for (const CSettingsTree::SKey& oKey : oTree.Keys()) {
        if (oKey.sPath.empty() && oKey.vValues.empty()) {
            continue;
        }
        sText +=
            "\n[" + std::string(RootName) + (oKey.sPath.empty() ? "" : "\\" + oKey.sPath) + "]\n";
        for (const CSettingsTree::SValue& oValue : oKey.vValues) {
            sText += (oValue.sName.empty() ? std::string("@") : Quote(oValue.sName)) + "=" +
                     Quote(oValue.sValue) + "\n";
        }
    }
    return sText;
}

CSettingsTree CSettingsFile::Parse(const std::string& sRawText) {
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
    CSettingsTree::SKey* pKey = nullptr;
    std::string sKeyPath;
    bool bHeader = false;
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
            if (sLine != Header && sLine != "REGEDIT4") {
                Corrupt(nLine, "not a registry file");
            }
            bHeader = true;
            continue;
        }
        if (sLine[0] == '[') {
            if (sLine.size() > 1 && sLine[1] == '-') {
                Corrupt(nLine, "key removal is not kept in settings");
            }
            // Pointers into the tree move when keys are added: find the key again by path.
            sKeyPath = SectionPath(sLine, nLine);
            oTree.EnsureKey(sKeyPath);
            pKey = oTree.FindKey(sKeyPath);
            continue;
        }
        if (pKey == nullptr) {
            Corrupt(nLine, "value outside a key");
        }
        std::size_t n = 0;
        std::string sName;
        if (sLine[0] == '@') {
            n = 1;
        } else if (sLine[0] == '"') {
            sName = ReadQuoted(sLine, n, nLine);
        } else {
            Corrupt(nLine, "unreadable line");
        }
        while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
            ++n;
        }
        if (n >= sLine.size() || sLine[n] != '=') {
            Corrupt(nLine, "value without '='");
        }
        ++n;
        while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
            ++n;
        }
        std::string sValue;
        if (n < sLine.size() && sLine[n] == '"') {
            sValue = ReadQuoted(sLine, n, nLine);
            if (!Trim(sLine.substr(n)).empty()) {
                Corrupt(nLine, "text after the value");
            }
        } else if (sLine.compare(n, 6, "dword:") == 0) {
            const auto olValue = ParseDword(Trim(sLine.substr(n + 6)));
            if (!olValue) {
                Corrupt(nLine, "bad dword value");
            }
            sValue = std::to_string(*olValue);
        } else {
            Corrupt(nLine, "value of a kind not kept in settings");
        }
        pKey = oTree.FindKey(sKeyPath);
        if (CSettingsTree::SValue* pValue = CSettingsTree::FindValue(*pKey, sName)) {
            pValue->sValue = sValue; // the later line wins, as an import does
        } else {
            pKey->vValues.push_back({sName, sValue});
        }
    }
    return oTree;
}
