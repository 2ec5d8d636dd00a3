// The window and control helpers on real widgets (offscreen).
#include "CLibraryFixture.h"
#include "support/CRecordingPresenter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

#include <memory>

using qlCommonLibrary::Variant;

namespace {

// A form whose user refuses to close it.
class CRefusingForm : public QWidget {
protected:
    void closeEvent(QCloseEvent* pEvent) override { pEvent->ignore(); }
};

class WindowOperationsTest : public CLibraryFixture {
protected:
    static void SetUpTestSuite() {
        if (QApplication::instance() == nullptr) {
            static int iArgc = 1;
            static char szName[] = "WindowOperationsTest";
            static char* aszArgv[] = {szName, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(iArgc, aszArgv);
        }
    }

    WindowOperationsTest() { m_pReporter->SetPresenter(&m_oPresenter); }

    static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

    // A list of n items "Item 0" ... with item data 100, 101, ...
    static void Fill(QListWidget& oList, int n) {
        for (int i = 0; i < n; ++i) {
            auto* pItem = new QListWidgetItem(QString("Item %1").arg(i), &oList);
            pItem->setData(Qt::UserRole, 100 + i);
        }
    }
    static QStringList Texts(const QListWidget& oList) {
        QStringList vTexts;
        for (int i = 0; i < oList.count(); ++i) {
            vTexts << oList.item(i)->text();
        }
        return vTexts;
    }

    CRecordingPresenter m_oPresenter;
};

TEST_F(WindowOperationsTest, KindChecksRaiseTheirOwnCodesAndLeaveTheWidgetsAlone) {
    QObject oNotAWidget;
    QWidget oForm;
    oForm.setGeometry(10, 20, 200, 100);
    QWidget* pControl = new QWidget(&oForm);

    m_oLibrary.CenterWindow(&oNotAWidget);
    EXPECT_EQ(OnlyReport(32765, "CenterWindow").sDescription,
              "The arguments must be Controls or Forms.");
    m_oLibrary.CenterWindow(&oForm, &oNotAWidget);
    OnlyReport(32765, "CenterWindow");
    EXPECT_EQ(oForm.pos(), QPoint(10, 20));

    m_oLibrary.ClipCursor(&oNotAWidget);
    EXPECT_EQ(OnlyReport(32764, "ClipCursor").sDescription,
              "The Window argument must be a Control or a Form.");
    m_oLibrary.SetRedraw(nullptr, false);
    OnlyReport(32764, "SetRedraw");

    m_oLibrary.SelectText(&oForm); // a form is not a control
    EXPECT_EQ(OnlyReport(32758, "SelectText").sDescription, "The argument must be a Control.");

    m_oLibrary.SetTopMost(pControl, true);
    EXPECT_EQ(OnlyReport(32757, "SetTopMost").sDescription, "The Window argument must be a Form.");
    EXPECT_FALSE(pControl->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    m_oLibrary.SetModelessDialog(pControl, &oForm);
    EXPECT_EQ(OnlyReport(32754, "SetModelessDialog").sDescription,
              "The Child argument must be a Form.");
    QWidget oChild;
    m_oLibrary.SetModelessDialog(&oChild, pControl);
    EXPECT_EQ(OnlyReport(32753, "SetModelessDialog").sDescription,
              "The Parent argument must be a Form.");
    EXPECT_EQ(oChild.parentWidget(), nullptr);
}

TEST_F(WindowOperationsTest, ObjectsWithoutWhatAnOperationUsesFailIntoTheConvention) {
    QWidget oForm;
    auto* pButton = new QPushButton("OK", &oForm);
    m_oLibrary.SelectText(pButton);
    OnlyReport(438, "SelectText");
    EXPECT_EQ(m_oLibrary.ListIndexByText(pButton, "OK"), 0);
    OnlyReport(438, "ListIndexByText");
    EXPECT_EQ(m_oLibrary.ListComboIndexByItemData(nullptr, 1), 0);
    OnlyReport(91, "ListComboIndexByItemData");
    m_oLibrary.LoadMaskedText(pButton, "1");
    OnlyReport(438, "LoadMaskedText");
    EXPECT_FALSE(m_oLibrary.MultiListAnySelected(pButton));
    OnlyReport(438, "MultiListAnySelected");
}

TEST_F(WindowOperationsTest, AssertShowsItsBoxOnlyWhenTheConditionIsFalse) {
    m_oLibrary.Assert(true, "never shown");
    EXPECT_TRUE(m_oPresenter.Shown().empty());
    m_oLibrary.Assert(false, "FMain.Test: Something is missing");
    ASSERT_EQ(m_oPresenter.Shown().size(), 1u);
    EXPECT_EQ(m_oPresenter.Shown()[0].sText, "FMain.Test: Something is missing");
    EXPECT_EQ(m_oPresenter.Shown()[0].sCaption, "Assertion Failed");
    EXPECT_EQ(m_oPresenter.Shown()[0].iStyle, 48);
    ExpectNoReport();
}

TEST_F(WindowOperationsTest, CenterWindowCentresAndKeepsTheWindowOnTheScreen) {
    const QRect oScreen = Screen();
    QWidget oForm;
    oForm.resize(400, 280);
    m_oLibrary.CenterWindow(&oForm);
    ExpectNoReport();
    EXPECT_LE(std::abs(oForm.frameGeometry().center().x() - oScreen.center().x()), 1);
    EXPECT_LE(std::abs(oForm.frameGeometry().center().y() - oScreen.center().y()), 1);

    // A parent hanging over the right edge: the child's right edge stays on the screen.
    QWidget oParent;
    oParent.setGeometry(oScreen.right() - 100, 100, 300, 300);
    QWidget oChild;
    oChild.resize(200, 100);
    m_oLibrary.CenterWindow(&oChild, &oParent);
    ExpectNoReport();
    EXPECT_EQ(oChild.frameGeometry().right(), oScreen.right());
    EXPECT_EQ(oChild.frameGeometry().center().y(), oParent.frameGeometry().center().y());

    // Larger than the screen: placed at the screen's corner, never left of or above it.
    QWidget oHuge;
    oHuge.resize(oScreen.width() + 500, oScreen.height() + 300);
    m_oLibrary.CenterWindow(&oHuge);
    EXPECT_EQ(oHuge.frameGeometry().topLeft(), oScreen.topLeft());

    // A control is centred on its parent's rectangle in its own coordinates.
    QWidget oPanel;
    oPanel.setGeometry(0, 0, 300, 200);
    auto* pControl = new QWidget(&oPanel);
    pControl->setGeometry(5, 5, 100, 50);
    m_oLibrary.CenterWindow(pControl, &oPanel);
    EXPECT_EQ(pControl->pos(), QPoint(100, 75));
}

TEST_F(WindowOperationsTest, ClipCursorPutsThePointerInTheMiddleOfTheClientArea) {
    QWidget oForm;
    oForm.setGeometry(100, 50, 200, 120);
    QCursor::setPos(1, 1);
    m_oLibrary.ClipCursor(&oForm);
    ExpectNoReport();
    const QPoint oTopLeft = oForm.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(QCursor::pos(), oTopLeft + QPoint(100, 60));
    m_oLibrary.ClipCursor(); // nothing confined, nothing to release
    ExpectNoReport();
    EXPECT_EQ(QCursor::pos(), oTopLeft + QPoint(100, 60));
}

TEST_F(WindowOperationsTest, TopMostRedrawAndOwnerChangeTheWindowWithoutMovingIt) {
    QWidget oForm;
    oForm.setGeometry(120, 80, 300, 200);
    oForm.show();
    const QPoint oPosition = oForm.pos();

    m_oLibrary.SetTopMost(&oForm, true);
    EXPECT_TRUE(oForm.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(oForm.isVisible());
    EXPECT_EQ(oForm.pos(), oPosition);
    EXPECT_EQ(oForm.size(), QSize(300, 200));
    m_oLibrary.SetTopMost(&oForm, false);
    EXPECT_FALSE(oForm.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(oForm.isVisible());
    EXPECT_EQ(oForm.pos(), oPosition);

    m_oLibrary.SetRedraw(&oForm, false);
    EXPECT_FALSE(oForm.updatesEnabled());
    m_oLibrary.SetRedraw(&oForm, true);
    EXPECT_TRUE(oForm.updatesEnabled());
    ExpectNoReport();
}

TEST_F(WindowOperationsTest, ModelessDialogBelongsToItsOwnerUntilTheOwnerIsCleared) {
    auto pOwner = std::make_unique<QWidget>();
    pOwner->show();
    QPointer<QWidget> pDialog = new QWidget;
    pDialog->move(40, 60);
    pDialog->show();

    m_oLibrary.SetModelessDialog(pDialog, pOwner.get());
    ExpectNoReport();
    EXPECT_EQ(pDialog->parentWidget(), pOwner.get());
    EXPECT_TRUE(pDialog->isWindow());
    EXPECT_EQ(pDialog->windowType(), Qt::Dialog);
    EXPECT_TRUE(pDialog->isVisible());
    EXPECT_EQ(pDialog->pos(), QPoint(40, 60));

    // A form cannot own itself or its own owner.
    m_oLibrary.SetModelessDialog(pDialog, pDialog);
    OnlyReport(5, "SetModelessDialog");
    m_oLibrary.SetModelessDialog(pOwner.get(), pDialog);
    OnlyReport(5, "SetModelessDialog");
    EXPECT_EQ(pOwner->parentWidget(), nullptr);

    m_oLibrary.SetModelessDialog(pDialog);
    EXPECT_EQ(pDialog->parentWidget(), nullptr);
    EXPECT_TRUE(pDialog->isVisible());
    m_oLibrary.SetModelessDialog(pDialog, pOwner.get());
    pOwner.reset(); // the owner takes its dialog with it
    EXPECT_TRUE(pDialog.isNull());
}

TEST_F(WindowOperationsTest, UnloadAllFormsClosesTheLastFirstAndStopsAtARefusal) {
    QWidget oFirst;
    CRefusingForm oSecond;
    QWidget oThird;
    for (QWidget* pForm : {static_cast<QWidget*>(&oFirst), static_cast<QWidget*>(&oSecond),
                           static_cast<QWidget*>(&oThird)}) {
        pForm->show();
    }
    EXPECT_FALSE(m_oLibrary.UnloadAllForms({&oFirst, &oSecond, &oThird}));
    EXPECT_FALSE(oThird.isVisible());
    EXPECT_TRUE(oSecond.isVisible());
    EXPECT_TRUE(oFirst.isVisible());

    QWidget oOther;
    oOther.show();
    EXPECT_TRUE(m_oLibrary.UnloadAllForms({&oFirst, &oOther}));
    EXPECT_FALSE(oFirst.isVisible());
    EXPECT_FALSE(oOther.isVisible());
    EXPECT_TRUE(m_oLibrary.UnloadAllForms({}));
    ExpectNoReport();
}

TEST_F(WindowOperationsTest, SelectTextSelectsTheWholeTextOfEachKindOfTextControl) {
    QWidget oForm;
    auto* pLineEdit = new QLineEdit("60", &oForm);
    auto* pPlainText = new QPlainTextEdit("two\nlines", &oForm);
    auto* pCombo = new QComboBox(&oForm);
    pCombo->setEditable(true);
    pCombo->setEditText("editable");

    m_oLibrary.SelectText(pLineEdit);
    EXPECT_EQ(pLineEdit->selectionStart(), 0);
    EXPECT_EQ(pLineEdit->selectedText(), "60");
    EXPECT_EQ(pLineEdit->cursorPosition(), 2);
    m_oLibrary.SelectText(pPlainText);
    EXPECT_EQ(pPlainText->textCursor().selectedText(), QString("two") + QChar(0x2029) + "lines");
    m_oLibrary.SelectText(pCombo);
    EXPECT_EQ(pCombo->lineEdit()->selectedText(), "editable");
    ExpectNoReport();
}

TEST_F(WindowOperationsTest, AccessKeysAndKeyFilters) {
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("&File"), 'F');
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("E&xit"), 'X');
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("File&"), 0);
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("File"), 0);
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("&&Both"), '&');                      // no escape
    EXPECT_EQ(m_oLibrary.AccessKeyFromCaption("\xC3\x9C&\xC3\xA9t\xC3\xA9"), 0xC9); // É
    ExpectNoReport();

