#include "app/journal/CPrivateFolders.h"

#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/journal/CJournalScan.h"
#include "app/journal/MJournalFiles.h"
#include "app/repository/CRepository.h"
#include "app/resources/MResources.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/MCaseFold.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>

namespace {
std::string Environment(const char* pszName) {
    const char* psz = std::getenv(pszName);
    return psz == nullptr ? "" : psz;
}

// The number of a value named "Folder <n>" (any letter case); nothing for other names.
std::optional<long> FolderNumber(const std::string& sName) {
    const std::string sPrefix = CPrivateFolders::ValuePrefix;
    if (sName.size() <= sPrefix.size() ||
        !MCaseFold::Equal(sName.substr(0, sPrefix.size()), sPrefix) ||
        sName.find_first_not_of("0123456789", sPrefix.size()) != std::string::npos ||
        sName.size() - sPrefix.size() > 9) {
        return std::nullopt;
    }
    return std::stol(sName.substr(sPrefix.size()));
}

CRegistryValues GroupValues() {
    return MDayfold::Registry()
        .KeyFromPath(MSettings::GroupPath(CPrivateFolders::GroupName))
        .Values();
}
} // namespace

std::vector<std::string> CPrivateFolders::DefaultFolders() {
    std::vector<std::string> vFolders;
    const std::string sCache = Environment("XDG_CACHE_HOME");
    vFolders.push_back(
        !sCache.empty() && sCache[0] == '/' ? sCache : CShellFolders::HomeFolder() + "/.cache");
    vFolders.emplace_back("/tmp");
    vFolders.emplace_back("/var/tmp");
    const std::string sTemporary = Environment("TMPDIR");
    if (!sTemporary.empty() && sTemporary[0] == '/') {
        vFolders.push_back(sTemporary);
    }
    CPrivateFolders oFolders;
    oFolders.SetFolders(vFolders);
    return oFolders.Folders();
}

std::optional<CPrivateFolders::SPath> CPrivateFolders::Parse(const std::string& sPath) {
    SPath oPath;
    const auto IsLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const bool bDrive = sPath.size() >= 2 && IsLetter(sPath[0]) && sPath[1] == ':' &&
                        (sPath.size() == 2 || sPath[2] == '\\' || sPath[2] == '/');
    const bool bShare = sPath.size() > 2 && sPath[0] == '\\' && sPath[1] == '\\';
    if (!bDrive && !bShare && (sPath.empty() || sPath[0] != '/')) {
        return std::nullopt; // relative: no place to compare
    }
    oPath.bWindows = bDrive || bShare;
    const std::string sSeparators = oPath.bWindows ? "\\/" : "/";
    // The root: a drive, or a server and its share, which ".." does not climb out of.
    size_t nRoot = 0;
    size_t nFrom = 0;
    if (bShare) {
        nFrom = 2;
        oPath.vParts.emplace_back("\\\\");
        nRoot = 1;
    }
    while (nFrom <= sPath.size()) {
        const size_t nEnd = std::min(sPath.find_first_of(sSeparators, nFrom), sPath.size());
        const std::string sPart = sPath.substr(nFrom, nEnd - nFrom);
        nFrom = nEnd + 1;
        if (sPart.empty() || sPart == ".") {
            continue;
        }
        if (sPart == "..") {
            if (oPath.vParts.size() > nRoot) {
                oPath.vParts.pop_back();
            }
            continue;
        }
        oPath.vParts.push_back(oPath.bWindows ? MCaseFold::Fold(sPart) : sPart);
        if (bDrive && oPath.vParts.size() == 1) {
            nRoot = 1;
        } else if (bShare && oPath.vParts.size() <= 3) {
            nRoot = oPath.vParts.size();
        }
    }
    return oPath;
}

bool CPrivateFolders::Below(const SPath& oPath, const SPath& oFolder) {
    return oPath.bWindows == oFolder.bWindows && oFolder.vParts.size() <= oPath.vParts.size() &&
           std::equal(oFolder.vParts.begin(), oFolder.vParts.end(), oPath.vParts.begin());
}

bool CPrivateFolders::IsInside(const std::string& sPath, const std::string& sFolder) {
    const std::optional<SPath> oPath = Parse(sPath);
    const std::optional<SPath> oFolder = Parse(Normalised(sFolder));
    return oPath && oFolder && Below(*oPath, *oFolder);
}

std::optional<CPrivateFolders::SPath> CPrivateFolders::Resolved(const std::string& sPath) {
    if (sPath.empty() || sPath[0] != '/') {
        return std::nullopt;
    }
    char szResolved[PATH_MAX];
    if (realpath(sPath.c_str(), szResolved) != nullptr) {
        return Parse(szResolved);
    }
    const size_t nSlash = sPath.rfind('/');
    const std::string sFolder = nSlash == 0 ? "/" : sPath.substr(0, nSlash);
    if (realpath(sFolder.c_str(), szResolved) != nullptr) {
        return Parse(std::string(szResolved) + "/" + sPath.substr(nSlash + 1));
    }
    return std::nullopt;
}

std::string CPrivateFolders::Normalised(const std::string& sFolder) {
    std::string sPath = MDayfold::Trim(sFolder);
    if (sPath == "~" || sPath.rfind("~/", 0) == 0) {
        sPath = CShellFolders::HomeFolder() + sPath.substr(1);
    }
    while (sPath.size() > 1 && (sPath.back() == '/' || sPath.back() == '\\') &&
           !(sPath.size() == 3 && sPath[1] == ':')) {
        sPath.pop_back();
    }
    return sPath;
}

