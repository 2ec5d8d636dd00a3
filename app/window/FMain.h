#pragma once

#include "app/journal/CJournalIndex.h"
#include "app/repository/CCapture.h"
#include "platform/shell/CDateTime.h"
#include "platform/shell/CFileIcons.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CCalendar;
class CDayCounts;
class CDaily;
class CFavorites;
class CFileManager;
class CFileTypeProvider;
class CIconCache;
class CImageList;
class CListView;
class CMissingDocuments;
class CMonthCalendar;
class CMousePointerDisplay;
class CPrivateFolders;
class CRecentFeed;
class CShortcut;
class CStatusBar;
class CStatusBarText;
class CSuspension;
class CTimer;
class CToolbarButton;
class CTrayIcon;
class CTreeView;
class CWaitCursor;
class CYearGrid;
class QAction;
class QDate;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
namespace qlAboutBox {
class AboutBox;
}

// The main window: the Daily view (calendar, day tree, day list) and the Favorites view, the
// menus, toolbar, status bar and tray icon, and the timer that files the Recent folder.
//
// Its routines are spread over sources by concern: FMain.cpp (construction, layout, state
// routines), FMainSettings.cpp (the settings groups "Window" and "View"), FMainViews.cpp (the
// tree and list loaders, the calendar and node handlers, the icon cache), FMainPoll.cpp (the
// timer and the capture of the Recent folder), FMainCommands.cpp (the commands' slots, the tray
// and the list events), FMainDocuments.cpp (opening a document, removing its link, its folder,
// purging a day, help, the web page and the About box), FMainJournal.cpp (the search of the
// whole journal, the year at a glance, missing documents).
class FMain : public QMainWindow {
    Q_OBJECT

public:
    // Codes shared by the views, the menus and the settings.
    static constexpr std::int32_t ViewDaily = 0;
    static constexpr std::int32_t ViewFavorites = 1;
    static constexpr int ToolbarButtons = 10;
    // Toolbar buttons, left to right.
    enum EToolbarButton {
        ButtonDailyView = 0,
        ButtonFavoritesView,
        ButtonExploreFolder,
        ButtonOpenFolder,
        ButtonLargeIconView,
        ButtonSmallIconView,
        ButtonListView,
        ButtonDetailView,
        ButtonMainWindowHelp,
        ButtonWhatsThisHelp
    };
    // Form_QueryUnload's modes: the close box, the end of the desktop session, the task
    // manager (a termination signal).
    static constexpr int UnloadFormControlMenu = 0;
    static constexpr int UnloadAppWindows = 2;
    static constexpr int UnloadTaskManager = 3;

    // What the window starts from.
    struct SStart {
        // The Recent folder as given by --recent-folder or DAYFOLD_RECENT, filed as it is;
        // with bFeedRecentFolder the program's own Recent folder, which the window keeps
        // filled from the desktop's records of opened documents.
        std::string sRecentFolder;
        bool bFeedRecentFolder = false;
        // Answers the file manager's open command of folders (may be null).
        CFileTypeProvider* pFileTypes = nullptr;
        // Whether the desktop has a tray; unset: ask the desktop. Without one the window is
        // never hidden, so the program cannot become unreachable.
        std::optional<bool> obTrayAvailable;
        // The About box (not owned; may be null): it gets the window's icon at the load.
        qlAboutBox::AboutBox* pAboutBox = nullptr;
        // Closes the splash window when the load is done (may be empty).
        std::function<void()> UnloadSplash;
    };

    // The maker's web page (Help menu).
    static constexpr const char* OnlineAddress = "https://www.quillonsoft.com/dayfold/";

    explicit FMain(SStart oStart, QWidget* pParent = nullptr);
    ~FMain() override;

    // --- Start-up and shutdown (FMain.cpp) ----------------------------------------------
    // The load sequence: tray, views, Recent folder, options, first filing, Favorites,
    // restored window and view, timer; ends by showing the window or leaving it in the tray.
    void Form_Load();
    // On the first activation: moves the calendar and the tree to the latest day.
    void Form_Activate();
    // True when the unload is cancelled (the window is hidden instead).
    bool Form_QueryUnload(int iUnloadMode);
    // Saves the settings groups and Favorites.dat. The views stay until the window is
    // destroyed: a dialog that an unload cut short still returns into a routine that uses them.
    void Form_Unload();
    void Form_Resize();
    // The end of the desktop session (UnloadAppWindows) or a termination signal
    // (UnloadTaskManager): the window unloads whether or not it is shown. A dialog on show
    // is closed first as if cancelled, and a load under way ends first.
    void UnloadFor(int iUnloadMode);

