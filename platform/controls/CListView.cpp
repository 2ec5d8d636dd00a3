#include "platform/controls/CListView.h"

#include "platform/controls/CImageList.h"
#include "platform/controls/CListItemModel.h"
#include "platform/controls/MControlErrors.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <climits>

#include <functional>

namespace {

// One display of the items (the icon and list styles share a QListView, the details style
// has a QTreeView). It tells its control about key presses and mouse buttons after handling
// them itself, so the control's events see the selection the user just made.
template <class TView>
class CDisplay : public TView {
public:
    CDisplay(QWidget* pParent, bool& bKeyboardSelecting)
        : TView(pParent), m_rbKeyboardSelecting(bKeyboardSelecting) {}

    std::function<void(const QAbstractItemView&, const QMouseEvent&)> fMousePress;
    std::function<void(const QAbstractItemView&, const QMouseEvent&)> fMouseRelease;
    std::function<void()> fDoubleClick;
    std::function<void(const QKeyEvent&)> fKeyPress;
    std::function<void()> fFocusOut;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override {
        fKeyPress(*pEvent);
        m_rbKeyboardSelecting = true;
        TView::keyPressEvent(pEvent);
        m_rbKeyboardSelecting = false;
    }
    void focusOutEvent(QFocusEvent* pEvent) override {
        TView::focusOutEvent(pEvent);
        fFocusOut();
    }
    void mousePressEvent(QMouseEvent* pEvent) override {
        fMousePress(*this, *pEvent);
        TView::mousePressEvent(pEvent);
    }
    void mouseReleaseEvent(QMouseEvent* pEvent) override {
        TView::mouseReleaseEvent(pEvent);
        fMouseRelease(*this, *pEvent);
    }
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override {
        TView::mouseDoubleClickEvent(pEvent);
        if (pEvent->button() == Qt::LeftButton) {
            fDoubleClick();
        }
    }

private:
    bool& m_rbKeyboardSelecting;
};

// Draws the items as usual; a cell whose text is cut off (the column or the icon's place is too
// narrow) shows its whole text as a tooltip.
class CWholeTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* pEvent, QAbstractItemView* pView,
                   const QStyleOptionViewItem& oOption, const QModelIndex& oIndex) override {
        if (pEvent == nullptr || pView == nullptr || pEvent->type() != QEvent::ToolTip) {
            return QStyledItemDelegate::helpEvent(pEvent, pView, oOption, oIndex);
        }
        QStyleOptionViewItem oItem(oOption);
        initStyleOption(&oItem, oIndex);
        if (oIndex.isValid() && !oItem.text.isEmpty() && IsCut(*pView, oItem)) {
            QToolTip::showText(pEvent->globalPos(), oItem.text, pView->viewport(), oOption.rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }

private:
    // The text's room as the style draws it: the text rectangle less the margins on both sides,
    // on one line or, where the view wraps, on the lines that fit.
    static bool IsCut(const QAbstractItemView& oView, const QStyleOptionViewItem& oItem) {
        const QStyle* pStyle = oView.style();
        const QRect oRoom = pStyle->subElementRect(QStyle::SE_ItemViewItemText, &oItem, &oView);
        const int iMargin = pStyle->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &oView) + 1;
        const int iWidth = oRoom.width() - 2 * iMargin;
        if (iWidth <= 0) {
            return true;
        }
        if ((oItem.features & QStyleOptionViewItem::WrapText) == 0) {
            return oItem.fontMetrics.horizontalAdvance(oItem.text) > iWidth;
        }
        const QRect oNeeded = oItem.fontMetrics.boundingRect(
            QRect(0, 0, iWidth, INT_MAX / 2), Qt::TextWordWrap | Qt::TextWrapAnywhere, oItem.text);
        return oNeeded.height() > oRoom.height();
    }
};

template <class TView>
void SetUpDisplay(CDisplay<TView>& oDisplay) {
    oDisplay.setItemDelegate(new CWholeTextDelegate(&oDisplay));
    oDisplay.setSelectionMode(QAbstractItemView::SingleSelection);
    oDisplay.setSelectionBehavior(QAbstractItemView::SelectRows);
    oDisplay.setEditTriggers(QAbstractItemView::NoEditTriggers);
    oDisplay.setTextElideMode(Qt::ElideRight);
}

} // namespace

