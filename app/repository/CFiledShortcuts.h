#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

// What the poll has found filed already: per shortcut name of the Recent folder, the
// last-write time whose copy lies in the repository, and per day folder its state when that
// was found. A steady poll then costs one lookup per shortcut and one stat per day folder; a
// day folder whose state changed (a copy removed by hand, or one filed since) has its names
// checked again, so a copy removed by hand is filed again.
class CFiledShortcuts {
public:
    CFiledShortcuts() = default;
    ~CFiledShortcuts();
    CFiledShortcuts(const CFiledShortcuts&) = delete;
    CFiledShortcuts& operator=(const CFiledShortcuts&) = delete;

    std::string ClassName() const { return "CFiledShortcuts"; }

    // A poll starts: every day folder is stat'ed again (once) before its names are trusted.
    void BeginPoll(const std::string& sDailyPath);
    // The poll ends: names not seen in it are forgotten once they outnumber the seen ones.
    void EndPoll();

    // Whether the repository holds the copy of sName with the last-write time tsModified, in
    // the day folder of that time.
    bool IsFiled(std::string_view sName, const struct timespec& tsModified);

private:
    struct SStamp {
        bool bExists = false;
        dev_t iDevice = 0;
        ino_t iInode = 0;
        struct timespec tsModified {};
        struct timespec tsChanged {};
        bool operator==(const SStamp& o) const;
    };
    struct SDayFolder {
        std::string sPath;
        SStamp oStamp;
        std::uint64_t llGeneration = 0; // grows whenever the folder is found changed
        std::uint64_t llPoll = 0;       // the poll that last stat'ed it
        int iFd = -1;                   // open during one poll only
    };
    struct SName {
        struct timespec tsModified;
        size_t nDayFolder;
        std::uint64_t llGeneration;
        std::uint64_t llPoll; // the poll that last saw the name
    };
    struct SHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };

    SDayFolder& Refreshed(size_t nDayFolder);
    size_t DayFolderOf(std::time_t tModified);
    void CloseFolders();

    std::string m_sDailyPath;
    std::uint64_t m_llPoll = 0;
    size_t m_nSeen = 0;
    std::vector<SDayFolder> m_colDayFolders;
    std::unordered_map<std::int64_t, size_t> m_colDayIndex; // local midnight -> folder
    std::unordered_map<std::string, SName, SHash, std::equal_to<>> m_colNames;
};
