#include "platform/controls/CTreeView.h"

#include "platform/controls/CImageList.h"
#include "platform/controls/MControlErrors.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

#include <functional>

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

// The tree display. The right button neither selects nor starts anything here: the owner
// gets it as MouseUp with the node under the pointer.
class CTreeDisplay : public QTreeWidget {
public:
    CTreeDisplay(QWidget* pParent, bool& bKeyboardSelecting)
        : QTreeWidget(pParent), m_rbKeyboardSelecting(bKeyboardSelecting) {}

    std::function<void(const QMouseEvent&)> fMouseRelease;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override {
        m_rbKeyboardSelecting = true;
        QTreeWidget::keyPressEvent(pEvent);
        m_rbKeyboardSelecting = false;
    }
    void mousePressEvent(QMouseEvent* pEvent) override {
        if (pEvent->button() == Qt::RightButton) {
            pEvent->accept();
            return;
        }
        QTreeWidget::mousePressEvent(pEvent);
    }
    void mouseReleaseEvent(QMouseEvent* pEvent) override {
        if (pEvent->button() != Qt::RightButton) {
            QTreeWidget::mouseReleaseEvent(pEvent);
        }
        fMouseRelease(*pEvent);
    }

private:
    bool& m_rbKeyboardSelecting;
};

QString Text(const std::string& sText) {
    return QString::fromStdString(sText);
}

} // namespace

CTreeView::CTreeView(QWidget* pParent) : QWidget(pParent) {
    auto* pTree = new CTreeDisplay(this, m_bKeyboardSelecting);
    m_pTree = pTree;
    pTree->setColumnCount(1);
    pTree->setHeaderHidden(true);
    pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    pTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pTree->setUniformRowHeights(true);
    pTree->setIconSize(QSize(16, 16));
    pTree->setExpandsOnDoubleClick(true);
    pTree->fMouseRelease = [this](const QMouseEvent& oEvent) { Tree_MouseRelease(oEvent); };
    connect(pTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* pNode, int) {
        if (pNode != nullptr) {
            emit NodeClick(KeyOf(*pNode));
        }
    });
    connect(pTree, &QTreeWidget::currentItemChanged, this,
            [this](const QTreeWidgetItem* pCurrent) { Tree_CurrentChanged(pCurrent); });
    setFocusProxy(pTree);
}

CTreeView::~CTreeView() = default;

// --- Nodes ------------------------------------------------------------------------------

void CTreeView::AddNode(const std::string& sParentKey, const std::string& sKey,
                        const std::string& sText, std::int32_t lImage) {
    if (sKey.empty()) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    QTreeWidgetItem* pParent = sParentKey.empty() ? nullptr : &NodeOf(sParentKey);
    if (m_colNodes.count(sKey) != 0) {
        MControlErrors::Raise(MControlErrors::KeyNotUnique);
    }
    auto* pNode = new QTreeWidgetItem(QStringList(Text(sText)));
    pNode->setData(0, KeyRole, Text(sKey));
    pNode->setData(0, ImageRole, lImage);
    ApplyImage(*pNode);
    if (pParent != nullptr) {
        pParent->addChild(pNode);
    } else {
        m_pTree->addTopLevelItem(pNode);
    }
    m_colNodes.emplace(sKey, pNode);
}

void CTreeView::RemoveNode(const std::string& sKey) {
    QTreeWidgetItem& oNode = NodeOf(sKey);
    ForgetKeys(oNode);
    delete &oNode;
}

void CTreeView::Clear() {
    m_colNodes.clear();
    m_pTree->clear();
}

bool CTreeView::Contains(const std::string& sKey) const {
    return m_colNodes.count(sKey) != 0;
}

std::int32_t CTreeView::Count() const {
    return static_cast<std::int32_t>(m_colNodes.size());
}

std::string CTreeView::NodeText(const std::string& sKey) const {
    return NodeOf(sKey).text(0).toStdString();
}

void CTreeView::SetNodeText(const std::string& sKey, const std::string& sText) {
    NodeOf(sKey).setText(0, Text(sText));
}

std::int32_t CTreeView::NodeImage(const std::string& sKey) const {
    return NodeOf(sKey).data(0, ImageRole).toInt();
}

void CTreeView::SetNodeImage(const std::string& sKey, std::int32_t lImage) {
    QTreeWidgetItem& oNode = NodeOf(sKey);
    oNode.setData(0, ImageRole, lImage);
    ApplyImage(oNode);
}

std::string CTreeView::ParentKey(const std::string& sKey) const {
    const QTreeWidgetItem* pParent = NodeOf(sKey).parent();
    return pParent == nullptr ? std::string() : KeyOf(*pParent);
}

std::int32_t CTreeView::Children(const std::string& sKey) const {
    return NodeOf(sKey).childCount();
}

std::string CTreeView::ChildKey(const std::string& sKey, std::int32_t lIndex) const {
    const QTreeWidgetItem& oNode = NodeOf(sKey);
    if (lIndex < 1 || lIndex > oNode.childCount()) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
    return KeyOf(*oNode.child(lIndex - 1));
}

