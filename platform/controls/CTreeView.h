#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <unordered_map>

class CImageList;
class QKeyEvent;
class QMouseEvent;
class QResizeEvent;
class QTreeWidget;
class QTreeWidgetItem;

// A tree of keyed nodes, each with a text and an image from a keyed image list, shown in the
// order they were added under their parent.
//
// Every node has a unique, non-empty, case-sensitive key. An operation on a key that no node
// has raises CRunTimeError 35601 "Element not found"; adding a key twice raises 35602 "Key is
// not unique in collection". Positions are twips.
//
// Events come as signals and only from the user, never from the program's own calls.
class CTreeView : public QWidget {
    Q_OBJECT

public:
    explicit CTreeView(QWidget* pParent = nullptr);
    ~CTreeView() override;

    // --- Nodes --------------------------------------------------------------------------
    // Adds a node as the last child of the node sParentKey, or as the last root node when
    // sParentKey is "". lImage is an index in the image list (0 = none). The parent's key
    // must exist (35601).
    void AddNode(const std::string& sParentKey, const std::string& sKey, const std::string& sText,
                 std::int32_t lImage = 0);
    // Removes the node with all nodes below it.
    void RemoveNode(const std::string& sKey);
    void Clear();
    bool Contains(const std::string& sKey) const;
    std::int32_t Count() const;

    std::string NodeText(const std::string& sKey) const;
    void SetNodeText(const std::string& sKey, const std::string& sText);
    std::int32_t NodeImage(const std::string& sKey) const;
    void SetNodeImage(const std::string& sKey, std::int32_t lImage);
    // The parent's key, or "" for a root node.
    std::string ParentKey(const std::string& sKey) const;
    // The number of direct children, and the key of child lIndex (1-based; 35600 outside).
    std::int32_t Children(const std::string& sKey) const;
    std::string ChildKey(const std::string& sKey, std::int32_t lIndex) const;
    // Root nodes: their number and the key of root lIndex (1-based).
    std::int32_t RootCount() const;
    std::string RootKey(std::int32_t lIndex) const;
    bool Expanded(const std::string& sKey) const;
    void SetExpanded(const std::string& sKey, bool bExpanded);

    // --- Selection (one node at most) ---------------------------------------------------
    // The selected node's key, or "" when none is selected.
    std::string SelectedKey() const;
    // Selects the node, opening its ancestors and scrolling it into view. Raises no event.
    void SetSelectedKey(const std::string& sKey);
    void ClearSelection();

    // --- Image list (not owned; nullptr detaches) ---------------------------------------
    CImageList* ImageList() const;
    void SetImageList(CImageList* pImageList);

    // --- Position and size in the parent, in twips --------------------------------------
    std::int32_t Left() const;
    std::int32_t Top() const;
    std::int32_t Width() const;
    std::int32_t Height() const;
    void Move(std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth, std::int32_t lHeight);

signals:
    // The user clicked a node with the left button, or moved the selection to it with the
    // keyboard.
    void NodeClick(const std::string& sKey);
    // A mouse button was released over the tree: button (1 left, 2 right, 4 middle), shift
    // state, position in twips from the control's top-left corner, and the key of the node
    // under the pointer ("" over no node). The right button does not move the selection, so
    // the owner can open a menu for the node under the pointer.
    void MouseUp(int iButton, int iShift, std::int32_t lX, std::int32_t lY,
                 const std::string& sNodeKey);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QTreeWidgetItem& NodeOf(const std::string& sKey) const;
    static std::string KeyOf(const QTreeWidgetItem& oNode);
    void ForgetKeys(const QTreeWidgetItem& oNode);
    void ApplyImage(QTreeWidgetItem& oNode) const;
    void ApplyImages();
    void Tree_CurrentChanged(const QTreeWidgetItem* pCurrent);
    void Tree_MouseRelease(const QMouseEvent& oEvent);

    QTreeWidget* m_pTree;
    QPointer<CImageList> m_pImageList;
    std::unordered_map<std::string, QTreeWidgetItem*> m_colNodes;
    // Set while the tree handles a key press: a selection it moves counts as a click.
    bool m_bKeyboardSelecting = false;
};