void CPrivateFolders::SetFolders(const std::vector<std::string>& vFolders) {
    m_bKnown = true;
    m_vFolders.clear();
    m_vParsed.clear();
    std::vector<SPath> vNamed;
    for (const std::string& sEntry : vFolders) {
        const std::string sFolder = Normalised(sEntry);
        const std::optional<SPath> oFolder = Parse(sFolder);
        if (!oFolder || std::find(vNamed.begin(), vNamed.end(), *oFolder) != vNamed.end()) {
            continue;
        }
        vNamed.push_back(*oFolder);
        m_vFolders.push_back(sFolder);
        m_vParsed.push_back(*oFolder);
        if (!oFolder->bWindows) {
            const std::optional<SPath> oResolved = Resolved(sFolder);
            if (oResolved && !(*oResolved == *oFolder)) {
                m_vParsed.push_back(*oResolved);
            }
        }
    }
}

bool CPrivateFolders::Contains(const std::string& sPath) const {
    if (!m_bKnown) {
        return true;
    }
    const std::optional<SPath> oPath = Parse(sPath);
    if (!oPath) {
        return false;
    }
    const auto InSome = [this](const SPath& oCandidate) {
        return std::any_of(m_vParsed.begin(), m_vParsed.end(), [&oCandidate](const SPath& oFolder) {
            return Below(oCandidate, oFolder);
        });
    };
    if (InSome(*oPath)) {
        return true;
    }
    if (oPath->bWindows || m_vParsed.empty()) {
        return false;
    }
    const std::optional<SPath> oResolved = Resolved(sPath);
    return oResolved && InSome(*oResolved);
}

void CPrivateFolders::ReadValues() {
    try {
        if (MDayfold::Registry().KeyIncomplete(MSettings::GroupPath(GroupName))) {
            SetFolders({});
            m_bKnown = false;
            return;
        }
        std::optional<CRegistryValues> oValues;
        try {
            oValues = GroupValues();
        } catch (const CRunTimeError&) {
            std::vector<std::pair<std::string, std::string>> vDefaults;
            for (const std::string& sFolder : DefaultFolders()) {
                vDefaults.emplace_back(ValuePrefix + std::to_string(vDefaults.size() + 1), sFolder);
            }
            MSettings::CreateRegistryKeys(MDayfold::Registry(), GroupName, vDefaults);
            try {
                oValues = GroupValues();
            } catch (const CRunTimeError&) {
                SetFolders(DefaultFolders()); // the group could not be made
                throw;
            }
        }
        std::map<long, std::string> colByNumber;
        for (const std::string& sName : oValues->Names()) {
            const std::optional<long> olNumber = FolderNumber(sName);
            if (olNumber) {
                colByNumber.emplace(*olNumber, oValues->Item(sName).Value());
            }
        }
        std::vector<std::string> vFolders;
        for (const auto& [lNumber, sFolder] : colByNumber) {
            vFolders.push_back(sFolder);
        }
        SetFolders(vFolders);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CPrivateFolders.ReadValues", false);
    }
}

std::string CPrivateFolders::UnknownMessage(const std::string& sBreak) {
    return MResources::LoadResString(190) + sBreak + MResources::LoadResString(191) + sBreak +
           MDayfold::Registry().SettingsFile();
}

bool CPrivateFolders::SaveValues() {
    try {
        MSettings::CreateRegistryKeys(MDayfold::Registry(), GroupName, {});
        CRegistryValues oValues = GroupValues();
        for (const std::string& sName : oValues.Names()) {
            if (FolderNumber(sName)) {
                oValues.Remove(sName);
            }
        }
        for (size_t i = 0; i < m_vFolders.size(); ++i) {
            oValues.Add(ValuePrefix + std::to_string(i + 1), m_vFolders[i],
                        CRegistryValues::StringType);
        }
        return true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CPrivateFolders.SaveValues", false);
        return false;
    }
}

std::vector<std::string> CPrivateFolders::FindExisting(const std::string& sFolder) const {
    std::vector<std::string> vCopies;
    try {
        CPrivateFolders oFolder;
        oFolder.SetFolders({sFolder});
        if (oFolder.Folders().empty()) {
            return vCopies;
        }
        CJournalScan oScan(MDayfold::Repository().DailyPath());
        oScan.CopyFound = [&](const SJournalCopy& oCopy) {
            if (oFolder.Contains(oCopy.sTargetFile)) {
                vCopies.push_back(oCopy.sShortcutFile);
            }
        };
        oScan.Scan();
        CJournalScan::LogFailures(oScan.Failures(), oScan.FailureCount(),
                                  "CPrivateFolders.FindExisting");
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CPrivateFolders.FindExisting", false);
    }
    return vCopies;
}

std::int32_t CPrivateFolders::RemoveExisting(const std::string& sFolder) {
    try {
        return MJournalFiles::RemoveCopies(MDayfold::Repository().DailyPath(),
                                           FindExisting(sFolder), "CPrivateFolders.RemoveExisting");
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CPrivateFolders.RemoveExisting", false);
        return 0;
    }
}
