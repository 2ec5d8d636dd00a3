#include "app/repository/CCapture.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/repository/CShortcutCache.h"
#include "app/views/CFavorites.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CFileSystem.h"

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

// An open file of the file system in use, closed when it goes out of scope.
class CFile {
public:
    CFile(CFileSystem& oFiles, int iFd) : m_oFiles(oFiles), m_iFd(iFd) {}
    ~CFile() {
        if (m_iFd >= 0) {
            const int iErrno = errno;
            m_oFiles.Close(m_iFd);
            errno = iErrno;
        }
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    int Fd() const { return m_iFd; }
    // Closes now; the system's error number, 0 when it closed cleanly.
    int Close() {
        const int iFd = m_iFd;
        m_iFd = -1;
        return m_oFiles.Close(iFd) == 0 ? 0 : errno;
    }

private:
    CFileSystem& m_oFiles;
    int m_iFd;
};

// 0 when the whole source was copied to iOut, else the system's error number.
int CopyBytes(CFileSystem& oFiles, int iIn, int iOut) {
    char acBuffer[64 * 1024];
    while (true) {
        const ssize_t nRead = oFiles.Read(iIn, acBuffer, sizeof acBuffer);
        if (nRead == 0) {
            return 0;
        }
        if (nRead < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        ssize_t nDone = 0;
        while (nDone < nRead) {
            const ssize_t nWritten =
                oFiles.Write(iOut, acBuffer + nDone, static_cast<size_t>(nRead - nDone));
            if (nWritten < 0 && errno == EINTR) {
                continue;
            }
            if (nWritten <= 0) {
                return nWritten < 0 ? errno : ENOSPC;
            }
            nDone += nWritten;
        }
    }
}

// Copies the shortcut with its last-write time and the usual permission bits; the copy
// appears whole or not at all. The temporary copy has a short name of its own in the day
// folder, so that a name near the file system's limit is filed too, and a copy cut off is
// recognised by the folder census. Only the source is read: nothing of it changes.
void CopyWithTime(const std::string& sSource, const std::string& sDestination,
                  const std::string& sDayFolder) {
    CFileSystem& oFiles = CFileSystem::Current();
    CFile oIn(oFiles, oFiles.Open(sSource, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat oStat {};
    if (oIn.Fd() < 0 || oFiles.FileStat(oIn.Fd(), oStat) != 0) {
        throw CRunTimeError::FromErrno(errno, sSource);
    }
    std::string sTemporary = CRepository::TemporaryCopyTemplate(sDayFolder);
    CFile oOut(oFiles, oFiles.MakeTemporary(sTemporary, O_CLOEXEC));
    if (oOut.Fd() < 0) {
        throw CRunTimeError::FromErrno(errno, sDestination);
    }
    const struct timespec atsTimes[2] = {oStat.st_atim, oStat.st_mtim};
    int iErrno = CopyBytes(oFiles, oIn.Fd(), oOut.Fd());
    if (iErrno == 0 && oFiles.ChangeMode(oOut.Fd(), 0644) != 0) {
        iErrno = errno;
    }
    if (iErrno == 0 && oFiles.SetTimes(oOut.Fd(), atsTimes) != 0) {
        iErrno = errno;
    }
    const int iCloseErrno = oOut.Close();
    if (iErrno == 0) {
        iErrno = iCloseErrno;
    }
    if (iErrno == 0 && oFiles.Rename(sTemporary, sDestination) != 0) {
        iErrno = errno;
    }
    if (iErrno != 0) {
        oFiles.Remove(sTemporary);
        throw CRunTimeError::FromErrno(iErrno, sDestination);
    }
}

// Closes a listing of the file system in use.
struct SFolderCloser {
    void operator()(DIR* pFolder) const { CFileSystem::Current().CloseFolder(pFolder); }
};
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
        CFileSystem& oFiles = CFileSystem::Current();
        std::unique_ptr<DIR, SFolderCloser> pDir(oFiles.OpenFolder(m_sRecentFolder));
        if (!pDir) {
            throw CRunTimeError::FromErrno(errno == ENOENT ? ENOTDIR : errno, m_sRecentFolder);
        }
        const std::time_t tCutOff =
            MDayfold::Clock().Now().AddDays(-static_cast<std::int64_t>(m_lPurgeAge)).ToUnixTime();
        std::vector<SListed> vToFile;
        while (true) {
            const dirent* pEntry = oFiles.ReadFolder(pDir.get());
            if (pEntry == nullptr) {
                // The end, or a listing cut short: then this poll files nothing, and the
                // next one lists again.
                if (errno != 0) {
                    throw CRunTimeError::FromErrno(errno, m_sRecentFolder);
                }
                break;
            }
            if (!IsShortcutName(pEntry->d_name)) {
                continue;
            }
            struct stat oStat {};
            if (oFiles.StatAt(dirfd(pDir.get()), pEntry->d_name, oStat, 0) != 0) {
                // A shortcut removed meanwhile is gone; any other failure is the poll's.
                if (errno == ENOENT) {
                    continue;
                }
                throw CRunTimeError::FromErrno(errno, m_sRecentFolder + "/" + pEntry->d_name);
            }
            if (!S_ISREG(oStat.st_mode) || oStat.st_mtim.tv_sec < tCutOff) {
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
            } else if (oShortcut.Damaged()) {
                m_colDamaged[oListed.sName] = {oListed.tsModified, m_llPoll};
            } else {
                // It could not be read this time (logged): the next poll tries again.
                Failed(oShortcut.File());
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
    // Every new day of use is in Favorites.dat at the end of the poll that counted it, or,
    // when that save failed, at the end of the next poll.
    if (m_pFavorites != nullptr &&
        (m_bCounted || (m_pFavorites->Changed() && !m_pFavorites->Refused()))) {
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
    if (!oCopy.Loaded() && !oCopy.Damaged()) {
        // Not read this time: whose copy it is stays open, and so does the filing.
        throw CRunTimeError(RunTimeErrors::PathFileAccessError, sCopy + " could not be read");
    }
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
        CFileSystem& oFiles = CFileSystem::Current();
        for (const std::string& sLevel :
             {sDaily, sDaily + "/" + oShortcut.Year(),
              sDaily + "/" + oShortcut.Year() + "/" + oShortcut.Month(), sDayFolder}) {
            oFiles.MakeFolder(sLevel, 0755);
        }
        const std::string sDestination = sDayFolder + "/" + oShortcut.FileName();
        struct stat oStat {};
        const bool bExists = oFiles.Stat(sDestination, oStat) == 0;
        // Only a copy that is surely missing is filed as a new day: a copy that could not be
        // looked at may well be there and counted.
        if (!bExists && errno != ENOENT) {
            throw CRunTimeError::FromErrno(errno, sDestination);
        }
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
        oShortcut.SetCopyFile(sDestination);
        if (!oShortcut.CreateExecutableShortcut() && bCounted) {
            // A new day is filed whole or not at all: without its copy the next poll files
            // it again, program shortcut and count included. (A copy replaced later the same
            // day keeps its place: its day is counted, and its program shortcut made.)
            oFiles.Remove(sDestination);
            Failed(oShortcut.File());
            return;
        }
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
