#include "app/repository/CRepository.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/resources/MResources.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CClock.h"
#include "platform/shell/MCaseFold.h"
#include "platform/shell/MPrivateFiles.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsFolder(const std::string& sPath) {
    struct stat oStat {};
    return lstat(sPath.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode);
}

// The last name of a folder path that ends with the separator.
std::string LastName(const std::string& sFolder) {
    std::string sPath = sFolder;
    while (!sPath.empty() && (sPath.back() == '/' || sPath.back() == '\\')) {
        sPath.pop_back();
    }
    const size_t nPos = sPath.find_last_of("/\\");
    return nPos == std::string::npos ? sPath : sPath.substr(nPos + 1);
}

void RemoveFolder(const std::string& sFolder) {
    if (rmdir(sFolder.c_str()) != 0) {
        throw CRunTimeError::FromErrno(errno, sFolder);
    }
}

void RemoveTemporaryCopies(const std::string& sFolder) {
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(sFolder.c_str()), closedir);
    if (!pDir) {
        return;
    }
    std::vector<std::string> vNames;
    while (const dirent* pEntry = readdir(pDir.get())) {
        if (CRepository::IsTemporaryCopy(pEntry->d_name)) {
            vNames.push_back(pEntry->d_name);
        }
    }
    for (const std::string& sName : vNames) {
        unlinkat(dirfd(pDir.get()), sName.c_str(), 0);
    }
}
} // namespace

std::string CRepository::TemporaryCopyTemplate(const std::string& sDayFolder) {
    return sDayFolder + "/" + TemporaryCopyPrefix + "XXXXXX";
}

bool CRepository::IsTemporaryCopy(const std::string& sName) {
    const std::string sPrefix = TemporaryCopyPrefix;
    return sName.size() == sPrefix.size() + 6 && sName.compare(0, sPrefix.size(), sPrefix) == 0 &&
           std::all_of(sName.begin() + static_cast<long>(sPrefix.size()), sName.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

CRepository::CRepository(const std::string& sAppPath, bool bMakeDaily)
    : m_sDailyPath(sAppPath + "/Daily") {
    if (bMakeDaily && mkdir(m_sDailyPath.c_str(), MPrivateFiles::FolderMode) == 0) {
        chmod(m_sDailyPath.c_str(), MPrivateFiles::FolderMode); // whatever the umask
    }
}

bool CRepository::IsNumeric(const std::string& sName) {
    if (sName.empty() || sName.front() == ' ' || sName.back() == ' ') {
        return false;
    }
    char* pEnd = nullptr;
    std::strtod(sName.c_str(), &pEnd);
    return pEnd == sName.c_str() + sName.size();
}
bool CRepository::IsDayName(const std::string& sName) {
    return sName.size() == 2 && IsNumeric(sName);
}
bool CRepository::IsMonthName(const std::string& sName) {
    return !IsNumeric(sName);
}
bool CRepository::IsYearName(const std::string& sName) {
    return sName.size() == 4 && IsNumeric(sName);
}

bool CRepository::InsideDaily(const std::string& sPath) const {
    std::error_code ec;
    const std::filesystem::path oDaily = std::filesystem::weakly_canonical(m_sDailyPath, ec);
    const std::filesystem::path oPath = std::filesystem::weakly_canonical(sPath, ec);
    if (ec) {
        return false;
    }
    const auto oRelative = oPath.lexically_relative(oDaily);
    return !oRelative.empty() && oRelative != "." && *oRelative.begin() != "..";
}

CDateTime CRepository::FindLatestDay() {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sDailyPath),
                              "CRepository.FindLatestDay: Daily path is missing");
    try {
        if (!IsFolder(m_sDailyPath)) {
            return CDateTime();
        }
        // The latest year folder at or before this year; later years are never considered.
        const int iThisYear = MDayfold::Clock().Now().Year();
        int iYear = 0;
        for (const auto& oEntry : std::filesystem::directory_iterator(m_sDailyPath)) {
            const std::string sName = oEntry.path().filename().string();
            if (sName.size() == 4 && sName.find_first_not_of("0123456789") == std::string::npos &&
                oEntry.is_directory()) {
                const int iCandidate = std::atoi(sName.c_str());
                if (iCandidate <= iThisYear && iCandidate > iYear) {
                    iYear = iCandidate;
                }
            }
        }
        if (iYear == 0) {
            return CDateTime();
        }
        const std::string sYearPath = m_sDailyPath + "/" + std::to_string(iYear);
        int iMonth = 12;
        while (iMonth >= 1 && !IsFolder(sYearPath + "/" + CDateTime::MonthNameOf(iMonth))) {
            --iMonth;
        }
        int iDay = 31;
        if (iMonth >= 1) {
            const std::string sMonthPath = sYearPath + "/" + CDateTime::MonthNameOf(iMonth);
            while (iDay >= 1 &&
                   !IsFolder(sMonthPath + "/" + (iDay < 10 ? "0" : "") + std::to_string(iDay))) {
                --iDay;
            }
        }
        const auto oDate = CDateTime::FromValidParts(iYear, iMonth, iDay);
        if (!oDate) {
            throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
        }
        return *oDate;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.FindLatestDay", false);
        return CDateTime();
    }
}

