#pragma once

#include "platform/registry/CDesktopFile.h"
#include "platform/registry/CFileTypeProvider.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <utility>
#include <vector>

class CErrorReporter;

// HKEY_CLASSES_ROOT answered from the freedesktop databases:
//   ".pdf"                               -> "application/pdf" (the type of a file name with
//                                           that extension, any letter case)
//   "application/pdf"                    -> "PDF document" (the type's description)
//   "application/pdf\DefaultIcon"        -> "application-pdf,0" (the type's icon name)
//   "application/pdf\shell\open\command" -> "/usr/bin/viewer %U" (the default application's
//                                           Exec line, its program made an absolute path)
// The default application follows the MIME applications rules: the mimeapps.list files
// (desktop-specific ones first, for each name in $XDG_CURRENT_DESKTOP) of $XDG_CONFIG_HOME,
// $XDG_CONFIG_DIRS, then the applications folders of $XDG_DATA_HOME and $XDG_DATA_DIRS; their
// [Default Applications] first, then [Added Associations] less [Removed Associations], then
// the mimeinfo.cache files; a type without an application falls back on its parent types.
// An application counts when its desktop entry exists, is not hidden, its TryExec (if any) and
// its program are found (a bare name through $PATH).
//
// The open command is the Exec line with its program made absolute and the field codes that
// belong to the entry expanded: %i to --icon and the entry's Icon (nothing without one), %c to
// its Name, %k to its own path; deprecated and unknown codes are removed. What is left for the
// opener are the codes of the document (%f %F %u %U) and %%; every word is quoted where it
// needs to be, so that a name or path with blanks or quotes stays one argument.
//
// Application folders are walked without entering a folder twice (a link back to a folder
// already seen is skipped) and at most MaxFolderDepth levels deep. Desktop entries and the
// lists are read only as regular files of at most MFileRead::DesktopFileCap bytes; anything
// else is refused and logged once, and the rest of the databases still count.
//
// The environment is read when the provider is made; the databases are read once, at the
// first lookup of a command, and every answer is kept for the provider's life.
class CFreedesktopFileTypes : public CFileTypeProvider {
public:
    static constexpr int MaxFolderDepth = 8;

    CFreedesktopFileTypes();

    std::optional<std::string> DefaultValue(const std::string& sKey) override;

    // Where refused files are logged; null (the default): a reporter of the error component,
    // which writes to the program's error log.
    void SetErrorReporter(CErrorReporter* pReporter) { m_pReporter = pReporter; }

private:
    struct SAssociations {
        std::map<std::string, std::vector<std::string>> colDefaults; // folded type -> ids
        std::map<std::string, std::vector<std::string>> colAdded;
        std::map<std::string, std::vector<std::string>> colRemoved;
    };

    std::optional<std::string> Lookup(const std::string& sKey);
    std::optional<std::string> OpenCommand(const std::string& sType);
    std::optional<std::string> CommandForType(const std::string& sType);
    // The Exec line of an application that can be started, its program made absolute.
    std::optional<std::string> ApplicationCommand(const std::string& sDesktopId);
    std::optional<std::string> FindProgram(const std::string& sProgram) const;
    // A database file, or nullopt when it is missing (quietly) or refused (logged).
    std::optional<CDesktopFile> ReadDatabase(const std::string& sPath);
    void LoadDatabases();
    void IndexApplications(const std::string& sFolder, const std::string& sPrefix, int iDepth,
                           std::set<std::pair<dev_t, ino_t>>& colVisited);

    std::vector<std::string> m_vConfigDirs; // $XDG_CONFIG_HOME first
    std::vector<std::string> m_vDataDirs;   // $XDG_DATA_HOME first
    std::vector<std::string> m_vDesktops;   // lower case
    std::vector<std::string> m_vPath;

    CErrorReporter* m_pReporter = nullptr;
    bool m_bLoaded = false;
    std::vector<SAssociations> m_vLists;                                       // in precedence
    std::vector<std::map<std::string, std::vector<std::string>>> m_vCaches;    // in precedence
    std::unordered_map<std::string, std::string> m_colDesktopFiles;            // id -> file
    std::unordered_map<std::string, std::optional<std::string>> m_colCommands; // id -> Exec
    std::unordered_map<std::string, std::optional<std::string>> m_colAnswers;  // folded key
};
