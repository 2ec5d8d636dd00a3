#include "commonlibrary/Application.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/shell/CFixedClock.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

using qlCommonLibrary::Application;

namespace {

TEST(ApplicationTest, NamesAndVersion) {
    Application oApplication;
    EXPECT_EQ(oApplication.ClassName(), "Application");
    EXPECT_EQ(oApplication.Version(), DAYFOLD_PROJECT_VERSION);
    EXPECT_EQ(oApplication.Version(), "1.0.0");
    ASSERT_NE(oApplication.ErrorReporter(), nullptr);
    auto pLibrary = oApplication.Library();
    ASSERT_NE(pLibrary, nullptr);
    EXPECT_EQ(pLibrary->ClassName(), "Library");
}

TEST(ApplicationTest, EveryLibraryIsNewWithItsOwnReporter) {
    Application oApplication;
    auto pFirst = oApplication.Library();
    auto pSecond = oApplication.Library();
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_NE(pFirst.get(), pSecond.get());
    ASSERT_NE(pFirst->ErrorReporter(), nullptr);
    ASSERT_NE(pSecond->ErrorReporter(), nullptr);
    EXPECT_NE(pFirst->ErrorReporter(), pSecond->ErrorReporter());
    EXPECT_NE(pFirst->ErrorReporter(), oApplication.ErrorReporter());

    // A failure of one Library reaches its own reporter only.
    int iFirstReports = 0;
    int iSecondReports = 0;
    pFirst->ErrorReporter()->Reported = [&](const CErrorReporter&) { ++iFirstReports; };
    pSecond->ErrorReporter()->Reported = [&](const CErrorReporter&) { ++iSecondReports; };
    EXPECT_EQ(pFirst->MakeListItemNodeKey("", 1), "");
    EXPECT_EQ(iFirstReports, 1);
    EXPECT_EQ(iSecondReports, 0);

    // The Library outlives the Application that made it.
    {
        Application oShortLived;
        pFirst = oShortLived.Library();
    }
    EXPECT_EQ(pFirst->BooleanToYesNo(true), "Yes");
}

// The program sets the error log once; the library's reporters must write to it.
TEST(ApplicationTest, LibraryReportsGoToTheProgramsErrorLog) {
    CTempFolder oTemp;
    const CFixedClock oClock(CDateTime::FromParts(1998, 1, 5, 10, 30, 0));
    CErrorComponent::SetLogFile(oTemp / "ErrorLog.txt");
    CErrorComponent::SetClock(&oClock);
    {
        Application oApplication;
        auto pLibrary = oApplication.Library();
        pLibrary->RInstr("abc", "b", qlCommonLibrary::Variant(std::int32_t{2}));
    }
    CErrorComponent::Reset();
    EXPECT_EQ(CTempFolder::ReadFile(oTemp / "ErrorLog.txt"),
              "1998-01-05 10:30:00\t32760\tThe Start argument must be a positive integer less "
              "than or equal to the length of String1.\tqlCommonLibrary.Library.RInstr\t\n");
}

} // namespace
