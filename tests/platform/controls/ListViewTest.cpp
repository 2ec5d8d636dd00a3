#include "ControlErrors.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>
#include <set>

namespace {

using Keys = std::vector<std::string>;

// A Favorites-like list: Name, Days Accessed, Last Accessed.
class ListView : public ::testing::Test {
protected:
    void SetUp() override {
        m_oList.resize(480, 320);
        m_oList.AddColumnHeader("Name", CListView::ColumnLeft, 1440);
        m_oList.AddColumnHeader("Days Accessed", CListView::ColumnRight, 1440);
        m_oList.AddColumnHeader("Last Accessed", CListView::ColumnRight, 1440);
    }

    void AddDocument(const std::string& sName, const std::string& sDays, const std::string& sLast) {
        m_oList.AddItem("K/docs/" + sName, sName, 0, 0, {sDays, sLast});
    }
    Keys Order() const {
        Keys colKeys;
        for (std::int32_t l = 1; l <= m_oList.Count(); ++l) {
            colKeys.push_back(m_oList.KeyAt(l));
        }
        return colKeys;
    }
    // The display of the style on show.
    QAbstractItemView& Display() const {
        return *static_cast<QAbstractItemView*>(m_oList.focusProxy());
    }
    QHeaderView& Header() const { return *m_oList.findChild<QTreeView*>()->header(); }
    QPoint CentreOf(const std::string& sKey) const {
        for (int iRow = 0; iRow < m_oList.Count(); ++iRow) {
            if (m_oList.KeyAt(iRow + 1) == sKey) {
                return Display().visualRect(Display().model()->index(iRow, 0)).center();
            }
        }
        return {};
    }