    // --- State routines (FMain.cpp) -----------------------------------------------------
    void SetActiveView(std::int32_t lView);
    void SetListView(std::int32_t lStyle);
    void ArrangeIcons(std::int16_t iOrder);
    void SetActive(bool bActive);
    void SetVisible(bool bVisible);
    void SetOptions();
    void LoadResources();
    void SetHelpContextIDs();

    // --- Settings groups "Window" and "View" (FMainSettings.cpp) ------------------------
    void RestoreWindowSettings();
    void RestoreViewSettings();
    void SaveWindowSettings();
    void SaveViewSettings();
    void CreateWindowRegistryKeys();
    void CreateViewRegistryKeys();

    // --- Tree and lists (FMainViews.cpp) ------------------------------------------------
    void LoadDailyTreeViewFolder(const std::string& sFolder, std::int16_t iLevel);
    // sNodeKey: the day node whose documents to list; "" empties the list.
    void LoadDailyListView(const std::string& sNodeKey);
    void RefreshFavorites();
    // Releases the wait cursor (if any) and shows the active list's item count.
    void RefreshStatusBar(std::unique_ptr<CWaitCursor>& pWaitCursor);
    void SelectDate(const CDateTime& dDate);
    void SetExploreOpen(bool bEnabled);
    void FindLatestDay();
    std::int32_t DailyImageListIndex(const std::string& sFile, const std::string& sTarget);
    std::int32_t FavoritesImageListIndex(const std::string& sFile, const std::string& sTarget);
    void m_oCalendar_DateChange(const CDateTime& dNewDate);
    void m_oDaily_TreeViewNodeClick(const std::string& sNodeKey);

    // --- Capture (FMainPoll.cpp) --------------------------------------------------------
    void tmrMain_Timer();
    void PollRecentFolder();
    void GetShortcuts();
    void ProcessShortcut(CShortcut& oShortcut);
    void RefreshDaily();
    // The timer's interval from seconds, kept to 1..60 so a hand-edited value can neither
    // stop the timer nor overflow it.
    void SetTimerInterval(std::int32_t lSeconds);

    // --- Private folders and the timed suspension (FMainPrivacy.cpp) ---------------------
    // Reads the private folders and gives them to the capture.
    void ReadPrivateFolders();
    // After the options' OK: the new private folders apply, and the documents of the folders
    // in vFoldersToClear leave the journal; Favorites are counted again and saved.
    void ApplyPrivacyChanges(const std::vector<std::string>& vFoldersToClear);
    // "Suspend for 1 hour": the timer goes on, its ticks file nothing until the hour is over.
    void SuspendForAnHour();
    // Whether the tick is to pass: true while the hour lasts; the first tick after it ends
    // the suspension.
    bool CaptureSuspended();
    // Ends a timed suspension (by Resume, or when its hour is over).
    void EndTimedSuspension();
    const CSuspension& Suspension() const { return *m_pSuspension; }
    const CPrivateFolders& PrivateFolders() const { return *m_pPrivateFolders; }

    // --- Documents and commands (FMainDocuments.cpp) -----------------------------------
    // sItemKey: a list item's key, "K" + the path of its shortcut in the repository.
    void OpenDocument(const std::string& sItemKey);
    void RemoveLink(const std::string& sItemKey);
    // The folder commands, on the document selected in the active view's list.
    void Explore();
    void OpenFolder();
    // sNodeKey: a day node's key, "K" + the day folder.
    void PurgeDay(const std::string& sNodeKey);
    // Topic 0: the help's contents.
    void DisplayHelp(int iTopic);
    void DisplayQuillonSoftOnline();
    void DisplayAboutBox();

    // --- The journal: search, the year at a glance, missing documents (FMainJournal.cpp) ---
    // The search box's text changed: the search runs after a short pause in the typing (an
    // emptied box returns to the view at once).
    void txtSearch_Change();
    // The pause is over: searches the box's text.
    void tmrSearch_Timer();
    // Opens the selected result, or the first (Enter in the box).
    void txtSearch_Return();
    // Whether the search results stand in place of the active view.
    bool SearchShown() const;
    // Lists the documents that match the box's text; an empty box returns to the view.
    void RefreshSearch();
    // Reads the journal's index anew in the background (after copies were removed).
    void RebuildJournal();
    // A poll filed something: the results and the year on show follow.
    void RefreshJournalViews();
    // Finds the documents that no longer exist and, if the user agrees, removes their links.
    void RemoveMissingLinks();
    // Shows the year at a glance, counted now.
    void ShowYearAtAGlance();
    // Counts the last twelve months again and redraws them (only when on show, unless told).
    void RefreshYear(bool bOnlyIfShown = true);
    // A day of the year was clicked: the Daily view shows it.
    void grdYear_DayClick(const QDate& dDay);

