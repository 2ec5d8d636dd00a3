#pragma once

#include "platform/shell/SRecentDocument.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

class CErrorReporter;

// Keeps a Recent folder filled from the desktop's own records of opened documents, so that the
// capture cycle finds there one shortcut per document as on the platform it was made for:
//   $XDG_DATA_HOME/recently-used.xbel          (desktop bookmarks: most applications)
//   $XDG_DATA_HOME/RecentDocuments/*.desktop   (one link entry per document; its last use is
//                                               the entry's own modification time)
// Each document gets the shortcut "<document name>.lnk" (target = the document, working folder
// = its folder, last-write time = its last use). Two documents of one name share the shortcut:
// the one used last wins. A shortcut that is already as recent is left alone, and one the feed
// wrote in this run is not written again for the same use, so a shortcut removed by the user
// stays removed until the document is used again. Nothing in the Recent folder is deleted but
// the feed's own temporary files of an interrupted run.
//
// Each source is parsed only when its identity, size or modification time changed (the
// desktop replaces these files by rename); the others keep what they gave before. Damaged
// input never stops the feed: every well-formed entry counts, and the damage is logged once
// per change of the file. Shortcuts that cannot be written are logged once per document use.
class CRecentFeed {
public:
    // A recently-used.xbel larger than this is refused (it holds about 1,000 entries of about
    // a kilobyte each when its writers keep it as they should).
    static constexpr std::size_t SourceFileCap = 64u << 20;
    // The number of the logged error for a damaged source: the shell's "unspecified failure".
    static constexpr std::int32_t DamagedSourceError = -2147467259;

    // The sources are found from $XDG_DATA_HOME (default ~/.local/share), read now.
    explicit CRecentFeed(std::string sRecentFolder);

    const std::string& RecentFolder() const { return m_sRecentFolder; }
    const std::string& BookmarkFile() const { return m_sBookmarkFile; }
    const std::string& LinkFolder() const { return m_sLinkFolder; }

    // Where damage and failures are logged; null (the default): a reporter of the error
    // component, which writes to the program's error log.
    void SetErrorReporter(CErrorReporter* pReporter) { m_pReporter = pReporter; }

    // Reads what changed and writes the shortcuts that are missing or older than the last use;
    // returns how many it wrote. Never throws.
    std::int32_t Update();

private:
    struct SStamp {
        dev_t lDevice = 0;
        ino_t lInode = 0;
        off_t lSize = -1;
        std::int64_t llModified = 0; // nanoseconds
        bool operator==(const SStamp&) const = default;
    };
    struct SSource {
        SStamp oStamp;
        std::vector<SRecentDocument> vDocuments;
    };

    bool RefreshBookmarks();
    bool RefreshLinks();
    // Writes one shortcut; true when written.
    bool WriteShortcut(const std::string& sName, const SRecentDocument& oDocument);
    void RemoveOwnTemporaries();
    void Log(std::int32_t lNumber, const std::string& sDescription, const std::string& sMessage);

    std::string m_sRecentFolder;
    std::string m_sBookmarkFile;
    std::string m_sLinkFolder;
    std::string m_sHome;
    CErrorReporter* m_pReporter = nullptr;

    bool m_bWriteAll = true;      // every shortcut is checked, changed sources or not
    bool m_bFolderLogged = false; // the missing Recent folder is told once
    std::map<std::string, SSource> m_colSources; // source file -> what it gave when last read
    std::unordered_map<std::string, std::int64_t> m_colWritten; // shortcut name -> last use
    std::set<std::pair<std::string, std::int64_t>> m_colFailed; // logged write failures
};
