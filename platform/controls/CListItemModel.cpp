#include "platform/controls/CListItemModel.h"

#include "platform/controls/CImageList.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

CListItemModel::CListItemModel(QObject* pParent) : QAbstractTableModel(pParent) {}

CListItemModel::SItem* CListItemModel::Find(const std::string& sKey) const {
    const auto it = m_colByKey.find(sKey);
    return it == m_colByKey.end() ? nullptr : it->second;
}

void CListItemModel::Add(std::unique_ptr<SItem> pItem) {
    auto itPlace = m_colRows.end();
    if (m_bSorted) {
        // After the equal ones, so that items of one text keep the order they came in.
        itPlace = std::upper_bound(
            m_colRows.begin(), m_colRows.end(), pItem,
            [this](const auto& pLeft, const auto& pRight) { return Before(*pLeft, *pRight); });
    }
    const int iRow = static_cast<int>(itPlace - m_colRows.begin());
    beginInsertRows(QModelIndex(), iRow, iRow);
    m_colByKey.emplace(pItem->sKey, pItem.get());
    m_colRows.insert(itPlace, std::move(pItem));
    Renumber(iRow);
    endInsertRows();
}

void CListItemModel::Remove(const SItem& oItem) {
    const int iRow = oItem.iRow;
    beginRemoveRows(QModelIndex(), iRow, iRow);
    m_colByKey.erase(oItem.sKey);
    m_colRows.erase(m_colRows.begin() + iRow);
    Renumber(iRow);
    endRemoveRows();
}

void CListItemModel::Clear() {
    beginResetModel();
    m_colRows.clear();
    m_colByKey.clear();
    endResetModel();
}

void CListItemModel::ItemChanged(const SItem& oItem, bool bTextChanged) {
    if (m_bSorted && bTextChanged) {
        SortRows();
    }
    emit dataChanged(index(oItem.iRow, 0), index(oItem.iRow, columnCount() - 1));
}

void CListItemModel::AddColumn(const SColumn& oColumn) {
    if (m_colColumns.empty()) {
        // The first header names the column that always exists.
        m_colColumns.push_back(oColumn);
        emit headerDataChanged(Qt::Horizontal, 0, 0);
        return;
    }
    const int iColumn = ColumnCount();
    beginInsertColumns(QModelIndex(), iColumn, iColumn);
    m_colColumns.push_back(oColumn);
    endInsertColumns();
}

void CListItemModel::SetColumn(int iColumn, const SColumn& oColumn) {
    m_colColumns[static_cast<std::size_t>(iColumn)] = oColumn;
    emit headerDataChanged(Qt::Horizontal, iColumn, iColumn);
    if (Count() > 0) {
        emit dataChanged(index(0, iColumn), index(Count() - 1, iColumn), {Qt::TextAlignmentRole});
    }
}

void CListItemModel::SetSorting(int iSortKey, int iSortOrder, bool bSorted) {
    m_iSortKey = iSortKey;
    m_iSortOrder = iSortOrder;
    m_bSorted = bSorted;
    if (m_bSorted) {
        SortRows();
    }
}

void CListItemModel::SetImageLists(CImageList* pIcons, CImageList* pSmallIcons, bool bLargeIcons) {
    m_pIcons = pIcons;
    m_pSmallIcons = pSmallIcons;
    m_bLargeIcons = bLargeIcons;
    if (Count() > 0) {
        emit dataChanged(index(0, 0), index(Count() - 1, 0), {Qt::DecorationRole});
    }
}

void CListItemModel::ImagesChanged() {
    if (Count() > 0) {
        emit layoutAboutToBeChanged();
        emit layoutChanged();
    }
}

int CListItemModel::rowCount(const QModelIndex& oParent) const {
    return oParent.isValid() ? 0 : Count();
}

int CListItemModel::columnCount(const QModelIndex& oParent) const {
    return oParent.isValid() ? 0 : std::max(ColumnCount(), 1);
}