    CJournalIndex& Journal() { return m_oJournal; }
    CMissingDocuments* MissingDocuments() const { return m_pMissing.get(); }
    QLineEdit* txtSearch() const { return m_txtSearch; }
    CListView* lvwSearch() const { return m_lvwSearch; }
    QLabel* lblSearchEmpty() const { return m_lblSearchEmpty; }
    QWidget* picSearch() const { return m_picSearch; }
    QTimer* tmrSearch() const { return m_tmrSearch; }
    QDialog* frmYear() const { return m_frmYear; }
    CYearGrid* grdYear() const { return m_grdYear; }
    QLabel* lblYearTotal() const { return m_lblYearTotal; }

    // --- State, for the commands and the tests ------------------------------------------
    std::int32_t ActiveView() const { return m_lActiveView; }
    bool Exiting() const { return m_bExiting; }
    void SetExiting(bool bExiting) { m_bExiting = bExiting; }
    bool TrayAvailable() const { return m_bTrayAvailable; }
    const std::string& RecentFolder() const { return m_sRecentFolder; }
    std::int32_t FavoritesThreshold() const { return m_lFavoritesThreshold; }
    std::int32_t PurgeAge() const { return m_lPurgeAge; }
    std::int32_t TimerInterval() const { return m_lTimerInterval; }
    // How often the day tree and the Favorites list were rebuilt.
    int DailyRebuilds() const { return m_iDailyRebuilds; }
    int FavoritesRebuilds() const { return m_iFavoritesRebuilds; }

    CCalendar* Calendar() const { return m_oCalendar.get(); }
    CDaily* Daily() const { return m_oDaily.get(); }
    CFavorites* Favorites() const { return m_oFavorites.get(); }
    CFileIcons& FileIcons() { return m_oFileIcons; }

    // --- Controls -----------------------------------------------------------------------
    CMonthCalendar* calMain() const { return m_calMain; }
    CTreeView* tvwMain() const { return m_tvwMain; }
    CListView* lvwDaily() const { return m_lvwDaily; }
    CListView* lvwFavorites() const { return m_lvwFavorites; }
    CStatusBar* sbrMain() const { return m_sbrMain; }
    CTimer* tmrMain() const { return m_tmrMain; }
    CTrayIcon* tryMain() const { return m_tryMain; }
    CImageList* imlMain(int iIndex) const { return m_imlMain.at(static_cast<size_t>(iIndex)); }
    CToolbarButton* sftToolbar(int iIndex) const {
        return m_sftToolbar.at(static_cast<size_t>(iIndex));
    }
    QWidget* picDaily() const { return m_picDaily; }
    QWidget* picFavorites() const { return m_picFavorites; }
    QWidget* picToolbar() const { return m_picToolbar; }
    // The notes over an empty day list and an empty Favorites list that say why they are empty.
    QLabel* lblDailyEmpty() const { return m_lblDailyEmpty; }
    QLabel* lblFavoritesEmpty() const { return m_lblFavoritesEmpty; }

