#pragma once

#include "app/repository/CFolderFiles.h"
#include "app/repository/DirectoryWalker.h"
#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The Daily repository: Daily/<yyyy>/<Month>/<dd>/ below the program folder, one copy of every
// shortcut per day of use. Finds the latest day, purges old days after one confirmation and
// prunes folders left empty.
class CRepository {
public:
    // Creates <sAppPath>/Daily when it is missing (private to the user: 0700), unless
    // bMakeDaily is false (a run that only reads the journal).
    explicit CRepository(const std::string& sAppPath, bool bMakeDaily = true);

    std::string ClassName() const { return "CRepository"; }
    const std::string& DailyPath() const { return m_sDailyPath; }

    // The latest day that has a day folder; the empty date when there is none.
    CDateTime FindLatestDay();

    // Purges the day folders older than lPurgeAge days (asking once); true if one was purged.
    bool PurgeOldShortcuts(std::int32_t lPurgeAge);
    // Asks the user whether to purge; true for Yes.
    bool ConfirmPurge();
    // Deletes the files of one day folder (no trailing separator) and the folder.
    void PurgeDay(const std::string& sFolder);
    // Removes empty day, month and year folders; true if any folder was removed. Temporary
    // copies that a filing cut off left in day folders are removed first, so that they keep no
    // day alive.
    bool PurgeEmptyFolders();

    // The temporary copy of a shortcut being filed: this prefix and six letters or digits, in
    // the day folder, hidden, and short whatever the length of the shortcut's name.
    static constexpr const char* TemporaryCopyPrefix = ".filing-";
    static std::string TemporaryCopyTemplate(const std::string& sDayFolder);
    static bool IsTemporaryCopy(const std::string& sName);

    // Folder kinds, by name alone: a day is two characters and numeric, a year four
    // characters and numeric, a month anything that is not numeric.
    static bool IsNumeric(const std::string& sName);
    static bool IsDayName(const std::string& sName);
    static bool IsMonthName(const std::string& sName);
    static bool IsYearName(const std::string& sName);

    // The latest census, in the order the folders were found.
    const std::vector<CFolderFiles>& FolderFiles() const { return m_colFolderFiles; }

private:
    void m_oFolderWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    void m_oFileWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    void m_oDailyWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    void m_oMonthlyWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    void m_oPurgeWalker_ItemFound(const std::string& sPath, const std::string& sFileName,
                                  bool& bCancel);

    // One census pass: records every folder, counts with the walker given (walking with
    // lCountFlags), and removes each recorded folder whose last name passes bKind and whose
    // count is zero (after its temporary copies, when asked).
    bool CensusPass(DirectoryWalker& oCounter, std::int32_t lCountFlags,
                    bool (*bKind)(const std::string&), bool bRemoveTemporaryCopies = false);
    CFolderFiles& FolderFilesItem(const std::string& sKey);
    void CountIn(const std::string& sKey, const char* pszSource);
    bool InsideDaily(const std::string& sPath) const;

    std::string m_sDailyPath;
    std::vector<CFolderFiles> m_colFolderFiles;
    std::unordered_map<std::string, size_t> m_oFolderIndex;
    CDateTime m_dPurgeDate;
    bool m_bPurged = false;
    bool m_bPurgeAsked = false;
    bool m_bPurgeAnswer = false;
    std::unique_ptr<DirectoryWalker> m_oDailyWalker;
    std::unique_ptr<DirectoryWalker> m_oFileWalker;
    std::unique_ptr<DirectoryWalker> m_oFolderWalker;
    std::unique_ptr<DirectoryWalker> m_oMonthlyWalker;
    std::unique_ptr<DirectoryWalker> m_oPurgeWalker;
};
