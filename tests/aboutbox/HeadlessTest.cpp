// The component in a process without a desktop application: the dialog cannot exist, and
// every call says so to the box's reporter instead of ending the process or throwing.
#include "aboutbox/AboutBox.h"
#include "aboutbox/Application.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/shell/CFixedClock.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(AboutBoxHeadlessTest, ErrorsReachTheReporterNotTheCaller) {
    CTempFolder oTemp;
    const CFixedClock oClock(CDateTime::FromParts(2026, 3, 14, 9, 26, 53));
    CErrorComponent::SetLogFile(oTemp / "ErrorLog.txt");
    CErrorComponent::SetClock(&oClock);

    qlAboutBox::Application oApplication;
    EXPECT_EQ(oApplication.Version(), DAYFOLD_PROJECT_VERSION);
    std::unique_ptr<qlAboutBox::AboutBox> pBox = oApplication.AboutBox();
    ASSERT_NE(pBox, nullptr);
    ASSERT_NE(pBox->ErrorReporter(), nullptr);
    // Creating it failed to make the dialog: reported, with the flag of initialisation.
    EXPECT_EQ(CTempFolder::ReadFile(oTemp / "ErrorLog.txt"),
              "2026-03-14 09:26:53\t5\tThe About box needs the program's desktop application "
              "and its user-interface thread.\tqlAboutBox.AboutBox.Initialize\t\n");

    std::vector<std::pair<std::string, bool>> colReports;
    pBox->ErrorReporter()->Reported = [&](const CErrorReporter& oReporter) {
        colReports.emplace_back(oReporter.Source(), oReporter.Flag());
    };
    pBox->SetProductName("Widget Pro");
    EXPECT_EQ(pBox->ProductName(), "");
    EXPECT_EQ(pBox->Major(), 0);
    pBox->Display();
    EXPECT_EQ(pBox->ClassName(), "AboutBox");

    const std::vector<std::pair<std::string, bool>> colExpected = {
        {"qlAboutBox.AboutBox.Initialize", false}, {"qlAboutBox.AboutBox.ProductName", true},
        {"qlAboutBox.AboutBox.Initialize", false}, {"qlAboutBox.AboutBox.ProductName", true},
        {"qlAboutBox.AboutBox.Initialize", false}, {"qlAboutBox.AboutBox.Major", true},
        {"qlAboutBox.AboutBox.Initialize", false}, {"qlAboutBox.AboutBox.Display", true},
    };
    EXPECT_EQ(colReports, colExpected);
    EXPECT_EQ(pBox->ErrorReporter()->Number(), 424);
    CErrorComponent::Reset();
}

} // namespace
