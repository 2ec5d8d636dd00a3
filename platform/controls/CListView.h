#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CImageList;
class CListItemModel;
class QAbstractItemView;
class QListView;
class QKeyEvent;
class QMouseEvent;
class QResizeEvent;
class QTreeView;

// A list of keyed items shown in one of four styles over the same items, selection and sort:
// large icons, small icons, list, or details (one row per item under column headers).
//
// Items are found by key: every item has a unique, non-empty, case-sensitive key. An
// operation on a key that no item has raises CRunTimeError 35601 "Element not found"; adding
// a key twice raises 35602 "Key is not unique in collection"; a value out of range raises
// 380 "Invalid property value"; a column index out of range 35600 "Index out of bounds".
// Sub-items and column headers are numbered from 1 (sub-item 1 is shown in column 2); the
// sort key is a zero-based column (0 = the item text). Positions, sizes and widths are twips.
//
// Events come as signals. ItemClick and the key and mouse events come from the user only,
// never from the program's own calls.
class CListView : public QWidget {
    Q_OBJECT

public:
    // View styles.
    static constexpr int StyleLargeIcons = 0;
    static constexpr int StyleSmallIcons = 1;
    static constexpr int StyleList = 2;
    static constexpr int StyleDetails = 3;
    // Sort orders.
    static constexpr int Ascending = 0;
    static constexpr int Descending = 1;
    // Arrange modes of the icon styles.
    static constexpr int ArrangeNone = 0;
    static constexpr int ArrangeLeft = 1;
    static constexpr int ArrangeTop = 2;
    // Column alignments.
    static constexpr int ColumnLeft = 0;
    static constexpr int ColumnRight = 1;
    static constexpr int ColumnCenter = 2;

    explicit CListView(QWidget* pParent = nullptr);
    ~CListView() override;

    // --- Items --------------------------------------------------------------------------
    // Adds an item: its key, text, large and small icon indexes in the attached image lists
    // (0 = none; an index the list does not hold draws nothing) and its sub-items from 1 on.
    // While sorting is on the item goes to its sorted place at once.
    void AddItem(const std::string& sKey, const std::string& sText, std::int32_t lIcon = 0,
                 std::int32_t lSmallIcon = 0, const std::vector<std::string>& colSubItems = {});
    void RemoveItem(const std::string& sKey);
    void ClearItems();
    bool Contains(const std::string& sKey) const;
    std::int32_t Count() const;
    // The key of the item shown at 1-based position lIndex (35600 outside 1..Count).
    std::string KeyAt(std::int32_t lIndex) const;

    std::string ItemText(const std::string& sKey) const;
    void SetItemText(const std::string& sKey, const std::string& sText);
    // Sub-item iIndex (1-based); an index beyond the item's sub-items reads as "".
    std::string SubItem(const std::string& sKey, int iIndex) const;
    void SetSubItem(const std::string& sKey, int iIndex, const std::string& sText);
    std::int32_t ItemIcon(const std::string& sKey) const;
    std::int32_t ItemSmallIcon(const std::string& sKey) const;
    void SetItemIcons(const std::string& sKey, std::int32_t lIcon, std::int32_t lSmallIcon);
    // The item's top-left corner in the current style, in twips from the control's top-left
    // corner (the coordinates of MouseUp).
    std::int32_t ItemLeft(const std::string& sKey) const;
    std::int32_t ItemTop(const std::string& sKey) const;

    // Rows drawn greyed: fnGreyed is asked by key when a row is drawn, so only the rows on
    // show are asked (null: none is greyed). RepaintGreyed draws the rows on show again.
    void SetGreyedItems(std::function<bool(const std::string& sKey)> fnGreyed);
    void RepaintGreyed();
    // Whether the item is drawn greyed now (asks as drawing does).
    bool ItemGreyed(const std::string& sKey) const;

    // --- Selection (one item at most) ---------------------------------------------------
    // The selected item's key, or "" when no item is selected.
    std::string SelectedKey() const;
    // Selects the item and scrolls it into view.
    void SetSelectedKey(const std::string& sKey);
    void ClearSelection();

    // --- Image lists (not owned; attach nullptr to detach) ------------------------------
    CImageList* Icons() const;
    void SetIcons(CImageList* pIcons);
    CImageList* SmallIcons() const;
    void SetSmallIcons(CImageList* pSmallIcons);

