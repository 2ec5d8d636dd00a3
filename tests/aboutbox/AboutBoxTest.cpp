#include "aboutbox/AboutBox.h"
#include "aboutbox/Application.h"
#include "aboutbox/CAppObject.h"
#include "aboutbox/frmAbout.h"
#include "app/resources/CVersionAppObject.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CMessagePresenter.h"
#include "tests/aboutbox/CAboutBoxWorld.h"
#include "tests/aboutbox/MQStringPrinting.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using qlAboutBox::AboutBox;
using qlAboutBox::frmAbout;

namespace {

// What the dialog showed while it was open.
struct SShown {
    bool bShown = false;
    QString sCaption;
    QString asLabel[7];
    bool bAutostartVisible = false;
    QString sOk;
    QString sSystemInfo;
    bool bSystemInfoVisible = false;
    QImage oIcon;
};

// Displays the About box; once the modal dialog is up, reads it, runs fnWhileOpen on it and
// closes it with OK. Whatever happens, no dialog is left open, so a failing test cannot hang.
SShown DisplayAndRead(AboutBox& oBox, const std::function<void(frmAbout&)>& fnWhileOpen = {}) {
    SShown oShown;
    QTimer::singleShot(0, [&] {
        if (auto* pForm = qobject_cast<frmAbout*>(QApplication::activeModalWidget())) {
            oShown.bShown = pForm->isVisible();
            oShown.sCaption = pForm->windowTitle();
            for (int i : {0, 1, 2, 3, 5, 6}) {
                oShown.asLabel[i] = pForm->lblAbout(i)->text();
            }
            oShown.bAutostartVisible = pForm->lblAbout(3)->isVisible();
            oShown.sOk = pForm->cmdAbout(0)->text();
            oShown.sSystemInfo = pForm->cmdAbout(1)->text();
            oShown.bSystemInfoVisible = pForm->cmdAbout(1)->isVisible();
            oShown.oIcon = pForm->findChild<QLabel*>("picSystemIcon")->pixmap().toImage();
            if (fnWhileOpen) {
                fnWhileOpen(*pForm);
            }
            QTest::mouseClick(pForm->cmdAbout(0), Qt::LeftButton);
        }
        for (QWidget* pWidget : QApplication::topLevelWidgets()) {
            if (auto* pDialog = qobject_cast<QDialog*>(pWidget); pDialog && pDialog->isVisible()) {
                pDialog->reject();
            }
        }
    });
    oBox.Display();
    return oShown;
}

std::unique_ptr<AboutBox> NewAboutBox() {
    qlAboutBox::Application oApplication;
    return oApplication.AboutBox();
}

void SetGeneralValues(AboutBox& oBox) {
    oBox.SetProductName("Widget Pro");
    oBox.SetMajor(1);
    oBox.SetMinor(2);
    oBox.SetRevision(0);
    oBox.SetCompanyName("Acme Tools");
    oBox.SetLegalCopyright("(c) Acme Tools");
    oBox.SetWarning("Do not copy.");
}

// An application object that fails in the middle of being read.
class CFailingAppObject : public qlAboutBox::CAppObject {
public:
    std::string ProductName() const override { return "Broken"; }
    std::int16_t Major() const override { throw std::runtime_error("no version resource"); }
    std::int16_t Minor() const override { return 0; }
    std::int16_t Revision() const override { return 0; }
    std::string CompanyName() const override { return "Nobody"; }
    std::string LegalCopyright() const override { return ""; }
};

TEST(AboutBoxTest, ComponentNamesAndNewBoxEveryCall) {
    CAboutBoxWorld oWorld;
    qlAboutBox::Application oApplication;
    EXPECT_EQ(oApplication.ClassName(), "Application");
    EXPECT_EQ(oApplication.Version(), "1.0.0");
    auto pFirst = oApplication.AboutBox();
    auto pSecond = oApplication.AboutBox();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_NE(pFirst.get(), pSecond.get());
    EXPECT_EQ(pFirst->ClassName(), "AboutBox");
    ASSERT_NE(pFirst->ErrorReporter(), nullptr);
    EXPECT_NE(pFirst->ErrorReporter(), pSecond->ErrorReporter());
    EXPECT_EQ(oWorld.ErrorLog(), "");
}

TEST(AboutBoxTest, PropertiesShownWithoutAppObject) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    SetGeneralValues(*pBox);
    EXPECT_EQ(pBox->ProductName(), "Widget Pro");
    EXPECT_EQ(pBox->Minor(), 2);

