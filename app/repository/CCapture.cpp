#include "app/repository/CCapture.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/repository/CShortcutCache.h"
#include "app/views/CFavorites.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CClock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
struct SListed {
    std::string sName;
    struct timespec tsModified;
};

bool IsShortcutName(const char* pszName) {
    const size_t nLength = std::strlen(pszName);
    return pszName[0] != '.' && nLength >= 4 && strcasecmp(pszName + nLength - 4, ".lnk") == 0;
}

// Copies the shortcut with its last-write time; the copy appears whole or not at all. The
// temporary copy has a short name of its own in the day folder, so that a name near the file
// system's limit is filed too, and a copy cut off is recognised by the folder census.
void CopyWithTime(const std::string& sSource, const std::string& sDestination,
                  const std::string& sDayFolder) {
    const int iIn = open(sSource.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (iIn < 0) {
        throw CRunTimeError::FromErrno(errno, sSource);
    }
    struct stat oStat {};
    fstat(iIn, &oStat);
    std::string sTemporary = CRepository::TemporaryCopyTemplate(sDayFolder);
    const int iOut = mkostemp(sTemporary.data(), O_CLOEXEC);
    if (iOut < 0) {
        const int iErrno = errno;
        close(iIn);
        throw CRunTimeError::FromErrno(iErrno, sDestination);
    }
    bool bOk = true;
    int iErrno = 0;
    char acBuffer[64 * 1024];
    while (bOk) {
        const ssize_t nRead = read(iIn, acBuffer, sizeof acBuffer);
        if (nRead == 0) {
            break;
        }
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t nWritten = nRead > 0 ? write(iOut, acBuffer, static_cast<size_t>(nRead)) : -1;
        if (nWritten != nRead) {
            bOk = false;
            iErrno = nWritten < 0 ? errno : ENOSPC;
        }
    }
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

void CCapture::Failed(const std::string& sFile) {
    if (FilingFailed) {
        FilingFailed(sFile);
    }
}

void CCapture::GetShortcuts() {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sRecentFolder),
                              "FMain.GetShortcuts: Recent folder is missing");
    ++m_llPoll;
    m_bCounted = false;
    CShortcutCache oCache;
    m_pCache = &oCache;
    m_oFiled.BeginPoll(MDayfold::Repository().DailyPath());
    try {
        // The whole listing is taken, and what is filed already set aside, before anything is
        // filed. Names, times and the copies' state decide; a shortcut's time is converted
        // and its record loaded only when it is about to be filed.
        std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(m_sRecentFolder.c_str()), closedir);
        if (!pDir) {
            throw CRunTimeError::FromErrno(errno == ENOENT ? ENOTDIR : errno, m_sRecentFolder);
        }
        const std::time_t tCutOff =
            MDayfold::Clock().Now().AddDays(-static_cast<std::int64_t>(m_lPurgeAge)).ToUnixTime();
        std::vector<SListed> vToFile;
        while (const dirent* pEntry = readdir(pDir.get())) {
            if (!IsShortcutName(pEntry->d_name)) {
                continue;
            }
            struct stat oStat {};
            if (fstatat(dirfd(pDir.get()), pEntry->d_name, &oStat, 0) != 0 ||
                !S_ISREG(oStat.st_mode) || oStat.st_mtim.tv_sec < tCutOff) {
                continue;
            }
            const std::string_view sName(pEntry->d_name);
            if (m_oFiled.IsFiled(sName, oStat.st_mtim)) {
                continue;
            }
            const auto itDamaged = m_colDamaged.find(std::string(sName));
            if (itDamaged != m_colDamaged.end() &&
                itDamaged->second.tsModified.tv_sec == oStat.st_mtim.tv_sec &&
                itDamaged->second.tsModified.tv_nsec == oStat.st_mtim.tv_nsec) {
                itDamaged->second.llPoll = m_llPoll;
                continue;
            }
            vToFile.push_back({std::string(sName), oStat.st_mtim});
        }
        pDir.reset();
        std::sort(vToFile.begin(), vToFile.end(),
                  [](const SListed& a, const SListed& b) { return a.sName < b.sName; });
        const std::string sPrefix = m_sRecentFolder + "/";
        for (const SListed& oListed : vToFile) {
            CShortcut oShortcut;
            oShortcut.SetCache(&oCache);
            oShortcut.SetFile(sPrefix + oListed.sName);
            if (oShortcut.Loaded()) {
                m_colDamaged.erase(oListed.sName);
                ProcessShortcut(oShortcut);
            } else {
                m_colDamaged[oListed.sName] = {oListed.tsModified, m_llPoll};
            }
        }
        std::erase_if(m_colDamaged,
                      [this](const auto& oEntry) { return oEntry.second.llPoll != m_llPoll; });
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.GetShortcuts", false);
        Failed(m_sRecentFolder);
    }
    m_oFiled.EndPoll();
    m_pCache = nullptr;
    // Every new day of use is in Favorites.dat at the end of the poll that counted it.
    if (m_bCounted && m_pFavorites != nullptr) {
        m_pFavorites->Save();
    }
}

// Whether the file at sCopy is a copy of the shortcut's document (an earlier copy of the same
// day) rather than the program shortcut of another document, or another document's copy that
// bears the same name.
bool CCapture::IsCopyOf(const std::string& sCopy, const CShortcut& oShortcut) const {
    CShortcut oCopy;
    oCopy.SetCache(m_pCache);
    oCopy.SetFile(sCopy);
    return !oCopy.Loaded() || CFavorites::TargetKey(oCopy.TargetFile()) ==
                                  CFavorites::TargetKey(oShortcut.TargetFile());
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
        const std::string sDayFolder =
            DayFolder(oShortcut.Year(), oShortcut.Month(), oShortcut.Day());
        for (const std::string& sLevel :
             {sDaily, sDaily + "/" + oShortcut.Year(),
              sDaily + "/" + oShortcut.Year() + "/" + oShortcut.Month(), sDayFolder}) {
            mkdir(sLevel.c_str(), 0755);
        }
        const std::string sDestination = sDayFolder + "/" + oShortcut.FileName();
        struct stat oStat {};
        const bool bExists = stat(sDestination.c_str(), &oStat) == 0;
        if (bExists && oStat.st_mtime == oShortcut.ModifiedUnixTime()) {
            return; // the copy is current
        }
        const bool bCounted = !bExists || !IsCopyOf(sDestination, oShortcut);
        // Noted before the copy is made: a run that ends before the store is saved loses no
        // count.
        if (m_pFavorites != nullptr &&
            !m_pFavorites->NoteFiling(sDestination, oShortcut.ModifiedUnixTime(), bCounted)) {
            Failed(oShortcut.File());
            return;
        }
        CopyWithTime(oShortcut.File(), sDestination, sDayFolder);
        oShortcut.SetFile(sDestination);
        oShortcut.CreateExecutableShortcut();
        if (bCounted && m_pFavorites != nullptr) {
            m_pFavorites->ProcessShortcut(oShortcut);
            m_bCounted = true;
        }
        m_bDailyChanged = true;
        if (ShortcutFiled) {
            ShortcutFiled(oShortcut, bCounted);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.ProcessShortcut", false);
        Failed(oShortcut.File());
    }
}