CListView::CListView(QWidget* pParent) : QWidget(pParent), m_pModel(new CListItemModel(this)) {
    auto* pIconView = new CDisplay<QListView>(this, m_bKeyboardSelecting);
    auto* pDetailsView = new CDisplay<QTreeView>(this, m_bKeyboardSelecting);
    m_pIconView = pIconView;
    m_pDetailsView = pDetailsView;
    for (auto* pDisplay : {static_cast<QAbstractItemView*>(pIconView),
                           static_cast<QAbstractItemView*>(pDetailsView)}) {
        pDisplay->setModel(m_pModel);
    }
    // One selection for every style.
    QItemSelectionModel* pOwnSelection = pDetailsView->selectionModel();
    QItemSelectionModel* pShared = pIconView->selectionModel();
    pDetailsView->setSelectionModel(pShared);
    delete pOwnSelection;
    connect(pShared, &QItemSelectionModel::selectionChanged, this,
            &CListView::Display_SelectionChanged);

    const auto fPress = [this](const QAbstractItemView& oView, const QMouseEvent& oEvent) {
        Display_MousePress(oView, oEvent);
    };
    const auto fRelease = [this](const QAbstractItemView& oView, const QMouseEvent& oEvent) {
        Display_MouseRelease(oView, oEvent);
    };
    const auto fDoubleClick = [this] { emit DblClick(); };
    const auto fKeyPress = [this](const QKeyEvent& oEvent) { Display_KeyPress(oEvent); };
    // A key pressed while the list had the focus and released after it lost it was not meant
    // for the list's release.
    const auto fFocusOut = [this] { m_colPressedKeys.clear(); };
    pIconView->fMousePress = fPress;
    pIconView->fMouseRelease = fRelease;
    pIconView->fDoubleClick = fDoubleClick;
    pIconView->fKeyPress = fKeyPress;
    pIconView->fFocusOut = fFocusOut;
    pDetailsView->fMousePress = fPress;
    pDetailsView->fMouseRelease = fRelease;
    pDetailsView->fDoubleClick = fDoubleClick;
    pDetailsView->fKeyPress = fKeyPress;
    pDetailsView->fFocusOut = fFocusOut;
    SetUpDisplay(*pIconView);
    SetUpDisplay(*pDetailsView);

    pDetailsView->setRootIsDecorated(false);
    pDetailsView->setItemsExpandable(false);
    pDetailsView->setUniformRowHeights(true);
    pDetailsView->setAllColumnsShowFocus(true);
    pDetailsView->setSortingEnabled(false);
    pDetailsView->setIconSize(QSize(16, 16));
    QHeaderView* pHeader = pDetailsView->header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionsMovable(false);
    pHeader->setSectionsClickable(true);
    pHeader->setHighlightSections(false);
    pHeader->setMinimumSectionSize(0);
    pHeader->setSectionResizeMode(QHeaderView::Interactive);
    connect(pHeader, &QHeaderView::sectionClicked, this,
            [this](int iLogical) { emit ColumnClick(iLogical + 1); });

    ApplyStyle();
}

CListView::~CListView() = default;

// --- Items ------------------------------------------------------------------------------

namespace {

CListItemModel::SItem& ItemOf(const CListItemModel& oModel, const std::string& sKey) {
    CListItemModel::SItem* pItem = oModel.Find(sKey);
    if (pItem == nullptr) {
        MControlErrors::Raise(MControlErrors::ElementNotFound);
    }
    return *pItem;
}

QString Text(const std::string& sText) {
    return QString::fromStdString(sText);
}

} // namespace

