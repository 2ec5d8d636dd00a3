#include "platform/controls/CMessageBoxPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs fAnswer on the message box once it is open: the box's own event loop runs the
// zero-time timer, so nothing waits on the clock.
void WhenBoxOpens(const std::function<void(QMessageBox&)>& fAnswer) {
    QTimer::singleShot(0, [fAnswer] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(pBox, nullptr);
        fAnswer(*pBox);
    });
}

TEST(MessageBoxPresenter, ClassicStylesMapToButtonsIconsAndDefaults) {
    using B = QMessageBox;
    EXPECT_EQ(CMessageBoxPresenter::ButtonsOf(MessageBox::OkOnly), B::Ok);
    EXPECT_EQ(CMessageBoxPresenter::ButtonsOf(MessageBox::YesNo + MessageBox::Question),
              B::Yes | B::No);
    EXPECT_EQ(CMessageBoxPresenter::ButtonsOf(3), B::Yes | B::No | B::Cancel);
    EXPECT_EQ(CMessageBoxPresenter::ButtonsOf(1 + 48), B::Ok | B::Cancel);
    EXPECT_EQ(CMessageBoxPresenter::IconOf(MessageBox::Critical), B::Critical);
    EXPECT_EQ(CMessageBoxPresenter::IconOf(MessageBox::YesNo + MessageBox::Question), B::Question);
    EXPECT_EQ(CMessageBoxPresenter::IconOf(MessageBox::Exclamation), B::Warning);
    EXPECT_EQ(CMessageBoxPresenter::IconOf(MessageBox::Information + 4), B::Information);
    EXPECT_EQ(CMessageBoxPresenter::IconOf(0), B::NoIcon);
    EXPECT_EQ(CMessageBoxPresenter::DefaultButtonOf(MessageBox::YesNo), B::Yes);
    EXPECT_EQ(CMessageBoxPresenter::DefaultButtonOf(MessageBox::YesNo + 256), B::No);
    EXPECT_EQ(CMessageBoxPresenter::DefaultButtonOf(MessageBox::YesNo + 512), B::NoButton);
    EXPECT_EQ(CMessageBoxPresenter::AnswerOf(B::Yes), MessageBox::AnswerYes);
    EXPECT_EQ(CMessageBoxPresenter::AnswerOf(B::No), MessageBox::AnswerNo);
    EXPECT_EQ(CMessageBoxPresenter::AnswerOf(B::Ok), MessageBox::AnswerOk);
    EXPECT_EQ(CMessageBoxPresenter::AnswerOf(B::Cancel), 2);
    EXPECT_EQ(CMessageBoxPresenter::AnswerOf(B::Retry), 4);
}

TEST(MessageBoxPresenter, ARealBoxAnswersWithTheButtonPressed) {
    CMessageBoxPresenter oPresenter;
    QString sText;
    QString sTitle;
    WhenBoxOpens([&](QMessageBox& oBox) {
        sText = oBox.text();
        sTitle = oBox.windowTitle();
        EXPECT_EQ(oBox.icon(), QMessageBox::Question);
        EXPECT_EQ(static_cast<QAbstractButton*>(oBox.defaultButton()),
                  oBox.button(QMessageBox::No));
        oBox.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(oPresenter.Show("Purge days older than 30 days?", "Dayfold",
                              MessageBox::YesNo + MessageBox::Question + 256),
              MessageBox::AnswerNo);
    EXPECT_EQ(sText, "Purge days older than 30 days?");
    EXPECT_EQ(sTitle, "Dayfold");

    WhenBoxOpens([](QMessageBox& oBox) { oBox.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(oPresenter.Show("Purge?", "Dayfold", MessageBox::YesNo), MessageBox::AnswerYes);
}

TEST(MessageBoxPresenter, EscapeGivesTheSafeAnswer) {
    CMessageBoxPresenter oPresenter;
    WhenBoxOpens([](QMessageBox& oBox) { QTest::keyClick(&oBox, Qt::Key_Escape); });
    EXPECT_EQ(oPresenter.Show("Purge?", "Dayfold", MessageBox::YesNo), MessageBox::AnswerNo)
        << "a Yes/No box has no Cancel: Escape is No, never Yes";
    WhenBoxOpens([](QMessageBox& oBox) { QTest::keyClick(&oBox, Qt::Key_Escape); });
    EXPECT_EQ(oPresenter.Show("Saved.", "Dayfold", MessageBox::Information), MessageBox::AnswerOk);
    WhenBoxOpens([](QMessageBox& oBox) { QTest::keyClick(&oBox, Qt::Key_Escape); });
    EXPECT_EQ(oPresenter.Show("Save?", "Dayfold", 3), 2) << "Yes/No/Cancel: Cancel";
}

} // namespace