    for (char c : std::string("0123456789-+.")) {
        EXPECT_TRUE(m_oLibrary.IsNumericEntry(c)) << c;
    }
    for (std::int16_t iKey : {8, 13, 27}) {
        EXPECT_TRUE(m_oLibrary.IsNumericEntry(iKey)) << iKey;
        EXPECT_TRUE(m_oLibrary.IsDateEntry(iKey)) << iKey;
    }
    for (char c : std::string("aE ,/*")) {
        EXPECT_FALSE(m_oLibrary.IsNumericEntry(c)) << c;
    }
    EXPECT_FALSE(m_oLibrary.IsNumericEntry(0xB2)); // superscript two
    EXPECT_TRUE(m_oLibrary.IsDateEntry('/'));
    EXPECT_TRUE(m_oLibrary.IsDateEntry('7'));
    EXPECT_FALSE(m_oLibrary.IsDateEntry('-'));
    EXPECT_FALSE(m_oLibrary.IsDateEntry('.'));
}

TEST_F(WindowOperationsTest, ListSearchesByItemDataAndByTextWrapRoundFromStart) {
    QListWidget oList;
    Fill(oList, 4);
    oList.item(3)->setText("item 1"); // the same text as item 1 in another case
    QComboBox oCombo;
    oCombo.addItem("a", 7);
    oCombo.addItem("b", 9);

    EXPECT_EQ(m_oLibrary.ListComboIndexByItemData(&oList, 102), 2);
    EXPECT_EQ(m_oLibrary.ListComboIndexByItemData(&oList, 99), -1);
    EXPECT_EQ(m_oLibrary.ListComboIndexByItemData(&oCombo, 9), 1);

    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "ITEM 1"), 1);
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item 1", Variant(std::int16_t{1})), 3);
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item 1", Variant(std::int32_t{3})), 1); // wraps
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item 0", Variant(std::int16_t{0})), 0);
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item", Variant(std::int16_t{-1})), -1);
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oCombo, "B"), 1);
    ExpectNoReport();

    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item 1", Variant("1")), 0);
    EXPECT_EQ(OnlyReport(32762, "ListIndexByText").sDescription,
              "The Start argument must be Integer or Long.");
    EXPECT_EQ(m_oLibrary.ListIndexByText(&oList, "Item 1", Variant(1.0)), 0);
    OnlyReport(32762, "ListIndexByText");
}

