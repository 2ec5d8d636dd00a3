#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CFileManager;
class CListView;
class CResizeWatcher;
class CTreeView;
class QObject;
class QWidget;

// The Daily view's controls: the day tree, the day list and the container that holds them with
// the calendar. Owns what does not depend on the repository's contents: the list's columns,
// their widths and sort and the settings group "Daily", sizing, the folder commands on the
// selected document, and the translation of raw list and tree input into the view's events.
// The owner fills the tree and the list. List items and tree nodes are named by their keys.
class CDaily {
public:
    // The list's columns: captions, and the settings values of their widths.
    static constexpr const char* GroupName = "Daily";

    CDaily();
    ~CDaily();
    CDaily(const CDaily&) = delete;
    CDaily& operator=(const CDaily&) = delete;

    std::string ClassName() const { return "CDaily"; }

    // Set by the owner first, in this order: the list (its columns are added), the tree, the
    // container (its resizes lay the tree and list out).
    CListView* ListView() const { return m_pListView; }
    void SetListView(CListView* pListView);
    CTreeView* TreeView() const { return m_pTreeView; }
    void SetTreeView(CTreeView* pTreeView);
    QWidget* Container() const { return m_pContainer; }
    void SetContainer(QWidget* pContainer);
    // The file manager of the folder commands (not owned; null: they only beep).
    void SetFileManager(CFileManager* pFileManager) { m_pFileManager = pFileManager; }
    // The computer's beep when a folder command has no document; tests count it.
    void SetBeeper(std::function<void()> fBeep) { m_fBeep = std::move(fBeep); }

    // The selected document's key and the selected day's key; "" when none.
    std::string SelectedDocument() const;
    std::string SelectedDay() const;
    // The list's style: 0 large icons, 1 small icons, 2 list, 3 details.
    std::int32_t View() const;
    void SetView(std::int32_t lView);
    bool Visible() const;
    void SetVisible(bool bVisible);
    // 0 sort by name, 1 by type (ascending), 2 automatic arrangement on, 3 off.
    void ArrangeIcons(std::int32_t lOrder);
    // Shows the selected document in a file-manager window / opens its folder.
    void Explore();
    void OpenFolder();
    // Removes the list item with that key (a missing key is only logged).
    void RemoveDocument(const std::string& sKey);
    void RestoreSettings();
    void SaveSettings();
    // Sizes the container in twips, keeping its place.
    void SetSize(std::int32_t lWidth, std::int32_t lHeight);

    // Events.
    std::function<void(const std::string& sItemKey)> ListViewDblClick;
    std::function<void()> ListViewItemClick;
    // X, Y: twips in the coordinates of the container's parent (the window's client area).
    std::function<void(float fX, float fY)> ListViewPopupMenu;
    std::function<void(const std::string& sNodeKey)> TreeViewNodeClick;

    // Handlers of the controls' events.
    void Daily_Resize();
    void lvwDaily_ColumnClick(int iColumn);
    void ListView_KeyUp(int iKeyCode, int iShift);
    void ListView_MouseUp(int iButton, int iShift, std::int32_t lX, std::int32_t lY);
    void ListView_DblClick();
    void ListView_ItemClick();
    void TreeView_NodeClick(const std::string& sKey);

private:
    // The selected document's target and folder, read from its shortcut; false (with the
    // beep) when nothing is selected.
    bool SelectedTarget(std::string& sTarget, std::string& sFolder, const char* szSource);
    void Beep();

    CListView* m_pListView = nullptr;
    CTreeView* m_pTreeView = nullptr;
    QWidget* m_pContainer = nullptr;
    CFileManager* m_pFileManager = nullptr;
    std::function<void()> m_fBeep;
    // The contexts of the connections to the list and the tree: replaced with the control.
    std::unique_ptr<QObject> m_pListConnections;
    std::unique_ptr<QObject> m_pTreeConnections;
    std::unique_ptr<CResizeWatcher> m_pContainerWatcher;
    // Kept by the header clicks only: the last clicked column and the order in use.
    int m_iLastColumn = 0;
    int m_iSortOrder = 0;
};
