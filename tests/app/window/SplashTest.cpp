#include "app/resources/CVersionInfo.h"
#include "app/window/FSplash.h"
#include "tests/aboutbox/MQStringPrinting.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

QString Text(const FSplash& oSplash, const char* szLabel) {
    const QLabel* pLabel = oSplash.findChild<QLabel*>(szLabel);
    return pLabel != nullptr ? pLabel->text() : QString("<no %1>").arg(szLabel);
}

const CVersionInfo& SampleVersion() {
    static const CVersionInfo oVersion("Dayfold", "Quillon, Inc.",
                                       "Copyright \u00A9 2026 Quillon, Inc.", "See the About box.",
                                       1, 0, 2);
    return oVersion;
}

TEST(SplashTest, ShowsTheVersionInformation) {
    FSplash oSplash(SampleVersion());
    EXPECT_EQ(Text(oSplash, "lblProductName"), "Dayfold");
    EXPECT_EQ(Text(oSplash, "lblVersion"), "Version 1.0.2");
    EXPECT_EQ(Text(oSplash, "lblCompany"), "Quillon, Inc.");
    EXPECT_EQ(Text(oSplash, "lblCopyright"),
              QString::fromUtf8("Copyright \u00A9 2026 Quillon, Inc."));
    EXPECT_EQ(Text(oSplash, "lblWarning"), "See the About box.");
    const QLabel* pLogo = oSplash.findChild<QLabel*>("imgLogo");
    ASSERT_NE(pLogo, nullptr);
    EXPECT_FALSE(pLogo->pixmap().isNull());
    const QFont oTitle = oSplash.findChild<QLabel*>("lblProductName")->font();
    EXPECT_TRUE(oTitle.bold());
    EXPECT_EQ(oTitle.pointSize(), 24);
}

TEST(SplashTest, MissingValuesKeepTheDesignTexts) {
    FSplash oSplash(CVersionInfo("Dayfold", "", "", "", 2, 5, 0));
    EXPECT_EQ(Text(oSplash, "lblProductName"), "Dayfold");
    EXPECT_EQ(Text(oSplash, "lblVersion"), "Version 2.5.0");
    EXPECT_EQ(Text(oSplash, "lblCompany"), "Company");
    EXPECT_EQ(Text(oSplash, "lblCopyright"), "Copyright");
    EXPECT_EQ(Text(oSplash, "lblWarning"), "Warning");
    FSplash oEmpty{CVersionInfo()};
    EXPECT_EQ(Text(oEmpty, "lblProductName"), "Product");
}

TEST(SplashTest, ClosesOnAClickOnAnyPart) {
    for (const char* szPart :
         {"", "fraSplash", "imgLogo", "lblProductName", "lblVersion", "lblWarning"}) {
        FSplash oSplash(SampleVersion());
        oSplash.show();
        ASSERT_TRUE(oSplash.isVisible());
        QWidget* pTarget = *szPart == '\0' ? &oSplash : oSplash.findChild<QWidget*>(szPart);
        ASSERT_NE(pTarget, nullptr) << szPart;
        QTest::mouseClick(pTarget, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        EXPECT_FALSE(oSplash.isVisible()) << "a click on " << szPart;
    }
}

TEST(SplashTest, StepsAsideForAQuestionAndLeavesOtherClicksAlone) {
    FSplash oSplash(SampleVersion());
    oSplash.show();
    QDialog oQuestion;
    oQuestion.setModal(true);
    oQuestion.show();
    EXPECT_FALSE(oSplash.isVisible()) << "hidden while the question is open";
    QPushButton* pAnswer = new QPushButton("No", &oQuestion);
    int iClicks = 0;
    QObject::connect(pAnswer, &QPushButton::clicked, [&] { ++iClicks; });
    QTest::mouseClick(pAnswer, Qt::LeftButton);
    EXPECT_EQ(iClicks, 1) << "a click on the question reaches it";
    oQuestion.hide();
    EXPECT_TRUE(oSplash.isVisible()) << "back once it is answered";

    QDialog oTool; // a window that is not a question leaves it alone
    oTool.show();
    EXPECT_TRUE(oSplash.isVisible());
    oSplash.close();
    oQuestion.show();
    oQuestion.hide();
    EXPECT_FALSE(oSplash.isVisible()) << "a splash closed by the user stays closed";
}

TEST(SplashTest, ClosesOnAnyKey) {
    for (const Qt::Key eKey : {Qt::Key_Escape, Qt::Key_A, Qt::Key_Space, Qt::Key_F1}) {
        FSplash oSplash(SampleVersion());
        oSplash.show();
        QTest::keyClick(&oSplash, eKey);
        EXPECT_FALSE(oSplash.isVisible()) << "key " << eKey;
    }
}

TEST(SplashTest, ProgramVersionInformation) {
    const CVersionInfo& oProgram = CVersionInfo::Program();
    EXPECT_EQ(oProgram.ProductName(), "Dayfold");
    EXPECT_EQ(oProgram.CompanyName(), "Quillon, Inc.");
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8("^Copyright \u00A9 20\\d\\d Quillon, Inc\\.$"))
                    .match(QString::fromStdString(oProgram.LegalCopyright()))
                    .hasMatch())
        << oProgram.LegalCopyright();
    EXPECT_NE(oProgram.Comments().find("About box"), std::string::npos);
    EXPECT_EQ(oProgram.VersionText(), DAYFOLD_PROJECT_VERSION);
}

} // namespace
