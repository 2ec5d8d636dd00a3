#include "platform/registry/CFreedesktopFileTypes.h"

#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/MRegistryText.h"

#include <QMimeDatabase>
#include <QMimeType>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* szName) {
    const char* szValue = std::getenv(szName);
    return szValue == nullptr ? std::string() : std::string(szValue);
}

std::vector<std::string> SplitOn(const std::string& sText, char cSeparator) {
    std::vector<std::string> vParts;
    std::size_t nStart = 0;
    while (nStart <= sText.size()) {
        std::size_t nEnd = sText.find(cSeparator, nStart);
        if (nEnd == std::string::npos) {
            nEnd = sText.size();
        }
        if (nEnd > nStart) {
            vParts.push_back(sText.substr(nStart, nEnd - nStart));
        }
        nStart = nEnd + 1;
    }
    return vParts;
}

// A base-directory variable: only absolute folders count; the default when none is given.
std::vector<std::string> BaseDirs(const char* szName, const std::string& sDefault) {
    std::vector<std::string> vDirs;
    for (const std::string& sDir : SplitOn(Environment(szName), ':')) {
        if (sDir[0] == '/') {
            vDirs.push_back(sDir);
        }
    }
    if (vDirs.empty() && !sDefault.empty()) {
        vDirs = SplitOn(sDefault, ':');
    }
    return vDirs;
}

std::string HomeDir(const char* szName, const std::string& sBelowHome) {
    const std::string sValue = Environment(szName);
    if (!sValue.empty() && sValue[0] == '/') {
        return sValue;
    }
    const std::string sHome = Environment("HOME");
    return sHome.empty() ? std::string() : sHome + "/" + sBelowHome;
}

std::string Fold(const std::string& sText) {
    return MRegistryText::Fold(sText);
}

bool IsExecutableFile(const std::string& sPath) {
    struct stat oStat {};
    return stat(sPath.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode) &&
           access(sPath.c_str(), X_OK) == 0;
}

// The Exec arguments with the entry's own field codes expanded and the deprecated and unknown
// ones removed; the document's codes and "%%" stay for the opener. A value put in for a code is
// protected from the opener by doubling its "%".
std::vector<std::string> ExpandEntryCodes(const std::vector<std::string>& vWords,
                                          const std::string& sIcon, const std::string& sName,
                                          const std::string& sEntryPath) {
    const auto Literal = [](const std::string& sValue) {
        std::string sOut;
        for (const char c : sValue) {
            sOut += c;
            if (c == '%') {
                sOut += '%';
            }
        }
        return sOut;
    };
    std::vector<std::string> vOut;
    for (const std::string& sWord : vWords) {
        if (sWord == "%i") {
            if (!sIcon.empty()) {
                vOut.push_back("--icon");
                vOut.push_back(Literal(sIcon));
            }
            continue;
        }
        std::string sArgument;
        bool bRemoved = false;
        for (std::size_t n = 0; n < sWord.size(); ++n) {
            if (sWord[n] != '%' || n + 1 >= sWord.size()) {
                sArgument += sWord[n];
                continue;
            }
            const char cCode = sWord[++n];
            switch (cCode) {
            case '%':
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                sArgument += '%';
                sArgument += cCode;
                break;
            case 'c':
                sArgument += Literal(sName);
                break;
            case 'k':
                sArgument += Literal(sEntryPath);
                break;
            case 'i':
                sArgument += Literal(sIcon);
                break;
            default: // %d %D %n %N %v %m and codes no one defined
                bRemoved = true;
            }
        }
        if (!(bRemoved && sArgument.empty())) {
            vOut.push_back(sArgument);
        }
    }
    return vOut;
}

void AddLists(std::map<std::string, std::vector<std::string>>& colTarget,
              const std::vector<std::pair<std::string, std::string>>& vEntries) {
    for (const auto& [sType, sIds] : vEntries) {
        std::vector<std::string>& vIds = colTarget[Fold(sType)];
        for (const std::string& sId : CDesktopFile::SplitList(sIds)) {
            vIds.push_back(sId);
        }
    }
}

