#include "platform/controls/CYearGrid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// A year from Thursday, January 1, 2026, with counts on a few days.
class YearGrid : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::int32_t> vCounts(365, 0);
        vCounts[0] = 1;   // Thursday, January 1
        vCounts[4] = 8;   // Monday, January 5
        vCounts[40] = 2;  // Tuesday, February 10
        vCounts[364] = 4; // Thursday, December 31
        m_oGrid.SetDays(QDate(2026, 1, 1), vCounts);
        m_oGrid.resize(m_oGrid.sizeHint());
        m_oGrid.show();
    }
    CYearGrid m_oGrid;
};

TEST_F(YearGrid, WeeksAreColumnsFromMondayAndEveryCellIsFoundAgainByItsPoint) {
    EXPECT_EQ(m_oGrid.LastDay(), QDate(2026, 12, 31));
    const QRect oThursday = m_oGrid.CellRect(QDate(2026, 1, 1));
    const QRect oSunday = m_oGrid.CellRect(QDate(2026, 1, 4));
    const QRect oMonday = m_oGrid.CellRect(QDate(2026, 1, 5));
    EXPECT_EQ(oThursday.x(), oSunday.x()) << "one week, one column";
    EXPECT_GT(oSunday.y(), oThursday.y()) << "Sunday at the bottom";
    EXPECT_GT(oMonday.x(), oSunday.x()) << "Monday starts the next column";
    EXPECT_LT(oMonday.y(), oThursday.y()) << "Monday at the top";
    EXPECT_TRUE(m_oGrid.CellRect(QDate(2025, 12, 31)).isEmpty()) << "before the span";
    EXPECT_TRUE(m_oGrid.CellRect(QDate(2027, 1, 1)).isEmpty()) << "after the span";
    EXPECT_TRUE(m_oGrid.rect().contains(m_oGrid.CellRect(QDate(2026, 12, 31))))
        << "the last week fits the size the grid asks for";

    for (QDate dDay(2026, 1, 1); dDay <= QDate(2026, 12, 31); dDay = dDay.addDays(1)) {
        ASSERT_EQ(m_oGrid.DayAt(m_oGrid.CellRect(dDay).center()), dDay);
    }
    // Monday to Wednesday of the first week lie before the span: no day there.
    const QPoint oBeforeFirst(oThursday.center().x(), oMonday.center().y());
    EXPECT_FALSE(m_oGrid.DayAt(oBeforeFirst).isValid());
    EXPECT_FALSE(m_oGrid.DayAt(QPoint(0, 0)).isValid());
    EXPECT_FALSE(m_oGrid.DayAt(oMonday.bottomRight() + QPoint(1, 1)).isValid()) << "between cells";
}

TEST_F(YearGrid, ShadesGrowWithTheCountUpToTheLargest) {
    EXPECT_EQ(m_oGrid.Maximum(), 8);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 2)), 0);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 1)), 1) << "the smallest count still shows";
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 2, 10)), 1);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 12, 31)), 2);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 5)), CYearGrid::Levels - 1);
    EXPECT_EQ(m_oGrid.Count(QDate(2027, 1, 5)), 0);

    // Counts far beyond the shades do not overflow them.
    m_oGrid.SetDays(QDate(2026, 1, 1), {2147483647, 1, 0});
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 1)), CYearGrid::Levels - 1);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 2)), 1);
    EXPECT_EQ(m_oGrid.Level(QDate(2026, 1, 3)), 0);
}

TEST_F(YearGrid, TheTooltipTellsTheCountAndAClickTellsTheDay) {
    EXPECT_EQ(CYearGrid::ToolTipText(QDate(2026, 12, 7), 3),
              "3 documents on Monday, December 7, 2026");
    EXPECT_EQ(CYearGrid::ToolTipText(QDate(2026, 12, 8), 1),
              "1 document on Tuesday, December 8, 2026");
    EXPECT_EQ(CYearGrid::ToolTipText(QDate(2026, 12, 9), 0),
              "No documents on Wednesday, December 9, 2026");

    // The tooltip of the cell under the pointer, none between cells.
    const QPoint oCell = m_oGrid.CellRect(QDate(2026, 1, 5)).center();
    QHelpEvent oHelp(QEvent::ToolTip, oCell, m_oGrid.mapToGlobal(oCell));
    QApplication::sendEvent(&m_oGrid, &oHelp);
    EXPECT_EQ(QToolTip::text(), "8 documents on Monday, January 5, 2026");
    QHelpEvent oBetween(QEvent::ToolTip, QPoint(1, 1), m_oGrid.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&m_oGrid, &oBetween);
    EXPECT_FALSE(oBetween.isAccepted()) << "no tooltip between cells";

    QSignalSpy oClicks(&m_oGrid, &CYearGrid::DayClick);
    QTest::mouseClick(&m_oGrid, Qt::LeftButton, {}, m_oGrid.CellRect(QDate(2026, 2, 10)).center());
    QTest::mouseClick(&m_oGrid, Qt::RightButton, {}, m_oGrid.CellRect(QDate(2026, 2, 11)).center());
    QTest::mouseClick(&m_oGrid, Qt::LeftButton, {}, QPoint(1, 1));
    ASSERT_EQ(oClicks.count(), 1) << "only a left click on a cell";
    EXPECT_EQ(oClicks.at(0).at(0).toDate(), QDate(2026, 2, 10));
}

TEST_F(YearGrid, ItsTextsAreTheOwnersInAnyOrder) {
    CYearGrid::STexts oTexts;
    oTexts.sNoDocuments = "%1: none";
    oTexts.sOneDocument = "%1: one";
    oTexts.sDocuments = "%2: %1 of them";
    m_oGrid.SetTexts(oTexts);
    const auto TipOf = [this](const QDate& dDay) {
        const QPoint oCell = m_oGrid.CellRect(dDay).center();
        QHelpEvent oHelp(QEvent::ToolTip, oCell, m_oGrid.mapToGlobal(oCell));
        QApplication::sendEvent(&m_oGrid, &oHelp);
        return QToolTip::text().toStdString();
    };
    EXPECT_EQ(TipOf(QDate(2026, 1, 5)), "Monday, January 5, 2026: 8 of them");
    EXPECT_EQ(TipOf(QDate(2026, 1, 1)), "Thursday, January 1, 2026: one");
    EXPECT_EQ(TipOf(QDate(2026, 1, 2)), "Friday, January 2, 2026: none");
}

} // namespace
