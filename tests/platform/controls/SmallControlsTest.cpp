#include "ControlErrors.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTimer.h"
#include "platform/controls/CToolbarButton.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/controls/MMousePointer.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(StatusBar, SimpleTextAndHeightInTwips) {
    CStatusBar oBar;
    oBar.resize(200, 22);
    oBar.show();
    oBar.SetSimpleText("Please wait...");
    EXPECT_EQ(oBar.SimpleText(), "Please wait...");
    EXPECT_EQ(oBar.Height(), oBar.height() * 15);

    // A long path in the bar must not force the window wider.
    const int iMinimum = oBar.minimumSizeHint().width();
    oBar.SetSimpleText(std::string(400, 'x'));
    EXPECT_EQ(oBar.minimumSizeHint().width(), iMinimum);
}

TEST(StatusBar, ANoteStandsBesideTheSimpleTextAndGivesWayToIt) {
    CStatusBar oBar;
    oBar.resize(600, 22);
    oBar.show();
    oBar.SetSimpleText("12 objects");
    const std::string sNote = "This desktop has no system tray: Dayfold stays in its window.";
    oBar.SetNoteText(sNote);
    QCoreApplication::processEvents();
    EXPECT_EQ(oBar.NoteText(), sNote);
    EXPECT_EQ(oBar.ShownNoteText().toStdString(), sNote) << "room for both";
    QLabel* pText = nullptr;
    for (QLabel* pLabel : oBar.findChildren<QLabel*>()) {
        if (pLabel->text() == "12 objects") {
            pText = pLabel;
        }
    }
    ASSERT_NE(pText, nullptr);
    EXPECT_TRUE(pText->isVisible());

    // Narrow: the note is shortened, the count stays whole and in view.
    oBar.resize(160, 22);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pText->isVisible());
    EXPECT_GE(pText->width(), pText->fontMetrics().horizontalAdvance("12 objects"));
    EXPECT_TRUE(oBar.ShownNoteText().endsWith(QChar(0x2026))) << oBar.ShownNoteText().toStdString();
    EXPECT_LT(oBar.ShownNoteText().size(), static_cast<qsizetype>(sNote.size()));

    // A new count keeps its room too; an empty note leaves the bar to it.
    oBar.SetSimpleText("1234 objects");
    QCoreApplication::processEvents();
    EXPECT_GE(pText->width(), pText->fontMetrics().horizontalAdvance("1234 objects"));
    oBar.SetNoteText("");
    EXPECT_EQ(oBar.ShownNoteText(), "");
}

TEST(Timer, TicksOnlyWhileEnabledWithAnInterval) {
    CTimer oTimer;
    QTimer* pInner = oTimer.findChild<QTimer*>();
    ASSERT_NE(pInner, nullptr);
    EXPECT_FALSE(oTimer.Enabled());
    oTimer.SetEnabled(true);
    EXPECT_FALSE(oTimer.IsRunning()) << "an interval of 0 never fires";
    oTimer.SetInterval(60000);
    EXPECT_TRUE(oTimer.IsRunning());
    EXPECT_EQ(pInner->interval(), 60000);
    oTimer.SetEnabled(false);
    EXPECT_FALSE(oTimer.IsRunning());
    oTimer.SetInterval(5000);
    EXPECT_FALSE(oTimer.IsRunning()) << "a new interval does not enable it";
    EXPECT_EQ(oTimer.Interval(), 5000);
    EXPECT_EQ(ErrorOf([&] { oTimer.SetInterval(-1); }), 380);

    QSignalSpy oTicks(&oTimer, &CTimer::Timer);
    QMetaObject::invokeMethod(pInner, "timeout"); // a tick, without waiting for one
    EXPECT_EQ(oTicks.count(), 1);
}

TEST(ToolbarButton, ClickCarriesTheIndexAndADisabledButtonStaysSilent) {
    CToolbarButton oButton;
    QPixmap oPixmap(16, 16);
    oPixmap.fill(Qt::darkBlue);
    oButton.SetPicture(QIcon(oPixmap));
    oButton.SetToolTipText("Daily View");
    oButton.SetIndex(7);
    oButton.SetWhatsThisHelpID(21);
    oButton.show();
    QSignalSpy oClick(&oButton, &CToolbarButton::Click);

    QTest::mouseClick(&oButton, Qt::LeftButton);
    ASSERT_EQ(oClick.count(), 1);
    EXPECT_EQ(oClick[0][0].toInt(), 7);
    oButton.SetEnabled(false);
    QTest::mouseClick(&oButton, Qt::LeftButton);
    EXPECT_EQ(oClick.count(), 1);

    EXPECT_TRUE(oButton.autoRaise()) << "flat until the pointer is over it";
    EXPECT_EQ(oButton.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(oButton.ToolTipText(), "Daily View");
    EXPECT_EQ(oButton.WhatsThisHelpID(), 21);
    EXPECT_FALSE(oButton.Picture().isNull());
}

TEST(TrayIcon, KeepsItsStateWithoutATrayAndReportsButtons) {
    ASSERT_FALSE(CTrayIcon::TrayAvailable()) << "the offscreen desktop has no tray";
    CTrayIcon oTray;
    QPixmap oPixmap(16, 16);
    oPixmap.fill(Qt::darkGreen);
    oTray.SetTrayIcon(QIcon(oPixmap));
    oTray.SetTrayTip("Dayfold");
    oTray.SetInTray(true);
    EXPECT_TRUE(oTray.InTray());
    EXPECT_FALSE(oTray.TrayIcon().isNull());
    EXPECT_EQ(oTray.TrayTip(), "Dayfold");
    EXPECT_FALSE(oTray.IsShown());

    QSystemTrayIcon* pIcon = oTray.findChild<QSystemTrayIcon*>();
    ASSERT_NE(pIcon, nullptr);
    EXPECT_EQ(pIcon->contextMenu(), nullptr) << "the owner opens its own menu";
    QSignalSpy oMouseUp(&oTray, &CTrayIcon::MouseUp);
    emit pIcon->activated(QSystemTrayIcon::Context);
    emit pIcon->activated(QSystemTrayIcon::Trigger);
    emit pIcon->activated(QSystemTrayIcon::Unknown);
    ASSERT_EQ(oMouseUp.count(), 2);
    EXPECT_EQ(oMouseUp[0][0].toInt(), 2) << "a right click is button 2, menu or not";
    EXPECT_EQ(oMouseUp[1][0].toInt(), 1);
    EXPECT_EQ(CTrayIcon::ButtonOf(QSystemTrayIcon::MiddleClick), 4);
}

TEST(MousePointer, NestedRequestsRestoreThePointerInAnyOrder) {
    ASSERT_EQ(MMousePointer::Current(), MMousePointer::Default);
    const auto lOuter = MMousePointer::Push(MMousePointer::Hourglass);
    EXPECT_EQ(MMousePointer::Current(), 11);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const auto lInner = MMousePointer::Push(MMousePointer::Hourglass);
    const auto lArrow = MMousePointer::Push(MMousePointer::Arrow);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);

    // A wait cursor released out of turn (one handed to a routine that ends it) must not
    // leave the hourglass behind for good.
    MMousePointer::Pop(lOuter);
    MMousePointer::Pop(lArrow);
    EXPECT_EQ(MMousePointer::Current(), 11);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    MMousePointer::Pop(lInner);
    MMousePointer::Pop(lInner);
    EXPECT_EQ(MMousePointer::Current(), MMousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "Qt's override stack is left clean";
}

} // namespace
