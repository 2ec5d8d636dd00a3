// The calendar wrapper over a real month calendar: marking the days that have folders, only
// when the month or year on show changes, and passing every change on.
#include "app/CProgramWorld.h"
#include "app/window/CCalendar.h"
#include "app/window/CFileInfo.h"
#include "platform/controls/CMonthCalendar.h"
#include "platform/shell/CFileIcons.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Calendar : public ::testing::Test {
protected:
    Calendar() {
        m_oCalendar.SetDailyPath(m_oWorld.DailyPath());
        m_oCalendar.SetCalendar(&m_oControl);
        m_oCalendar.DateChange = [this](const CDateTime& dDate) { m_colChanges.push_back(dDate); };
    }
    void MakeDay(const std::string& sBelowDaily) {
        fs::create_directories(m_oWorld.DailyPath() + "/" + sBelowDaily);
    }
    std::vector<int> Marked() const {
        std::vector<int> colDays;
        for (int iDay = 1; iDay <= 31; ++iDay) {
            if (m_oControl.Highlight(iDay)) {
                colDays.push_back(iDay);
            }
        }
        return colDays;
    }

    CProgramWorld m_oWorld;
    CMonthCalendar m_oControl;
    CCalendar m_oCalendar;
    std::vector<CDateTime> m_colChanges;
};

TEST_F(Calendar, MarksTheShownMonthsDaysWhenTheMonthChanges) {
    MakeDay("1998/March/03");
    MakeDay("1998/March/31");
    MakeDay("1998/April/01");
    m_oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/20", "a file counts as well");
    m_oCalendar.SetValue(CDateTime::FromParts(1998, 3, 10));
    EXPECT_EQ(Marked(), (std::vector<int>{3, 20, 31}));
    ASSERT_EQ(m_colChanges.size(), 1u);

    // Same month: no new look at the folders, but the change is passed on.
    MakeDay("1998/March/11");
    m_oCalendar.SetValue(CDateTime::FromParts(1998, 3, 12));
    EXPECT_EQ(Marked(), (std::vector<int>{3, 20, 31}));
    EXPECT_EQ(m_colChanges.size(), 2u);
    m_oCalendar.RefreshHighlights();
    EXPECT_EQ(Marked(), (std::vector<int>{3, 11, 20, 31}));

    m_oCalendar.SetValue(CDateTime::FromParts(1998, 4, 12));
    EXPECT_EQ(Marked(), (std::vector<int>{1}));
    m_oCalendar.SetValue(CDateTime::FromParts(1999, 4, 12)); // no year folder
    EXPECT_TRUE(Marked().empty());
}

TEST_F(Calendar, TheEmptyDateIsRefusedAndLogged) {
    m_oCalendar.SetValue(CDateTime());
    EXPECT_TRUE(m_colChanges.empty());
    EXPECT_NE(m_oWorld.EventLog().find("CCalendar.Value: Invalid date"), std::string::npos);
}

TEST(FileInfo, IconsOfTheTargetsTypeWithTheArrowOrNothingWithoutAnItem) {
    CFileIcons oIcons;
    CFileInfo oInfo(oIcons);
    EXPECT_TRUE(oInfo.ShellIcon(CFileInfo::LinkOverlay).isNull());
    oInfo.SetItem("/home/ann/Report.txt");
    const QPixmap oLarge = oInfo.ShellIcon(CFileInfo::LinkOverlay);
    const QPixmap oSmall = oInfo.SmallIcon(CFileInfo::LinkOverlay);
    EXPECT_EQ(oLarge.width(), 32);
    EXPECT_EQ(oSmall.width(), 16);
    EXPECT_NE(oLarge.toImage(), oInfo.ShellIcon(0).toImage()); // the arrow is drawn on it
    oInfo.SetItem("/home/ann/Other.txt");
    oInfo.ShellIcon(CFileInfo::LinkOverlay);
    EXPECT_EQ(oIcons.DrawCount(), 1);
    oInfo.SetItem("  ");
    EXPECT_TRUE(oInfo.SmallIcon(CFileInfo::LinkOverlay).isNull());
}

} // namespace
