// The options dialog on real widgets (offscreen), with recorded message boxes, beeps and help.
#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/journal/CPrivateFolders.h"
#include "app/options/COptions.h"
#include "app/options/FOptions.h"
#include "app/resources/help/MHelpPages.h"
#include "platform/registry/CRegistry.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CHelpWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

const char* const RangeMessages[3] = {"The Favorites Threshhold must be 1 or more.",
                                      "The Purge age must be 1 or more.",
                                      "The Timer Interval must be between 1 and 60."};

// A safety net for the tests that run the dialog modally: should the dialog never close, the
// test fails after ten seconds instead of hanging. A passing test never waits for it.
class CWatchdog {
public:
    CWatchdog() {
        m_oTimer.setSingleShot(true);
        QObject::connect(&m_oTimer, &QTimer::timeout, [] {
            ADD_FAILURE() << "the modal dialog did not close";
            if (auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                pDialog->done(QDialog::Rejected);
            }
        });
        m_oTimer.start(10000);
    }

private:
    QTimer m_oTimer;
};

class OptionsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) {
            static int iArgc = 1;
            static char szName[] = "OptionsDialogTest";
            static char* aszArgv[] = {szName, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(iArgc, aszArgv);
        }
    }

    OptionsDialogTest() {
        m_oDialog.SetBeeper([this] { ++m_iBeeps; });
        m_oDialog.SetHelpHandler(
            [this](int iTopic, QWidget* pOwner) { m_vHelp.emplace_back(iTopic, pOwner); });
        Fill("3", "30", "60");
        m_oDialog.show();
    }

    void Fill(const QString& s0, const QString& s1, const QString& s2) {
        Entry(0)->setText(s0);
        Entry(1)->setText(s1);
        Entry(2)->setText(s2);
    }
    QLineEdit* Entry(int iRow) { return m_oDialog.txtOptions(iRow); }
    template <class T>
    T* Control(const QString& sName) {
        T* pControl = m_oDialog.findChild<T*>(sName);
        EXPECT_NE(pControl, nullptr) << sName.toStdString();
        return pControl;
    }
    QToolButton* Up(int iRow) { return Control<QToolButton>(QString("udOptionsUp%1").arg(iRow)); }
    QToolButton* Down(int iRow) {
        return Control<QToolButton>(QString("udOptionsDown%1").arg(iRow));
    }
    QPushButton* Button(int iIndex) {
        return Control<QPushButton>(QString("cmdOptions%1").arg(iIndex));
    }
    const std::vector<CRecordingPresenter::SShown>& Shown() { return m_oWorld.Presenter().Shown(); }
    // Exactly one box was shown since the last call: the range message of iRow.
    void ExpectRangeMessage(int iRow) {
        ASSERT_EQ(Shown().size(), m_nSeen + 1);
        EXPECT_EQ(Shown().back().sText, RangeMessages[iRow]);
        EXPECT_EQ(Shown().back().sCaption, "Dayfold");
        EXPECT_EQ(Shown().back().iStyle, 64);
        m_nSeen = Shown().size();
    }
    void ExpectNoMessage() { EXPECT_EQ(Shown().size(), m_nSeen); }

    CProgramWorld m_oWorld;
    FOptions m_oDialog;
    int m_iBeeps = 0;
    std::vector<std::pair<int, QWidget*>> m_vHelp;
    std::size_t m_nSeen = 0;
};