const std::vector<std::string>& IdsFor(const std::map<std::string, std::vector<std::string>>& col,
                                       const std::string& sFoldedType) {
    static const std::vector<std::string> vNone;
    const auto it = col.find(sFoldedType);
    return it == col.end() ? vNone : it->second;
}

} // namespace

CFreedesktopFileTypes::CFreedesktopFileTypes() {
    const std::string sConfigHome = HomeDir("XDG_CONFIG_HOME", ".config");
    if (!sConfigHome.empty()) {
        m_vConfigDirs.push_back(sConfigHome);
    }
    for (const std::string& sDir : BaseDirs("XDG_CONFIG_DIRS", "/etc/xdg")) {
        m_vConfigDirs.push_back(sDir);
    }
    const std::string sDataHome = HomeDir("XDG_DATA_HOME", ".local/share");
    if (!sDataHome.empty()) {
        m_vDataDirs.push_back(sDataHome);
    }
    for (const std::string& sDir : BaseDirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
        m_vDataDirs.push_back(sDir);
    }
    for (const std::string& sDesktop : SplitOn(Environment("XDG_CURRENT_DESKTOP"), ':')) {
        std::string sLower = sDesktop;
        for (char& c : sLower) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        m_vDesktops.push_back(sLower);
    }
    m_vPath = SplitOn(Environment("PATH"), ':');
}

std::optional<std::string> CFreedesktopFileTypes::DefaultValue(const std::string& sKey) {
    const std::string sFolded = Fold(MRegistryText::JoinPath(MRegistryText::SplitPath(sKey)));
    const auto it = m_colAnswers.find(sFolded);
    if (it != m_colAnswers.end()) {
        return it->second;
    }
    std::optional<std::string> osAnswer = Lookup(sKey);
    m_colAnswers.emplace(sFolded, osAnswer);
    return osAnswer;
}

std::optional<std::string> CFreedesktopFileTypes::Lookup(const std::string& sKey) {
    const std::vector<std::string> vParts = MRegistryText::SplitPath(sKey);
    if (vParts.empty()) {
        return std::nullopt;
    }
    const QMimeDatabase oDatabase;
    const std::string& sFirst = vParts.front();
    if (sFirst[0] == '.') {
        if (vParts.size() != 1 || sFirst.size() < 2) {
            return std::nullopt;
        }
        const QList<QMimeType> vTypes =
            oDatabase.mimeTypesForFileName(QString::fromStdString("file" + sFirst));
        if (vTypes.isEmpty()) {
            return std::nullopt;
        }
        return vTypes.front().name().toStdString();
    }
    if (sFirst.find('/') == std::string::npos) {
        return std::nullopt;
    }
    const QMimeType oType = oDatabase.mimeTypeForName(QString::fromStdString(sFirst));
    if (vParts.size() == 1) {
        if (!oType.isValid()) {
            return std::nullopt;
        }
        return oType.comment().toStdString();
    }
    if (vParts.size() == 2 && MRegistryText::SameName(vParts[1], "DefaultIcon")) {
        if (!oType.isValid() || oType.iconName().isEmpty()) {
            return std::nullopt;
        }
        return oType.iconName().toStdString() + ",0";
    }
    if (vParts.size() == 4 && MRegistryText::SameName(vParts[1], "shell") &&
        MRegistryText::SameName(vParts[2], "open") &&
        MRegistryText::SameName(vParts[3], "command")) {
        return OpenCommand(sFirst);
    }
    return std::nullopt;
}

