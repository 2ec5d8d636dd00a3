#include "CLibraryFixture.h"
#include "platform/shelllink/CShellLink.h"
#include "support/CTempFolder.h"

#include <filesystem>

using qlCommonLibrary::SHOWMAXIMIZE;
using qlCommonLibrary::SHOWMINIMIZE;
using qlCommonLibrary::SHOWNORMAL;
namespace fs = std::filesystem;

namespace {

class ShellLinkOperationsTest : public CLibraryFixture {
protected:
    struct SFields {
        std::string sExecutable = "e", sWorking = "w", sArguments = "a", sIcon = "i";
        std::int32_t lIconIndex = -99;
        std::int32_t lShowCommand = -99;
    };
    SFields Read(const std::string& sLink) {
        SFields oFields;
        m_oLibrary.GetShellLinkInfo(sLink, oFields.sExecutable, oFields.sWorking,
                                    oFields.sArguments, oFields.sIcon, oFields.lIconIndex,
                                    oFields.lShowCommand);
        return oFields;
    }

    CTempFolder m_oTemp;
};

TEST_F(ShellLinkOperationsTest, WrittenLinkReadsBackFieldByField) {
    const std::string sLink = m_oTemp / "Editor.lnk";
    m_oLibrary.CreateShellLink(sLink, "/usr/bin/editor", "/home/u/work", "--new \"a b.txt\"",
                               "/usr/share/icons/editor.png", 2, SHOWMAXIMIZE);
    ExpectNoReport();
    const SFields oFields = Read(sLink);
    ExpectNoReport();
    EXPECT_EQ(oFields.sExecutable, "/usr/bin/editor");
    EXPECT_EQ(oFields.sWorking, "/home/u/work");
    EXPECT_EQ(oFields.sArguments, "--new \"a b.txt\"");
    EXPECT_EQ(oFields.sIcon, "/usr/share/icons/editor.png");
    EXPECT_EQ(oFields.lIconIndex, 2);
    EXPECT_EQ(oFields.lShowCommand, SHOWMAXIMIZE);
    EXPECT_EQ(CShellLink::Load(sLink).Description(), "ShellLink Sample");
}

TEST_F(ShellLinkOperationsTest, EmptyOptionalFieldsStayEmptyAndExistingLinkIsOverwritten) {
    const std::string sLink = m_oTemp / "Tool.lnk";
    m_oLibrary.CreateShellLink(sLink, "/usr/bin/old", "/old", "-x", "/old.png", 4, SHOWMINIMIZE);
    m_oLibrary.CreateShellLink(sLink, "/usr/bin/tool", "", "", "", 7, SHOWNORMAL);
    ExpectNoReport();
    const SFields oFields = Read(sLink);
    EXPECT_EQ(oFields.sExecutable, "/usr/bin/tool");
    EXPECT_EQ(oFields.sWorking, "");
    EXPECT_EQ(oFields.sArguments, "");
    EXPECT_EQ(oFields.sIcon, "");
    EXPECT_EQ(oFields.lIconIndex, 0); // no icon file: the index is not stored either
    EXPECT_EQ(oFields.lShowCommand, SHOWNORMAL);
}

TEST_F(ShellLinkOperationsTest, LongPathsAreNotCut) {
    std::string sLongFolder = "/srv";
    while (sLongFolder.size() < 400) {
        sLongFolder += "/a-rather-long-folder-name";
    }
    const std::string sLink = m_oTemp / "Long.lnk";
    m_oLibrary.CreateShellLink(sLink, sLongFolder + "/program", sLongFolder, "", "", 0, SHOWNORMAL);
    const SFields oFields = Read(sLink);
    ExpectNoReport();
    EXPECT_EQ(oFields.sExecutable, sLongFolder + "/program");
    EXPECT_EQ(oFields.sWorking, sLongFolder);
}

TEST_F(ShellLinkOperationsTest, EmptyNamesDoNothing) {
    m_oLibrary.CreateShellLink("", "/usr/bin/tool", "", "", "", 0, SHOWNORMAL);
    m_oLibrary.CreateShellLink(m_oTemp / "x.lnk", "", "", "", "", 0, SHOWNORMAL);
    ExpectNoReport();
    EXPECT_FALSE(fs::exists(m_oTemp / "x.lnk"));
    const SFields oFields = Read("");
    ExpectNoReport();
    EXPECT_EQ(oFields.sExecutable, "e");
    EXPECT_EQ(oFields.lShowCommand, -99);
}

TEST_F(ShellLinkOperationsTest, UnreadableLinkAssignsNothingAndReports) {
    SFields oMissing = Read(m_oTemp / "missing.lnk");
    OnlyReport(53, "GetShellLinkInfo");
    EXPECT_EQ(oMissing.sExecutable, "e");
    EXPECT_EQ(oMissing.sWorking, "w");
    EXPECT_EQ(oMissing.lIconIndex, -99);

    const SFields oDamaged = Read(m_oTemp.WriteFile("damaged.lnk", "this is no shortcut"));
    OnlyReport(CShellLink::DamagedLinkError, "GetShellLinkInfo");
    EXPECT_EQ(oDamaged.sExecutable, "e");
    EXPECT_EQ(oDamaged.lShowCommand, -99);
}

TEST_F(ShellLinkOperationsTest, LinkInAMissingFolderIsReported) {
    m_oLibrary.CreateShellLink(m_oTemp / "absent/x.lnk", "/usr/bin/tool", "", "", "", 0,
                               SHOWNORMAL);
    EXPECT_EQ(m_vReports.size(), 1u);
    ASSERT_FALSE(m_vReports.empty());
    EXPECT_EQ(m_vReports[0].sSource, "qlCommonLibrary.Library.CreateShellLink");
    EXPECT_NE(m_vReports[0].lNumber, 0);
    EXPECT_FALSE(fs::exists(m_oTemp / "absent"));
}

TEST_F(ShellLinkOperationsTest, ReadsALinkMadeOnWindows) {
    const std::string sCorpus = std::string(DAYFOLD_TEST_DATA) + "/lnk-corpus";
    const std::string sLink = sCorpus + "/ez-misc-local-file-xp.lnk";
    if (!fs::exists(sLink)) {
        GTEST_SKIP() << "corpus file missing";
    }
    const SFields oFields = Read(sLink);
    ExpectNoReport();
    const CShellLink oLink = CShellLink::Load(sLink);
    EXPECT_EQ(oFields.sExecutable, oLink.TargetPath());
    EXPECT_FALSE(oFields.sExecutable.empty());
    EXPECT_EQ(oFields.sWorking, oLink.WorkingDirectory());
    EXPECT_EQ(oFields.lShowCommand, static_cast<std::int32_t>(oLink.ShowCommand()));
}

TEST_F(ShellLinkOperationsTest, ReadsTheIntendedPathOfALinkWrittenInAnotherCodePage) {
    // Its ANSI path was written in code page 1251; the link's own Unicode texts say so.
    const SFields oFields =
        Read(std::string(DAYFOLD_TEST_DATA) + "/lnk-corpus/lnkparse3-invalid-date3.lnk");
    ExpectNoReport();
    EXPECT_EQ(
        oFields.sExecutable,
        "C:\\Users\\\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82\xD0"
        "\xB5\xD0\xBB\xD1\x8C\\Desktop\\\xC2\xA0");
}

} // namespace
