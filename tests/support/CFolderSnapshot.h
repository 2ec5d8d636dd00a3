#pragma once

#include <map>
#include <set>
#include <string>
#include <sys/types.h>

// What a folder holds, to compare two worlds or one world before and after: every file and
// folder below it by relative path, with its bytes (sRoot, the world's own folder, replaced by
// "<root>" so that worlds in different temporary folders compare), last-write time, change
// time and permission bits.
class CFolderSnapshot {
public:
    struct SItem {
        bool bFolder = false;
        std::string sBytes;
        long long llModified = 0; // nanoseconds
        long long llChanged = 0;  // nanoseconds
        mode_t lMode = 0;
    };

    // Names in colIgnored (at any depth) are left out. With bChangeTimes false the change
    // times are not compared. Last-write times from llTimesBefore on (seconds since the epoch)
    // are not compared either: files written while a test runs differ from one world to the
    // next in the time the system gives them, while the times that the program sets (a copy's,
    // a shortcut's made by a test) lie far in the past.
    static CFolderSnapshot Take(const std::string& sFolder, const std::string& sRoot = "",
                                const std::set<std::string>& colIgnored = {},
                                bool bChangeTimes = false, long long llTimesBefore = -1);
    // The moment from which last-write times are the system's: the year 2000.
    static constexpr long long SystemTimes = 946684800;

    const std::map<std::string, SItem>& Items() const { return m_colItems; }
    bool operator==(const CFolderSnapshot& o) const { return Difference(o).empty(); }
    // The first few differences, one per line; empty when there is none.
    std::string Difference(const CFolderSnapshot& o) const;

private:
    std::map<std::string, SItem> m_colItems;
    bool m_bChangeTimes = false;
};