std::optional<std::string> CFreedesktopFileTypes::OpenCommand(const std::string& sType) {
    LoadDatabases();
    // The type as named, then its aliases, then the types it is a kind of (a script is text).
    std::vector<std::string> vTypes{sType};
    const QMimeType oType = QMimeDatabase().mimeTypeForName(QString::fromStdString(sType));
    if (oType.isValid()) {
        vTypes.push_back(oType.name().toStdString());
        for (const QString& sAlias : oType.aliases()) {
            vTypes.push_back(sAlias.toStdString());
        }
    }
    std::set<std::string> colSeen;
    for (const std::string& sCandidate : vTypes) {
        if (colSeen.insert(Fold(sCandidate)).second) {
            if (auto osCommand = CommandForType(sCandidate)) {
                return osCommand;
            }
        }
    }
    if (oType.isValid()) {
        for (const QString& sParent : oType.allAncestors()) {
            if (colSeen.insert(Fold(sParent.toStdString())).second) {
                if (auto osCommand = CommandForType(sParent.toStdString())) {
                    return osCommand;
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> CFreedesktopFileTypes::CommandForType(const std::string& sType) {
    const std::string sFolded = Fold(sType);
    for (const SAssociations& oList : m_vLists) {
        for (const std::string& sId : IdsFor(oList.colDefaults, sFolded)) {
            if (auto osCommand = ApplicationCommand(sId)) {
                return osCommand;
            }
        }
    }
    std::set<std::string> colRemoved;
    for (const SAssociations& oList : m_vLists) {
        for (const std::string& sId : IdsFor(oList.colAdded, sFolded)) {
            if (colRemoved.count(sId) == 0) {
                if (auto osCommand = ApplicationCommand(sId)) {
                    return osCommand;
                }
            }
        }
        for (const std::string& sId : IdsFor(oList.colRemoved, sFolded)) {
            colRemoved.insert(sId);
        }
    }
    for (const auto& colCache : m_vCaches) {
        for (const std::string& sId : IdsFor(colCache, sFolded)) {
            if (colRemoved.count(sId) == 0) {
                if (auto osCommand = ApplicationCommand(sId)) {
                    return osCommand;
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> CFreedesktopFileTypes::ApplicationCommand(const std::string& sId) {
    const auto itKnown = m_colCommands.find(sId);
    if (itKnown != m_colCommands.end()) {
        return itKnown->second;
    }
    std::optional<std::string> osCommand;
    const auto itFile = m_colDesktopFiles.find(sId);
    const auto oEntry =
        itFile != m_colDesktopFiles.end() ? ReadDatabase(itFile->second) : std::nullopt;
    const std::string sGroup = "Desktop Entry";
    const auto Text = [&](const std::string& sKey) {
        return CDesktopFile::Unescape(oEntry->Value(sGroup, sKey).value_or(""));
    };
    if (oEntry && Text("Hidden") != "true" &&
        oEntry->Value(sGroup, "Type").value_or("Application") == "Application") {
        const std::string sTryExec = Text("TryExec");
        const auto ovWords = CDesktopFile::SplitExec(Text("Exec"));
        const auto osProgram =
            ovWords && !ovWords->empty() ? FindProgram(ovWords->front()) : std::nullopt;
        if (osProgram && (sTryExec.empty() || FindProgram(sTryExec))) {
            const std::vector<std::string> vArguments = ExpandEntryCodes(
                std::vector<std::string>(ovWords->begin() + 1, ovWords->end()), Text("Icon"),
                CDesktopFile::Unescape(oEntry->LocalizedValue(sGroup, "Name").value_or("")),
                itFile->second);
            std::string sCommand = CDesktopFile::QuoteExecArgument(*osProgram);
            for (const std::string& sArgument : vArguments) {
                sCommand += ' ';
                sCommand += CDesktopFile::QuoteExecArgument(sArgument);
            }
            osCommand = sCommand;
        }
    }
    m_colCommands.emplace(sId, osCommand);
    return osCommand;
}

std::optional<std::string> CFreedesktopFileTypes::FindProgram(const std::string& sProgram) const {
    if (sProgram.find('/') != std::string::npos) {
        if (sProgram[0] != '/' || !IsExecutableFile(sProgram)) {
            return std::nullopt;
        }
        return sProgram;
    }
    for (const std::string& sDir : m_vPath) {
        if (sDir[0] != '/') {
            continue; // a relative folder of PATH names no fixed place
        }
        const std::string sPath = sDir + (sDir.back() == '/' ? "" : "/") + sProgram;
        if (IsExecutableFile(sPath)) {
            return sPath;
        }
    }
    return std::nullopt;
}

void CFreedesktopFileTypes::LoadDatabases() {
    if (m_bLoaded) {
        return;
    }
    m_bLoaded = true;
    const auto ReadList = [&](const std::string& sPath, bool bDesktopSpecific) {
        const auto oFile = ReadDatabase(sPath);
        if (!oFile) {
            return;
        }
        SAssociations oList;
        AddLists(oList.colDefaults, oFile->Entries("Default Applications"));
        // Associations belong to the plain lists only.
        if (!bDesktopSpecific) {
            AddLists(oList.colAdded, oFile->Entries("Added Associations"));
            AddLists(oList.colRemoved, oFile->Entries("Removed Associations"));
        }
        m_vLists.push_back(std::move(oList));
    };
    const auto ReadListsIn = [&](const std::string& sFolder) {
        for (const std::string& sDesktop : m_vDesktops) {
            ReadList(sFolder + "/" + sDesktop + "-mimeapps.list", true);
        }
        ReadList(sFolder + "/mimeapps.list", false);
    };
    for (const std::string& sDir : m_vConfigDirs) {
        ReadListsIn(sDir);
    }
    for (const std::string& sDir : m_vDataDirs) {
        ReadListsIn(sDir + "/applications");
    }
    for (const std::string& sDir : m_vDataDirs) {
        if (const auto oCache = ReadDatabase(sDir + "/applications/mimeinfo.cache")) {
            std::map<std::string, std::vector<std::string>> colCache;
            AddLists(colCache, oCache->Entries("MIME Cache"));
            m_vCaches.push_back(std::move(colCache));
        }
        std::set<std::pair<dev_t, ino_t>> colVisited;
        IndexApplications(sDir + "/applications", "", 0, colVisited);
    }
}

std::optional<CDesktopFile> CFreedesktopFileTypes::ReadDatabase(const std::string& sPath) {
    try {
        return CDesktopFile::Read(sPath);
    } catch (const CRunTimeError& oError) {
        if (oError.Number() == RunTimeErrors::FileNotFound ||
            oError.Number() == RunTimeErrors::PathNotFound) {
            return std::nullopt; // most of the places a database may lie hold none
        }
        std::shared_ptr<CErrorReporter> pOwn;
        CErrorReporter* pReporter = m_pReporter;
        if (pReporter == nullptr) {
            pOwn = CErrorComponent::NewErrorReporter();
            pReporter = pOwn.get();
        }
        pReporter->Clear();
        pReporter->SetNumber(oError.Number());
        pReporter->SetDescription(std::to_string(oError.Number()) + "-" + oError.Description());
        pReporter->SetSource("CFreedesktopFileTypes.ReadDatabase");
        pReporter->SetMessage("The file-type database " + sPath + " was not read.");
        pReporter->Log();
        return std::nullopt;
    }
}

void CFreedesktopFileTypes::IndexApplications(const std::string& sFolder,
                                              const std::string& sPrefix, int iDepth,
                                              std::set<std::pair<dev_t, ino_t>>& colVisited) {
    // A folder reached again (a link to "." or to a parent) would make the walk endless.
    struct stat oFolder {};
    if (stat(sFolder.c_str(), &oFolder) != 0 || !S_ISDIR(oFolder.st_mode) ||
        !colVisited.emplace(oFolder.st_dev, oFolder.st_ino).second) {
        return;
    }
    std::error_code ec;
    std::vector<fs::directory_entry> vEntries;
    for (auto it = fs::directory_iterator(sFolder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        vEntries.push_back(*it);
    }
    for (const fs::directory_entry& oEntry : vEntries) {
        const std::string sName = oEntry.path().filename().string();
        std::error_code ecType;
        if (oEntry.is_directory(ecType)) {
            if (iDepth + 1 < MaxFolderDepth) {
                IndexApplications(oEntry.path().string(), sPrefix + sName + "-", iDepth + 1,
                                  colVisited);
            }
        } else if (sName.size() > 8 && sName.compare(sName.size() - 8, 8, ".desktop") == 0) {
            // The first folder in precedence order holds the entry that counts.
            m_colDesktopFiles.emplace(sPrefix + sName, oEntry.path().string());
        }
    }
}
