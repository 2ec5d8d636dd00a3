#include "platform/registry/CFreedesktopFileTypes.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/shell/MFileRead.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The system's shared MIME database seen through a folder of its own, the same one for every
// test of the run: the applications of the system stay out of the fake world.
const std::string& SharedMimeRoot() {
    static CTempFolder oRoot;
    static const std::string sRoot = [] {
        const char* szDirs = std::getenv("XDG_DATA_DIRS");
        std::string sDirs = szDirs != nullptr && *szDirs != '\0' ? szDirs : "";
        sDirs += ":/usr/local/share:/usr/share";
        std::size_t nStart = 0;
        while (nStart < sDirs.size()) {
            std::size_t nEnd = sDirs.find(':', nStart);
            nEnd = nEnd == std::string::npos ? sDirs.size() : nEnd;
            const std::string sDir = sDirs.substr(nStart, nEnd - nStart);
            nStart = nEnd + 1;
            if (!sDir.empty() && fs::exists(sDir + "/mime/mime.cache")) {
                fs::create_directory_symlink(sDir + "/mime", oRoot.Path() / "mime");
                return oRoot.Path().string();
            }
        }
        return std::string();
    }();
    return sRoot;
}

// A fake desktop: XDG folders, desktop entries and programs in a temporary folder.
class FreedesktopFileTypesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SharedMimeRoot().empty()) {
            GTEST_SKIP() << "no shared MIME database (package shared-mime-info)";
        }
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
        m_oEnvironment.Set("XDG_CONFIG_DIRS", m_oTemp / "etc-xdg");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
        m_oEnvironment.Set("XDG_DATA_DIRS", (m_oTemp / "sys") + ":" + SharedMimeRoot());
        m_oEnvironment.Set("PATH", "relative/bin:" + (m_oTemp / "bin") + ":" + (m_oTemp / "bin2"));
        m_oEnvironment.Unset("XDG_CURRENT_DESKTOP");
        for (const char* szProgram : {"bin/viewer-a", "bin/viewer b", "bin2/viewer-c"}) {
            const std::string sPath = m_oTemp.WriteFile(szProgram, "#!/bin/sh\n");
            fs::permissions(sPath, fs::perms::owner_all);
        }
        m_oTemp.WriteFile("bin/not-executable", "text");
        Entry("sys/applications/viewer-a.desktop", "viewer-a %U");
        Entry("sys/applications/vendor/viewer-b.desktop", "\"viewer b\" --new-window %f");
        Entry("data/applications/viewer-c.desktop", "viewer-c");
        Entry("sys/applications/viewer-c.desktop", "never-used"); // the user's copy wins
        Entry("sys/applications/broken.desktop", "not-executable %f");
        Entry("sys/applications/gone.desktop", "no-such-program %f");
    }

    void Entry(const std::string& sFile, const std::string& sExec, const std::string& sExtra = "") {
        m_oTemp.WriteFile(sFile, "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + sExec +
                                     "\n" + sExtra + "[Desktop Action New]\nExec=wrong\n");
    }
    std::string Command(CFreedesktopFileTypes& oTypes, const std::string& sType) {
        return oTypes.DefaultValue(sType + "\\shell\\open\\command").value_or("<none>");
    }
    std::string Bin(const std::string& sName) { return m_oTemp / ("bin/" + sName); }
    // The provider with its refusals collected instead of logged.
    void Watch(CFreedesktopFileTypes& oTypes) {
        m_oReporter.Reported = [this](const CErrorReporter& oReport) {
            m_vLogged.push_back(oReport.Message());
        };
        oTypes.SetErrorReporter(&m_oReporter);
    }
    std::string Logged() const {
        std::string sAll;
        for (const std::string& sLine : m_vLogged) {
            sAll += sLine + "\n";
        }
        return sAll;
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
    CErrorReporter m_oReporter;
    std::vector<std::string> m_vLogged;
};

} // namespace