void CListView::AddItem(const std::string& sKey, const std::string& sText, std::int32_t lIcon,
                        std::int32_t lSmallIcon, const std::vector<std::string>& colSubItems) {
    if (sKey.empty()) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    if (m_pModel->Find(sKey) != nullptr) {
        MControlErrors::Raise(MControlErrors::KeyNotUnique);
    }
    auto pItem = std::make_unique<CListItemModel::SItem>();
    pItem->sKey = sKey;
    pItem->sText = Text(sText);
    pItem->lIcon = lIcon;
    pItem->lSmallIcon = lSmallIcon;
    pItem->colSubItems.reserve(colSubItems.size());
    for (const std::string& sSubItem : colSubItems) {
        pItem->colSubItems.push_back(Text(sSubItem));
    }
    m_pModel->Add(std::move(pItem));
}

void CListView::RemoveItem(const std::string& sKey) {
    const CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    QItemSelectionModel& oSelection = *m_pIconView->selectionModel();
    // The displays would hand the selection on to the next item; the user did not choose
    // that one, and a second Remove must not take it too.
    if (oSelection.currentIndex().row() == oItem.iRow) {
        oSelection.clear();
    }
    m_pModel->Remove(oItem);
}

void CListView::ClearItems() {
    m_pModel->Clear();
}

bool CListView::Contains(const std::string& sKey) const {
    return m_pModel->Find(sKey) != nullptr;
}

std::int32_t CListView::Count() const {
    return m_pModel->Count();
}

std::string CListView::KeyAt(std::int32_t lIndex) const {
    if (lIndex < 1 || lIndex > Count()) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
    return m_pModel->At(lIndex - 1).sKey;
}

std::string CListView::ItemText(const std::string& sKey) const {
    return ItemOf(*m_pModel, sKey).sText.toStdString();
}

void CListView::SetItemText(const std::string& sKey, const std::string& sText) {
    CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    oItem.sText = Text(sText);
    m_pModel->ItemChanged(oItem, true);
}

std::string CListView::SubItem(const std::string& sKey, int iIndex) const {
    const CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    if (iIndex < 1) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
    const auto uIndex = static_cast<std::size_t>(iIndex);
    return uIndex <= oItem.colSubItems.size() ? oItem.colSubItems[uIndex - 1].toStdString()
                                              : std::string();
}

void CListView::SetSubItem(const std::string& sKey, int iIndex, const std::string& sText) {
    CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    if (iIndex < 1) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
    const auto uIndex = static_cast<std::size_t>(iIndex);
    if (oItem.colSubItems.size() < uIndex) {
        oItem.colSubItems.resize(uIndex);
    }
    oItem.colSubItems[uIndex - 1] = Text(sText);
    m_pModel->ItemChanged(oItem, true);
}

std::int32_t CListView::ItemIcon(const std::string& sKey) const {
    return ItemOf(*m_pModel, sKey).lIcon;
}

std::int32_t CListView::ItemSmallIcon(const std::string& sKey) const {
    return ItemOf(*m_pModel, sKey).lSmallIcon;
}

void CListView::SetItemIcons(const std::string& sKey, std::int32_t lIcon, std::int32_t lSmallIcon) {
    CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    oItem.lIcon = lIcon;
    oItem.lSmallIcon = lSmallIcon;
    m_pModel->ItemChanged(oItem, false);
}

std::int32_t CListView::ItemLeft(const std::string& sKey) const {
    const QAbstractItemView* pView = ActiveView();
    const QRect oRect = pView->visualRect(m_pModel->index(ItemOf(*m_pModel, sKey).iRow, 0));
    return MTwips::FromPixels(pView->viewport()->mapTo(this, oRect.topLeft()).x());
}

std::int32_t CListView::ItemTop(const std::string& sKey) const {
    const QAbstractItemView* pView = ActiveView();
    const QRect oRect = pView->visualRect(m_pModel->index(ItemOf(*m_pModel, sKey).iRow, 0));
    return MTwips::FromPixels(pView->viewport()->mapTo(this, oRect.topLeft()).y());
}

void CListView::SetGreyedItems(std::function<bool(const std::string&)> fnGreyed) {
    m_pModel->SetGreyedItems(std::move(fnGreyed));
}

void CListView::RepaintGreyed() {
    m_pModel->RepaintGreyed();
}

