// The wait cursor over recording stand-ins of the pointer and the status bar, and what a poll of
// the main window asks of them.
#include "app/core/CPointerDisplay.h"
#include "app/core/CStatusText.h"
#include "app/core/CWaitCursor.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CStatusBar.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Counts pointer requests and shows the latest one held.
class CRecordingPointer : public CPointerDisplay {
public:
    std::int32_t Push(int iPointer) override {
        m_colHeld.emplace_back(++m_lTickets, iPointer);
        ++m_iPushes;
        return m_lTickets;
    }
    void Pop(std::int32_t lTicket) override {
        std::erase_if(m_colHeld, [lTicket](const auto& oHeld) { return oHeld.first == lTicket; });
        ++m_iPops;
    }
    int Current() const { return m_colHeld.empty() ? 0 : m_colHeld.back().second; }

    int m_iPushes = 0;
    int m_iPops = 0;

private:
    std::vector<std::pair<std::int32_t, int>> m_colHeld;
    std::int32_t m_lTickets = 0;
};

class CRecordingStatus : public CStatusText {
public:
    std::string SimpleText() const override { return m_sText; }
    void SetSimpleText(const std::string& sText) override {
        m_sText = sText;
        m_colWritten.push_back(sText);
    }
    std::string m_sText = "3 objects";
    std::vector<std::string> m_colWritten;
};

class WaitCursor : public ::testing::Test {
protected:
    WaitCursor() : m_pOld(CWaitCursor::PointerDisplay()) {
        CWaitCursor::SetPointerDisplay(&m_oPointer);
    }
    ~WaitCursor() override { CWaitCursor::SetPointerDisplay(m_pOld); }

    CPointerDisplay* m_pOld;
    CRecordingPointer m_oPointer;
    CRecordingStatus m_oStatus;
};

TEST_F(WaitCursor, WithoutAMessageOnlyThePointerChanges) {
    {
        CWaitCursor oWait;
        EXPECT_EQ(m_oPointer.Current(), CWaitCursor::HourglassPointer);
    }
    EXPECT_EQ(m_oPointer.Current(), 0);
    EXPECT_EQ(m_oPointer.m_iPushes, 1);
    EXPECT_EQ(m_oPointer.m_iPops, 1);
    EXPECT_TRUE(m_oStatus.m_colWritten.empty());
}

TEST_F(WaitCursor, NestedInstancesRestoreInAnyOrderAndGiveTheTextBack) {
    auto pOuter = std::make_unique<CWaitCursor>();
    pOuter->SetMessage(m_oStatus, "Please wait...");
    auto pInner = std::make_unique<CWaitCursor>();
    EXPECT_EQ(m_oStatus.m_sText, "Please wait...");
    pOuter.reset();
    EXPECT_EQ(m_oStatus.m_sText, "3 objects");
    EXPECT_EQ(m_oPointer.Current(), CWaitCursor::HourglassPointer);
    pInner.reset();
    EXPECT_EQ(m_oPointer.Current(), 0);
}

TEST_F(WaitCursor, APollShowsTheHourglassAndEndsWithTheCount) {
    CWindowWorld oWorld;
    FMain& oMain = oWorld.Load();
    CWaitCursor::SetPointerDisplay(&m_oPointer);
    oWorld.OpenDocument("Report.txt", CDateTime::FromParts(1998, 3, 15, 9, 0, 0));
    oWorld.Tick(CDateTime::FromParts(1998, 3, 15, 10, 0, 0));
    EXPECT_GE(m_oPointer.m_iPushes, 2); // the poll's and the status refresh's
    EXPECT_EQ(m_oPointer.m_iPushes, m_oPointer.m_iPops);
    EXPECT_EQ(m_oPointer.Current(), 0);
    EXPECT_EQ(oMain.sbrMain()->SimpleText(), "0 objects");
}

} // namespace