std::int32_t CTreeView::RootCount() const {
    return m_pTree->topLevelItemCount();
}

std::string CTreeView::RootKey(std::int32_t lIndex) const {
    if (lIndex < 1 || lIndex > RootCount()) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
    return KeyOf(*m_pTree->topLevelItem(lIndex - 1));
}

bool CTreeView::Expanded(const std::string& sKey) const {
    return NodeOf(sKey).isExpanded();
}

void CTreeView::SetExpanded(const std::string& sKey, bool bExpanded) {
    NodeOf(sKey).setExpanded(bExpanded);
}

// --- Selection --------------------------------------------------------------------------

std::string CTreeView::SelectedKey() const {
    const QList<QTreeWidgetItem*> colSelected = m_pTree->selectedItems();
    return colSelected.isEmpty() ? std::string() : KeyOf(*colSelected.first());
}

void CTreeView::SetSelectedKey(const std::string& sKey) {
    QTreeWidgetItem& oNode = NodeOf(sKey);
    for (QTreeWidgetItem* pAncestor = oNode.parent(); pAncestor != nullptr;
         pAncestor = pAncestor->parent()) {
        pAncestor->setExpanded(true);
    }
    m_pTree->setCurrentItem(&oNode);
    oNode.setSelected(true);
    m_pTree->scrollToItem(&oNode);
}

void CTreeView::ClearSelection() {
    m_pTree->clearSelection();
    m_pTree->setCurrentItem(nullptr);
}

// --- Image list -------------------------------------------------------------------------

CImageList* CTreeView::ImageList() const {
    return m_pImageList;
}

void CTreeView::SetImageList(CImageList* pImageList) {
    if (m_pImageList != nullptr) {
        disconnect(m_pImageList, nullptr, this, nullptr);
    }
    m_pImageList = pImageList;
    if (pImageList != nullptr) {
        connect(pImageList, &CImageList::Changed, this, &CTreeView::ApplyImages);
    }
    ApplyImages();
}

void CTreeView::ApplyImage(QTreeWidgetItem& oNode) const {
    const std::int32_t lImage = oNode.data(0, ImageRole).toInt();
    const bool bShown = m_pImageList != nullptr && lImage >= 1 && lImage <= m_pImageList->Count();
    oNode.setIcon(0, bShown ? m_pImageList->Picture(lImage) : QIcon());
}

void CTreeView::ApplyImages() {
    for (const auto& [sKey, pNode] : m_colNodes) {
        ApplyImage(*pNode);
    }
}

// --- Position and size ------------------------------------------------------------------

std::int32_t CTreeView::Left() const {
    return MTwips::Left(*this);
}
std::int32_t CTreeView::Top() const {
    return MTwips::Top(*this);
}
std::int32_t CTreeView::Width() const {
    return MTwips::Width(*this);
}
std::int32_t CTreeView::Height() const {
    return MTwips::Height(*this);
}

void CTreeView::Move(std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth,
                     std::int32_t lHeight) {
    MTwips::Move(*this, lLeft, lTop, lWidth, lHeight);
}

void CTreeView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    m_pTree->setGeometry(rect());
}

// --- Internals --------------------------------------------------------------------------

QTreeWidgetItem& CTreeView::NodeOf(const std::string& sKey) const {
    const auto it = m_colNodes.find(sKey);
    if (it == m_colNodes.end()) {
        MControlErrors::Raise(MControlErrors::ElementNotFound);
    }
    return *it->second;
}

std::string CTreeView::KeyOf(const QTreeWidgetItem& oNode) {
    return oNode.data(0, KeyRole).toString().toStdString();
}

void CTreeView::ForgetKeys(const QTreeWidgetItem& oNode) {
    m_colNodes.erase(KeyOf(oNode));
    for (int i = 0; i < oNode.childCount(); ++i) {
        ForgetKeys(*oNode.child(i));
    }
}

void CTreeView::Tree_CurrentChanged(const QTreeWidgetItem* pCurrent) {
    if (m_bKeyboardSelecting && pCurrent != nullptr) {
        emit NodeClick(KeyOf(*pCurrent));
    }
}

void CTreeView::Tree_MouseRelease(const QMouseEvent& oEvent) {
    const int iButton = MInputCodes::Button(oEvent.button());
    if (iButton == 0) {
        return;
    }
    const QPoint oPoint = oEvent.position().toPoint();
    const QTreeWidgetItem* pNode = m_pTree->itemAt(oPoint);
    const QPoint oInControl = m_pTree->viewport()->mapTo(this, oPoint);
    emit MouseUp(iButton, MInputCodes::ShiftState(oEvent.modifiers()),
                 MTwips::FromPixels(oInControl.x()), MTwips::FromPixels(oInControl.y()),
                 pNode == nullptr ? std::string() : KeyOf(*pNode));
}