    CListView m_oList;
};

TEST_F(ListView, ItemsAreAddedFoundRemovedAndSelectedByKey) {
    AddDocument("a.txt", "    1", "");
    AddDocument("b.txt", "    2", "2024/01/02 10:00");
    AddDocument("c.txt", "    3", "");

    EXPECT_EQ(m_oList.Count(), 3);
    EXPECT_TRUE(m_oList.Contains("K/docs/b.txt"));
    EXPECT_FALSE(m_oList.Contains("K/docs/B.txt"));
    EXPECT_EQ(m_oList.ItemText("K/docs/b.txt"), "b.txt");
    EXPECT_EQ(m_oList.SubItem("K/docs/b.txt", 2), "2024/01/02 10:00");
    EXPECT_EQ(m_oList.SubItem("K/docs/b.txt", 7), "") << "a sub-item never set reads empty";

    EXPECT_EQ(m_oList.SelectedKey(), "");
    m_oList.SetSelectedKey("K/docs/b.txt");
    EXPECT_EQ(m_oList.SelectedKey(), "K/docs/b.txt");
    m_oList.RemoveItem("K/docs/b.txt");
    EXPECT_EQ(m_oList.SelectedKey(), "") << "the selected item went";
    EXPECT_EQ(Order(), (Keys{"K/docs/a.txt", "K/docs/c.txt"}));

    // A key that no item has is the classic "Element not found", whatever the operation.
    EXPECT_EQ(ErrorOf([&] { m_oList.RemoveItem("K/docs/b.txt"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { m_oList.SetSelectedKey("K/docs/b.txt"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { m_oList.ItemText("K/docs/b.txt"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { m_oList.SetSubItem("K/docs/b.txt", 1, "x"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { m_oList.ItemTop("K/docs/b.txt"); }), 35601);
    EXPECT_EQ(ErrorOf([&] { AddDocument("a.txt", "", ""); }), 35602);
    EXPECT_EQ(ErrorOf([&] { m_oList.AddItem("", "no key"); }), 380);
    EXPECT_EQ(ErrorOf([&] { m_oList.KeyAt(3); }), 35600);
    EXPECT_EQ(m_oList.Count(), 2) << "a refused item is not added";

    m_oList.SetSelectedKey("K/docs/c.txt");
    m_oList.ClearSelection();
    EXPECT_EQ(m_oList.SelectedKey(), "");
    m_oList.ClearItems();
    EXPECT_EQ(m_oList.Count(), 0);
    EXPECT_FALSE(m_oList.Contains("K/docs/a.txt"));
}

TEST_F(ListView, SortsByTextWithoutRegardToCaseSoPaddedCountsAndDatesComeOutRight) {
    AddDocument("banana", "   12", "2024/01/05 09:00");
    AddDocument("Apple", "    3", "2023/12/31 23:59");
    AddDocument("cherry", "  100", "2024/01/05 10:00");
    AddDocument("date", "    7", "2024/01/05 09:30");

    m_oList.SetSortKey(0);
    m_oList.SetSorted(true);
    EXPECT_EQ(Order(), (Keys{"K/docs/Apple", "K/docs/banana", "K/docs/cherry", "K/docs/date"}))
        << "capital letters do not sort first";

    m_oList.SetSortKey(1);
    EXPECT_EQ(Order(), (Keys{"K/docs/Apple", "K/docs/date", "K/docs/banana", "K/docs/cherry"}))
        << "3, 7, 12, 100: blanks pad the counts";
    m_oList.SetSortOrder(CListView::Descending);
    EXPECT_EQ(Order(), (Keys{"K/docs/cherry", "K/docs/banana", "K/docs/date", "K/docs/Apple"}));

    m_oList.SetSortKey(2);
    m_oList.SetSortOrder(CListView::Ascending);
    EXPECT_EQ(Order(), (Keys{"K/docs/Apple", "K/docs/banana", "K/docs/date", "K/docs/cherry"}))
        << "dates in time order across a year end";

    // While sorted, new and changed items take their sorted place at once.
    AddDocument("elder", "    1", "2024/01/01 00:00");
    m_oList.SetSubItem("K/docs/Apple", 2, "2024/02/01 08:00");
    EXPECT_EQ(Order(), (Keys{"K/docs/elder", "K/docs/banana", "K/docs/date", "K/docs/cherry",
                             "K/docs/Apple"}));

    // Switched off, the order stays and new items go to the end.
    m_oList.SetSorted(false);
    AddDocument("aardvark", "    1", "1999/01/01 00:00");
    EXPECT_EQ(m_oList.KeyAt(1), "K/docs/elder");
    EXPECT_EQ(m_oList.KeyAt(6), "K/docs/aardvark");

    // A sort key past the last column sorts every item as empty text: the order stays.
    m_oList.SetSortKey(9);
    m_oList.SetSorted(true);
    EXPECT_EQ(m_oList.KeyAt(6), "K/docs/aardvark");
    EXPECT_EQ(ErrorOf([&] { m_oList.SetSortKey(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { m_oList.SetSortOrder(2); }), 380);
    EXPECT_EQ(m_oList.SortKey(), 9);
    EXPECT_EQ(m_oList.SortOrder(), CListView::Ascending);
}

TEST_F(ListView, StyleSwitchesKeepItemsSelectionAndSort) {
    m_oList.show();
    for (int i = 0; i < 30; ++i) {
        char szDays[8];
        std::snprintf(szDays, sizeof szDays, "%5d", (i * 7) % 31);
        AddDocument("doc" + std::to_string(i), szDays, "");
    }
    m_oList.SetSortKey(1);
    m_oList.SetSortOrder(CListView::Descending);
    m_oList.SetSorted(true);
    m_oList.SetView(CListView::StyleDetails);
    // The user picks an item in the details style.
    QTest::mouseClick(Display().viewport(), Qt::LeftButton, {}, CentreOf("K/docs/doc4"));
    ASSERT_EQ(m_oList.SelectedKey(), "K/docs/doc4");
    const Keys colOrder = Order();

    for (const int iView : {CListView::StyleLargeIcons, CListView::StyleSmallIcons,
                            CListView::StyleList, CListView::StyleDetails}) {
        m_oList.SetView(iView);
        EXPECT_EQ(m_oList.View(), iView);
        EXPECT_EQ(m_oList.Count(), 30);
        EXPECT_EQ(Order(), colOrder) << "style " << iView;
        EXPECT_EQ(m_oList.SelectedKey(), "K/docs/doc4") << "style " << iView;
        EXPECT_TRUE(Display().isVisible());
        EXPECT_TRUE(Display().selectionModel()->isRowSelected(Display().currentIndex().row(),
                                                              QModelIndex()))
            << "the display on show marks the selection, style " << iView;
    }
    EXPECT_TRUE(m_oList.Sorted());
    EXPECT_EQ(m_oList.SortKey(), 1);
    EXPECT_EQ(ErrorOf([&] { m_oList.SetView(4); }), 380);
    EXPECT_EQ(m_oList.View(), CListView::StyleDetails);
}

TEST_F(ListView, ColumnWidthsAreTwipsAndReadBackAsSet) {
    EXPECT_EQ(m_oList.ColumnHeaderCount(), 3);
    EXPECT_EQ(Header().sectionSize(0), 96) << "1440 twips at 15 twips per pixel";
    EXPECT_EQ(m_oList.ColumnWidth(1), 1440);

    m_oList.SetColumnWidth(2, 2000);
    EXPECT_EQ(Header().sectionSize(1), 133);
    EXPECT_EQ(m_oList.ColumnWidth(2), 2000) << "a stored width must not creep at every save";

    Header().resizeSection(2, 150); // the user drags the column's edge
    EXPECT_EQ(m_oList.ColumnWidth(3), 2250);

    m_oList.SetColumnWidth(1, 0);
    EXPECT_EQ(Header().sectionSize(0), 0);
    EXPECT_EQ(ErrorOf([&] { m_oList.SetColumnWidth(1, -5); }), 380);
    EXPECT_EQ(ErrorOf([&] { m_oList.ColumnWidth(0); }), 35600);
    EXPECT_EQ(ErrorOf([&] { m_oList.ColumnWidth(4); }), 35600);

    EXPECT_EQ(m_oList.ColumnCaption(2), "Days Accessed");
    EXPECT_EQ(m_oList.ColumnAlignment(2), CListView::ColumnRight);
    EXPECT_TRUE(Header()
                    .model()
                    ->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole)
                    .value<Qt::Alignment>()
                    .testFlag(Qt::AlignRight));
    EXPECT_EQ(ErrorOf([&] { m_oList.SetColumnAlignment(1, CListView::ColumnRight); }), 380)
        << "the item text's column stays left-aligned";
}

TEST_F(ListView, UserInputBecomesTheEventsTheViewsTranslate) {
    AddDocument("a.txt", "    1", "");
    AddDocument("b.txt", "    2", "");
    m_oList.SetView(CListView::StyleDetails);
    m_oList.move(0, 0);
    m_oList.show();
    QSignalSpy oItemClick(&m_oList, &CListView::ItemClick);
    QSignalSpy oDblClick(&m_oList, &CListView::DblClick);
    QSignalSpy oColumnClick(&m_oList, &CListView::ColumnClick);
    QSignalSpy oKeyUp(&m_oList, &CListView::KeyUp);
    QSignalSpy oMouseUp(&m_oList, &CListView::MouseUp);

    m_oList.SetSelectedKey("K/docs/a.txt");
    EXPECT_EQ(oItemClick.count(), 0) << "the program's own selection is no click";

    QTest::mouseClick(Display().viewport(), Qt::LeftButton, {}, CentreOf("K/docs/b.txt"));
    ASSERT_EQ(oItemClick.count(), 1);
    EXPECT_EQ(oItemClick[0][0].value<std::string>(), "K/docs/b.txt");
    EXPECT_EQ(m_oList.SelectedKey(), "K/docs/b.txt");
    ASSERT_EQ(oMouseUp.count(), 1);
    EXPECT_EQ(oMouseUp[0][0].toInt(), 1);

    // A right click selects the item under the pointer first, then reports where it was,
    // in twips from the control's corner (the details style has its header above).
    const QPoint oAt = CentreOf("K/docs/a.txt");
    QTest::mouseClick(Display().viewport(), Qt::RightButton, Qt::ShiftModifier, oAt);
    EXPECT_EQ(m_oList.SelectedKey(), "K/docs/a.txt");
    ASSERT_EQ(oMouseUp.count(), 2);
    EXPECT_EQ(oMouseUp[1][0].toInt(), 2);
    EXPECT_EQ(oMouseUp[1][1].toInt(), 1) << "Shift";
    const QPoint oInControl = Display().viewport()->mapTo(&m_oList, oAt);
    EXPECT_EQ(oMouseUp[1][2].toInt(), oInControl.x() * 15);
    EXPECT_EQ(oMouseUp[1][3].toInt(), oInControl.y() * 15);
    EXPECT_GT(oInControl.y(), oAt.y());
    EXPECT_EQ(oItemClick.count(), 2) << "a right click on an item is a click on it";

    // Over no item: the mouse event, but no item click.
    QTest::mouseClick(Display().viewport(), Qt::LeftButton, {}, QPoint(200, 250));
    EXPECT_EQ(oItemClick.count(), 2);
    EXPECT_EQ(oMouseUp.count(), 3);

    m_oList.SetSelectedKey("K/docs/a.txt");
    QTest::mouseDClick(Display().viewport(), Qt::LeftButton, {}, CentreOf("K/docs/a.txt"));
    EXPECT_EQ(oDblClick.count(), 1);

    QTest::mouseClick(Header().viewport(), Qt::LeftButton, {},
                      QPoint(Header().sectionViewportPosition(1) + 10, 5));
    ASSERT_EQ(oColumnClick.count(), 1);
    EXPECT_EQ(oColumnClick[0][0].toInt(), 2) << "1-based, as the column headers are";

    oKeyUp.clear();
    QTest::keyClick(&Display(), Qt::Key_Return);
    QTest::keyClick(&Display(), Qt::Key_F10, Qt::AltModifier);
    QTest::keyClick(&Display(), Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_GE(oKeyUp.count(), 3);
    EXPECT_EQ(oKeyUp[0][0].toInt(), 13);
    EXPECT_EQ(oKeyUp[0][1].toInt(), 0);
    EXPECT_EQ(oKeyUp[1][0].toInt(), 121);
    EXPECT_EQ(oKeyUp[1][1].toInt(), 4) << "Alt";
    const auto itShiftCtrl =
        std::find_if(oKeyUp.begin() + 2, oKeyUp.end(),
                     [](const QList<QVariant>& colArgs) { return colArgs[0].toInt() == 121; });
    ASSERT_NE(itShiftCtrl, oKeyUp.end());
    EXPECT_EQ((*itShiftCtrl)[1].toInt(), 3) << "Shift 1 + Ctrl 2";

    // Moving the selection with the keyboard is a click on the item reached.
    oItemClick.clear();
    m_oList.SetSelectedKey("K/docs/a.txt");
    QTest::keyClick(&Display(), Qt::Key_Down);
    EXPECT_EQ(m_oList.SelectedKey(), "K/docs/b.txt");
    ASSERT_EQ(oItemClick.count(), 1);
    EXPECT_EQ(oItemClick[0][0].value<std::string>(), "K/docs/b.txt");
}

TEST_F(ListView, OnlyAKeyWhosePressReachedTheListIsReleasedOnIt) {
    AddDocument("a.txt", "    1", "");
    m_oList.SetView(CListView::StyleDetails);
    m_oList.show();
    m_oList.SetSelectedKey("K/docs/a.txt");
    QSignalSpy oKeyUp(&m_oList, &CListView::KeyUp);
    const auto Send = [this](QEvent::Type eType, bool bAutoRepeat = false) {
        QKeyEvent oEvent(eType, Qt::Key_Return, Qt::NoModifier, QString(), bAutoRepeat);
        QApplication::sendEvent(&Display(), &oEvent);
    };

    // Enter pressed in a dialog, which the press closed: its release lands on the list.
    Send(QEvent::KeyRelease);
    EXPECT_EQ(oKeyUp.count(), 0);

    Send(QEvent::KeyPress);
    Send(QEvent::KeyRelease);
    ASSERT_EQ(oKeyUp.count(), 1);
    EXPECT_EQ(oKeyUp[0][0].toInt(), 13);
    Send(QEvent::KeyRelease);
    EXPECT_EQ(oKeyUp.count(), 1) << "one press, one release";

    // Held down: the repeats raise nothing, the key's last release once.
    Send(QEvent::KeyPress);
    Send(QEvent::KeyRelease, true);
    Send(QEvent::KeyPress, true);
    EXPECT_EQ(oKeyUp.count(), 1);
    Send(QEvent::KeyRelease);
    EXPECT_EQ(oKeyUp.count(), 2);

    // Pressed, then the focus went to another window (a box the press opened): the release
    // there is not the list's.
    Send(QEvent::KeyPress);
    QFocusEvent oFocusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&Display(), &oFocusOut);
    Send(QEvent::KeyRelease);
    EXPECT_EQ(oKeyUp.count(), 2);
}

TEST_F(ListView, ItemPositionsFollowTheStyleOnShow) {
    AddDocument("a.txt", "", "");
    AddDocument("b.txt", "", "");
    m_oList.show();

    m_oList.SetView(CListView::StyleDetails);
    const int iRowHeight = Display().visualRect(Display().model()->index(0, 0)).height();
    EXPECT_EQ(m_oList.ItemLeft("K/docs/a.txt"), m_oList.ItemLeft("K/docs/b.txt"));
    EXPECT_EQ(m_oList.ItemTop("K/docs/b.txt") - m_oList.ItemTop("K/docs/a.txt"), iRowHeight * 15);
    EXPECT_GE(m_oList.ItemTop("K/docs/a.txt"), Header().height() * 15) << "below the header";

    m_oList.SetView(CListView::StyleLargeIcons);
    EXPECT_EQ(m_oList.ItemTop("K/docs/a.txt"), m_oList.ItemTop("K/docs/b.txt"));
    EXPECT_GT(m_oList.ItemLeft("K/docs/b.txt"), m_oList.ItemLeft("K/docs/a.txt"))
        << "large icons fill a row first";
    const QRect oRect = Display().visualRect(Display().model()->index(1, 0));
    EXPECT_EQ(m_oList.ItemLeft("K/docs/b.txt"),
              Display().viewport()->mapTo(&m_oList, oRect.topLeft()).x() * 15);

    m_oList.Move(300, 600, 4500, 3000);
    EXPECT_EQ(m_oList.Left(), 300);
    EXPECT_EQ(m_oList.Top(), 600);
    EXPECT_EQ(m_oList.Width(), 4500);
    EXPECT_EQ(m_oList.Height(), 3000);
}

TEST_F(ListView, ACellCutOffShowsItsWholeTextAsATooltip) {
    const std::string sLong = "A rather long document name that no column of 1440 twips holds.txt";
    AddDocument(sLong, "    3", "2024/01/02 10:00");
    AddDocument("a.txt", "    1", "2024/01/03 11:00");
    m_oList.show();
    // The tooltip that a pause over a point of the display asks for; "" when none shows.
    const auto DropTip = [] {
        // A tip hides only after a delay: the label goes at once, and with it its text.
        for (QWidget* pWindow : QApplication::topLevelWidgets()) {
            if (pWindow->inherits("QTipLabel")) {
                delete pWindow;
            }
        }
    };
    const auto TipAt = [&](const QPoint& oPoint) {
        DropTip();
        QHelpEvent oEvent(QEvent::ToolTip, oPoint, Display().viewport()->mapToGlobal(oPoint));
        QApplication::sendEvent(Display().viewport(), &oEvent);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    const auto Cell = [&](const std::string& sName, int iColumn) {
        const int iRow = Order()[0] == "K/docs/" + sName ? 0 : 1;
        return Display().visualRect(Display().model()->index(iRow, iColumn)).center();
    };

    m_oList.SetView(CListView::StyleDetails);
    EXPECT_EQ(TipAt(Cell(sLong, 0)), sLong);
    EXPECT_EQ(TipAt(Cell("a.txt", 0)), "") << "a whole text needs no tooltip";
    m_oList.SetColumnWidth(3, 600); // the date no longer fits
    EXPECT_EQ(TipAt(Cell("a.txt", 2)), "2024/01/03 11:00");
    m_oList.SetColumnWidth(1, 9000); // the design widths stay; a wide column holds it all
    EXPECT_EQ(TipAt(Cell(sLong, 0)), "");

    m_oList.SetView(CListView::StyleLargeIcons);
    EXPECT_EQ(TipAt(Cell(sLong, 0)), sLong) << "more than the icon's lines hold";
    EXPECT_EQ(TipAt(Cell("a.txt", 0)), "");
    DropTip();
}

TEST_F(ListView, IconsComeFromTheImageListOfTheStyle) {
    CImageList oLarge(32);
    CImageList oSmall(16);
    QPixmap oPixmap(32, 32);
    oPixmap.fill(Qt::gray);
    oLarge.Add(QIcon(oPixmap));
    oSmall.Add(QIcon(oPixmap));
    m_oList.SetIcons(&oLarge);
    m_oList.SetSmallIcons(&oSmall);
    m_oList.AddItem("Ka", "a", 1, 1);
    m_oList.AddItem("Kb", "b", 2, 2); // not in the lists (yet)
    const auto fIcon = [&](int iRow) {
        return Display()
            .model()
            ->data(Display().model()->index(iRow, 0), Qt::DecorationRole)
            .value<QIcon>();
    };

    m_oList.SetView(CListView::StyleLargeIcons);
    ASSERT_FALSE(fIcon(0).isNull());
    EXPECT_EQ(fIcon(0).availableSizes().value(0), QSize(32, 32));
    EXPECT_TRUE(fIcon(1).isNull()) << "an index past the list draws nothing";
    m_oList.SetView(CListView::StyleDetails);
    EXPECT_EQ(fIcon(0).availableSizes().value(0), QSize(16, 16));

    oSmall.Add(QIcon(oPixmap), "Kb");
    EXPECT_FALSE(fIcon(1).isNull()) << "an image added later shows at once";
    m_oList.SetSmallIcons(nullptr);
    EXPECT_EQ(m_oList.SmallIcons(), nullptr);
    EXPECT_TRUE(fIcon(0).isNull());
    EXPECT_EQ(m_oList.ItemSmallIcon("Ka"), 1) << "items keep their indexes while detached";
}

} // namespace

namespace {

TEST_F(ListView, GreyedRowsAreAskedForOnlyWhileOnShowAndDrawnGrey) {
    for (int i = 0; i < 2000; ++i) {
        AddDocument("Doc" + std::to_string(10000 + i) + ".txt", "1", "2026/12/08");
    }
    m_oList.SetView(CListView::StyleDetails);
    std::set<std::string> colAsked;
    m_oList.SetGreyedItems([&](const std::string& sKey) {
        colAsked.insert(sKey);
        return sKey == "K/docs/Doc10001.txt";
    });
    m_oList.show();
    m_oList.grab();
    EXPECT_FALSE(colAsked.empty()) << "drawing asks";
    EXPECT_LT(colAsked.size(), 100u) << "only the rows on show are asked";
    EXPECT_TRUE(colAsked.count("K/docs/Doc10001.txt"));
    EXPECT_FALSE(colAsked.count("K/docs/Doc11999.txt"));

    EXPECT_TRUE(m_oList.ItemGreyed("K/docs/Doc10001.txt"));
    EXPECT_FALSE(m_oList.ItemGreyed("K/docs/Doc10002.txt"));
    const QModelIndex oRow = Display().model()->index(1, 1);
    EXPECT_EQ(Display().model()->data(oRow, Qt::ForegroundRole).value<QBrush>().color(),
              QApplication::palette().color(QPalette::Disabled, QPalette::Text))
        << "every column of the row";
    EXPECT_THROW(m_oList.ItemGreyed("K/none"), CRunTimeError);

    m_oList.SetGreyedItems(nullptr);
    EXPECT_FALSE(m_oList.ItemGreyed("K/docs/Doc10001.txt"));
}

} // namespace
