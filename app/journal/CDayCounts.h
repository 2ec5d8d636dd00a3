#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

// The number of documents filed on each day of a span, for the year at a glance: taken from
// the directory listing alone, no shortcut is opened. A day folder's count is its shortcuts
// (".lnk" in any letter case, hidden names left out) less the program shortcuts beside them.
//
// Which names are program shortcuts, from the name alone: the capture names a document's copy
// after the document (Report.txt.lnk) and a program shortcut after the program's file name,
// first letter upper case and the rest lower case (Gedit.lnk, Notepad.exe.lnk). So a name is
// taken for a program's when it has that letter case and no extension, or the extension ".exe".
// A document named that way (Makefile, Notes) is taken for a program; a program whose name has
// a dot (Python3.12) for a document. And since a program shortcut is only ever made beside a
// document, a day folder that holds shortcuts but only such names counts one document.
//
// The object remembers each day folder's count with the folder's last change: counting again
// (the view redrawn after a poll) lists only the day folders that changed since.
class CDayCounts {
public:
    explicit CDayCounts(std::string sDailyPath);

    std::string ClassName() const { return "CDayCounts"; }

    // Counts the days from dFrom to dTo, both included (the time of day does not count).
    void Count(const CDateTime& dFrom, const CDateTime& dTo);

    const CDateTime& From() const { return m_dFrom; }
    const CDateTime& To() const { return m_dTo; }
    // One count per day from From to To.
    const std::vector<std::int32_t>& Counts() const { return m_vCounts; }
    // The count of a day; 0 outside the span.
    std::int32_t Item(const CDateTime& dDay) const;
    std::int32_t Maximum() const { return m_lMaximum; }
    std::int32_t Total() const { return m_lTotal; }

    // The listing rule above, for one name of a day folder (with its ".lnk").
    static bool IsProgramShortcutName(std::string_view sName);

private:
    struct SListed {
        struct timespec tsChanged;
        ino_t iInode;
        std::int32_t lCount;
    };
    std::int32_t CountDay(int iDayFd);

    std::string m_sDailyPath;
    CDateTime m_dFrom;
    CDateTime m_dTo;
    std::vector<std::int32_t> m_vCounts;
    std::int32_t m_lMaximum = 0;
    std::int32_t m_lTotal = 0;
    std::unordered_map<std::int32_t, SListed> m_colListed; // by day number
    std::vector<char> m_vBuffer;
};