QVariant CListItemModel::data(const QModelIndex& oIndex, int iRole) const {
    if (!oIndex.isValid() || oIndex.row() >= Count()) {
        return {};
    }
    const SItem& oItem = At(oIndex.row());
    const int iColumn = oIndex.column();
    switch (iRole) {
    case Qt::DisplayRole:
        if (iColumn == 0) {
            return oItem.sText;
        }
        if (static_cast<std::size_t>(iColumn) <= oItem.colSubItems.size()) {
            return oItem.colSubItems[static_cast<std::size_t>(iColumn - 1)];
        }
        return {};
    case Qt::DecorationRole: {
        const CImageList* pImages = m_bLargeIcons ? m_pIcons.data() : m_pSmallIcons.data();
        const std::int32_t lIndex = m_bLargeIcons ? oItem.lIcon : oItem.lSmallIcon;
        // An index the list does not hold (yet, or any more) draws no picture.
        if (iColumn != 0 || pImages == nullptr || lIndex < 1 || lIndex > pImages->Count()) {
            return {};
        }
        return pImages->Picture(lIndex);
    }
    case Qt::ForegroundRole:
        if (m_fnGreyed && m_fnGreyed(oItem.sKey)) {
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        }
        return {};
    case Qt::TextAlignmentRole:
        // The item text keeps each display's own placement (centred under a large icon).
        return iColumn == 0 ? QVariant() : QVariant::fromValue(Alignment(iColumn));
    default:
        return {};
    }
}

void CListItemModel::SetGreyedItems(std::function<bool(const std::string&)> fnGreyed) {
    m_fnGreyed = std::move(fnGreyed);
    RepaintGreyed();
}

void CListItemModel::RepaintGreyed() {
    if (Count() > 0) {
        emit dataChanged(index(0, 0), index(Count() - 1, std::max(ColumnCount(), 1) - 1),
                         {Qt::ForegroundRole});
    }
}

QVariant CListItemModel::headerData(int iSection, Qt::Orientation eOrientation, int iRole) const {
    if (eOrientation != Qt::Horizontal || iSection < 0 || iSection >= ColumnCount()) {
        return {};
    }
    if (iRole == Qt::DisplayRole) {
        return Column(iSection).sCaption;
    }
    if (iRole == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Alignment(iSection));
    }
    return {};
}

Qt::ItemFlags CListItemModel::flags(const QModelIndex& oIndex) const {
    return oIndex.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
                            : Qt::NoItemFlags;
}

const QString& CListItemModel::SortText(const SItem& oItem) const {
    static const QString sNone;
    if (m_iSortKey == 0) {
        return oItem.sText;
    }
    const auto uSubItem = static_cast<std::size_t>(m_iSortKey);
    return uSubItem <= oItem.colSubItems.size() ? oItem.colSubItems[uSubItem - 1] : sNone;
}

bool CListItemModel::Before(const SItem& oLeft, const SItem& oRight) const {
    // Plain character order without regard to case, not the locale's collation: a blank
    // sorts before a digit, so day counts padded with blanks and "yyyy/mm/dd hh:mm" dates
    // sort as numbers and times.
    const int iCompare = QString::compare(SortText(oLeft), SortText(oRight), Qt::CaseInsensitive);
    return m_iSortOrder == 0 ? iCompare < 0 : iCompare > 0;
}

void CListItemModel::Renumber(int iFromRow) {
    for (int iRow = iFromRow; iRow < Count(); ++iRow) {
        m_colRows[static_cast<std::size_t>(iRow)]->iRow = iRow;
    }
}

void CListItemModel::SortRows() {
    const auto fBefore = [this](const auto& pLeft, const auto& pRight) {
        return Before(*pLeft, *pRight);
    };
    if (std::is_sorted(m_colRows.begin(), m_colRows.end(), fBefore)) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList colOld = persistentIndexList();
    std::vector<const SItem*> colOldItems;
    colOldItems.reserve(static_cast<std::size_t>(colOld.size()));
    for (const QModelIndex& oOld : colOld) {
        colOldItems.push_back(&At(oOld.row()));
    }
    std::stable_sort(m_colRows.begin(), m_colRows.end(), fBefore);
    Renumber(0);
    QModelIndexList colNew;
    colNew.reserve(colOld.size());
    for (qsizetype i = 0; i < colOld.size(); ++i) {
        colNew.push_back(index(colOldItems[static_cast<std::size_t>(i)]->iRow, colOld[i].column()));
    }
    changePersistentIndexList(colOld, colNew);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::Alignment CListItemModel::Alignment(int iColumn) const {
    // The item text's column is always left-aligned.
    const int iAlignment = iColumn > 0 && iColumn < ColumnCount() ? Column(iColumn).iAlignment : 0;
    const Qt::Alignment eHorizontal = iAlignment == 1   ? Qt::AlignRight
                                      : iAlignment == 2 ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
    return eHorizontal | Qt::AlignVCenter;
}