bool CRepository::PurgeOldShortcuts(std::int32_t lPurgeAge) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sDailyPath),
                              "CRepository.PurgeOldShortcuts: Daily path is missing");
    try {
        m_dPurgeDate = MDayfold::Clock().Now().AddDays(-static_cast<std::int64_t>(lPurgeAge) - 1);
        m_oPurgeWalker = std::make_unique<DirectoryWalker>();
        m_oPurgeWalker->ItemFound = [this](const std::string& sPath, const std::string& sName,
                                           bool& bCancel) {
            m_oPurgeWalker_ItemFound(sPath, sName, bCancel);
        };
        m_oPurgeWalker->WalkDirectoryTree(m_sDailyPath + "/", "*.*",
                                          DirectoryWalker::ReportFolders);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.PurgeOldShortcuts", false);
    }
    return m_bPurged;
}

void CRepository::m_oPurgeWalker_ItemFound(const std::string& sPath, const std::string& sFileName,
                                           bool& bCancel) {
    MDayfold::Assert().Assert(!m_dPurgeDate.IsEmpty(),
                              "CRepository.m_oPurgeWalker_ItemFound: Purge date is missing");
    try {
        if (!IsDayName(sFileName)) {
            return;
        }
        const CDateTime dDay = MDayfold::PathToDate(sPath + sFileName);
        if (dDay.IsEmpty() || dDay > m_dPurgeDate) {
            return;
        }
        if (!m_bPurgeAsked) {
            m_bPurgeAsked = true;
            m_bPurgeAnswer = ConfirmPurge();
        }
        if (m_bPurgeAnswer) {
            m_bPurged = true;
            PurgeDay(sPath + sFileName);
        } else {
            bCancel = true;
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.m_oPurgeWalker_ItemFound", false);
    }
}

bool CRepository::ConfirmPurge() {
    MDayfold::Assert().Assert(!m_dPurgeDate.IsEmpty(),
                              "CRepository.ConfirmPurge: Purge date is missing");
    try {
        const std::string sDate = std::to_string(m_dPurgeDate.Month()) + "/" +
                                  std::to_string(m_dPurgeDate.Day()) + "/" +
                                  m_dPurgeDate.YearText();
        const std::string sMessage =
            MResources::LoadResString(102) + "\r\n" + MResources::LoadResString(103) + sDate + "." +
            "\r\n\r\n" + MResources::LoadResString(104) + "\r\n" + MResources::LoadResString(105);
        return MDayfold::Presenter().Show(sMessage, MDayfold::AppTitle(),
                                          MessageBox::YesNo | MessageBox::Information) ==
               MessageBox::AnswerYes;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.ConfirmPurge", false);
        return false;
    }
}

void CRepository::PurgeDay(const std::string& sFolder) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sFolder),
                              "CRepository.PurgeDay: Folder is missing");
    try {
        // Only the repository's own copies are ever deleted.
        if (!InsideDaily(sFolder) || !IsFolder(sFolder)) {
            throw CRunTimeError(RunTimeErrors::PathNotFound,
                                "Not a day folder of the repository: " + sFolder);
        }
        std::vector<std::string> vFiles;
        for (const auto& oEntry : std::filesystem::directory_iterator(sFolder)) {
            if (!oEntry.is_directory(/*follows links*/) || oEntry.is_symlink()) {
                vFiles.push_back(oEntry.path().string());
            }
        }
        for (const std::string& sFile : vFiles) {
            if (unlink(sFile.c_str()) != 0) {
                throw CRunTimeError::FromErrno(errno, sFile);
            }
        }
        RemoveFolder(sFolder);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.PurgeDay", false);
    }
}

CFolderFiles& CRepository::FolderFilesItem(const std::string& sKey) {
    const auto it = m_oFolderIndex.find(sKey);
    if (it == m_oFolderIndex.end()) {
        throw CRunTimeError::Standard(RunTimeErrors::ElementNotFound);
    }
    return m_colFolderFiles[it->second];
}

