#include "app/repository/CFiledShortcuts.h"

#include "platform/shell/CDateTime.h"
#include "platform/shell/CFileSystem.h"

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}
} // namespace

bool CFiledShortcuts::SStamp::operator==(const SStamp& o) const {
    return bExists == o.bExists && iDevice == o.iDevice && iInode == o.iInode &&
           SameTime(tsModified, o.tsModified) && SameTime(tsChanged, o.tsChanged);
}

CFiledShortcuts::~CFiledShortcuts() {
    CloseFolders();
}

void CFiledShortcuts::CloseFolders() {
    for (SDayFolder& oFolder : m_colDayFolders) {
        if (oFolder.iFd >= 0) {
            CFileSystem::Current().Close(oFolder.iFd);
            oFolder.iFd = -1;
        }
    }
}

void CFiledShortcuts::BeginPoll(const std::string& sDailyPath) {
    if (sDailyPath != m_sDailyPath) {
        CloseFolders();
        m_sDailyPath = sDailyPath;
        m_colDayFolders.clear();
        m_colDayIndex.clear();
        m_colNames.clear();
    }
    ++m_llPoll;
    m_nSeen = 0;
}

void CFiledShortcuts::EndPoll() {
    CloseFolders();
    if (m_colNames.size() > 2 * m_nSeen + 64) {
        std::erase_if(m_colNames,
                      [this](const auto& oEntry) { return oEntry.second.llPoll != m_llPoll; });
    }
}

CFiledShortcuts::SDayFolder& CFiledShortcuts::Refreshed(size_t nDayFolder) {
    SDayFolder& oFolder = m_colDayFolders[nDayFolder];
    if (oFolder.llPoll == m_llPoll) {
        return oFolder;
    }
    oFolder.llPoll = m_llPoll;
    SStamp oStamp;
    struct stat oStat {};
    if (CFileSystem::Current().Stat(oFolder.sPath, oStat) == 0 && S_ISDIR(oStat.st_mode)) {
        oStamp.bExists = true;
        oStamp.iDevice = oStat.st_dev;
        oStamp.iInode = oStat.st_ino;
        oStamp.tsModified = oStat.st_mtim;
        oStamp.tsChanged = oStat.st_ctim;
    }
    // A folder changed in the last moments may change again within the same tick of the file
    // system's clock, unseen: its names are trusted only once it has settled.
    struct timespec tsNow {};
    clock_gettime(CLOCK_REALTIME_COARSE, &tsNow);
    const bool bSettled = !oStamp.bExists || (tsNow.tv_sec - oStamp.tsModified.tv_sec > 1 &&
                                              tsNow.tv_sec - oStamp.tsChanged.tv_sec > 1);
    if (!(oStamp == oFolder.oStamp) || !bSettled) {
        oFolder.oStamp = oStamp;
        ++oFolder.llGeneration;
    }
    return oFolder;
}

size_t CFiledShortcuts::DayFolderOf(std::time_t tModified) {
    const CDateTime dModified = CDateTime::FromUnixTime(tModified);
    const std::int64_t llDay = dModified.DatePart().LocalSeconds();
    const auto it = m_colDayIndex.find(llDay);
    if (it != m_colDayIndex.end()) {
        return it->second;
    }
    SDayFolder oFolder;
    oFolder.sPath = m_sDailyPath + "/" + dModified.YearText() + "/" + dModified.MonthName() + "/" +
                    dModified.DayText();
    m_colDayFolders.push_back(std::move(oFolder));
    m_colDayIndex.emplace(llDay, m_colDayFolders.size() - 1);
    return m_colDayFolders.size() - 1;
}

bool CFiledShortcuts::IsFiled(std::string_view sName, const struct timespec& tsModified) {
    ++m_nSeen;
    const auto it = m_colNames.find(sName);
    if (it != m_colNames.end()) {
        it->second.llPoll = m_llPoll;
        if (SameTime(it->second.tsModified, tsModified) &&
            Refreshed(it->second.nDayFolder).llGeneration == it->second.llGeneration) {
            return true;
        }
    }
    // Not known, or its day folder changed: one stat of the copy tells.
    const size_t nDayFolder = DayFolderOf(tsModified.tv_sec);
    SDayFolder& oFolder = Refreshed(nDayFolder);
    if (!oFolder.oStamp.bExists) {
        return false;
    }
    if (oFolder.iFd < 0) {
        oFolder.iFd = CFileSystem::Current().Open(oFolder.sPath, O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    std::string sKey(sName);
    struct stat oStat {};
    const bool bFiled = oFolder.iFd >= 0 &&
                        CFileSystem::Current().StatAt(oFolder.iFd, sKey, oStat, 0) == 0 &&
                        oStat.st_mtim.tv_sec == tsModified.tv_sec;
    if (bFiled) {
        m_colNames.insert_or_assign(std::move(sKey),
                                    SName{tsModified, nDayFolder, oFolder.llGeneration, m_llPoll});
    }
    return bFiled;
}
