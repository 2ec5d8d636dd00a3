#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

// The days of use counted since Favorites.dat was last saved, kept beside it in
// "Favorites.dat.pending": before a copy is filed and counted, its path and last-write time are
// appended here, so that a run that ends before its next save (killed, crashed, out of disk
// space) loses no count: the next Read counts those copies again. The journal names the
// Favorites.dat it adds to; once a save has replaced that file, the journal is out of date and
// is dropped.
class CFavoritesJournal {
public:
    struct SEntry {
        std::string sCopy; // full path of the filed copy
        // Its last-write times (seconds since the epoch) as filed: the copy counted, and the
        // later copies of the same day that replaced it. The copy found with any of them counts.
        std::vector<std::int64_t> vModified;
    };

    // sDataFile: the Favorites.dat the journal belongs to.
    explicit CFavoritesJournal(const std::string& sDataFile);

    const std::string& Path() const { return m_sPath; }

    // What tells one Favorites.dat from the next: device, file number, size and last-write
    // time; "none" when there is no such file.
    static std::string Stamp(const std::string& sFile);
    static std::string Stamp(const struct stat& oStat);

    // Appends one copy. A counted copy starts the journal (its first line names sStamp) when
    // there is none; an update of a copy filed earlier the same day is written only into a
    // journal that exists, since only a counted copy needs its time. Throws CRunTimeError
    // when the journal cannot be written.
    void Append(const std::string& sStamp, bool bCounted, const std::string& sCopy,
                std::int64_t llModified) const;

    // The counted copies of a journal that was started on sStamp, each once, with the times
    // it was filed with; empty when there is no journal or it names another file.
    std::vector<SEntry> Counted(const std::string& sStamp) const;

    bool Exists() const;
    // Removes the journal; false (errno set) when it is still there.
    bool Remove() const;

private:
    std::string Relative(const std::string& sCopy) const;
    std::string Absolute(const std::string& sCopy) const;

    std::string m_sPath;
    std::string m_sFolder; // the folder of Favorites.dat, with a trailing "/"
};