TEST_F(OptionsDialogTest, RowsCaptionsAndButtonsAreLaidOutAsTheUserExpects) {
    EXPECT_EQ(m_oDialog.windowTitle(), "Dayfold Options");
    const char* const aszLabels[3] = {
        "&Favorites Threshold (1 or more days accessed):", "&Purge Age (1 or more days):",
        "&Timer Interval (1 to 60 seconds):"};
    int iLastTop = -1;
    for (int iRow = 0; iRow < 3; ++iRow) {
        auto* pLabel = Control<QLabel>(QString("lblOptions%1").arg(iRow));
        EXPECT_EQ(pLabel->text(), aszLabels[iRow]);
        EXPECT_EQ(pLabel->buddy(), Entry(iRow)); // the access key goes to the entry
        EXPECT_GT(pLabel->y(), iLastTop);        // rows from top to bottom
        iLastTop = pLabel->y();
        EXPECT_GT(Entry(iRow)->x(), pLabel->x() + pLabel->width() - 1);
        EXPECT_GT(Up(iRow)->mapTo(&m_oDialog, QPoint()).x(),
                  Entry(iRow)->x() + Entry(iRow)->width() - 1);
        EXPECT_LT(Up(iRow)->mapTo(&m_oDialog, QPoint()).y(),
                  Down(iRow)->mapTo(&m_oDialog, QPoint()).y());
    }
    EXPECT_EQ(Button(0)->text(), "OK");
    EXPECT_TRUE(Button(0)->isDefault());
    EXPECT_EQ(Button(1)->text(), "Cancel");
    EXPECT_EQ(Button(2)->text(), "&Help");
}