    const SShown oShown = DisplayAndRead(*pBox);
    ASSERT_TRUE(oShown.bShown);
    EXPECT_EQ(oShown.sCaption, "About Widget Pro");
    EXPECT_EQ(oShown.asLabel[1], "Widget Pro");
    EXPECT_EQ(oShown.asLabel[5], "Version: 1.2.0");
    EXPECT_EQ(oShown.asLabel[6], "Acme Tools");
    EXPECT_EQ(oShown.asLabel[2], "(c) Acme Tools");
    EXPECT_EQ(oShown.asLabel[0], "Do not copy.");
    EXPECT_EQ(oShown.sOk, "OK");
    EXPECT_EQ(oShown.sSystemInfo, "&System Info...");
    EXPECT_FALSE(oShown.bAutostartVisible);
    EXPECT_EQ(oWorld.ErrorLog(), "");
}

TEST(AboutBoxTest, AppObjectValuesWinOverProperties) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    SetGeneralValues(*pBox);
    pBox->SetAppObject(std::make_shared<CVersionAppObject>(CVersionInfo(
        "Dayfold", "Quillon, Inc.", "Copyright \u00A9 2026 Quillon, Inc.", "Notice.", 3, 4, 5)));

    const SShown oShown = DisplayAndRead(*pBox);
    ASSERT_TRUE(oShown.bShown);
    EXPECT_EQ(oShown.sCaption, "About Dayfold");
    EXPECT_EQ(oShown.asLabel[1], "Dayfold");
    EXPECT_EQ(oShown.asLabel[5], "Version: 3.4.5");
    EXPECT_EQ(oShown.asLabel[6], "Quillon, Inc.");
    EXPECT_EQ(oShown.asLabel[2], QString::fromUtf8("Copyright \u00A9 2026 Quillon, Inc."));
    // The warning is the box's own, whoever provides the rest.
    EXPECT_EQ(oShown.asLabel[0], "Do not copy.");
    EXPECT_TRUE(oShown.bAutostartVisible);
    EXPECT_EQ(oShown.asLabel[3], "To start Dayfold with the desktop, run: dayfold --autostart on");
    // The property values are kept, only not shown.
    EXPECT_EQ(pBox->ProductName(), "Widget Pro");
}

TEST(AboutBoxTest, ValuesSurviveBetweenDisplays) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    SetGeneralValues(*pBox);
    EXPECT_EQ(DisplayAndRead(*pBox).asLabel[5], "Version: 1.2.0");

    const SShown oAgain = DisplayAndRead(*pBox);
    EXPECT_EQ(oAgain.asLabel[1], "Widget Pro");
    EXPECT_EQ(oAgain.asLabel[0], "Do not copy.");
    EXPECT_EQ(oAgain.asLabel[5], "Version: 1.2.0");

    pBox->SetMinor(7);
    pBox->SetWarning("Changed.");
    const SShown oChanged = DisplayAndRead(*pBox);
    EXPECT_EQ(oChanged.asLabel[5], "Version: 1.7.0");
    EXPECT_EQ(oChanged.asLabel[0], "Changed.");

    // An application object set once holds for later displays; taken away, the properties
    // show again and the desktop line goes.
    pBox->SetAppObject(std::make_shared<CVersionAppObject>());
    EXPECT_EQ(DisplayAndRead(*pBox).asLabel[1], "Dayfold");
    EXPECT_EQ(DisplayAndRead(*pBox).asLabel[1], "Dayfold");
    pBox->SetAppObject(nullptr);
    const SShown oWithout = DisplayAndRead(*pBox);
    EXPECT_EQ(oWithout.asLabel[1], "Widget Pro");
    EXPECT_FALSE(oWithout.bAutostartVisible);
}

TEST(AboutBoxTest, IconShownOrTheDialogsOwnImage) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    const SShown oDesign = DisplayAndRead(*pBox);
    ASSERT_FALSE(oDesign.oIcon.isNull());
    const QRgb lDesignCentre = oDesign.oIcon.pixel(oDesign.oIcon.rect().center());

    QPixmap oRed(32, 32);
    oRed.fill(Qt::red);
    pBox->SetIcon(QIcon(oRed));
    EXPECT_FALSE(pBox->Icon().isNull());
    const SShown oWithIcon = DisplayAndRead(*pBox);
    ASSERT_FALSE(oWithIcon.oIcon.isNull());
    EXPECT_EQ(oWithIcon.oIcon.pixel(oWithIcon.oIcon.rect().center()), QColor(Qt::red).rgb());

    // An icon without a picture brings the dialog's own image back.
    pBox->SetIcon(QIcon());
    const SShown oAgain = DisplayAndRead(*pBox);
    EXPECT_EQ(oAgain.oIcon.pixel(oAgain.oIcon.rect().center()), lDesignCentre);
}

