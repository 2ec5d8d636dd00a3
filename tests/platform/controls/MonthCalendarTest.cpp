#include "ControlErrors.h"
#include "platform/controls/CMonthCalendar.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

CDateTime Day(int iYear, int iMonth, int iDay) {
    return CDateTime::FromParts(iYear, iMonth, iDay);
}

class MonthCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        m_oCalendar.resize(260, 200);
        m_oCalendar.show();
        QObject::connect(
            &m_oCalendar, &CMonthCalendar::DateChange,
            [this](CDateTime dOld, CDateTime dNew) { m_colChanges.emplace_back(dOld, dNew); });
        QObject::connect(&m_oCalendar, &CMonthCalendar::WillChangeDate,
                         [this](CDateTime dOld, CDateTime dNew, bool& bCancel) {
                             m_colAsked.emplace_back(dOld, dNew);
                             bCancel = m_bRefuse;
                         });
    }
    QCalendarWidget& Widget() const { return *m_oCalendar.findChild<QCalendarWidget*>(); }
    QTableView& Days() const {
        return *m_oCalendar.findChild<QTableView*>("qt_calendar_calendarview");
    }
    // Clicks day iDay of the month on show.
    void ClickDay(int iDay) {
        const QAbstractItemModel& oModel = *Days().model();
        for (int iRow = 1; iRow < oModel.rowCount(); ++iRow) {
            for (int iColumn = 0; iColumn < oModel.columnCount(); ++iColumn) {
                const QModelIndex oCell = oModel.index(iRow, iColumn);
                // Day numbers of the neighbouring months repeat in the first and last rows.
                const bool bEdge = (iRow == 1 && iDay > 20) || (iRow >= 5 && iDay < 10);
                if (!bEdge && oModel.data(oCell).toInt() == iDay) {
                    QTest::mouseClick(Days().viewport(), Qt::LeftButton, {},
                                      Days().visualRect(oCell).center());
                    return;
                }
            }
        }
        ADD_FAILURE() << "no cell for day " << iDay;
    }
    bool Bold(const CDateTime& dDay) const {
        return Widget().dateTextFormat(QDate(dDay.Year(), dDay.Month(), dDay.Day())).fontWeight() ==
               QFont::Bold;
    }

    CMonthCalendar m_oCalendar;
    std::vector<std::pair<CDateTime, CDateTime>> m_colChanges;
    std::vector<std::pair<CDateTime, CDateTime>> m_colAsked;
    bool m_bRefuse = false;
};

using Change = std::pair<CDateTime, CDateTime>;

TEST_F(MonthCalendar, TheProgramSettingTheDateRaisesDateChangeFromTheFirstDateOn) {
    EXPECT_TRUE(m_oCalendar.Value().IsEmpty()) << "no date until one is set";
    m_oCalendar.SetValue(CDateTime::FromParts(2024, 3, 6, 14, 30));
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 3, 6)) << "the day, without its time";
    ASSERT_EQ(m_colChanges.size(), 1U) << "even when the first date is today's";
    EXPECT_EQ(m_colChanges[0], Change(CDateTime(), Day(2024, 3, 6)));
    EXPECT_TRUE(m_colAsked.empty()) << "the program's own change is not put to a vote";
    EXPECT_EQ(m_oCalendar.ShownMonth(), 3);
    EXPECT_EQ(m_oCalendar.ShownYear(), 2024);
    EXPECT_EQ(Widget().selectedDate(), QDate(2024, 3, 6));

    m_oCalendar.SetValue(Day(2024, 3, 6));
    EXPECT_EQ(m_colChanges.size(), 1U) << "the same day again is no change";
    m_oCalendar.SetValue(Day(2023, 12, 25));
    ASSERT_EQ(m_colChanges.size(), 2U);
    EXPECT_EQ(m_colChanges[1], Change(Day(2024, 3, 6), Day(2023, 12, 25)));

    // The empty date (a day node whose path names no day) is refused, not shown as 1899.
    EXPECT_EQ(ErrorOf([&] { m_oCalendar.SetValue(CDateTime()); }), 380);
    EXPECT_EQ(m_oCalendar.Value(), Day(2023, 12, 25));
    EXPECT_EQ(m_oCalendar.ShownYear(), 2023);
}

TEST_F(MonthCalendar, AUserPickIsAskedAboutThenAnnounced) {
    m_oCalendar.SetValue(Day(2024, 3, 6));
    m_colChanges.clear();

    ClickDay(20);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 3, 20));
    ASSERT_EQ(m_colAsked.size(), 1U);
    EXPECT_EQ(m_colAsked[0], Change(Day(2024, 3, 6), Day(2024, 3, 20)));
    ASSERT_EQ(m_colChanges.size(), 1U);
    EXPECT_EQ(m_colChanges[0], Change(Day(2024, 3, 6), Day(2024, 3, 20)));

    QTest::keyClick(&Days(), Qt::Key_Right);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 3, 21));
    EXPECT_EQ(m_colChanges.size(), 2U);

    m_bRefuse = true;
    ClickDay(25);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 3, 21));
    EXPECT_EQ(Widget().selectedDate(), QDate(2024, 3, 21)) << "the calendar shows the kept date";
    EXPECT_EQ(m_colChanges.size(), 2U);
    EXPECT_EQ(m_colAsked.size(), 3U);
}