    // Menus and the commands in them: each command one action, shared by every place it
    // shows, so that its check mark, enabled and visible states agree everywhere.
    QMenu* mnuDayfold() const { return m_mnuDayfold; }
    QMenu* mnuView() const { return m_mnuView; }
    QMenu* mnuViewArrange() const { return m_mnuViewArrange; }
    QMenu* mnuTools() const { return m_mnuTools; }
    QMenu* mnuHelp() const { return m_mnuHelp; }
    QMenu* mnuListView() const { return m_mnuListView; }
    QMenu* mnuTray() const { return m_mnuTray; }
    QMenu* mnuTree() const { return m_mnuTree; }
    struct SActions {
        QAction* pSuspend = nullptr;
        QAction* pSuspendHour = nullptr;
        QAction* pResume = nullptr;
        QAction* pHide = nullptr;
        QAction* pShow = nullptr;
        QAction* pExit = nullptr;
        QAction* pViewDaily = nullptr;
        QAction* pViewFavorites = nullptr;
        std::array<QAction*, 4> colStyle{}; // large icons, small icons, list, details
        QAction* pArrangeByName = nullptr;
        QAction* pArrangeByType = nullptr;
        QAction* pAutoArrange = nullptr;
        QAction* pOptions = nullptr;
        QAction* pExplore = nullptr;
        QAction* pOpenFolder = nullptr;
        QAction* pRebuildFavorites = nullptr;
        QAction* pRemoveMissing = nullptr;
        QAction* pYear = nullptr;
        QAction* pHelpTopics = nullptr;
        QAction* pOnline = nullptr;
        QAction* pAbout = nullptr;
        QAction* pListOpen = nullptr;
        QAction* pPurge = nullptr;
        QAction* pMainWindowHelp = nullptr;
        QAction* pWhatsThis = nullptr;
    };
    const SActions& Actions() const { return m_oActions; }

signals:
    // The window has unloaded: its settings are saved and the program may end.
    void Unloaded();

public:
    // Every way of showing or hiding the window passes here.
    void setVisible(bool bVisible) override;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private slots:
    // --- Commands (FMainCommands.cpp) ---------------------------------------------------
    void mnuDayfoldSuspend_Click();
    void mnuDayfoldSuspendHour_Click();
    void mnuDayfoldResume_Click();
    void mnuDayfoldHide_Click();
    void mnuDayfoldExit_Click();
    void mnuTrayShow_Click();
    void mnuViewDaily_Click();
    void mnuViewFavorites_Click();
    void mnuViewStyle_Click(int iStyle);
    void mnuViewArrange_Click(int iOrder);
    void mnuViewOptions_Click();
    void mnuToolsExplore_Click();
    void mnuToolsOpen_Click();
    void mnuToolsRebuildFavorites_Click();
    void mnuHelpTopics_Click();
    void mnuHelpOnline_Click();
    void mnuHelpAbout_Click();
    void mnuListOpen_Click();
    void mnuTreePurge_Click();
    void mnuMainWindowHelp_Click();
    void mnuWhatsThis_Click();
    void sftToolbar_Click(int iIndex);
    void tryMain_MouseUp(int iButton);
    void m_oDaily_ListViewDblClick(const std::string& sItemKey);
    void m_oDaily_ListViewItemClick();
    void m_oDaily_ListViewPopupMenu(float fX, float fY);
    void m_oFavorites_DblClick(const std::string& sItemKey);
    void m_oFavorites_ItemClick();
    void m_oFavorites_PopupMenu(float fX, float fY);
    void m_oDaily_TreeViewPopupMenu(float fX, float fY, const std::string& sNodeKey);

private:
    // Construction (FMain.cpp).
    void CreateControls();
    void CreateToolbar();
    void CreateActions();
    void CreateMenus();
    void ConnectCommands();
    void ConnectViews();
    // The notes of empty lists (FMainViews.cpp): set, shown or hidden, and placed.
    void UpdateFavoritesEmptyNote();
    void SetEmptyNote(QLabel& oNote, const CListView& oList, const std::string& sNote);
    static void PlaceEmptyNote(QLabel& oNote, const CListView& oList);
    void PlaceEmptyNotes();
    // Start-up steps (FMain.cpp).
    void ShowWelcome();
    void PurgeAtStart();
    // Asks whether to exit where there is no tray to hide the window in; true for Yes.
    bool AskToExit();
    // A context menu at (fX, fY), twips in the window's client area.
    void PopupAt(QMenu& oMenu, float fX, float fY);
    // Saves the Favorites store after it was rebuilt, so the new counts are kept.
    void RebuildAndSaveFavorites();
    // The view whose list the document commands act on: its selected document's key.
    std::string ActiveSelectedDocument() const;
    // The Recent folder's copy of a shortcut that was opened: written now, so that the next
    // poll files it under today.
    void CopyBackToRecent(const std::string& sShortcut);
    // The window's client area (below the menu bar) in twips.
    std::int32_t ClientWidth() const;
    std::int32_t ClientHeight() const;
    // Keeps a restored window on a screen (FMainSettings.cpp).
    void BringOntoScreen();
    // The journal (FMainJournal.cpp): its controls and commands, its start after the first
    // filing and its stop before the window goes.
    void CreateJournalControls();
    void StartJournal();
    void StopJournal();
    void LayoutJournalControls();
    void ShowSearch(bool bShow);
    void LoadSearchListView(const std::string& sText);
    void m_oJournal_BuildFinished();
    void lvwSearch_DblClick();
    void lvwSearch_KeyUp(int iKeyCode, int iShift);
    void lvwSearch_MouseUp(int iButton, std::int32_t lX, std::int32_t lY);
    std::string SearchSelectedDocument() const;
    // The folder commands on the selected result; false when the results are not on show.
    bool SearchFolderCommand(bool bExplore);
    // Whether the document of a list's row no longer exists, by the row's key.
    bool RowMissing(const std::unordered_map<std::string, std::string>& colTargets,
                    const std::string& sKey);

