#include "app/repository/CCapture.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/repository/DirectoryWalker.h"
#include "app/views/CFavorites.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CClock.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {
struct SListed {
    std::string sName;
    struct timespec tsModified;
};

// The shortcuts of the Recent folder (regular files, hidden ones left out) with their
// last-write times, in name order. The whole listing is taken before anything is filed.
std::vector<SListed> ListShortcuts(const std::string& sFolder) {
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(sFolder.c_str()), closedir);
    if (!pDir) {
        throw CRunTimeError::FromErrno(errno == ENOENT ? ENOTDIR : errno, sFolder);
    }
    std::vector<SListed> vListed;
    while (const dirent* pEntry = readdir(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (sName[0] == '.' || !DirectoryWalker::Matches("*.lnk", sName)) {
            continue;
        }
        struct stat oStat {};
        if (fstatat(dirfd(pDir.get()), pEntry->d_name, &oStat, 0) == 0 && S_ISREG(oStat.st_mode)) {
            vListed.push_back({sName, oStat.st_mtim});
        }
    }
    std::sort(vListed.begin(), vListed.end(),
              [](const SListed& a, const SListed& b) { return a.sName < b.sName; });
    return vListed;
}

// Tells whether the repository copy of a listed shortcut is current, with one stat relative to
// its day folder, which is opened once per poll: a steady poll costs little more than the
// listing itself.
class CFiledCopies {
public:
    explicit CFiledCopies(std::string sDaily) : m_sDaily(std::move(sDaily)) {}
    ~CFiledCopies() {
        for (const auto& oEntry : m_oFolders) {
            if (oEntry.second >= 0) {
                close(oEntry.second);
            }
        }
    }
    CFiledCopies(const CFiledCopies&) = delete;
    CFiledCopies& operator=(const CFiledCopies&) = delete;

