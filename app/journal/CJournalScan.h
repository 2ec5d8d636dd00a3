#pragma once

#include "app/journal/SJournalCopy.h"
#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

class CShortcutCache;

// Reads the document copies of the repository day by day, in calendar order: the day folders
// Daily/<yyyy>/<Month>/<dd> (English month names, as the day tree shows them; day names valid
// for their month) and in each the shortcuts (".lnk" in any letter case; hidden names, such as
// a filing's temporary copy, left out) in name order. A link is parsed once per distinct
// content: the repository holds the same shortcut day after day, byte for byte.
//
// The program shortcuts that the capture puts beside the documents are passed over: such a
// shortcut points at the program, shows the program's own first icon, has no arguments, and
// is named after the program's file name with the first letter upper case and the rest lower
// case (Gedit.lnk for /usr/bin/gedit, Notepad.exe.lnk for C:\WINDOWS\NOTEPAD.EXE).
//
// The scan uses no application-wide object: it logs nothing and asks no file-type registry, so
// it may run on a thread of its own. Its owner logs the failures and fills in the types.
class CJournalScan {
public:
    struct SFailure {
        std::string sFile;
        std::int32_t lNumber = 0; // the classic error number
        std::string sDescription;
    };
    // Failures kept one by one; the rest are only counted.
    static constexpr size_t FailuresKept = 100;

    explicit CJournalScan(std::string sDailyPath);

    std::string ClassName() const { return "CJournalScan"; }
    const std::string& DailyPath() const { return m_sDailyPath; }

    // Limits the scan to the days from dFrom to dTo, both included (the time of day does not
    // count); an empty date leaves that end open.
    void SetRange(const CDateTime& dFrom, const CDateTime& dTo);

    // Reads every copy in range; false when oStop asked it to stop before the end.
    bool Scan(const std::stop_token& oStop = {});

    // Events, raised on the scanning thread: each document copy, and each day folder before
    // its copies are read.
    std::function<void(const SJournalCopy& oCopy)> CopyFound;
    std::function<void(const CDateTime& dDay)> DayStarted;

    // Shortcuts that could not be read (damaged, unreadable, no regular file), and how many.
    const std::vector<SFailure>& Failures() const { return m_vFailures; }
    std::int32_t FailureCount() const { return m_lFailures; }
    std::int32_t DayFolders() const { return m_lDayFolders; }
    std::int32_t Copies() const { return m_lCopies; }

    // Logs the failures (the first few one by one, the rest as one line) with sSource. On the
    // owner's thread only.
    static void LogFailures(const std::vector<SFailure>& vFailures, std::int32_t lCount,
                            const std::string& sSource);

    // The day folders of the repository in range, in calendar order, with their dates.
    struct SDayFolder {
        CDateTime dDay;
        std::string sPath;
    };
    std::vector<SDayFolder> DayFolderList() const;

    // The program shortcut rule above, on a shortcut's name and what its link holds.
    static bool IsProgramShortcut(const std::string& sShortcutName, const std::string& sTargetFile,
                                  const std::string& sIconFile, std::int32_t lIconIndex,
                                  const std::string& sArguments);
    // A program's file name as its shortcut is named: first letter upper case, the rest lower.
    static std::string ProgramName(const std::string& sFileName);
    // The folder of a target path: "/home/ann" for /home/ann/a.txt, "C:\Docs" for
    // C:\Docs\a.txt, "/" and "C:\" for the roots, "" when the path names no folder. A path
    // made on Windows splits at either separator; a local path (beginning with "/") only at
    // "/", since "\" is a character of a name here.
    static std::string FolderOf(const std::string& sPath);
    // The name after the last separator, by the same rule (after a drive's colon when there is
    // no separator).
    static std::string NameOf(const std::string& sPath);
    // A document's name as shown: its target's name, or, for a shortcut that names no target
    // (or only a root), the shortcut's own name without ".lnk".
    static std::string DocumentName(const std::string& sTargetFile,
                                    const std::string& sShortcutName);
    // The target's name as the shortcut record splits it (at either separator): the name the
    // Favorites store keys a document by.
    static std::string RecordNameOf(const std::string& sPath);
    // The extension of a file name, with its dot, as the shortcut record takes it ("" when the
    // name has none or ends with the dot).
    static std::string ExtensionOf(const std::string& sFileName);
    // The description of a document's type by its extension, as the shortcut record finds it:
    // "Application" for ".exe", the registry's answer (through oCache) otherwise. On the
    // owner's thread only.
    static std::string TargetClass(const std::string& sExtension, CShortcutCache& oCache);
    // Days since 1970-01-01 of a date's day.
    static std::int32_t DayNumber(const CDateTime& dDate);

private:
    void ScanDay(const SDayFolder& oDay, CShortcutCache& oLinks, const std::stop_token& oStop);
    void Fail(const std::string& sFile, std::int32_t lNumber, const std::string& sDescription);

    std::string m_sDailyPath;
    CDateTime m_dFrom;
    CDateTime m_dTo;
    std::vector<SFailure> m_vFailures;
    std::int32_t m_lFailures = 0;
    std::int32_t m_lDayFolders = 0;
    std::int32_t m_lCopies = 0;
};