TEST_F(OptionsDialogTest, TheKeyFilterTakesWhatANumberMayHoldAndRefusesTheRest) {
    Entry(2)->clear();
    QTest::keyClicks(Entry(2), "a");
    EXPECT_EQ(Entry(2)->text(), "");
    EXPECT_EQ(m_iBeeps, 1);
    ExpectRangeMessage(2);

    QTest::keyClicks(Entry(2), "+2.5-");
    EXPECT_EQ(Entry(2)->text(), "+2.5-");
    QTest::keyClick(Entry(2), Qt::Key_Backspace);
    EXPECT_EQ(Entry(2)->text(), "+2.5");
    ExpectNoMessage();

    QTest::keyClicks(Entry(0), "x");
    ExpectRangeMessage(0); // "Threshhold": the program's own spelling
    QTest::keyClicks(Entry(1), " ");
    ExpectRangeMessage(1);
    EXPECT_EQ(m_iBeeps, 3);

    // Moving on and editing shortcuts are not typing.
    QTest::keyClick(Entry(1), Qt::Key_Tab);
    QTest::keyClick(Entry(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Entry(1), Qt::Key_Delete);
    QTest::keyClick(Entry(1), Qt::Key_Left);
    ExpectNoMessage();
    EXPECT_EQ(m_iBeeps, 3);
}

TEST_F(OptionsDialogTest, EnteringAnEntrySelectsAllOfIt) {
    Entry(1)->setText("365");
    Entry(1)->deselect();
    QFocusEvent oFocusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(Entry(1), &oFocusIn);
    EXPECT_EQ(Entry(1)->selectedText(), "365");
    EXPECT_EQ(Entry(1)->selectionStart(), 0);
}

TEST_F(OptionsDialogTest, StepButtonsKeepTheirBounds) {
    Fill("1", "999", "60");
    QTest::mouseClick(Down(0), Qt::LeftButton);
    EXPECT_EQ(Entry(0)->text(), "1");
    EXPECT_EQ(m_iBeeps, 1);
    QTest::mouseClick(Up(2), Qt::LeftButton);
    EXPECT_EQ(Entry(2)->text(), "60");
    EXPECT_EQ(m_iBeeps, 2);
    QTest::mouseClick(Up(1), Qt::LeftButton);
    EXPECT_EQ(Entry(1)->text(), "1000"); // no upper bound
    QTest::mouseClick(Down(2), Qt::LeftButton);
    EXPECT_EQ(Entry(2)->text(), "59");
    QTest::mouseClick(Up(0), Qt::LeftButton);
    EXPECT_EQ(Entry(0)->text(), "2");
    Entry(1)->setText("2.5"); // steps from the rounded value
    QTest::mouseClick(Down(1), Qt::LeftButton);
    EXPECT_EQ(Entry(1)->text(), "1");
    Entry(0)->setText("-5");
    QTest::mouseClick(Down(0), Qt::LeftButton);
    EXPECT_EQ(Entry(0)->text(), "-5");
    EXPECT_EQ(m_iBeeps, 3);
    ExpectNoMessage();
}

TEST_F(OptionsDialogTest, AStepOnAnEntryThatIsNoNumberIsReportedAndChangesNothing) {
    for (const QString& sText : {QString(""), QString("1-"), QString("2147483647")}) {
        Entry(0)->setText(sText);
        QTest::mouseClick(Up(0), Qt::LeftButton);
        EXPECT_EQ(Entry(0)->text(), sText);
        ASSERT_EQ(Shown().size(), m_nSeen + 1) << sText.toStdString();
        EXPECT_EQ(Shown().back().sText.rfind("An error occurred entering a value.", 0), 0u);
        m_nSeen = Shown().size();
    }
    EXPECT_NE(m_oWorld.ErrorLog().find("FOptions.udOptions_UpClick"), std::string::npos);
}

TEST_F(OptionsDialogTest, OkChecksTheRowsInOrderAndFocusesTheFirstWrongOne) {
    Fill("0", "0", "61");
    QTest::mouseClick(Button(0), Qt::LeftButton);
    ExpectRangeMessage(0);
    EXPECT_EQ(m_oDialog.focusWidget(), Entry(0));
    EXPECT_TRUE(m_oDialog.isVisible());

    Entry(0)->setText("1");
    QTest::mouseClick(Button(0), Qt::LeftButton);
    ExpectRangeMessage(1);
    EXPECT_EQ(m_oDialog.focusWidget(), Entry(1));

    Entry(1)->setText("1");
    QTest::mouseClick(Button(0), Qt::LeftButton);
    ExpectRangeMessage(2);
    EXPECT_EQ(m_oDialog.focusWidget(), Entry(2));
    Entry(2)->setText("0");
    QTest::mouseClick(Button(0), Qt::LeftButton);
    ExpectRangeMessage(2);
    EXPECT_EQ(m_iBeeps, 4);
    EXPECT_TRUE(m_oDialog.isVisible());

    Entry(2)->setText("60");
    QTest::mouseClick(Button(0), Qt::LeftButton);
    ExpectNoMessage();
    EXPECT_FALSE(m_oDialog.isVisible());
    EXPECT_EQ(m_oDialog.result(), QDialog::Accepted);
}

TEST_F(OptionsDialogTest, WhatTheKeyFilterLetsThroughConvertsOrIsRefusedWithTheRowsMessage) {
    struct SCase {
        const char* szTyped;
        std::int32_t lValue; // 0: refused
    };
    for (const SCase& oCase : {SCase{"2.5", 2}, SCase{"3.5", 4}, SCase{"+5", 5}, SCase{"-", 0},
                               SCase{"1-", 0}, SCase{"", 0}, SCase{"-4", 0}, SCase{"1.4", 1}}) {
        SCOPED_TRACE(oCase.szTyped);
        m_oDialog.show();
        Fill("3", "", "60");
        QTest::keyClicks(Entry(1), oCase.szTyped);
        ExpectNoMessage();
        QTest::mouseClick(Button(0), Qt::LeftButton);
        if (oCase.lValue == 0) {
            ExpectRangeMessage(1);
            EXPECT_TRUE(m_oDialog.isVisible());
            EXPECT_EQ(m_oDialog.focusWidget(), Entry(1));
        } else {
            ExpectNoMessage();
            EXPECT_FALSE(m_oDialog.isVisible());
            EXPECT_EQ(m_oDialog.PurgeAge(), oCase.lValue);
        }
    }
    // Entries that are no number are logged as well.
    EXPECT_NE(m_oWorld.ErrorLog().find("FOptions.Validate"), std::string::npos);
}

TEST_F(OptionsDialogTest, GetValuesAnswersOkEnterCancelEscapeAndTheCloseBox) {
    m_oDialog.hide();
    m_oDialog.SetFavoritesThreshold(4);
    m_oDialog.SetPurgeAge(14);
    m_oDialog.SetTimerInterval(45);
    EXPECT_EQ(Entry(1)->text(), "14");

    // Each action runs once the modal dialog is up.
    auto Run = [this](std::function<void()> fAction) {
        const CWatchdog oWatchdog;
        QTimer::singleShot(0, &m_oDialog, std::move(fAction));
        return m_oDialog.GetValues();
    };
    EXPECT_TRUE(Run([this] { QTest::mouseClick(Button(0), Qt::LeftButton); }));
    EXPECT_EQ(m_oDialog.FavoritesThreshold(), 4);
    EXPECT_EQ(m_oDialog.PurgeAge(), 14);
    EXPECT_EQ(m_oDialog.TimerInterval(), 45);
    EXPECT_TRUE(Run([this] { QTest::keyClick(Entry(2), Qt::Key_Return); }));
    EXPECT_FALSE(Run([this] { QTest::mouseClick(Button(1), Qt::LeftButton); }));
    EXPECT_FALSE(Run([this] { QTest::keyClick(Entry(0), Qt::Key_Escape); }));
    EXPECT_FALSE(Run([this] { m_oDialog.close(); }));
    // A refused OK keeps the dialog open; Cancel then ends it unconfirmed.
    EXPECT_FALSE(Run([this] {
        Entry(2)->setText("61");
        QTest::keyClick(Entry(2), Qt::Key_Return);
        EXPECT_TRUE(m_oDialog.isVisible());
        QTest::mouseClick(Button(1), Qt::LeftButton);
    }));
    ExpectRangeMessage(2);
}

TEST_F(OptionsDialogTest, HelpAndF1OpenTheOptionsTopic) {
    QTest::mouseClick(Button(2), Qt::LeftButton);
    QTest::keyClick(Entry(1), Qt::Key_F1);  // released on an entry
    QTest::keyClick(Button(1), Qt::Key_F1); // and on a button
    QTest::keyClick(Entry(1), Qt::Key_F2);
    ASSERT_EQ(m_vHelp.size(), 3u);
    for (const auto& [iTopic, pOwner] : m_vHelp) {
        EXPECT_EQ(iTopic, 11);
        EXPECT_EQ(pOwner, &m_oDialog);
    }
    EXPECT_TRUE(m_oDialog.isVisible());
    ExpectNoMessage();
}

TEST_F(OptionsDialogTest, WithoutAHandlerHelpOpensTheProgramsHelpAboveTheDialog) {
    CHelp oHelp(MHelpPages::Folder());
    CHelp::SetApplication(&oHelp);
    FOptions oDialog;
    oDialog.show();
    oDialog.DisplayHelp(FOptions::HelpTopic);
    ASSERT_NE(oHelp.Window(), nullptr);
    EXPECT_EQ(oHelp.Window()->CurrentUrl().fileName(), "options.html");
    EXPECT_EQ(oHelp.Window()->parentWidget(), &oDialog);

    // Every control of a row explains the row's option.
    for (int iRow = 0; iRow < 3; ++iRow) {
        const QString sText = oHelp.WhatsThisText(FOptions::WhatsThisTopics[iRow]);
        ASSERT_FALSE(sText.isEmpty());
        for (const QString& sName : {QString("lblOptions%1"), QString("txtOptions%1"),
                                     QString("udOptionsUp%1"), QString("udOptionsDown%1")}) {
            auto* pControl = oDialog.findChild<QWidget*>(sName.arg(iRow));
            ASSERT_NE(pControl, nullptr);
            EXPECT_EQ(pControl->whatsThis(), sText) << sName.arg(iRow).toStdString();
        }
    }
    EXPECT_TRUE(oHelp.WhatsThisText(2).contains("Favorites Threshold"));
    EXPECT_TRUE(oHelp.WhatsThisText(22).contains("Purge Age"));
    EXPECT_TRUE(oHelp.WhatsThisText(6).contains("Timer Interval"));
    CHelp::SetApplication(nullptr);
}

TEST_F(OptionsDialogTest, TheStoreRunsTheRealDialogAndSavesWhatWasTyped) {
    COptions().ReadValues();
    COptions oOptions(FOptions::Loader(nullptr));
    QTimer::singleShot(0, [] {
        auto* pDialog = qobject_cast<FOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(pDialog, nullptr);
        EXPECT_EQ(pDialog->txtOptions(2)->text(), "60");
        pDialog->txtOptions(2)->setText("15");
        QTest::keyClick(pDialog->txtOptions(2), Qt::Key_Return);
    });
    const CWatchdog oWatchdog;
    EXPECT_TRUE(oOptions.ChangeValues());
    EXPECT_EQ(oOptions.TimerInterval(), 15);
    EXPECT_EQ(MDayfold::Registry()
                  .KeyFromPath(MSettings::GroupPath("Options"))
                  .Values()
                  .Item("Timer Interval")
                  .Value(),
              "15");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The Privacy page: the folder chooser answers from a queue the test fills.
class OptionsPrivacyTest : public OptionsDialogTest {
protected:
    OptionsPrivacyTest() {
        m_oDialog.SetFolderChooser([this](QWidget*) {
            const std::string sFolder = m_dqChosen.empty() ? "" : m_dqChosen.front();
            if (!m_dqChosen.empty()) {
                m_dqChosen.pop_front();
            }
            return sFolder;
        });
    }
    void Click(FOptions& oDialog, int iButton) {
        auto* pButton = oDialog.findChild<QPushButton*>(QString("cmdPrivacy%1").arg(iButton));
        ASSERT_NE(pButton, nullptr);
        oDialog.findChild<QTabWidget*>("tabOptions")->setCurrentIndex(1);
        QTest::mouseClick(pButton, Qt::LeftButton);
    }
    void Add(const std::string& sFolder) {
        m_dqChosen.push_back(sFolder);
        Click(m_oDialog, FOptions::PrivacyAdd);
    }
    static std::vector<std::string> Stored() {
        CPrivateFolders oFolders;
        oFolders.ReadValues();
        return oFolders.Folders();
    }
    // A filed copy of a document in sFolder.
    void FileCopyOf(const std::string& sDocument) {
        const std::string sDay = m_oWorld.DailyPath() + "/1998/March/14";
        std::filesystem::create_directories(sDay);
        CProgramWorld::MakeShortcut(
            sDay + "/" + std::filesystem::path(sDocument).filename().string() + ".lnk", sDocument);
    }

    std::deque<std::string> m_dqChosen;
};

TEST_F(OptionsPrivacyTest, AddRemoveAndRestoreDefaultsEditTheList) {
    const std::vector<std::string> vDefaults = CPrivateFolders::DefaultFolders();
    EXPECT_EQ(m_oDialog.PrivateFolders(), vDefaults) << "a first run lists the defaults";
    const std::string sSecret = m_oWorld.Temp() / "secret";
    Add(sSecret + "/");
    Add(sSecret);    // named twice: kept once
    Add("");         // the chooser cancelled
    Add("relative"); // no place to compare: refused
    std::vector<std::string> vExpected = vDefaults;
    vExpected.push_back(sSecret);
    EXPECT_EQ(m_oDialog.PrivateFolders(), vExpected);
    EXPECT_EQ(m_oDialog.lstPrivacy()->currentItem()->text().toStdString(), sSecret);
    EXPECT_EQ(m_iBeeps, 1);

    m_oDialog.lstPrivacy()->setCurrentRow(0);
    Click(m_oDialog, FOptions::PrivacyRemove);
    vExpected.erase(vExpected.begin());
    EXPECT_EQ(m_oDialog.PrivateFolders(), vExpected);
    m_oDialog.lstPrivacy()->setCurrentRow(-1);
    Click(m_oDialog, FOptions::PrivacyRemove);
    EXPECT_EQ(m_oDialog.PrivateFolders(), vExpected) << "nothing selected";
    EXPECT_EQ(m_iBeeps, 2);

    Click(m_oDialog, FOptions::PrivacyDefaults);
    EXPECT_EQ(m_oDialog.PrivateFolders(), vDefaults);
    EXPECT_TRUE(Shown().empty()) << "no documents of those folders, no question";
}

TEST_F(OptionsPrivacyTest, OkStoresTheListAndCancelKeepsTheStoredOne) {
    const std::vector<std::string> vBefore = Stored();
    const std::string sSecret = m_oWorld.Temp() / "secret";
    std::vector<std::vector<std::string>> vToldToClear;
    const auto Edit = [&](int iButton) {
        COptions oOptions(FOptions::Loader(
            nullptr, [&](const std::vector<std::string>& v) { vToldToClear.push_back(v); }));
        QTimer::singleShot(0, [&, iButton] {
            auto* pDialog = qobject_cast<FOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            pDialog->SetFolderChooser([&](QWidget*) { return sSecret; });
            pDialog->lstPrivacy()->setCurrentRow(0);
            Click(*pDialog, FOptions::PrivacyRemove);
            Click(*pDialog, FOptions::PrivacyAdd);
            QTest::mouseClick(
                pDialog->findChild<QPushButton*>(QString("cmdOptions%1").arg(iButton)),
                Qt::LeftButton);
        });
        const CWatchdog oWatchdog;
        return oOptions.ChangeValues();
    };
    EXPECT_FALSE(Edit(1));
    EXPECT_EQ(Stored(), vBefore);
    EXPECT_TRUE(vToldToClear.empty());

    EXPECT_TRUE(Edit(0));
    std::vector<std::string> vExpected(vBefore.begin() + 1, vBefore.end());
    vExpected.push_back(sSecret);
    EXPECT_EQ(Stored(), vExpected);
    ASSERT_EQ(vToldToClear.size(), 1U);
    EXPECT_TRUE(vToldToClear[0].empty()) << "nothing of it was filed";
}

TEST_F(OptionsPrivacyTest, AddingAFolderWithFiledDocumentsAsksWhetherToRemoveThem) {
    const std::string sYes = m_oWorld.Temp() / "yes";
    const std::string sNo = m_oWorld.Temp() / "no";
    FileCopyOf(sYes + "/deep/a.txt");
    FileCopyOf(sNo + "/b.txt");
    m_oWorld.Presenter().SetNextAnswer(MessageBox::AnswerYes);
    Add(sYes);
    m_oWorld.Presenter().SetNextAnswer(MessageBox::AnswerNo);
    Add(sNo);
    ASSERT_EQ(Shown().size(), 2U);
    EXPECT_EQ(Shown()[0].sText,
              "Remove the documents of " + sYes + " that are already in the journal?");
    EXPECT_EQ(Shown()[0].sCaption, "Dayfold");
    EXPECT_EQ(Shown()[0].iStyle, MessageBox::YesNo + MessageBox::Question);
    EXPECT_EQ(m_oDialog.FoldersToClear(), std::vector<std::string>{sYes});
    // Taken off the list again, it keeps its documents.
    m_oDialog.lstPrivacy()->setCurrentRow(m_oDialog.lstPrivacy()->count() - 2);
    Click(m_oDialog, FOptions::PrivacyRemove);
    EXPECT_TRUE(m_oDialog.FoldersToClear().empty());
    EXPECT_TRUE(std::filesystem::exists(m_oWorld.DailyPath() + "/1998/March/14/a.txt.lnk"))
        << "nothing goes before OK";
}

TEST_F(OptionsPrivacyTest, ThePrivacyPageHasItsOwnHelpTopic) {
    m_oDialog.findChild<QTabWidget*>("tabOptions")->setCurrentIndex(1);
    QTest::mouseClick(Button(2), Qt::LeftButton);
    QTest::keyClick(m_oDialog.lstPrivacy(), Qt::Key_F1);
    ASSERT_EQ(m_vHelp.size(), 2U);
    EXPECT_EQ(m_vHelp[0].first, FOptions::PrivacyTopic);
    EXPECT_EQ(m_vHelp[1].first, FOptions::PrivacyTopic);
    CHelp oHelp(MHelpPages::Folder());
    EXPECT_TRUE(oHelp.WhatsThisText(FOptions::PrivacyTopic).contains("private folder"));
}

} // namespace