bool CListView::ItemGreyed(const std::string& sKey) const {
    const CListItemModel::SItem& oItem = ItemOf(*m_pModel, sKey);
    return m_pModel->data(m_pModel->index(oItem.iRow, 0), Qt::ForegroundRole).isValid();
}

// --- Selection --------------------------------------------------------------------------

std::string CListView::SelectedKey() const {
    const QModelIndexList colSelected = m_pIconView->selectionModel()->selectedIndexes();
    return colSelected.isEmpty() ? std::string() : m_pModel->At(colSelected.first().row()).sKey;
}

void CListView::SetSelectedKey(const std::string& sKey) {
    const QModelIndex oIndex = m_pModel->index(ItemOf(*m_pModel, sKey).iRow, 0);
    m_pIconView->selectionModel()->setCurrentIndex(oIndex, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    ActiveView()->scrollTo(oIndex);
}

void CListView::ClearSelection() {
    m_pIconView->selectionModel()->clear();
}

// --- Image lists ------------------------------------------------------------------------

CImageList* CListView::Icons() const {
    return m_pIcons;
}

void CListView::SetIcons(CImageList* pIcons) {
    m_pIcons = pIcons;
    ApplyImageLists();
}

CImageList* CListView::SmallIcons() const {
    return m_pSmallIcons;
}

void CListView::SetSmallIcons(CImageList* pSmallIcons) {
    m_pSmallIcons = pSmallIcons;
    ApplyImageLists();
}

// --- Style, sorting, arrangement --------------------------------------------------------

void CListView::SetView(int iView) {
    if (iView < StyleLargeIcons || iView > StyleDetails) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    if (iView != m_iView) {
        m_iView = iView;
        ApplyStyle();
    }
}

void CListView::SetSortKey(int iSortKey) {
    if (iSortKey < 0) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    m_iSortKey = iSortKey;
    ApplySorting();
}

void CListView::SetSortOrder(int iSortOrder) {
    if (iSortOrder != Ascending && iSortOrder != Descending) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    m_iSortOrder = iSortOrder;
    ApplySorting();
}

void CListView::SetSorted(bool bSorted) {
    m_bSorted = bSorted;
    ApplySorting();
}

void CListView::SetArrange(int iArrange) {
    if (iArrange < ArrangeNone || iArrange > ArrangeTop) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    if (iArrange != m_iArrange) {
        m_iArrange = iArrange;
        ApplyStyle();
    }
}

// --- Column headers ---------------------------------------------------------------------

int CListView::AddColumnHeader(const std::string& sCaption, int iAlignment, std::int32_t lWidth) {
    const int iIndex = ColumnHeaderCount() + 1;
    if (iAlignment < ColumnLeft || iAlignment > ColumnCenter ||
        (iIndex == 1 && iAlignment != ColumnLeft) || lWidth < 0) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    m_pModel->AddColumn({Text(sCaption), iAlignment});
    m_colWidths.push_back({lWidth, MTwips::ToPixels(lWidth)});
    m_pDetailsView->header()->resizeSection(iIndex - 1, MTwips::ToPixels(lWidth));
    return iIndex;
}

int CListView::ColumnHeaderCount() const {
    return m_pModel->ColumnCount();
}

std::string CListView::ColumnCaption(int iIndex) const {
    CheckColumn(iIndex);
    return m_pModel->Column(iIndex - 1).sCaption.toStdString();
}

void CListView::SetColumnCaption(int iIndex, const std::string& sCaption) {
    CheckColumn(iIndex);
    CListItemModel::SColumn oColumn = m_pModel->Column(iIndex - 1);
    oColumn.sCaption = Text(sCaption);
    m_pModel->SetColumn(iIndex - 1, oColumn);
}

int CListView::ColumnAlignment(int iIndex) const {
    CheckColumn(iIndex);
    return m_pModel->Column(iIndex - 1).iAlignment;
}

void CListView::SetColumnAlignment(int iIndex, int iAlignment) {
    CheckColumn(iIndex);
    if (iAlignment < ColumnLeft || iAlignment > ColumnCenter ||
        (iIndex == 1 && iAlignment != ColumnLeft)) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    CListItemModel::SColumn oColumn = m_pModel->Column(iIndex - 1);
    oColumn.iAlignment = iAlignment;
    m_pModel->SetColumn(iIndex - 1, oColumn);
}

std::int32_t CListView::ColumnWidth(int iIndex) const {
    CheckColumn(iIndex);
    const SColumnWidth& oWidth = m_colWidths[static_cast<std::size_t>(iIndex - 1)];
    const int iPixels = m_pDetailsView->header()->sectionSize(iIndex - 1);
    // The width as set survives the rounding to pixels, so that a stored width reads back
    // unchanged and does not creep at every save.
    return iPixels == oWidth.iPixels ? oWidth.lTwips : MTwips::FromPixels(iPixels);
}

void CListView::SetColumnWidth(int iIndex, std::int32_t lWidth) {
    CheckColumn(iIndex);
    if (lWidth < 0) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    m_colWidths[static_cast<std::size_t>(iIndex - 1)] = {lWidth, MTwips::ToPixels(lWidth)};
    m_pDetailsView->header()->resizeSection(iIndex - 1, MTwips::ToPixels(lWidth));
}

void CListView::CheckColumn(int iIndex) const {
    if (iIndex < 1 || iIndex > ColumnHeaderCount()) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
}

// --- Position and size ------------------------------------------------------------------

std::int32_t CListView::Left() const {
    return MTwips::Left(*this);
}
std::int32_t CListView::Top() const {
    return MTwips::Top(*this);
}
std::int32_t CListView::Width() const {
    return MTwips::Width(*this);
}
std::int32_t CListView::Height() const {
    return MTwips::Height(*this);
}

void CListView::Move(std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth,
                     std::int32_t lHeight) {
    MTwips::Move(*this, lLeft, lTop, lWidth, lHeight);
}

// --- Displays ---------------------------------------------------------------------------

QAbstractItemView* CListView::ActiveView() const {
    if (m_iView == StyleDetails) {
        return m_pDetailsView;
    }
    return m_pIconView;
}

void CListView::ApplyStyle() {
    const bool bHadFocus = hasFocus() || isAncestorOf(QApplication::focusWidget());
    QListView& oIcons = *m_pIconView;
    const bool bArranged = m_iArrange != ArrangeNone;
    switch (m_iView) {
    case StyleLargeIcons: {
        const int iLine = oIcons.fontMetrics().height();
        oIcons.setViewMode(QListView::IconMode);
        oIcons.setFlow(m_iArrange == ArrangeLeft ? QListView::TopToBottom : QListView::LeftToRight);
        oIcons.setIconSize(QSize(32, 32));
        oIcons.setGridSize(QSize(std::max(96, 7 * iLine), 32 + 3 * iLine + 6));
        oIcons.setWordWrap(true);
        oIcons.setMovement(bArranged ? QListView::Static : QListView::Free);
        break;
    }
    case StyleSmallIcons:
        oIcons.setViewMode(QListView::ListMode);
        oIcons.setFlow(m_iArrange == ArrangeLeft ? QListView::TopToBottom : QListView::LeftToRight);
        oIcons.setIconSize(QSize(16, 16));
        oIcons.setGridSize(QSize());
        oIcons.setWordWrap(false);
        oIcons.setMovement(QListView::Static);
        break;
    default: // List, and the details style's hidden icon display
        oIcons.setViewMode(QListView::ListMode);
        oIcons.setFlow(QListView::TopToBottom);
        oIcons.setIconSize(QSize(16, 16));
        oIcons.setGridSize(QSize());
        oIcons.setWordWrap(false);
        oIcons.setMovement(QListView::Static);
        break;
    }
    oIcons.setWrapping(true);
    oIcons.setResizeMode(QListView::Adjust);
    oIcons.setSpacing(m_iView == StyleLargeIcons ? 0 : 2);

    QAbstractItemView* pActive = ActiveView();
    QAbstractItemView* pHidden = pActive == m_pIconView
                                     ? static_cast<QAbstractItemView*>(m_pDetailsView)
                                     : static_cast<QAbstractItemView*>(m_pIconView);
    ApplyImageLists();
    pActive->setGeometry(rect());
    pActive->show();
    pHidden->hide();
    setFocusProxy(pActive);
    if (bHadFocus) {
        pActive->setFocus();
    }
    const QModelIndex oCurrent = pActive->selectionModel()->currentIndex();
    if (oCurrent.isValid()) {
        pActive->scrollTo(oCurrent);
    }
}

void CListView::ApplyImageLists() {
    // One list may serve as both; each attached list is listened to once.
    for (const QMetaObject::Connection& oConnection : m_colImageListConnections) {
        disconnect(oConnection);
    }
    m_colImageListConnections.clear();
    const auto fListen = [this](CImageList* pImages) {
        m_colImageListConnections.push_back(
            connect(pImages, &CImageList::Changed, this, [this] { m_pModel->ImagesChanged(); }));
    };
    if (m_pIcons != nullptr) {
        fListen(m_pIcons);
    }
    if (m_pSmallIcons != nullptr && m_pSmallIcons != m_pIcons) {
        fListen(m_pSmallIcons);
    }
    m_pModel->SetImageLists(m_pIcons, m_pSmallIcons, m_iView == StyleLargeIcons);
}

void CListView::ApplySorting() {
    m_pModel->SetSorting(m_iSortKey, m_iSortOrder, m_bSorted);
}

void CListView::Display_SelectionChanged() {
    if (m_bKeyboardSelecting) {
        const std::string sKey = SelectedKey();
        if (!sKey.empty()) {
            emit ItemClick(sKey);
        }
    }
}

void CListView::Display_MousePress(const QAbstractItemView& oView, const QMouseEvent& oEvent) {
    const QModelIndex oIndex = oView.indexAt(oEvent.position().toPoint());
    m_sPressedKey = oIndex.isValid() ? m_pModel->At(oIndex.row()).sKey : std::string();
}

void CListView::Display_MouseRelease(const QAbstractItemView& oView, const QMouseEvent& oEvent) {
    const int iButton = MInputCodes::Button(oEvent.button());
    const QPoint oPoint = oEvent.position().toPoint();
    const QModelIndex oIndex = oView.indexAt(oPoint);
    if ((iButton == MInputCodes::LeftButton || iButton == MInputCodes::RightButton) &&
        oIndex.isValid() && m_pModel->At(oIndex.row()).sKey == m_sPressedKey) {
        emit ItemClick(m_sPressedKey);
    }
    m_sPressedKey.clear();
    if (iButton != 0) {
        const QPoint oInControl = oView.viewport()->mapTo(this, oPoint);
        emit MouseUp(iButton, MInputCodes::ShiftState(oEvent.modifiers()),
                     MTwips::FromPixels(oInControl.x()), MTwips::FromPixels(oInControl.y()));
    }
}

void CListView::Display_KeyPress(const QKeyEvent& oEvent) {
    if (!oEvent.isAutoRepeat() && std::find(m_colPressedKeys.begin(), m_colPressedKeys.end(),
                                            oEvent.key()) == m_colPressedKeys.end()) {
        m_colPressedKeys.push_back(oEvent.key());
    }
}

void CListView::keyReleaseEvent(QKeyEvent* pEvent) {
    // Only the release of a key pressed here: a dialog that Enter's press closed leaves the
    // release to the list, which must not act on it again.
    const auto itPressed =
        std::find(m_colPressedKeys.begin(), m_colPressedKeys.end(), pEvent->key());
    if (pEvent->isAutoRepeat() || itPressed == m_colPressedKeys.end()) {
        pEvent->ignore();
        return;
    }
    m_colPressedKeys.erase(itPressed);
    emit KeyUp(MInputCodes::KeyCode(pEvent->key()), MInputCodes::ShiftState(pEvent->modifiers()));
    pEvent->accept();
}

void CListView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    m_pIconView->setGeometry(rect());
    m_pDetailsView->setGeometry(rect());
}
