#pragma once

#include "app/views/FavoriteRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CShortcut;
class DirectoryWalker;

// The Favorites store: one usage record per document filed into the repository, in the order
// the documents were first counted, kept in Favorites.dat between runs.
class CFavorites {
public:
    CFavorites();
    ~CFavorites();

    std::string ClassName() const { return "CFavorites"; }

    const std::string& AppPath() const { return m_sAppPath; }
    void SetAppPath(const std::string& sAppPath) { m_sAppPath = sAppPath; }
    const std::string& DailyFolder() const { return m_sDailyFolder; }
    void SetDailyFolder(const std::string& sDailyFolder) { m_sDailyFolder = sDailyFolder; }

    std::int32_t Count() const;
    // A copy of the records, in table order.
    std::vector<FavoriteRecord> GetFavorites() const;

    // Counts one use of the shortcut's document.
    void ProcessShortcut(const CShortcut& oShortcut);
    // Replaces the records with Favorites.dat, or rebuilds them when there is no such file.
    void Read();
    // Writes the records to Favorites.dat (nothing when there are none).
    void Save();
    // Replaces the records with a fresh count of every shortcut in the repository.
    void RebuildFavorites();

    // The identity of a document: its folder joined to its name (one separator, whichever the
    // folder ends with), upper-cased, with either separator read as "/".
    static std::string IdentityKey(const std::string& sWorkingDirectory,
                                   const std::string& sTargetFileName);
    static std::string TargetKey(const std::string& sTargetFile);

private:
    void Clear();
    void m_oDirectoryWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    std::string DataFile() const;

    std::string m_sAppPath;
    std::string m_sDailyFolder;
    std::vector<FavoriteRecord> m_vRecords;
    // Upper-cased identity -> the first record of that identity in table order.
    std::unordered_map<std::string, size_t> m_oIndex;
    // Set when a read skipped damaged lines or could not read the file: the next save keeps
    // the old file as a backup first.
    bool m_bKeepBackup = false;
    std::unique_ptr<CShortcut> m_oShortcut;
    std::unique_ptr<DirectoryWalker> m_oDirectoryWalker;
};