void CRepository::CountIn(const std::string& sKey, const char* pszSource) {
    try {
        CFolderFiles& oItem = FolderFilesItem(sKey);
        oItem.SetFileCount(oItem.FileCount() + 1);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, pszSource, false);
    }
}

void CRepository::m_oFolderWalker_ItemFound(const std::string& sPath,
                                            const std::string& sFileName) {
    CFolderFiles oItem;
    oItem.SetFolder(sPath + sFileName + "/");
    if (m_oFolderIndex.emplace(oItem.Folder(), m_colFolderFiles.size()).second) {
        m_colFolderFiles.push_back(oItem);
    }
}

void CRepository::m_oFileWalker_ItemFound(const std::string& sPath, const std::string& sFileName) {
    // The whole name is folded: a letter outside ASCII may fold into the ending.
    const std::string sFolded = MCaseFold::Fold(sFileName);
    if (sFolded.size() >= 4 && sFolded.compare(sFolded.size() - 4, 4, ".LNK") == 0) {
        CountIn(sPath, "CRepository.m_oFileWalker_ItemFound");
    }
}

void CRepository::m_oDailyWalker_ItemFound(const std::string& sPath, const std::string& sFileName) {
    if (IsDayName(sFileName)) {
        CountIn(sPath, "CRepository.m_oDailyWalker_ItemFound");
    }
}

void CRepository::m_oMonthlyWalker_ItemFound(const std::string& sPath,
                                             const std::string& sFileName) {
    if (IsMonthName(sFileName)) {
        CountIn(sPath, "CRepository.m_oMonthlyWalker_ItemFound");
    }
}

bool CRepository::CensusPass(DirectoryWalker& oCounter, std::int32_t lCountFlags,
                             bool (*bKind)(const std::string&), bool bRemoveTemporaryCopies) {
    m_colFolderFiles.clear();
    m_oFolderIndex.clear();
    m_oFolderWalker = std::make_unique<DirectoryWalker>();
    m_oFolderWalker->ItemFound = [this](const std::string& sPath, const std::string& sName, bool&) {
        m_oFolderWalker_ItemFound(sPath, sName);
    };
    const std::string sRoot = m_sDailyPath + "/";
    m_oFolderWalker->WalkDirectoryTree(sRoot, "*.*", DirectoryWalker::ReportFolders);
    oCounter.WalkDirectoryTree(sRoot, "*.*", lCountFlags);
    bool bRemoved = false;
    for (const CFolderFiles& oItem : m_colFolderFiles) {
        if (bRemoveTemporaryCopies && bKind(LastName(oItem.Folder()))) {
            RemoveTemporaryCopies(oItem.Folder());
        }
        if (bKind(LastName(oItem.Folder())) && oItem.FileCount() == 0) {
            // A folder that still holds something else is left alone; the rest go on.
            try {
                RemoveFolder(oItem.Folder());
                bRemoved = true;
            } catch (const std::exception& oError) {
                MDayfold::LogError(oError, "CRepository.PurgeEmptyFolders", false);
            }
        }
    }
    return bRemoved;
}

bool CRepository::PurgeEmptyFolders() {
    bool bRemoved = false;
    try {
        m_oFileWalker = std::make_unique<DirectoryWalker>();
        m_oFileWalker->ItemFound = [this](const std::string& sPath, const std::string& sName,
                                          bool&) { m_oFileWalker_ItemFound(sPath, sName); };
        bRemoved |= CensusPass(*m_oFileWalker, 0, &CRepository::IsDayName, true);

        m_oDailyWalker = std::make_unique<DirectoryWalker>();
        m_oDailyWalker->ItemFound = [this](const std::string& sPath, const std::string& sName,
                                           bool&) { m_oDailyWalker_ItemFound(sPath, sName); };
        bRemoved |=
            CensusPass(*m_oDailyWalker, DirectoryWalker::ReportFolders, &CRepository::IsMonthName);

        m_oMonthlyWalker = std::make_unique<DirectoryWalker>();
        m_oMonthlyWalker->ItemFound = [this](const std::string& sPath, const std::string& sName,
                                             bool&) { m_oMonthlyWalker_ItemFound(sPath, sName); };
        bRemoved |=
            CensusPass(*m_oMonthlyWalker, DirectoryWalker::ReportFolders, &CRepository::IsYearName);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CRepository.PurgeEmptyFolders", false);
    }
    return bRemoved;
}