TEST_F(WindowOperationsTest, OutlineSearchCountsEveryItemInOutlineOrder) {
    QTreeWidget oTree;
    auto* pYear = new QTreeWidgetItem(&oTree, {"1998"});
    auto* pMonth = new QTreeWidgetItem(pYear, {"March"});
    new QTreeWidgetItem(pMonth, {"15"});
    new QTreeWidgetItem(&oTree, {"1999"});
    new QTreeWidgetItem(pYear, {"april"});
    // Outline order: 1998, March, 15, april, 1999.

    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "15"), 2);
    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "1999"), 4);
    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "April"), -1); // exact comparison
    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "1998", Variant(std::int16_t{1})), -1);
    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "april", Variant(std::int16_t{3})), 3);
    ExpectNoReport();

    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "15", Variant(std::int32_t{0})), 0);
    OnlyReport(32762, "OutlineItemByText"); // only an Integer is taken
    EXPECT_EQ(m_oLibrary.OutlineItemByText(&oTree, "15", Variant(std::int16_t{-1})), 0);
    OnlyReport(32762, "OutlineItemByText");
}

TEST_F(WindowOperationsTest, MultiSelectListsRemoveSelectAndUnselectTheirRows) {
    QListWidget oList;
    oList.setSelectionMode(QAbstractItemView::MultiSelection);
    Fill(oList, 5);
    EXPECT_FALSE(m_oLibrary.MultiListAnySelected(&oList));
    oList.item(1)->setSelected(true);
    oList.item(2)->setSelected(true);
    EXPECT_TRUE(m_oLibrary.MultiListAnySelected(&oList));
    m_oLibrary.MultiListRemoveSelected(&oList);
    EXPECT_EQ(Texts(oList), QStringList({"Item 0", "Item 3", "Item 4"}));
    EXPECT_FALSE(m_oLibrary.MultiListAnySelected(&oList));

    // Selecting all keeps the scroll position and leaves painting on.
    QListWidget oLong;
    oLong.setSelectionMode(QAbstractItemView::ExtendedSelection);
    oLong.resize(200, 100);
    Fill(oLong, 200);
    oLong.show();
    oLong.verticalScrollBar()->setValue(37);
    m_oLibrary.MultiListSelectAll(&oLong);
    EXPECT_EQ(oLong.selectedItems().size(), 200);
    EXPECT_EQ(oLong.verticalScrollBar()->value(), 37);
    EXPECT_TRUE(oLong.updatesEnabled());
    m_oLibrary.MultiListUnselectAll(&oLong);
    EXPECT_TRUE(oLong.selectedItems().isEmpty());
    EXPECT_TRUE(oLong.updatesEnabled());

    // One row at a time: selecting each in turn leaves the last one.
    QListWidget oSingle;
    Fill(oSingle, 3);
    m_oLibrary.MultiListSelectAll(&oSingle);
    ASSERT_EQ(oSingle.selectedItems().size(), 1);
    EXPECT_EQ(oSingle.selectedItems()[0]->text(), "Item 2");

    QListWidget oEmpty;
    m_oLibrary.MultiListSelectAll(&oEmpty);
    m_oLibrary.MultiListRemoveSelected(&oEmpty);
    ExpectNoReport();
}

TEST_F(WindowOperationsTest, MaskedTextIsClearedAndLoadedWithTheMaskKept) {
    QLineEdit oBox;
    oBox.setInputMask("999-99;_");
    m_oLibrary.LoadMaskedText(&oBox, "12345");
    EXPECT_EQ(oBox.text(), "123-45");
    EXPECT_EQ(oBox.inputMask(), "999-99;_");
    m_oLibrary.ClearMaskedText(&oBox);
    EXPECT_EQ(oBox.text(), "-");
    EXPECT_EQ(oBox.displayText(), "___-__");
    EXPECT_EQ(oBox.inputMask(), "999-99;_");
    ExpectNoReport();
}

} // namespace