TEST(AboutBoxTest, SystemInfoButtonFollowsTheSearch) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    EXPECT_FALSE(DisplayAndRead(*pBox).bSystemInfoVisible);

    // A desktop program installed since the last display shows the button.
    oWorld.MakeProgram("bin/kinfocenter");
    EXPECT_TRUE(DisplayAndRead(*pBox).bSystemInfoVisible);

    // The machine's registered program.
    std::filesystem::remove(oWorld.ProgramFolder() + "/kinfocenter");
    oWorld.WriteMachineSettings("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                                "\"PATH\"=\"/opt/sysinfo/bin/sysinfo\"\n");
    EXPECT_TRUE(DisplayAndRead(*pBox).bSystemInfoVisible);
}

TEST(AboutBoxTest, SystemInfoStartsTheProgramAndKeepsTheDialogOpen) {
    CAboutBoxWorld oWorld;
    const std::string sProgram = oWorld.MakeProgram("bin/gnome-control-center");
    oWorld.Platform().SetCurrentDesktop("ubuntu:GNOME");
    oWorld.Apply();
    auto pBox = NewAboutBox();
    bool bOpenAfterClick = false;
    const SShown oShown = DisplayAndRead(*pBox, [&](frmAbout& oForm) {
        QTest::mouseClick(oForm.cmdAbout(1), Qt::LeftButton);
        bOpenAfterClick = oForm.isVisible();
    });
    ASSERT_TRUE(oShown.bSystemInfoVisible);
    EXPECT_TRUE(bOpenAfterClick);
    ASSERT_EQ(oWorld.Starts().size(), 1u);
    EXPECT_EQ(oWorld.Starts()[0].sProgram, sProgram);
    EXPECT_EQ(oWorld.Starts()[0].colArguments, (std::vector<std::string>{"system", "about"}));
    EXPECT_TRUE(oWorld.Presenter().Shown().empty());
}

TEST(AboutBoxTest, ProgramThatWillNotStartIsToldToTheUser) {
    CAboutBoxWorld oWorld;
    const std::string sProgram = oWorld.MakeProgram("bin/kinfocenter");
    oWorld.SetStartSucceeds(false);
    auto pBox = NewAboutBox();
    pBox->SetProductName("Widget Pro");
    bool bOpenAfterClick = false;
    DisplayAndRead(*pBox, [&](frmAbout& oForm) {
        QTest::mouseClick(oForm.cmdAbout(1), Qt::LeftButton);
        bOpenAfterClick = oForm.isVisible();
    });
    EXPECT_TRUE(bOpenAfterClick);
    ASSERT_EQ(oWorld.Presenter().Shown().size(), 1u);
    const CRecordingPresenter::SShown& oBox = oWorld.Presenter().Shown()[0];
    EXPECT_EQ(oBox.iStyle, MessageBox::Information);
    EXPECT_EQ(oBox.sCaption, "About Widget Pro");
    EXPECT_NE(oBox.sText.find("could not be started"), std::string::npos);
    EXPECT_NE(oBox.sText.find(sProgram), std::string::npos);
    EXPECT_EQ(oWorld.ErrorLog(),
              "2026-03-14 09:26:53\t70\tPermission denied: " + sProgram +
                  "\tqlAboutBox.frmAbout.cmdAbout_Click\tThe system information program could "
                  "not be started.\n");
}

TEST(AboutBoxTest, FailingAppObjectReachesTheReporterNotTheCaller) {
    CAboutBoxWorld oWorld;
    auto pBox = NewAboutBox();
    pBox->SetWarning("Do not copy.");
    pBox->SetAppObject(std::make_shared<CFailingAppObject>());
    std::vector<std::pair<std::string, bool>> colReports;
    pBox->ErrorReporter()->Reported = [&](const CErrorReporter& oReporter) {
        colReports.emplace_back(oReporter.Source(), oReporter.Flag());
    };

    const SShown oShown = DisplayAndRead(*pBox);
    ASSERT_TRUE(oShown.bShown);
    ASSERT_EQ(colReports.size(), 1u);
    EXPECT_EQ(colReports[0], std::make_pair(std::string("qlAboutBox.frmAbout.LoadVB"), true));
    // The rest of the dialog was still filled.
    EXPECT_EQ(oShown.asLabel[0], "Do not copy.");
    EXPECT_EQ(oShown.sOk, "OK");
    EXPECT_NE(oWorld.ErrorLog().find("\t5\tno version resource\tqlAboutBox.frmAbout.LoadVB\t"),
              std::string::npos);
    EXPECT_TRUE(oWorld.Presenter().Shown().empty());
}

} // namespace