TEST_F(FreedesktopFileTypesTest, TypesDescriptionsAndIconsComeFromTheMimeDatabase) {
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(oTypes.DefaultValue(".pdf"), "application/pdf");
    EXPECT_EQ(oTypes.DefaultValue(".PDF"), "application/pdf");
    EXPECT_EQ(oTypes.DefaultValue(".txt"), "text/plain");
    EXPECT_EQ(oTypes.DefaultValue("application/pdf"), "PDF document");
    EXPECT_EQ(oTypes.DefaultValue("application/pdf\\DefaultIcon"), "application-pdf,0");
    EXPECT_FALSE(oTypes.DefaultValue(".no-such-extension-42"));
    EXPECT_FALSE(oTypes.DefaultValue("."));
    EXPECT_FALSE(oTypes.DefaultValue(".pdf\\DefaultIcon"));
    EXPECT_FALSE(oTypes.DefaultValue("application/x-no-such-type-42"));
    EXPECT_FALSE(oTypes.DefaultValue("application/x-no-such-type-42\\DefaultIcon"));
    EXPECT_FALSE(oTypes.DefaultValue("txtfile"));
    EXPECT_FALSE(oTypes.DefaultValue("application/pdf\\shell"));
    EXPECT_FALSE(oTypes.DefaultValue(""));
}

TEST_F(FreedesktopFileTypesTest, DesktopSpecificListBeatsThePlainOne) {
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-a.desktop\n");
    m_oTemp.WriteFile("config/testde-mimeapps.list",
                      "[Default Applications]\napplication/pdf=vendor-viewer-b.desktop;\n");
    {
        CFreedesktopFileTypes oTypes;
        EXPECT_EQ(Command(oTypes, "application/pdf"), Bin("viewer-a") + " %U");
    }
    m_oEnvironment.Set("XDG_CURRENT_DESKTOP", "Other:TestDE");
    CFreedesktopFileTypes oTypes;
    // A quoted program keeps its quotes around the absolute path.
    EXPECT_EQ(Command(oTypes, "application/pdf"), "\"" + Bin("viewer b") + "\" --new-window %f");
}

TEST_F(FreedesktopFileTypesTest, ListsAreReadInPrecedenceOrder) {
    m_oTemp.WriteFile("sys/applications/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-a.desktop\n"
                      "text/plain=viewer-a.desktop\n");
    m_oTemp.WriteFile("etc-xdg/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-c.desktop\n");
    CFreedesktopFileTypes oTypes;
    // The user's own desktop entry of viewer-c wins over the system's one of the same id.
    EXPECT_EQ(Command(oTypes, "application/pdf"), m_oTemp / "bin2/viewer-c");
    EXPECT_EQ(Command(oTypes, "text/plain"), Bin("viewer-a") + " %U");
}

TEST_F(FreedesktopFileTypesTest, DefaultApplicationsBeatTheCacheAndUnusableEntriesAreSkipped) {
    m_oTemp.WriteFile("sys/applications/mimeinfo.cache",
                      "[MIME Cache]\napplication/pdf=viewer-c.desktop;\n"
                      "image/png=gone.desktop;viewer-c.desktop;\n");
    {
        CFreedesktopFileTypes oTypes;
        EXPECT_EQ(Command(oTypes, "application/pdf"), m_oTemp / "bin2/viewer-c");
        EXPECT_EQ(Command(oTypes, "image/png"), m_oTemp / "bin2/viewer-c");
    }
    m_oTemp.WriteFile("data/applications/mimeapps.list",
                      "[Default Applications]\n"
                      "application/pdf=missing.desktop;broken.desktop;gone.desktop;"
                      "viewer-a.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "application/pdf"), Bin("viewer-a") + " %U");
}

TEST_F(FreedesktopFileTypesTest, AddedAndRemovedAssociationsShapeTheFallback) {
    m_oTemp.WriteFile("sys/applications/mimeinfo.cache",
                      "[MIME Cache]\napplication/pdf=viewer-c.desktop;viewer-a.desktop;\n");
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Removed Associations]\napplication/pdf=viewer-c.desktop;\n");
    {
        CFreedesktopFileTypes oTypes;
        EXPECT_EQ(Command(oTypes, "application/pdf"), Bin("viewer-a") + " %U");
    }
    m_oTemp.WriteFile(
        "config/mimeapps.list",
        "[Added Associations]\napplication/pdf=vendor-viewer-b.desktop;\n"
        "[Removed Associations]\napplication/pdf=viewer-c.desktop;viewer-a.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "application/pdf"), "\"" + Bin("viewer b") + "\" --new-window %f");
}

TEST_F(FreedesktopFileTypesTest, HiddenEntryMasksTheSystemOne) {
    Entry("data/applications/viewer-a.desktop", "viewer-a %U", "Hidden=true\n");
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-a.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "application/pdf"), "<none>");
}

