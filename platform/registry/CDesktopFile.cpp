#include "platform/registry/CDesktopFile.h"

#include <fstream>
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

std::optional<CDesktopFile> CDesktopFile::Read(const std::string& sPath) {
    std::ifstream oFile(sPath, std::ios::binary);
    if (!oFile) {
        return std::nullopt;
    }
    std::ostringstream oText;
    oText << oFile.rdbuf();
    if (oFile.bad()) {
        return std::nullopt;
    }
    return FromText(oText.str());
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
