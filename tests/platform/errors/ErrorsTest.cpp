#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CEventLog.h"
#include "platform/errors/CLogFile.h"
#include "platform/shell/CFixedClock.h"
#include "support/CRecordingPresenter.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class ErrorLogs : public ::testing::Test {
protected:
    CTempFolder m_oTemp;
    CFixedClock m_oClock{CDateTime::FromParts(1998, 3, 15, 14, 2, 10)};
    CRecordingPresenter m_oPresenter;
};

TEST_F(ErrorLogs, LoggedReportAppendsOneLineAndKeepsEarlierLines) {
    const std::string sLog = m_oTemp / "ErrorLog.txt";
    m_oTemp.WriteFile("ErrorLog.txt", "an earlier line\n");
    CErrorReporter oReporter;
    oReporter.SetLogFile(sLog);
    oReporter.SetClock(&m_oClock);
    oReporter.SetPresenter(&m_oPresenter);
    oReporter.SetDescription("53-File not found");
    oReporter.SetNumber(53);
    oReporter.SetFlag(true);
    oReporter.SetSource("CShortcut.File");
    oReporter.Log();

    EXPECT_EQ(CTempFolder::ReadFile(sLog),
              "an earlier line\n1998-03-15 14:02:10\t53\t53-File not found\tCShortcut.File\t\n");
    EXPECT_TRUE(m_oPresenter.Shown().empty()) << "a logged error shows nothing";
}

TEST_F(ErrorLogs, ShownReportReachesThePresenterWithTitleAndStyle) {
    CErrorReporter oReporter;
    oReporter.SetLogFile(m_oTemp / "ErrorLog.txt");
    oReporter.SetClock(&m_oClock);
    oReporter.SetPresenter(&m_oPresenter);
    oReporter.SetStyle(64);
    oReporter.SetDescription("Path not found");
    oReporter.SetNumber(76);
    oReporter.SetMessage("An error occurred checking for new documents.");
    oReporter.SetSource("FMain.PollRecentFolder");
    oReporter.SetTitle("Dayfold");
    oReporter.Show();

    ASSERT_EQ(m_oPresenter.Shown().size(), 1U);
    EXPECT_EQ(m_oPresenter.Shown()[0].sCaption, "Dayfold");
    EXPECT_EQ(m_oPresenter.Shown()[0].iStyle, 64);
    EXPECT_NE(m_oPresenter.Shown()[0].sText.find("An error occurred checking for new documents."),
              std::string::npos);
    EXPECT_NE(CTempFolder::ReadFile(m_oTemp / "ErrorLog.txt").find("FMain.PollRecentFolder"),
              std::string::npos);
}

TEST_F(ErrorLogs, LineBreaksInsideAnEntryStayOnOneLine) {
    CEventLog oLog;
    oLog.SetClock(&m_oClock);
    oLog.OpenLog(m_oTemp / "EventLog.txt", 2);
    oLog.LogEvent("first\r\nsecond", 2);
    oLog.LogEvent("CAssert: Äpfel", 2);
    EXPECT_EQ(CTempFolder::ReadFile(m_oTemp / "EventLog.txt"),
              "1998-03-15 14:02:10\t2\tfirst  second\n1998-03-15 14:02:10\t2\tCAssert: Äpfel\n");
}

TEST_F(ErrorLogs, TabsInsideAFieldKeepTheColumns) {
    CErrorReporter oReporter;
    oReporter.SetLogFile(m_oTemp / "ErrorLog.txt");
    oReporter.SetClock(&m_oClock);
    oReporter.SetNumber(53);
    oReporter.SetDescription("53-File not found: a\tb.txt");
    oReporter.SetSource("CShortcut.File");
    oReporter.SetMessage("tab\there\r\nand a break");
    oReporter.Log();
    CEventLog oEvents;
    oEvents.SetClock(&m_oClock);
    oEvents.OpenLog(m_oTemp / "EventLog.txt", 2);
    oEvents.LogEvent("CAssert.Assert: column\tshift", 2);

    EXPECT_EQ(CTempFolder::ReadFile(m_oTemp / "ErrorLog.txt"),
              "1998-03-15 14:02:10\t53\t53-File not found: a b.txt\tCShortcut.File\t"
              "tab here  and a break\n");
    EXPECT_EQ(CTempFolder::ReadFile(m_oTemp / "EventLog.txt"),
              "1998-03-15 14:02:10\t2\tCAssert.Assert: column shift\n");
}

TEST_F(ErrorLogs, LogPastItsLimitIsRotatedOnce) {
    const std::string sLog = m_oTemp / "ErrorLog.txt";
    CLogFile oLog(sLog, 100);
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(oLog.AppendLine("entry " + std::to_string(i)));
    }
    EXPECT_EQ(CLogFile::RotatedPath(sLog), m_oTemp / "ErrorLog.old.txt");
    EXPECT_LE(std::filesystem::file_size(sLog), 100U + 16U);
    EXPECT_TRUE(std::filesystem::exists(m_oTemp / "ErrorLog.old.txt"));
    EXPECT_NE(CTempFolder::ReadFile(sLog).find("entry 29"), std::string::npos);
}

TEST_F(ErrorLogs, UnwritableOrMissingLogLosesTheEntryOnly) {
    CLogFile oMissingFolder(m_oTemp / "no/such/folder/ErrorLog.txt");
    EXPECT_FALSE(oMissingFolder.AppendLine("lost"));

    // Permissions do not stop root: the read-only log is tried by an unprivileged child.
    const std::string sReadOnly = m_oTemp.WriteFile("ro.txt", "kept\n");
    MUnprivileged::OpenToAll(m_oTemp.Path());
    chmod(sReadOnly.c_str(), 0444);
    EXPECT_EQ(MUnprivileged::Run([&] { return CLogFile(sReadOnly).AppendLine("lost") ? 1 : 0; }),
              0);
    EXPECT_EQ(CTempFolder::ReadFile(sReadOnly), "kept\n");
    CErrorReporter oReporter; // no log file at all
    oReporter.SetNumber(5);
    EXPECT_NO_THROW(oReporter.Log());
}

TEST_F(ErrorLogs, ComponentReportersShareTheProgramSettingsButAreDistinct) {
    CErrorComponent::SetLogFile(m_oTemp / "ErrorLog.txt");
    CErrorComponent::SetClock(&m_oClock);
    auto pFirst = CErrorComponent::NewErrorReporter();
    auto pSecond = CErrorComponent::NewErrorReporter();
    CErrorComponent::Reset();
    EXPECT_NE(pFirst.get(), pSecond.get());
    EXPECT_EQ(pFirst->LogFile(), m_oTemp / "ErrorLog.txt");
    pFirst->SetNumber(32760);
    pFirst->SetSource("qlCommonLibrary.Library.RInstr");
    pFirst->Log();
    EXPECT_NE(CTempFolder::ReadFile(m_oTemp / "ErrorLog.txt").find("1998-03-15 14:02:10\t32760"),
              std::string::npos);
}

} // namespace
