#include "ControlErrors.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CTreeView.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A day tree as the window builds it: root, year, months, days.
class TreeView : public ::testing::Test {
protected:
    void SetUp() override {
        m_oTree.resize(240, 300);
        m_oTree.AddNode("", "K/d/Daily", "Daily", 1);
        m_oTree.AddNode("K/d/Daily", "K/d/Daily/2024", "2024", 2);
        m_oTree.AddNode("K/d/Daily/2024", "K/d/Daily/2024/March", "March", 3);
        m_oTree.AddNode("K/d/Daily/2024/March", "K/d/Daily/2024/March/05", "05", 4);
        m_oTree.AddNode("K/d/Daily/2024/March", "K/d/Daily/2024/March/06", "06", 4);
        m_oTree.AddNode("K/d/Daily/2024", "K/d/Daily/2024/April", "April", 3);
    }
    QTreeWidget& Display() const { return *m_oTree.findChild<QTreeWidget*>(); }
    QPoint CentreOf(const std::string& sKey) const {
        const auto colFound = Display().findItems(QString::fromStdString(m_oTree.NodeText(sKey)),
                                                  Qt::MatchExactly | Qt::MatchRecursive);
        return Display().visualItemRect(colFound.value(0)).center();
    }

    CTreeView m_oTree;
};