    bool IsCurrent(const CDateTime& dModified, const std::string& sName, std::time_t tModified) {
        const std::int64_t llDay = dModified.DatePart().LocalSeconds();
        auto it = m_oFolders.find(llDay);
        if (it == m_oFolders.end()) {
            const std::string sFolder = m_sDaily + "/" + dModified.YearText() + "/" +
                                        dModified.MonthName() + "/" + dModified.DayText();
            it = m_oFolders.emplace(llDay, open(sFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
                     .first;
        }
        struct stat oStat {};
        return it->second >= 0 && fstatat(it->second, sName.c_str(), &oStat, 0) == 0 &&
               oStat.st_mtim.tv_sec == tModified;
    }

private:
    std::string m_sDaily;
    std::unordered_map<std::int64_t, int> m_oFolders;
};

std::time_t ModifiedSeconds(const std::string& sPath, bool& bExists) {
    struct stat oStat {};
    bExists = stat(sPath.c_str(), &oStat) == 0;
    return bExists ? oStat.st_mtim.tv_sec : 0;
}

// Copies the shortcut with its last-write time; the copy appears whole or not at all.
void CopyWithTime(const std::string& sSource, const std::string& sDestination) {
    const int iIn = open(sSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (iIn < 0) {
        throw CRunTimeError::FromErrno(errno, sSource);
    }
    struct stat oStat {};
    fstat(iIn, &oStat);
    std::string sTemporary = sDestination + ".tmp-XXXXXX";
    const int iOut = mkstemp(sTemporary.data());
    if (iOut < 0) {
        const int iErrno = errno;
        close(iIn);
        throw CRunTimeError::FromErrno(iErrno, sDestination);
    }
    bool bOk = true;
    char acBuffer[64 * 1024];
    while (bOk) {
        const ssize_t nRead = read(iIn, acBuffer, sizeof acBuffer);
        if (nRead == 0) {
            break;
        }
        bOk = nRead > 0 && write(iOut, acBuffer, static_cast<size_t>(nRead)) == nRead;
    }
    int iErrno = bOk ? 0 : errno;
    const struct timespec atsTimes[2] = {oStat.st_atim, oStat.st_mtim};
    fchmod(iOut, 0644);
    if (bOk && futimens(iOut, atsTimes) != 0) {
        bOk = false;
        iErrno = errno;
    }
    close(iIn);
    if (close(iOut) != 0 && bOk) {
        bOk = false;
        iErrno = errno;
    }
    if (bOk && rename(sTemporary.c_str(), sDestination.c_str()) != 0) {
        bOk = false;
        iErrno = errno;
    }
    if (!bOk) {
        unlink(sTemporary.c_str());
        throw CRunTimeError::FromErrno(iErrno, sDestination);
    }
}
} // namespace

std::string CCapture::DayFolder(const std::string& sYear, const std::string& sMonth,
                                const std::string& sDay) const {
    return MDayfold::Repository().DailyPath() + "/" + sYear + "/" + sMonth + "/" + sDay;
}

void CCapture::GetShortcuts() {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sRecentFolder),
                              "FMain.GetShortcuts: Recent folder is missing");
    try {
        const std::string sPrefix = m_sRecentFolder + "/";
        const std::vector<SListed> vListed = ListShortcuts(m_sRecentFolder);
        const CDateTime dCutOff = MDayfold::Clock().Now().AddDays(-m_lPurgeAge);
        CFiledCopies oFiled(MDayfold::Repository().DailyPath());
        for (const SListed& oListed : vListed) {
            // The name and last-write time decide whether anything is to be done; the whole
            // record is loaded only for a shortcut that is about to be filed.
            const CDateTime dModified = CDateTime::FromUnixTime(oListed.tsModified.tv_sec);
            if (dModified < dCutOff ||
                oFiled.IsCurrent(dModified, oListed.sName, oListed.tsModified.tv_sec)) {
                continue;
            }
            CShortcut oShortcut;
            oShortcut.SetFile(sPrefix + oListed.sName);
            if (oShortcut.Loaded()) {
                ProcessShortcut(oShortcut);
            }
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.GetShortcuts", false);
    }
}

void CCapture::ProcessShortcut(CShortcut& oShortcut) {
    MDayfold::Assert().Assert(m_pFavorites != nullptr,
                              "FMain.ProcessShortcut: Favorites object is nothing");
    try {
        const CDateTime dCutOff = MDayfold::Clock().Now().AddDays(-m_lPurgeAge);
        if (oShortcut.Modified() < dCutOff) {
            return;
        }
        // Every level is made when missing, the Daily folder too: it may vanish while the
        // program runs, and filing must not fail from then on.
        const std::string& sDaily = MDayfold::Repository().DailyPath();
        for (const std::string& sLevel :
             {sDaily, sDaily + "/" + oShortcut.Year(),
              sDaily + "/" + oShortcut.Year() + "/" + oShortcut.Month(),
              DayFolder(oShortcut.Year(), oShortcut.Month(), oShortcut.Day())}) {
            mkdir(sLevel.c_str(), 0755);
        }
        const std::string sDestination =
            DayFolder(oShortcut.Year(), oShortcut.Month(), oShortcut.Day()) + "/" +
            oShortcut.FileName();
        bool bExists = false;
        const std::time_t tCopy = ModifiedSeconds(sDestination, bExists);
        const bool bCounted = !bExists;
        if (bExists && tCopy == oShortcut.ModifiedUnixTime()) {
            return;
        }
        CopyWithTime(oShortcut.File(), sDestination);
        oShortcut.SetFile(sDestination);
        oShortcut.CreateExecutableShortcut();
        if (bCounted && m_pFavorites != nullptr) {
            m_pFavorites->ProcessShortcut(oShortcut);
        }
        m_bDailyChanged = true;
        if (ShortcutFiled) {
            ShortcutFiled(oShortcut, bCounted);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.ProcessShortcut", false);
    }
}