    SStart m_oStart;
    bool m_bTrayAvailable = false;

    // Controls.
    QWidget* m_pClient = nullptr;
    QWidget* m_picToolbar = nullptr;
    QWidget* m_picDaily = nullptr;
    QWidget* m_picFavorites = nullptr;
    QFrame* m_picCalendar = nullptr;
    CMonthCalendar* m_calMain = nullptr;
    CTreeView* m_tvwMain = nullptr;
    CListView* m_lvwDaily = nullptr;
    CListView* m_lvwFavorites = nullptr;
    QLabel* m_lblDailyEmpty = nullptr;
    QLabel* m_lblFavoritesEmpty = nullptr;
    CStatusBar* m_sbrMain = nullptr;
    CTimer* m_tmrMain = nullptr;
    CTrayIcon* m_tryMain = nullptr;
    std::array<CImageList*, 5> m_imlMain{};
    std::array<CToolbarButton*, ToolbarButtons> m_sftToolbar{};
    std::array<QFrame*, 3> m_linToolbar{};
    QFrame* m_linToolbarBottom = nullptr;
    QLineEdit* m_txtSearch = nullptr;
    QTimer* m_tmrSearch = nullptr;
    QWidget* m_picSearch = nullptr;
    CListView* m_lvwSearch = nullptr;
    QLabel* m_lblSearchEmpty = nullptr;
    QDialog* m_frmYear = nullptr;
    CYearGrid* m_grdYear = nullptr;
    QLabel* m_lblYearTotal = nullptr;

    QMenu* m_mnuDayfold = nullptr;
    QMenu* m_mnuView = nullptr;
    QMenu* m_mnuViewArrange = nullptr;
    QMenu* m_mnuTools = nullptr;
    QMenu* m_mnuHelp = nullptr;
    QMenu* m_mnuListView = nullptr;
    QMenu* m_mnuListViewStyle = nullptr;
    QMenu* m_mnuListArrange = nullptr;
    QMenu* m_mnuTray = nullptr;
    QMenu* m_mnuTree = nullptr;
    SActions m_oActions;

    // The views, the calendar and the capture.
    std::unique_ptr<CCalendar> m_oCalendar;
    std::unique_ptr<CDaily> m_oDaily;
    std::unique_ptr<CFavorites> m_oFavorites;
    CCapture m_oCapture;
    std::unique_ptr<CRecentFeed> m_pRecentFeed;
    std::unique_ptr<CFileManager> m_pFileManager;
    std::unique_ptr<CStatusBarText> m_pStatusText;
    std::unique_ptr<CMousePointerDisplay> m_pPointerDisplay;
    CFileIcons m_oFileIcons;
    std::unique_ptr<CIconCache> m_pIconCache;
    std::unique_ptr<CPrivateFolders> m_pPrivateFolders;
    std::unique_ptr<CSuspension> m_pSuspension;
    bool m_bTimedSuspension = false;
    // The user was told that the private folders are not known (once a run).
    bool m_bPrivacyUnknownTold = false;
    // The journal: its index, the days' counts of the year, the documents that are gone, and
    // each list's documents by row key (what the greyed rows ask about).
    CJournalIndex m_oJournal;
    std::unique_ptr<CDayCounts> m_pDayCounts;
    std::unique_ptr<CMissingDocuments> m_pMissing;
    std::unordered_map<std::string, std::string> m_colDailyTargets;
    std::unordered_map<std::string, std::string> m_colFavoritesTargets;
    std::unordered_map<std::string, std::string> m_colSearchTargets;
    bool m_bJournalStarted = false;

    std::string m_sRecentFolder;
    std::int32_t m_lFavoritesThreshold = 3;
    std::int32_t m_lPurgeAge = 30;
    std::int32_t m_lTimerInterval = 60;
    std::int32_t m_lActiveView = ViewDaily;
    bool m_bExiting = false;
    bool m_bSyncingCalendar = false;
    bool m_bActivated = false;
    bool m_bLoaded = false;
    bool m_bUnloaded = false;
    bool m_bLoading = false;
    // The unload mode of the close under way (the close box when none is set).
    int m_iCloseMode = UnloadFormControlMenu;
    // The error context of the program and tray menus' shared commands: the menu last shown.
    int m_iMenuContext = 130;
    // "Visible" of the "Window" group, applied at the very end of the load.
    bool m_bStoredVisible = true;
    int m_iDailyRebuilds = 0;
    int m_iFavoritesRebuilds = 0;
};