TEST_F(TreeView, NodesHangUnderTheirParentKeys) {
    EXPECT_EQ(m_oTree.Count(), 6);
    EXPECT_EQ(m_oTree.RootCount(), 1);
    EXPECT_EQ(m_oTree.RootKey(1), "K/d/Daily");
    EXPECT_EQ(m_oTree.Children("K/d/Daily/2024"), 2);
    EXPECT_EQ(m_oTree.ChildKey("K/d/Daily/2024", 1), "K/d/Daily/2024/March");
    EXPECT_EQ(m_oTree.ChildKey("K/d/Daily/2024", 2), "K/d/Daily/2024/April");
    EXPECT_EQ(m_oTree.Children("K/d/Daily/2024/March/05"), 0);
    EXPECT_EQ(m_oTree.ParentKey("K/d/Daily/2024/March/05"), "K/d/Daily/2024/March");
    EXPECT_EQ(m_oTree.ParentKey("K/d/Daily"), "");
    EXPECT_EQ(m_oTree.NodeText("K/d/Daily/2024/March/06"), "06");
    EXPECT_EQ(m_oTree.NodeImage("K/d/Daily/2024/March"), 3);

    EXPECT_EQ(ErrorOf([&] { m_oTree.AddNode("K/d/Daily/1999", "K/x", "x"); }), 35601)
        << "a parent that is not there";
    EXPECT_FALSE(m_oTree.Contains("K/x"));
    EXPECT_EQ(ErrorOf([&] { m_oTree.AddNode("K/d/Daily", "K/d/Daily/2024", "2024"); }), 35602);
    EXPECT_EQ(ErrorOf([&] { m_oTree.Children("K/d/Daily/2025"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { m_oTree.ChildKey("K/d/Daily/2024", 3); }), 35600);

    // Removing a node takes its whole branch, keys included.
    m_oTree.RemoveNode("K/d/Daily/2024/March");
    EXPECT_FALSE(m_oTree.Contains("K/d/Daily/2024/March/05"));
    EXPECT_EQ(m_oTree.Count(), 3);
    m_oTree.AddNode("K/d/Daily/2024", "K/d/Daily/2024/March", "March", 3);
    EXPECT_EQ(m_oTree.ChildKey("K/d/Daily/2024", 2), "K/d/Daily/2024/March");

    m_oTree.Clear();
    EXPECT_EQ(m_oTree.Count(), 0);
    EXPECT_FALSE(m_oTree.Contains("K/d/Daily"));
    m_oTree.AddNode("", "K/d/Daily", "Daily", 1);
    EXPECT_EQ(m_oTree.Count(), 1) << "a cleared key can be added again";
}

TEST_F(TreeView, SelectionByKeyOpensTheWayToTheNodeAndRaisesNoClick) {
    QSignalSpy oNodeClick(&m_oTree, &CTreeView::NodeClick);
    EXPECT_EQ(m_oTree.SelectedKey(), "");
    m_oTree.SetSelectedKey("K/d/Daily/2024/March/06");
    EXPECT_EQ(m_oTree.SelectedKey(), "K/d/Daily/2024/March/06");
    EXPECT_TRUE(m_oTree.Expanded("K/d/Daily/2024/March"));
    EXPECT_TRUE(m_oTree.Expanded("K/d/Daily"));
    EXPECT_EQ(oNodeClick.count(), 0);

    EXPECT_EQ(ErrorOf([&] { m_oTree.SetSelectedKey("K/d/Daily/2024/March/07"); }), 35601);
    EXPECT_EQ(m_oTree.SelectedKey(), "K/d/Daily/2024/March/06") << "a miss changes nothing";
    m_oTree.ClearSelection();
    EXPECT_EQ(m_oTree.SelectedKey(), "");

    m_oTree.SetSelectedKey("K/d/Daily/2024/March/05");
    m_oTree.RemoveNode("K/d/Daily/2024/March/05");
    EXPECT_EQ(oNodeClick.count(), 0) << "losing the selected node is no click either";
}

TEST_F(TreeView, ClicksAndKeysOnNodesAreNodeClicks) {
    m_oTree.show();
    m_oTree.SetSelectedKey("K/d/Daily/2024/March/05");
    QSignalSpy oNodeClick(&m_oTree, &CTreeView::NodeClick);
    QSignalSpy oMouseUp(&m_oTree, &CTreeView::MouseUp);

    QTest::mouseClick(Display().viewport(), Qt::LeftButton, {},
                      CentreOf("K/d/Daily/2024/March/06"));
    ASSERT_EQ(oNodeClick.count(), 1);
    EXPECT_EQ(oNodeClick[0][0].value<std::string>(), "K/d/Daily/2024/March/06");
    EXPECT_EQ(m_oTree.SelectedKey(), "K/d/Daily/2024/March/06");
    ASSERT_EQ(oMouseUp.count(), 1);
    EXPECT_EQ(oMouseUp[0][0].toInt(), 1);
    EXPECT_EQ(oMouseUp[0][4].value<std::string>(), "K/d/Daily/2024/March/06");

    // The keyboard moves the selection: the day reached counts as clicked.
    QTest::keyClick(&Display(), Qt::Key_Up);
    ASSERT_EQ(oNodeClick.count(), 2);
    EXPECT_EQ(oNodeClick[1][0].value<std::string>(), "K/d/Daily/2024/March/05");

    // A right click names the node under the pointer for its menu, and leaves the
    // selection (and so the day list) alone.
    const QPoint oAt = CentreOf("K/d/Daily/2024/March/06");
    QTest::mouseClick(Display().viewport(), Qt::RightButton, Qt::ControlModifier, oAt);
    EXPECT_EQ(m_oTree.SelectedKey(), "K/d/Daily/2024/March/05");
    EXPECT_EQ(oNodeClick.count(), 2);
    ASSERT_EQ(oMouseUp.count(), 2);
    EXPECT_EQ(oMouseUp[1][0].toInt(), 2);
    EXPECT_EQ(oMouseUp[1][1].toInt(), 2) << "Ctrl";
    const QPoint oInControl = Display().viewport()->mapTo(&m_oTree, oAt);
    EXPECT_EQ(oMouseUp[1][2].toInt(), oInControl.x() * 15);
    EXPECT_EQ(oMouseUp[1][3].toInt(), oInControl.y() * 15);
    EXPECT_EQ(oMouseUp[1][4].value<std::string>(), "K/d/Daily/2024/March/06");

    QTest::mouseClick(Display().viewport(), Qt::RightButton, {}, QPoint(100, 290));
    ASSERT_EQ(oMouseUp.count(), 3);
    EXPECT_EQ(oMouseUp[2][4].value<std::string>(), "") << "below the last node";
}

TEST_F(TreeView, NodeImagesFollowTheImageList) {
    CImageList oImages(16);
    QPixmap oPixmap(16, 16);
    oPixmap.fill(Qt::darkYellow);
    for (int i = 0; i < 3; ++i) {
        oImages.Add(QIcon(oPixmap));
    }
    m_oTree.SetImageList(&oImages);
    const auto fIcon = [&](const std::string& sKey) {
        const auto colFound = Display().findItems(QString::fromStdString(m_oTree.NodeText(sKey)),
                                                  Qt::MatchExactly | Qt::MatchRecursive);
        return colFound.value(0)->icon(0);
    };
    EXPECT_FALSE(fIcon("K/d/Daily/2024/March").isNull());
    EXPECT_TRUE(fIcon("K/d/Daily/2024/March/05").isNull()) << "image 4 is not in the list";
    oImages.Add(QIcon(oPixmap));
    EXPECT_FALSE(fIcon("K/d/Daily/2024/March/05").isNull());
    m_oTree.SetImageList(nullptr);
    EXPECT_TRUE(fIcon("K/d/Daily").isNull());
}

} // namespace