    // --- Style, sorting, arrangement ----------------------------------------------------
    int View() const { return m_iView; }
    void SetView(int iView);
    int SortKey() const { return m_iSortKey; }
    void SetSortKey(int iSortKey);
    int SortOrder() const { return m_iSortOrder; }
    void SetSortOrder(int iSortOrder);
    // While on, the items are kept in the order of SortKey and SortOrder, comparing texts
    // without regard to case; switching it off keeps the current order.
    bool Sorted() const { return m_bSorted; }
    void SetSorted(bool bSorted);
    // How the icon styles place the icons: ArrangeTop in rows from the top, ArrangeLeft in
    // columns from the left, both snapped to their places; ArrangeNone in rows, but the user
    // may drag large icons anywhere until the items are laid out again (a resize, a sort, a
    // change of items). The other styles keep the mode for when an icon style is chosen.
    int Arrange() const { return m_iArrange; }
    void SetArrange(int iArrange);

    // --- Column headers (shown in the details style) ------------------------------------
    // Adds a column at the end and returns its 1-based index. The first column holds the
    // item text and is always left-aligned (another alignment for it raises 380).
    int AddColumnHeader(const std::string& sCaption, int iAlignment = ColumnLeft,
                        std::int32_t lWidth = 1440);
    int ColumnHeaderCount() const;
    std::string ColumnCaption(int iIndex) const;
    void SetColumnCaption(int iIndex, const std::string& sCaption);
    int ColumnAlignment(int iIndex) const;
    void SetColumnAlignment(int iIndex, int iAlignment);
    // The width in twips: the value last set, as long as the user has not dragged the
    // column to another width since (then the dragged width).
    std::int32_t ColumnWidth(int iIndex) const;
    void SetColumnWidth(int iIndex, std::int32_t lWidth);

    // --- Position and size in the parent, in twips --------------------------------------
    std::int32_t Left() const;
    std::int32_t Top() const;
    std::int32_t Width() const;
    std::int32_t Height() const;
    void Move(std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth, std::int32_t lHeight);

signals:
    // The user clicked an item (left or right button) or moved the selection to it with the
    // keyboard.
    void ItemClick(const std::string& sKey);
    // The user double-clicked the list (over an item or not).
    void DblClick();
    // The user clicked column header iColumn (1-based). The list does not sort by itself.
    void ColumnClick(int iColumn);
    // A key whose press the list had was released: its classic key code and the shift state
    // (MInputCodes). A release whose press went elsewhere (to a dialog that the press closed,
    // or before the list had the focus) raises nothing.
    void KeyUp(int iKeyCode, int iShift);
    // A mouse button was released over the items: button (1 left, 2 right, 4 middle), shift
    // state, and position in twips from the control's top-left corner.
    void MouseUp(int iButton, int iShift, std::int32_t lX, std::int32_t lY);

protected:
    // Key releases of the displays reach the control itself and become KeyUp.
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    struct SColumnWidth {
        std::int32_t lTwips; // as set
        int iPixels;         // what that gave on the screen
    };

    QAbstractItemView* ActiveView() const;
    void CheckColumn(int iIndex) const;
    void ApplyStyle();
    void ApplyImageLists();
    void ApplySorting();
    void Display_SelectionChanged();
    void Display_KeyPress(const QKeyEvent& oEvent);
    void Display_MousePress(const QAbstractItemView& oView, const QMouseEvent& oEvent);
    void Display_MouseRelease(const QAbstractItemView& oView, const QMouseEvent& oEvent);

    CListItemModel* m_pModel;
    QListView* m_pIconView;
    QTreeView* m_pDetailsView;
    QPointer<CImageList> m_pIcons;
    QPointer<CImageList> m_pSmallIcons;
    std::vector<QMetaObject::Connection> m_colImageListConnections;
    std::vector<SColumnWidth> m_colWidths;
    int m_iView = StyleLargeIcons;
    int m_iSortKey = 0;
    int m_iSortOrder = Ascending;
    bool m_bSorted = false;
    int m_iArrange = ArrangeNone;
    // Set while a display handles a key press: a selection it moves counts as a click.
    bool m_bKeyboardSelecting = false;
    // The item under the pointer when a button went down, for the click on release.
    std::string m_sPressedKey;
    // The keys pressed while the list had the focus and not released yet.
    std::vector<int> m_colPressedKeys;
};
