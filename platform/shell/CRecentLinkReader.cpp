#include "platform/shell/CRecentLinkReader.h"

#include "platform/registry/CDesktopFile.h"
#include "platform/shell/MFileUri.h"

#include <cstdlib>

namespace {
bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string VariableValue(const std::string& sName, const std::string& sHome) {
    if (sName == "HOME") {
        return sHome;
    }
    const char* szValue = std::getenv(sName.c_str());
    return szValue == nullptr ? std::string() : std::string(szValue);
}

bool HasScheme(const std::string& sValue) {
    const std::size_t nColon = sValue.find(':');
    if (nColon == std::string::npos || nColon == 0) {
        return false;
    }
    for (std::size_t n = 0; n < nColon; ++n) {
        const char c = sValue[n];
        if (!IsNameCharacter(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}
} // namespace

std::optional<std::string> CRecentLinkReader::ExpandVariables(const std::string& sValue,
                                                              const std::string& sHome) {
    std::string sOut;
    for (std::size_t n = 0; n < sValue.size(); ++n) {
        if (sValue[n] != '$' || n + 1 >= sValue.size()) {
            sOut += sValue[n];
            continue;
        }
        const char cNext = sValue[n + 1];
        if (cNext == '$') {
            sOut += '$';
            ++n;
        } else if (cNext == '(') {
            return std::nullopt;
        } else if (cNext == '{') {
            const std::size_t nClose = sValue.find('}', n + 2);
            if (nClose == std::string::npos) {
                return std::nullopt;
            }
            sOut += VariableValue(sValue.substr(n + 2, nClose - n - 2), sHome);
            n = nClose;
        } else if (IsNameCharacter(cNext)) {
            std::size_t nEnd = n + 1;
            while (nEnd < sValue.size() && IsNameCharacter(sValue[nEnd])) {
                ++nEnd;
            }
            sOut += VariableValue(sValue.substr(n + 1, nEnd - n - 1), sHome);
            n = nEnd - 1;
        } else {
            sOut += '$';
        }
    }
    return sOut;
}

CRecentLinkReader::EResult CRecentLinkReader::Read(const std::string& sText,
                                                   const std::string& sHome, std::string& sPath,
                                                   std::string& sProblem) {
    const CDesktopFile oFile = CDesktopFile::FromText(sText);
    const std::string sGroup = "Desktop Entry";
    const std::string sType = oFile.Value(sGroup, "Type").value_or("");
    if (sType != "Link") {
        sProblem = sType.empty() ? "it is not a desktop entry of a link"
                                 : "its type is " + sType + ", not Link";
        return EResult::Damaged;
    }
    std::optional<std::string> osUrl;
    if (const auto osExpanded = oFile.Value(sGroup, "URL[$e]")) {
        osUrl = ExpandVariables(CDesktopFile::Unescape(*osExpanded), sHome);
        if (!osUrl) {
            sProblem = "its URL[$e] cannot be expanded";
            return EResult::Damaged;
        }
    } else if (const auto osPlain = oFile.Value(sGroup, "URL")) {
        osUrl = CDesktopFile::Unescape(*osPlain);
    }
    if (!osUrl || osUrl->empty()) {
        sProblem = "it names no URL";
        return EResult::Damaged;
    }
    // No file's path holds a NUL byte; cut there, it would name another file.
    if (osUrl->find('\0') != std::string::npos) {
        sProblem = "its URL holds a NUL byte";
        return EResult::Damaged;
    }
    if (!osUrl->empty() && (*osUrl)[0] == '/') {
        sPath = *osUrl;
        return EResult::Document;
    }
    if (!HasScheme(*osUrl)) {
        sProblem = "its URL " + *osUrl + " is neither a URL nor an absolute path";
        return EResult::Damaged;
    }
    if (auto osPath = MFileUri::ToPath(*osUrl)) {
        sPath = *osPath;
        return EResult::Document;
    }
    const bool bFileScheme = (*osUrl).compare(0, 5, "file:") == 0;
    if (bFileScheme && !MFileUri::PercentDecode(*osUrl)) {
        sProblem = "its URL " + *osUrl + " is malformed";
        return EResult::Damaged;
    }
    return EResult::NotLocal;
}