TEST_F(FreedesktopFileTypesTest, TypeWithoutApplicationFallsBackOnItsParentOrHasNone) {
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\ntext/plain=viewer-a.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "text/x-csrc"), Bin("viewer-a") + " %U");
    EXPECT_EQ(Command(oTypes, "application/pdf"), "<none>");
    EXPECT_EQ(Command(oTypes, "application/x-no-such-type-42"), "<none>");
}

TEST_F(FreedesktopFileTypesTest, DatabasesAreReadOnceAndAnswersKept) {
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-a.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "application/pdf"), Bin("viewer-a") + " %U");

    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\napplication/pdf=viewer-c.desktop\n"
                      "image/png=viewer-c.desktop\n");
    Entry("sys/applications/viewer-a.desktop", "viewer-c");
    EXPECT_EQ(Command(oTypes, "application/pdf"), Bin("viewer-a") + " %U");
    EXPECT_EQ(Command(oTypes, "image/png"), "<none>"); // the list as it was first read

    CFreedesktopFileTypes oFresh;
    EXPECT_EQ(Command(oFresh, "application/pdf"), m_oTemp / "bin2/viewer-c");
    EXPECT_EQ(Command(oFresh, "image/png"), m_oTemp / "bin2/viewer-c");
}

TEST_F(FreedesktopFileTypesTest, ExecLinesKeepTheirArgumentsAndEscapes) {
    Entry("data/applications/abs.desktop", "/bin/sh -c \"echo \\\\$1\" %F");
    Entry("data/applications/spaced.desktop", "viewer\\sb %u");
    Entry("data/applications/relative.desktop", "bin/viewer-a %u");
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\nimage/png=abs.desktop\n"
                      "image/gif=spaced.desktop\nimage/jpeg=relative.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "image/png"), "/bin/sh -c \"echo \\$1\" %F");
    EXPECT_EQ(Command(oTypes, "image/gif"), "<none>");  // "viewer b" is one word only when quoted
    EXPECT_EQ(Command(oTypes, "image/jpeg"), "<none>"); // a relative path names no program
}

TEST_F(FreedesktopFileTypesTest, EntryFieldCodesAreExpandedAndTheDocumentsAreLeftToTheOpener) {
    m_oEnvironment.Set("LANG", "de_AT.UTF-8");
    m_oEnvironment.Unset("LC_ALL");
    m_oEnvironment.Unset("LC_MESSAGES");
    const std::string sEntry = m_oTemp.WriteFile(
        "data/applications/full.desktop",
        "[Desktop Entry]\nType=Application\nName=100% Viewer\nName[de]=Betrachter \"A\"\n"
        "Icon=my\\sicon\nExec=viewer-a %i --title=%c %k %d %N %m %U %%\n");
    Entry("data/applications/plain.desktop", "viewer-a %i %c %f");
    m_oTemp.WriteFile("config/mimeapps.list", "[Default Applications]\nimage/png=full.desktop\n"
                                              "image/gif=plain.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "image/png"),
              Bin("viewer-a") + " --icon \"my icon\" \"--title=Betrachter \\\"A\\\"\" " + sEntry +
                  " %U %%");
    m_oEnvironment.Set("LANG", "C");
    CFreedesktopFileTypes oEnglish;
    // A "%" of the name is doubled, so that the opener does not take it for a field code.
    EXPECT_EQ(Command(oEnglish, "image/png"), Bin("viewer-a") +
                                                  " --icon \"my icon\" \"--title=100%% Viewer\" " +
                                                  sEntry + " %U %%");
    // Without an icon %i is nothing.
    EXPECT_EQ(Command(oEnglish, "image/gif"), Bin("viewer-a") + " Viewer %f");
}

TEST_F(FreedesktopFileTypesTest, FieldCodesInsideQuotesStayText) {
    // A document's name put into a quoted shell command could run as commands.
    Entry("data/applications/shell.desktop", "viewer-a -c \"open %f 100%%\" %c");
    m_oTemp.WriteFile("config/mimeapps.list", "[Default Applications]\nimage/png=shell.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "image/png"), Bin("viewer-a") + " -c \"open %%f 100%%\" Viewer");
}

