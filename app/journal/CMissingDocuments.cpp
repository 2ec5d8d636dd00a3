#include "app/journal/CMissingDocuments.h"

#include "app/core/MDayfold.h"
#include "app/journal/CJournalScan.h"
#include "app/journal/MJournalFiles.h"
#include "app/repository/CRepository.h"
#include "platform/shell/CClock.h"
#include "platform/shelllink/CShellLink.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string ParentOf(const std::string& sPath) {
    const size_t nSlash = sPath.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? "/" : sPath.substr(0, nSlash);
}
} // namespace

CMissingDocuments::CMissingDocuments(const CClock& oClock, std::int64_t llSeconds)
    : m_oClock(oClock), m_llSeconds(llSeconds),
      m_vVolumeFolders(
          {"/media", "/run/media", "/mnt", "/run/user/" + std::to_string(getuid()) + "/gvfs"}) {}

bool CMissingDocuments::IsVolumeFolder(const std::string& sFolder) const {
    const std::string sParent = ParentOf(sFolder);
    return std::any_of(
        m_vVolumeFolders.begin(), m_vVolumeFolders.end(),
        [&](const std::string& sVolumes) { return sFolder == sVolumes || sParent == sVolumes; });
}

CMissingDocuments::EState CMissingDocuments::Check(const std::string& sTargetFile) const {
    if (sTargetFile.empty() || sTargetFile[0] != '/') {
        return EState::Unknown;
    }
    struct stat oStat {};
    if (stat(sTargetFile.c_str(), &oStat) == 0) {
        return EState::Present;
    }
    if (errno != ENOENT && errno != ENOTDIR) {
        return EState::Unknown;
    }
    // The deepest folder of the path that is there tells whether a volume is away.
    std::string sFolder = sTargetFile;
    do {
        sFolder = ParentOf(sFolder);
    } while (sFolder != "/" && !(stat(sFolder.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode)));
    return IsVolumeFolder(sFolder) ? EState::Unknown : EState::Missing;
}

bool CMissingDocuments::Missing(const std::string& sTargetFile) {
    try {
        const std::time_t tNow = m_oClock.Now().ToUnixTime();
        const auto it = m_colAnswers.find(sTargetFile);
        // A clock set back makes an answer old too.
        if (it != m_colAnswers.end() && tNow >= it->second.tChecked &&
            tNow - it->second.tChecked < m_llSeconds) {
            return it->second.eState == EState::Missing;
        }
        if (m_colAnswers.size() >= AnswersKept) {
            m_colAnswers.clear();
        }
        const EState eState = Check(sTargetFile);
        m_colAnswers[sTargetFile] = {eState, tNow};
        return eState == EState::Missing;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CMissingDocuments.Missing", false);
        return false;
    }
}

bool CMissingDocuments::Missing(const std::string& sFolder, const std::string& sName) {
    if (sFolder.empty() || sName.empty()) {
        return false;
    }
    return Missing(sFolder.back() == '/' ? sFolder + sName : sFolder + "/" + sName);
}

void CMissingDocuments::Forget() {
    m_colAnswers.clear();
}

std::vector<std::string> CMissingDocuments::FindMissing() {
    std::vector<std::string> vCopies;
    try {
        std::unordered_map<std::string, bool> colMissing; // one look per document
        CJournalScan oScan(MDayfold::Repository().DailyPath());
        oScan.CopyFound = [&](const SJournalCopy& oCopy) {
            auto it = colMissing.find(oCopy.sTargetFile);
            if (it == colMissing.end()) {
                it = colMissing
                         .emplace(oCopy.sTargetFile, Check(oCopy.sTargetFile) == EState::Missing)
                         .first;
            }
            if (it->second) {
                vCopies.push_back(oCopy.sShortcutFile);
            }
        };
        oScan.Scan();
        CJournalScan::LogFailures(oScan.Failures(), oScan.FailureCount(),
                                  "CMissingDocuments.FindMissing");
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CMissingDocuments.FindMissing", false);
    }
    return vCopies;
}

std::int32_t CMissingDocuments::RemoveMissing(const std::vector<std::string>& vCopies) {
    try {
        std::vector<std::string> vGone;
        for (const std::string& sCopy : vCopies) {
            try {
                const CShellLink oLink = CShellLink::Load(sCopy);
                if (Check(MDayfold::Trim(oLink.TargetPath())) == EState::Missing) {
                    vGone.push_back(sCopy);
                }
            } catch (const std::exception&) {
                // A copy that cannot be read is no missing document's: it stays.
            }
        }
        Forget();
        return MJournalFiles::RemoveCopies(MDayfold::Repository().DailyPath(), vGone,
                                           "CMissingDocuments.RemoveMissing");
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CMissingDocuments.RemoveMissing", false);
        return 0;
    }
}
