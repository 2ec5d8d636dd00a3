#include "aboutbox/CMachineSettings.h"

#include "platform/registry/CSettingsFile.h"
#include "platform/registry/CSettingsTree.h"
#include "platform/registry/MRegistryText.h"
#include "platform/shell/MFileRead.h"

#include <exception>

namespace qlAboutBox {

namespace {

std::string TrimStart(const std::string& sLine) {
    const std::size_t nFirst = sLine.find_first_not_of(" \t");
    return nFirst == std::string::npos ? std::string() : sLine.substr(nFirst);
}

// Whether a value line ("name"=..., @=...) holds a quoted string value.
bool IsStringValue(const std::string& sLine) {
    std::size_t n = 0;
    if (sLine[0] == '@') {
        n = 1;
    } else {
        n = 1;
        while (n < sLine.size() && sLine[n] != '"') {
            n += sLine[n] == '\\' ? 2 : 1;
        }
        ++n;
    }
    while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
        ++n;
    }
    if (n >= sLine.size() || sLine[n] != '=') {
        return false;
    }
    ++n;
    while (n < sLine.size() && (sLine[n] == ' ' || sLine[n] == '\t')) {
        ++n;
    }
    return n < sLine.size() && sLine[n] == '"';
}

// The text with the machine's sections moved under the root the settings reader knows, and
// everything it would refuse but that cannot matter here left out: sections of other roots,
// and values of other kinds with their continuation lines.
std::string MachineSectionsOnly(const std::string& sText) {
    const std::string sMachine = CMachineSettings::RootName;
    std::string sOut;
    bool bBeforeKeys = true;
    bool bInMachineKey = false;
    bool bContinued = false;
    std::size_t nStart = 0;
    while (nStart < sText.size()) {
        std::size_t nEnd = sText.find('\n', nStart);
        if (nEnd == std::string::npos) {
            nEnd = sText.size();
        }
        const std::string sRaw = sText.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        std::string sLine = TrimStart(sRaw);
        if (!sLine.empty() && sLine.back() == '\r') {
            sLine.pop_back();
        }
        if (bContinued) {
            bContinued = !sLine.empty() && sLine.back() == '\\';
            continue;
        }
        if (!sLine.empty() && sLine[0] == '[') {
            bBeforeKeys = false;
            const std::size_t nRootEnd = sLine.find_first_of("\\]");
            const std::string sRoot =
                sLine.substr(1, nRootEnd == std::string::npos ? std::string::npos : nRootEnd - 1);
            bInMachineKey = MRegistryText::SameName(sRoot, sMachine);
            if (bInMachineKey) {
                sOut += "[" + std::string(CSettingsFile::RootName) +
                        sLine.substr(1 + sMachine.size()) + "\n";
            }
            continue;
        }
        if (!sLine.empty() && (sLine[0] == '"' || sLine[0] == '@')) {
            if (bInMachineKey && IsStringValue(sLine)) {
                sOut += sLine + "\n";
            } else {
                bContinued = sLine.back() == '\\';
            }
            continue;
        }
        if (bBeforeKeys || bInMachineKey) {
            sOut += sLine + "\n"; // the header, comments, blank lines
        }
    }
    return sOut;
}

} // namespace

std::optional<std::string> CMachineSettings::ReadString(const std::string& sFile,
                                                        const std::string& sKeyPath,
                                                        const std::string& sValueName) {
    try {
        const std::string sText = MFileRead::ReadRegularFile(sFile, MFileRead::SettingsFileCap);
        const CSettingsTree oTree = CSettingsFile::Parse(MachineSectionsOnly(sText));
        const std::optional<CSettingsTree::KeyId> onKey =
            oTree.FindKey(MRegistryText::JoinPath(MRegistryText::SplitPath(sKeyPath)));
        if (!onKey) {
            return std::nullopt;
        }
        const CSettingsTree::SValue* pValue = oTree.FindValue(*onKey, sValueName);
        if (pValue == nullptr) {
            return std::nullopt;
        }
        return pValue->sValue;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace qlAboutBox