TEST_F(FreedesktopFileTypesTest, EntriesWithAMissingTryExecOrAnOpenQuoteAreUnusable) {
    Entry("data/applications/try.desktop", "viewer-a %f", "TryExec=no-such-program\n");
    Entry("data/applications/quote.desktop", "\"viewer-a %f");
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\nimage/png=try.desktop;quote.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "image/png"), "<none>");
}

TEST_F(FreedesktopFileTypesTest, ApplicationFoldersLinkedBackAreWalkedOnce) {
    // Two links to "." would make a walk that follows them run for ever; a link to the parent
    // and a deep folder chain end it as well.
    const fs::path oApplications = m_oTemp.Path() / "data/applications";
    fs::create_directory_symlink(".", oApplications / "a");
    fs::create_directory_symlink(".", oApplications / "b");
    fs::create_directory_symlink("..", oApplications / "up");
    std::string sDeep = "data/applications";
    for (int i = 0; i < CFreedesktopFileTypes::MaxFolderDepth + 2; ++i) {
        sDeep += "/d";
    }
    Entry(sDeep + "/deep.desktop", "viewer-a %f");
    Entry("data/applications/d/d/near.desktop", "viewer-a %u");
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\nimage/png=a-viewer-c.desktop;"
                      "d-d-d-d-d-d-d-d-d-d-deep.desktop;d-d-near.desktop\n"
                      "image/gif=viewer-c.desktop\n");
    CFreedesktopFileTypes oTypes;
    EXPECT_EQ(Command(oTypes, "image/png"), Bin("viewer-a") + " %u");
    EXPECT_EQ(Command(oTypes, "image/gif"), m_oTemp / "bin2/viewer-c");
}

TEST_F(FreedesktopFileTypesTest, DatabaseFilesThatAreNotRegularOrTooLargeAreRefusedAndLogged) {
    // A list linked to an endless device, an entry that is a named pipe, an entry past the cap:
    // each refused at once, logged once, and the rest of the databases still answer.
    fs::create_directories(m_oTemp.Path() / "config");
    fs::create_symlink("/dev/zero", m_oTemp.Path() / "config/mimeapps.list");
    const std::string sPipe = m_oTemp / "data/applications/pipe.desktop";
    fs::create_directories(m_oTemp.Path() / "data/applications");
    ASSERT_EQ(mkfifo(sPipe.c_str(), 0644), 0);
    const std::string sHuge = m_oTemp.WriteFile("data/applications/huge.desktop", "");
    fs::resize_file(sHuge, MFileRead::DesktopFileCap + 1);
    m_oTemp.WriteFile("etc-xdg/mimeapps.list",
                      "[Default Applications]\nimage/png=pipe.desktop;huge.desktop;"
                      "viewer-a.desktop\nimage/gif=pipe.desktop;viewer-c.desktop\n");
    CFreedesktopFileTypes oTypes;
    Watch(oTypes);
    EXPECT_EQ(Command(oTypes, "image/png"), Bin("viewer-a") + " %U");
    EXPECT_EQ(Command(oTypes, "image/gif"), m_oTemp / "bin2/viewer-c");
    EXPECT_EQ(m_vLogged.size(), 3u) << Logged();
    for (const std::string& sFile : {m_oTemp / "config/mimeapps.list", sPipe, sHuge}) {
        EXPECT_NE(Logged().find(sFile + " was not read"), std::string::npos) << sFile;
    }
}

TEST_F(FreedesktopFileTypesTest, AnUnreadableListIsLoggedAndSkippedForAnOrdinaryUser) {
    m_oTemp.WriteFile("config/mimeapps.list",
                      "[Default Applications]\nimage/png=viewer-c.desktop\n");
    m_oTemp.WriteFile("etc-xdg/mimeapps.list",
                      "[Default Applications]\nimage/png=viewer-a.desktop\n");
    MUnprivileged::OpenToAll(m_oTemp.Path().string());
    MUnprivileged::OpenToAll(SharedMimeRoot());
    chmod((m_oTemp / "config/mimeapps.list").c_str(), 0);
    const int iResult = MUnprivileged::Run([&] {
        CFreedesktopFileTypes oTypes;
        Watch(oTypes);
        if (Command(oTypes, "image/png") != Bin("viewer-a") + " %U") {
            return 1;
        }
        return m_vLogged.size() == 1 &&
                       m_vLogged[0].find("config/mimeapps.list was not read") != std::string::npos
                   ? 0
                   : 2;
    });
    EXPECT_EQ(iResult, 0);
}
