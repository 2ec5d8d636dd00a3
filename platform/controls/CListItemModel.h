#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CImageList;

// The items and column headers of a CListView, shared by the icon, list and details
// displays of the one control so that items, selection and sort survive a style switch.
// Rows are kept in the shown order: insertion order, or sorted by one column's text without
// regard to case while sorting is on.
class CListItemModel : public QAbstractTableModel {
public:
    struct SItem {
        std::string sKey;
        QString sText;
        std::vector<QString> colSubItems; // sub-item i at [i - 1]
        std::int32_t lIcon = 0;
        std::int32_t lSmallIcon = 0;
        int iRow = 0;
    };
    struct SColumn {
        QString sCaption;
        int iAlignment = 0; // CListView::ColumnLeft / ColumnRight / ColumnCenter
    };

    explicit CListItemModel(QObject* pParent = nullptr);

    // Items. The key checks (35601, 35602) are the control's.
    SItem* Find(const std::string& sKey) const;
    const SItem& At(int iRow) const { return *m_colRows[static_cast<std::size_t>(iRow)]; }
    int Count() const { return static_cast<int>(m_colRows.size()); }
    void Add(std::unique_ptr<SItem> pItem);
    void Remove(const SItem& oItem);
    void Clear();
    // Call after changing an item's texts or icons in place.
    void ItemChanged(const SItem& oItem, bool bTextChanged);

    // Column headers.
    int ColumnCount() const { return static_cast<int>(m_colColumns.size()); }
    const SColumn& Column(int iColumn) const {
        return m_colColumns[static_cast<std::size_t>(iColumn)];
    }
    void AddColumn(const SColumn& oColumn);
    void SetColumn(int iColumn, const SColumn& oColumn);

    // Sorting: the column (0 = the item text), the order (0 ascending, 1 descending) and
    // whether the rows are kept sorted.
    void SetSorting(int iSortKey, int iSortOrder, bool bSorted);

    // Which image list the first column draws from.
    void SetImageLists(CImageList* pIcons, CImageList* pSmallIcons, bool bLargeIcons);
    // The images of an attached list changed: the displays lay their items out again once.
    void ImagesChanged();

    // Asked by key when a row is drawn: true draws it greyed. Only the rows on show are asked.
    void SetGreyedItems(std::function<bool(const std::string& sKey)> fnGreyed);
    // Draws every row on show again, asking anew.
    void RepaintGreyed();

    // QAbstractTableModel
    int rowCount(const QModelIndex& oParent = QModelIndex()) const override;
    int columnCount(const QModelIndex& oParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& oIndex, int iRole) const override;
    QVariant headerData(int iSection, Qt::Orientation eOrientation, int iRole) const override;
    Qt::ItemFlags flags(const QModelIndex& oIndex) const override;

private:
    const QString& SortText(const SItem& oItem) const;
    bool Before(const SItem& oLeft, const SItem& oRight) const;
    void Renumber(int iFromRow);
    void SortRows();
    Qt::Alignment Alignment(int iColumn) const;

    std::vector<std::unique_ptr<SItem>> m_colRows;
    std::unordered_map<std::string, SItem*> m_colByKey;
    std::vector<SColumn> m_colColumns;
    int m_iSortKey = 0;
    int m_iSortOrder = 0;
    bool m_bSorted = false;
    QPointer<CImageList> m_pIcons;
    QPointer<CImageList> m_pSmallIcons;
    bool m_bLargeIcons = true;
    std::function<bool(const std::string&)> m_fnGreyed;
};