TEST_F(MonthCalendar, PagingMovesToTheSameDayOrTheLastDayOfAShorterMonth) {
    m_oCalendar.SetValue(Day(2024, 1, 31));
    m_colChanges.clear();
    QToolButton* pNext = m_oCalendar.findChild<QToolButton*>("qt_calendar_nextmonth");
    ASSERT_NE(pNext, nullptr);

    QTest::mouseClick(pNext, Qt::LeftButton);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 2, 29));
    EXPECT_EQ(m_oCalendar.ShownMonth(), 2);
    ASSERT_EQ(m_colChanges.size(), 1U);
    EXPECT_EQ(m_colChanges[0], Change(Day(2024, 1, 31), Day(2024, 2, 29)));
    EXPECT_EQ(m_colAsked.size(), 1U);

    QTest::keyClick(&Days(), Qt::Key_PageUp);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 1, 29));

    m_bRefuse = true;
    QTest::mouseClick(pNext, Qt::LeftButton);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 1, 29));
    EXPECT_EQ(m_oCalendar.ShownMonth(), 1) << "a refused page goes back";
}

// Whether a click on the month name opens its menu of months (closed again at once).
bool OpensAMenu(QToolButton& oButton) {
    bool bShown = false;
    QTimer::singleShot(0, [&bShown] {
        if (QWidget* pPopup = QApplication::activePopupWidget()) {
            bShown = true;
            pPopup->close();
        }
    });
    QTest::mouseClick(&oButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    return bShown;
}

TEST_F(MonthCalendar, TheMonthNameAndTheYearOfTheTitleAreReadOnly) {
    m_oCalendar.SetValue(Day(2024, 3, 15));
    m_colChanges.clear();
    auto* pMonth = m_oCalendar.findChild<QToolButton*>("qt_calendar_monthbutton");
    auto* pYear = m_oCalendar.findChild<QToolButton*>("qt_calendar_yearbutton");
    auto* pYearEdit = m_oCalendar.findChild<QSpinBox*>("qt_calendar_yearedit");
    ASSERT_NE(pMonth, nullptr);
    ASSERT_NE(pYear, nullptr);
    ASSERT_NE(pYearEdit, nullptr);
    EXPECT_TRUE(m_oCalendar.MonthReadOnly());
    EXPECT_TRUE(m_oCalendar.YearReadOnly());

    // The month name opens no menu of months, the year turns into no spin box.
    EXPECT_FALSE(OpensAMenu(*pMonth));
    QTest::mouseClick(pYear, Qt::LeftButton);
    EXPECT_FALSE(pYearEdit->isVisible());
    QTest::keyClick(pYear, Qt::Key_Space);
    EXPECT_FALSE(pYearEdit->isVisible());
    EXPECT_TRUE(m_colChanges.empty());
    // The arrows still page.
    QTest::mouseClick(m_oCalendar.findChild<QToolButton*>("qt_calendar_nextmonth"), Qt::LeftButton);
    EXPECT_EQ(m_oCalendar.Value(), Day(2024, 4, 15));

    // Made editable, both work again.
    m_oCalendar.SetMonthReadOnly(false);
    m_oCalendar.SetYearReadOnly(false);
    EXPECT_TRUE(OpensAMenu(*pMonth));
    QTest::mouseClick(pYear, Qt::LeftButton);
    EXPECT_TRUE(pYearEdit->isVisible());
}

TEST_F(MonthCalendar, HighlightedDaysOfTheShownMonthAreDrawnBold) {
    m_oCalendar.SetValue(Day(2024, 2, 10));
    m_oCalendar.SetHighlight(5, true);
    m_oCalendar.SetHighlight(31, true);
    EXPECT_TRUE(Bold(Day(2024, 2, 5)));
    EXPECT_FALSE(Bold(Day(2024, 2, 6)));
    EXPECT_FALSE(Bold(Day(2024, 3, 2))) << "31 February does not spill into March";
    EXPECT_NE(Widget().dateTextFormat(QDate(2024, 2, 5)).background().style(), Qt::NoBrush)
        << "marked beyond the weight of the digits";
    EXPECT_TRUE(m_oCalendar.Highlight(31));
    EXPECT_EQ(ErrorOf([&] { m_oCalendar.SetHighlight(0, true); }), 380);
    EXPECT_EQ(ErrorOf([&] { m_oCalendar.Highlight(32); }), 380);

    // The flags are the owner's to clear: a new month shows them until the owner does,
    // which it does inside DateChange, before anything is drawn.
    m_oCalendar.SetValue(Day(2024, 3, 10));
    EXPECT_TRUE(Bold(Day(2024, 3, 5)));
    EXPECT_TRUE(Bold(Day(2024, 3, 31)));
    EXPECT_FALSE(Bold(Day(2024, 2, 5)));

    QObject::connect(&m_oCalendar, &CMonthCalendar::DateChange, [this](CDateTime, CDateTime) {
        for (int iDay = 1; iDay <= 31; ++iDay) {
            m_oCalendar.SetHighlight(iDay, iDay == 12);
        }
        m_oCalendar.Refresh();
    });
    m_oCalendar.SetValue(Day(2024, 4, 1));
    EXPECT_TRUE(Bold(Day(2024, 4, 12)));
    EXPECT_FALSE(Bold(Day(2024, 4, 5)));
}

} // namespace
