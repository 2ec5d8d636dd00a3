#include "app/CProgramWorld.h"
#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/resources/MResources.h"
#include "platform/errors/CRunTimeError.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class Core : public ::testing::Test {
protected:
    CProgramWorld m_oWorld;
};

TEST_F(Core, ReportedErrorShowsTheContextPhraseUnderTheProgramTitle) {
    MDayfold::ReportError(CRunTimeError::Standard(RunTimeErrors::PathNotFound), 141,
                          "FMain.PollRecentFolder");
    ASSERT_EQ(m_oWorld.Presenter().Shown().size(), 1U);
    const CRecordingPresenter::SShown& oShown = m_oWorld.Presenter().Shown()[0];
    EXPECT_EQ(oShown.sCaption, "Dayfold");
    EXPECT_EQ(oShown.iStyle, 64);
    EXPECT_EQ(oShown.sText.rfind("An error occurred checking for new documents.", 0), 0U);
    EXPECT_NE(oShown.sText.find("Path not found"), std::string::npos);
    EXPECT_EQ(m_oWorld.ErrorLog(), "1998-03-15 10:00:00\t76\tPath not found\tFMain.PollRecentFolder"
                                   "\tAn error occurred checking for new documents.\n");

    // The phrase of id 136 begins with a capital letter and is used as it stands.
    MDayfold::ReportError(std::runtime_error("x"), 136, "FMain.Explore");
    EXPECT_EQ(m_oWorld.Presenter().Shown()[1].sText.rfind(
                  "An error occurred Exploring the document's folder.", 0),
              0U);
}

TEST_F(Core, TextsWithPlacesAreFilledInOnePass) {
    // "No documents were opened on %1 %2, %3."
    EXPECT_EQ(MResources::LoadResString(159, {"March", "13", "1998"}),
              "No documents were opened on March 13, 1998.");
    // An argument that itself reads like a place stays as it is; a place without an argument
    // too.
    EXPECT_EQ(MResources::LoadResString(166, {"%1 50%"}), "No documents match \"%1 50%\".");
    EXPECT_EQ(MResources::LoadResString(172, {"5"}),
              "5 documents filed on %2 days in the last twelve months.");
    EXPECT_EQ(MResources::LoadResString(9999, {"x"}), "");
}

TEST_F(Core, LoggedErrorStartsWithTheNumberAndShowsNothing) {
    MDayfold::LogError(CRunTimeError::Standard(RunTimeErrors::FileNotFound), "CShortcut.File",
                       true);
    MDayfold::LogError(std::filesystem::filesystem_error(
                           "copy", "/a/b", std::make_error_code(std::errc::permission_denied)),
                       "FMain.ProcessShortcut", false);
    EXPECT_TRUE(m_oWorld.Presenter().Shown().empty());
    EXPECT_EQ(m_oWorld.ErrorLog(),
              "1998-03-15 10:00:00\t53\t53-File not found\tCShortcut.File\t\n"
              "1998-03-15 10:00:00\t70\t70-Permission denied: /a/b\tFMain.ProcessShortcut\t\n");
}

TEST_F(Core, FalseAssertionWritesOneEventAndCarriesOn) {
    MDayfold::Assert().Assert(true, "never written");
    MDayfold::Assert().Assert(false, "FMain.GetShortcuts: Recent folder is missing");
    EXPECT_EQ(m_oWorld.EventLog(),
              "1998-03-15 10:00:00\t2\tFMain.GetShortcuts: Recent folder is missing\n");
    EXPECT_EQ(MDayfold::Assert().ClassName(), "CAssert");
}

} // namespace
