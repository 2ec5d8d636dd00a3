#pragma once

#include "app/views/CFavoritesJournal.h"
#include "app/views/FavoriteRecord.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CListView;
class CShortcut;
class CShortcutCache;
class DirectoryWalker;
class QObject;
class QWidget;

// The Favorites store: one usage record per document filed into the repository, in the order
// the documents were first counted, kept in Favorites.dat between runs. Every count the poll
// makes is noted in Favorites.dat.pending before its copy is filed (NoteFiling), so that the
// counts of a run that ends before its next save are made again by the next Read.
//
// The same object is the Favorites view: it wraps the Favorites list and its container (their
// columns, the settings group "Favorites", sorting, sizing and the list's events). The view's
// routines live in CFavoritesView.cpp, in the widget library; the store works without them.
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
    // Removes stale temporary files of earlier saves, then replaces the records with
    // Favorites.dat, or rebuilds them when there is no such file. Favorites.dat is read only
    // when it is a regular file of a sane size; a file refused is logged and never replaced.
    // The copies that a run ending before its save had counted are counted again, and the
    // store is saved at once.
    void Read();
    // Writes the records to Favorites.dat (nothing when there are none); true when the file
    // holds the records afterwards. Before the records were read (or rebuilt), an existing
    // Favorites.dat is left as it is: the counts made so far are noted as pending and the next
    // Read counts them.
    bool Save();
    // Replaces the records with a fresh count of every shortcut in the repository.
    void RebuildFavorites();

    // Notes that sCopy, last written at llModified (seconds since the epoch), is about to be
    // filed: bCounted for a new day of use (counted once the copy is made), otherwise a copy
    // filed earlier that day that is replaced. Called before the copy is made; false (with
    // the failure logged) when the note cannot be written, and the copy must then not be made.
    bool NoteFiling(const std::string& sCopy, std::int64_t llModified, bool bCounted);

    // Whether the records hold counts that Favorites.dat does not.
    bool Changed() const { return m_bChanged; }
    // Whether the last Read refused an existing Favorites.dat (it is then never replaced).
    bool Refused() const { return m_bRefused; }

    // Identity of a document: its folder joined to its name (one separator, whichever the
    // folder ends with), in one letter case (Unicode), with either separator read as "/".
    // A record matches a shortcut whose target, or whose own folder joined to its target's
    // name, gives the record's identity; a shortcut without a target path matches the record
    // made from a shortcut of the same file name.
    static std::string IdentityKey(const std::string& sWorkingDirectory,
                                   const std::string& sTargetFileName);
    static std::string TargetKey(const std::string& sTargetFile);
    static std::string NameKey(const std::string& sShortcutFileName);

    // How many backups of damaged Favorites.dat files are kept.
    static constexpr int BackupsKept = 5;

private:
    void Clear();
    void IndexRecord(size_t nRecord);
    size_t FindRecord(const CShortcut& oShortcut);
    size_t FindRecordByKeys(const CShortcut& oShortcut) const;
    void m_oDirectoryWalker_ItemFound(const std::string& sPath, const std::string& sFileName);
    std::string DataFile() const;
    CFavoritesJournal Journal() const { return CFavoritesJournal(DataFile()); }
    void RemoveStaleTemporaryFiles() const;
    void KeepBackup(const std::string& sFile) const;
    void CountPending();

    std::string m_sAppPath;
    std::string m_sDailyFolder;
    std::vector<FavoriteRecord> m_vRecords;
    // Identity -> the first record of that identity in table order.
    std::unordered_map<std::string, size_t> m_oIndex;
    // A shortcut's target, folder and names as read -> the record found for them.
    std::unordered_map<std::string, size_t> m_colFound;
    // Set when a read skipped damaged lines: the next save keeps the old file as a backup.
    bool m_bKeepBackup = false;
    bool m_bRefused = false;
    bool m_bChanged = false;
    // Set when a save could not remove the journal of the counts it saved.
    bool m_bJournalStale = false;
    // Whether the records were read or rebuilt, so that a save may replace the file.
    bool m_bLoaded = false;
    // The Favorites.dat that the records were read from or last saved to (see the journal).
    std::string m_sStamp;
    std::unique_ptr<CShortcut> m_oShortcut;
    std::unique_ptr<CShortcutCache> m_oCache;
    std::unique_ptr<DirectoryWalker> m_oDirectoryWalker;

    // --- The view (CFavoritesView.cpp) --------------------------------------------------
public:
    static constexpr const char* GroupName = "Favorites";

    // Set by the owner after AppPath and DailyFolder: the container, then the list (its
    // columns are added); then RestoreSettings.
    QWidget* Container() const { return m_pContainer; }
    void SetContainer(QWidget* pContainer);
    CListView* ListView() const { return m_pListView; }
    void SetListView(CListView* pListView);

    // The selected item's key ("K" + the record's File), or "".
    std::string SelectedDocument() const;
    // 0 large icons, 1 small icons, 2 list, 3 details.
    std::int32_t View() const;
    void SetView(std::int32_t lView);
    bool Visible() const;
    void SetVisible(bool bVisible);
    // 0 sort by name, 1 by type (ascending), 2 automatic arrangement on, 3 off.
    void ArrangeIcons(std::int32_t lOrder);
    // Removes the list item with that key; false when no item has it. The store keeps the
    // record.
    bool RemoveDocument(const std::string& sKey);
    void RestoreSettings();
    void SaveSettings();
    // Sizes the container in twips, keeping its place.
    void SetSize(std::int32_t lWidth, std::int32_t lHeight);

    // Events.
    std::function<void(const std::string& sItemKey)> DblClick;
    std::function<void()> ItemClick;
    // X, Y: twips in the coordinates of the container's parent (the window's client area).
    std::function<void(float fX, float fY)> PopupMenu;

    // Handlers of the controls' events.
    void Favorites_Resize();
    void lvwFavorites_ColumnClick(int iColumn);
    void ListView_KeyUp(int iKeyCode, int iShift);
    void ListView_MouseUp(int iButton, int iShift, std::int32_t lX, std::int32_t lY);
    void ListView_DblClick();
    void ListView_ItemClick();

private:
    CListView* m_pListView = nullptr;
    QWidget* m_pContainer = nullptr;
    // The context of the list's connections and the container's resize watcher (shared
    // pointers: the store's translation unit destroys them without knowing their types).
    std::shared_ptr<QObject> m_pListConnections;
    std::shared_ptr<QObject> m_pContainerWatcher;
    // Kept by the header clicks only: the last clicked column and the order in use.
    int m_iLastColumn = 0;
    int m_iSortOrder = 0;
};
