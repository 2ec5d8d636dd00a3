#include "platform/registry/CDesktopFile.h"

#include "platform/shell/MExecLine.h"
#include "platform/shell/MFileRead.h"

#include <cstdlib>
#include <sstream>

namespace {
std::string Trim(const std::string& sText) {
    const std::size_t nFirst = sText.find_first_not_of(" \t\r");
    if (nFirst == std::string::npos) {
        return "";
    }
    return sText.substr(nFirst, sText.find_last_not_of(" \t\r") - nFirst + 1);
}
} // namespace

CDesktopFile CDesktopFile::Read(const std::string& sPath) {
    return FromText(MFileRead::ReadRegularFile(sPath, MFileRead::DesktopFileCap));
}

CDesktopFile CDesktopFile::FromText(const std::string& sText) {
    CDesktopFile oFile;
    std::vector<std::pair<std::string, std::string>>* pGroup = nullptr;
    std::istringstream oLines(sText);
    std::string sLine;
    while (std::getline(oLines, sLine)) {
        sLine = Trim(sLine);
        if (sLine.empty() || sLine[0] == '#') {
            continue;
        }
        if (sLine[0] == '[') {
            const std::size_t nClose = sLine.find(']');
            pGroup = nClose == std::string::npos ? nullptr
                                                 : &oFile.m_colGroups[sLine.substr(1, nClose - 1)];
            continue;
        }
        const std::size_t nEquals = sLine.find('=');
        if (pGroup == nullptr || nEquals == std::string::npos) {
            continue;
        }
        pGroup->emplace_back(Trim(sLine.substr(0, nEquals)), Trim(sLine.substr(nEquals + 1)));
    }
    return oFile;
}

std::optional<std::string> CDesktopFile::Value(const std::string& sGroup,
                                               const std::string& sKey) const {
    for (const auto& [sName, sValue] : Entries(sGroup)) {
        if (sName == sKey) {
            return sValue;
        }
    }
    return std::nullopt;
}

std::optional<std::string> CDesktopFile::LocalizedValue(const std::string& sGroup,
                                                        const std::string& sKey) const {
    std::string sLocale;
    for (const char* szName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* szValue = std::getenv(szName);
        if (szValue != nullptr && *szValue != '\0') {
            sLocale = szValue;
            break;
        }
    }
    // "de_AT.UTF-8@euro": the encoding and the modifier play no part here.
    sLocale = sLocale.substr(0, sLocale.find_first_of(".@"));
    if (!sLocale.empty() && sLocale != "C" && sLocale != "POSIX") {
        if (auto osValue = Value(sGroup, sKey + "[" + sLocale + "]")) {
            return osValue;
        }
        const std::size_t nUnderscore = sLocale.find('_');
        if (nUnderscore != std::string::npos) {
            if (auto osValue = Value(sGroup, sKey + "[" + sLocale.substr(0, nUnderscore) + "]")) {
                return osValue;
            }
        }
    }
    return Value(sGroup, sKey);
}

const std::vector<std::pair<std::string, std::string>>&
CDesktopFile::Entries(const std::string& sGroup) const {
    static const std::vector<std::pair<std::string, std::string>> vNone;
    const auto it = m_colGroups.find(sGroup);
    return it == m_colGroups.end() ? vNone : it->second;
}

std::string CDesktopFile::Unescape(const std::string& sValue) {
    std::string sOut;
    for (std::size_t n = 0; n < sValue.size(); ++n) {
        if (sValue[n] != '\\' || n + 1 >= sValue.size()) {
            sOut += sValue[n];
            continue;
        }
        switch (sValue[n + 1]) {
        case 's':
            sOut += ' ';
            break;
        case 'n':
            sOut += '\n';
            break;
        case 't':
            sOut += '\t';
            break;
        case 'r':
            sOut += '\r';
            break;
        case '\\':
            sOut += '\\';
            break;
        default:
            sOut += '\\';
            sOut += sValue[n + 1];
        }
        ++n;
    }
    return sOut;
}

std::vector<std::string> CDesktopFile::SplitList(const std::string& sValue) {
    std::vector<std::string> vItems;
    std::size_t nStart = 0;
    while (nStart <= sValue.size()) {
        std::size_t nEnd = sValue.find(';', nStart);
        if (nEnd == std::string::npos) {
            nEnd = sValue.size();
        }
        const std::string sItem = Trim(sValue.substr(nStart, nEnd - nStart));
        if (!sItem.empty()) {
            vItems.push_back(sItem);
        }
        nStart = nEnd + 1;
    }
    return vItems;
}

std::optional<std::vector<std::string>> CDesktopFile::SplitExec(const std::string& sExec) {
    MExecLine::SWords oWords = MExecLine::Split(sExec, MExecLine::EPercent::LiteralInQuotes);
    if (oWords.bQuoteOpen) {
        return std::nullopt;
    }
    return std::move(oWords.vWords);
}

std::string CDesktopFile::QuoteExecArgument(const std::string& sArgument) {
    if (!sArgument.empty() &&
        sArgument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) {
        return sArgument;
    }
    std::string sOut = "\"";
    for (const char c : sArgument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            sOut += '\\';
        }
        sOut += c;
    }
    return sOut + "\"";
}
