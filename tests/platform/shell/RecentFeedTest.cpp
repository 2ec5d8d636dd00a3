#include "platform/shell/CRecentFeed.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/shell/CRecentLinkReader.h"
#include "platform/shell/CXbelReader.h"
#include "platform/shelllink/CShellLink.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t Second = 1000000;
constexpr std::int64_t March5 = 1709633472 * Second; // 2024-03-05T10:11:12Z
constexpr std::int64_t March6 = 1709712000 * Second; // 2024-03-06T08:00:00Z
constexpr std::int64_t March7 = 1709803800 * Second; // 2024-03-07T09:30:00Z

std::string Bookmark(const std::string& sHref, const std::string& sAdded,
                     const std::string& sModified, const std::string& sVisited,
                     const std::string& sInside = "") {
    return "  <bookmark href=\"" + sHref + "\" added=\"" + sAdded + "\" modified=\"" + sModified +
           "\" visited=\"" + sVisited +
           "\">\n    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
           "        <mime:mime-type type=\"text/plain\"/>\n" +
           sInside +
           "        <bookmark:applications>\n"
           "          <bookmark:application name=\"editor\" exec=\"&apos;editor %u&apos;\" "
           "count=\"1\"/>\n        </bookmark:applications>\n      </metadata>\n    </info>\n"
           "  </bookmark>\n";
}

std::string Xbel(const std::string& sBookmarks) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
           "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
           "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n" +
           sBookmarks + "</xbel>";
}

std::int64_t Modified(const std::string& sPath) {
    struct stat oStat {};
    if (stat(sPath.c_str(), &oStat) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(oStat.st_mtim.tv_sec) * Second + oStat.st_mtim.tv_nsec / 1000;
}

void SetModified(const std::string& sPath, std::int64_t llMicroseconds) {
    const timespec tsTime{static_cast<time_t>(llMicroseconds / Second),
                          static_cast<long>(llMicroseconds % Second * 1000)};
    const timespec atsTimes[2] = {tsTime, tsTime};
    utimensat(AT_FDCWD, sPath.c_str(), atsTimes, 0);
}

// A temporary home with the desktop's records in it and a Recent folder to fill.
class RecentFeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "home/data");
        m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "home/config");
        fs::create_directories(m_oTemp.Path() / "Recent");
        fs::create_directories(m_oTemp.Path() / "home/data");
        m_oReporter.Reported = [this](const CErrorReporter& oReport) {
            m_vLogged.push_back(oReport.Message());
        };
    }
    std::unique_ptr<CRecentFeed> NewFeed() {
        auto pFeed = std::make_unique<CRecentFeed>(m_oTemp / "Recent");
        pFeed->SetErrorReporter(&m_oReporter);
        return pFeed;
    }
    std::string WriteXbel(const std::string& sBookmarks) {
        return m_oTemp.WriteFile("home/data/recently-used.xbel", Xbel(sBookmarks));
    }
    std::string Shortcut(const std::string& sName) const { return m_oTemp / ("Recent/" + sName); }
    std::string TargetOf(const std::string& sName) const {
        return CShellLink::Load(Shortcut(sName)).TargetPath();
    }
    std::vector<std::string> RecentNames() const {
        std::vector<std::string> vNames;
        for (const auto& oEntry : fs::directory_iterator(m_oTemp.Path() / "Recent")) {
            vNames.push_back(oEntry.path().filename().string());
        }
        std::sort(vNames.begin(), vNames.end());
        return vNames;
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
    CErrorReporter m_oReporter;
    std::vector<std::string> m_vLogged;
};

TEST_F(RecentFeedTest, BookmarksBecomeShortcutsNamedAfterTheirDocumentsDatedByTheirLastUse) {
    WriteXbel(Bookmark("file:///home/ann/Docs/Report.txt", "2024-03-01T09:00:00Z",
                       "2024-03-05T10:11:12.654321Z", "2024-03-02T09:00:00Z") +
              Bookmark("file:///home/ann/My%20Docs/%C3%89t%C3%A9%20%2523%201.odt",
                       "2024-03-01T09:00:00Z", "2024-03-01T09:00:00Z", "2024-03-01T09:00:00Z",
                       "<bookmark:applications><bookmark:application name=\"old\" exec=\"x\" "
                       "timestamp=\"1709712000\" count=\"2\"/></bookmark:applications>") +
              Bookmark("file://localhost/srv/plan", "2024-03-07T09:30:00+00:00",
                       "2024-03-07T10:30:00+01:00", "2024-03-07T09:00:00-01:30"));
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 3);
    EXPECT_EQ(RecentNames(),
              (std::vector<std::string>{"Report.txt.lnk", "plan.lnk", "Été %23 1.odt.lnk"}));
    const CShellLink oLink = CShellLink::Load(Shortcut("Report.txt.lnk"));
    EXPECT_EQ(oLink.TargetPath(), "/home/ann/Docs/Report.txt");
    EXPECT_EQ(oLink.WorkingDirectory(), "/home/ann/Docs");
    EXPECT_EQ(Modified(Shortcut("Report.txt.lnk")), March5 + 654321) << "to the microsecond";
    EXPECT_EQ(TargetOf("Été %23 1.odt.lnk"), "/home/ann/My Docs/Été %23 1.odt");
    EXPECT_EQ(Modified(Shortcut("Été %23 1.odt.lnk")), March6) << "an old writer's timestamp";
    EXPECT_EQ(TargetOf("plan.lnk"), "/srv/plan");
    EXPECT_EQ(Modified(Shortcut("plan.lnk")), March7 + 3600 * Second) << "the latest, in UTC";
    EXPECT_TRUE(m_vLogged.empty());
}

TEST_F(RecentFeedTest, PrivateForeignAndNonDocumentEntriesAreLeftOut) {
    const std::string sDay = "2024-03-05T10:11:12Z";
    WriteXbel(Bookmark("file:///home/ann/secret.txt", sDay, sDay, sDay, "<bookmark:private/>") +
              Bookmark("https://example.org/page.html", sDay, sDay, sDay) +
              Bookmark("file://server/share/remote.txt", sDay, sDay, sDay) +
              "  <folder><title>F</title>" + Bookmark("file:///in/folder.txt", sDay, sDay, sDay) +
              "</folder>\n  <alias ref=\"x\"/>\n  <separator/>\n" +
              Bookmark("file:///home/ann/kept.txt", sDay, sDay, sDay));
    EXPECT_EQ(NewFeed()->Update(), 1);
    EXPECT_EQ(RecentNames(), (std::vector<std::string>{"kept.txt.lnk"}));
    EXPECT_TRUE(m_vLogged.empty()) << "none of these is damage";
}

TEST_F(RecentFeedTest, TheMoreRecentOfTwoSameNamedDocumentsWinsAcrossSources) {
    WriteXbel(Bookmark("file:///a/Report.txt", "2024-03-05T10:11:12Z", "2024-03-05T10:11:12Z",
                       "2024-03-05T10:11:12Z") +
              Bookmark("file:///b/Report.txt", "2024-03-06T08:00:00Z", "2024-03-06T08:00:00Z",
                       "2024-03-06T08:00:00Z") +
              Bookmark("file:///a/Notes.txt", "2024-03-06T08:00:00Z", "2024-03-06T08:00:00Z",
                       "2024-03-06T08:00:00Z"));
    const std::string sLink = m_oTemp.WriteFile("home/data/RecentDocuments/Notes.txt.desktop",
                                                "[Desktop Entry]\nType=Link\nURL[$e]=file:///c/"
                                                "Notes.txt\n");
    SetModified(sLink, March7);
    EXPECT_EQ(NewFeed()->Update(), 2);
    EXPECT_EQ(TargetOf("Report.txt.lnk"), "/b/Report.txt");
    EXPECT_EQ(TargetOf("Notes.txt.lnk"), "/c/Notes.txt");
    EXPECT_EQ(Modified(Shortcut("Notes.txt.lnk")), March7);
}

TEST_F(RecentFeedTest, CurrentShortcutsStayAndUnchangedSourcesAreNotReadAgain) {
    const std::string sDay = "2024-03-05T10:11:12Z";
    const std::string sXbel = WriteXbel(Bookmark("file:///d/a.txt", sDay, sDay, sDay) +
                                        Bookmark("file:///d/b.txt", sDay, sDay, sDay));
    // A shortcut already as recent as the use, say one put back when the user opened it.
    const std::string sMarked = m_oTemp.WriteFile("Recent/b.txt.lnk", "kept as it is");
    SetModified(sMarked, March6);
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(CTempFolder::ReadFile(sMarked), "kept as it is");
    EXPECT_EQ(pFeed->Update(), 0);

    // The same bytes count in place, time and identity unchanged: not read, so its damage
    // stays unseen; once its time changes it is read, and the damage is logged once.
    const std::string sText = CTempFolder::ReadFile(sXbel);
    struct stat oBefore {};
    stat(sXbel.c_str(), &oBefore);
    m_oTemp.WriteFile("home/data/recently-used.xbel", std::string(sText.size(), '#'));
    const timespec atsBefore[2] = {oBefore.st_atim, oBefore.st_mtim};
    utimensat(AT_FDCWD, sXbel.c_str(), atsBefore, 0);
    EXPECT_EQ(pFeed->Update(), 0);
    EXPECT_TRUE(m_vLogged.empty());
    SetModified(sXbel, March7);
    EXPECT_EQ(pFeed->Update(), 0);
    EXPECT_EQ(pFeed->Update(), 0);
    EXPECT_EQ(m_vLogged.size(), 1u);

    // A newer use of a document rewrites its shortcut, even one put back earlier.
    WriteXbel(Bookmark("file:///d/b.txt", sDay, sDay, "2024-03-07T09:30:00Z"));
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(TargetOf("b.txt.lnk"), "/d/b.txt");
    EXPECT_EQ(Modified(Shortcut("b.txt.lnk")), March7);
}

TEST_F(RecentFeedTest, AShortcutRemovedByTheUserStaysRemovedUntilTheNextUse) {
    const std::string sDay = "2024-03-05T10:11:12Z";
    WriteXbel(Bookmark("file:///d/a.txt", sDay, sDay, sDay));
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 1);
    fs::remove(Shortcut("a.txt.lnk"));
    WriteXbel(Bookmark("file:///d/a.txt", sDay, sDay, sDay) +
              Bookmark("file:///d/other.txt", sDay, sDay, sDay));
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(RecentNames(), (std::vector<std::string>{"other.txt.lnk"}));
    WriteXbel(Bookmark("file:///d/a.txt", sDay, sDay, "2024-03-06T08:00:00Z"));
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(RecentNames(), (std::vector<std::string>{"a.txt.lnk", "other.txt.lnk"}))
        << "a source that drops a document deletes nothing";
}

TEST_F(RecentFeedTest, DamagedBookmarkFilesGiveEveryWellFormedEntryAndOneLogLinePerChange) {
    const std::string sDay = "2024-03-05T10:11:12Z";
    const std::string sWhole =
        Xbel(Bookmark("file:///d/one.txt", sDay, sDay, sDay) +
             Bookmark("file:///d/two.txt", "2024-03-05T10:11:12", "bad", "") +
             Bookmark("file:///d/no-date.txt", "never", "", "") +
             Bookmark("file:///d/bad%zzescape.txt", sDay, sDay, sDay) +
             Bookmark("", sDay, sDay, sDay) + Bookmark("file:///d/three.txt", sDay, sDay, sDay) +
             Bookmark("file:///d/four.txt", sDay, sDay, sDay));
    // Cut inside the last bookmark, as a full disk leaves it.
    m_oTemp.WriteFile("home/data/recently-used.xbel",
                      sWhole.substr(0, sWhole.find("file:///d/four.txt") + 40));
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 3);
    EXPECT_EQ(RecentNames(),
              (std::vector<std::string>{"one.txt.lnk", "three.txt.lnk", "two.txt.lnk"}));
    ASSERT_EQ(m_vLogged.size(), 1u);
    const std::string& sLine = m_vLogged[0];
    for (const char* szPart :
         {"1 bookmarks without an address", "1 bookmarks with a malformed file address",
          "1 bookmarks without a valid time", "2 malformed times", "line ", "3 documents taken"}) {
        EXPECT_NE(sLine.find(szPart), std::string::npos) << szPart << " in " << sLine;
    }
    EXPECT_EQ(pFeed->Update(), 0);
    EXPECT_EQ(m_vLogged.size(), 1u);

    for (const std::string& sBroken :
         {std::string(), std::string("\0\xff garbage", 10), std::string("<html/>")}) {
        m_oTemp.WriteFile("home/data/recently-used.xbel", sBroken);
        SetModified(m_oTemp / "home/data/recently-used.xbel", March5 + Second * sBroken.size());
        EXPECT_EQ(NewFeed()->Update(), 0);
    }
    EXPECT_EQ(m_vLogged.size(), 4u);
}

TEST_F(RecentFeedTest, LinkEntriesOfTheRecentDocumentsFolder) {
    m_oEnvironment.Set("DAYFOLD_TEST_FOLDER", "/var/tmp");
    const auto Link = [&](const std::string& sName, const std::string& sBody) {
        const std::string sPath = m_oTemp.WriteFile("home/data/RecentDocuments/" + sName,
                                                    "[Desktop Entry]\n" + sBody + "\n");
        SetModified(sPath, March5);
        return sPath;
    };
    Link("a.desktop", "Type=Link\nName=a$b.txt\nURL[$e]=$HOME/Docs/a$$b.txt");
    Link("b.desktop", "Type=Link\nURL[$e]=file:///x/My%20c.txt");
    Link("c.desktop", "Type=Link\nURL=/abs/d.txt");
    Link("d.desktop", "Type=Link\nURL[$e]=${DAYFOLD_TEST_FOLDER}/e.txt");
    Link("web.desktop", "Type=Link\nURL=https://example.org/");
    Link("app.desktop", "Type=Application\nExec=x");
    Link("cmd.desktop", "Type=Link\nURL[$e]=$(rm -rf ~)/f.txt");
    Link("ignored.txt", "Type=Link\nURL=/abs/ignored.txt");
    fs::create_symlink("/dev/zero", m_oTemp.Path() / "home/data/RecentDocuments/zero.desktop");
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 4);
    EXPECT_EQ(RecentNames(),
              (std::vector<std::string>{"My c.txt.lnk", "a$b.txt.lnk", "d.txt.lnk", "e.txt.lnk"}));
    EXPECT_EQ(TargetOf("a$b.txt.lnk"), m_oTemp / "home/Docs/a$b.txt");
    EXPECT_EQ(TargetOf("e.txt.lnk"), "/var/tmp/e.txt");
    EXPECT_EQ(Modified(Shortcut("My c.txt.lnk")), March5);
    EXPECT_EQ(m_vLogged.size(), 3u) << "the application, the command and the device";

    // An entry rewritten at the next use gives the new time.
    SetModified(m_oTemp / "home/data/RecentDocuments/c.desktop", March6);
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(Modified(Shortcut("d.txt.lnk")), March6);
    EXPECT_EQ(m_vLogged.size(), 3u);
}

TEST_F(RecentFeedTest, ShortcutsThatCannotBeWrittenAreLoggedOnceAndTriedAgain) {
    const std::string sDay = "2024-03-05T10:11:12Z";
    WriteXbel(Bookmark("file:///d/a.txt", sDay, sDay, sDay) +
              Bookmark("file:///d/" + std::string(252, 'n') + ".txt", sDay, sDay, sDay));
    MUnprivileged::OpenToAll(m_oTemp.Path().string());
    chmod((m_oTemp / "Recent").c_str(), 0555);
    const int iResult = MUnprivileged::Run([&] {
        auto pFeed = NewFeed();
        if (pFeed->Update() != 0 || pFeed->Update() != 0) {
            return 1;
        }
        return m_vLogged.size() == 2 ? 0 : 2;
    });
    EXPECT_EQ(iResult, 0);

    // Writable again: what failed is written at the next update, the name too long for the
    // file system is still refused, and told no more.
    chmod((m_oTemp / "Recent").c_str(), 0755);
    auto pFeed = NewFeed();
    EXPECT_EQ(pFeed->Update(), 1);
    EXPECT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(pFeed->Update(), 0);
    EXPECT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(RecentNames(), (std::vector<std::string>{"a.txt.lnk"}));

    fs::remove_all(m_oTemp.Path() / "Recent");
    auto pOrphan = NewFeed();
    EXPECT_EQ(pOrphan->Update(), 0);
    EXPECT_EQ(pOrphan->Update(), 0);
    EXPECT_EQ(m_vLogged.size(), 2u) << "a missing Recent folder is told once";
    fs::create_directories(m_oTemp.Path() / "Recent");
    EXPECT_EQ(pOrphan->Update(), 1);
}

TEST_F(RecentFeedTest, LeftoverTemporaryFilesOfAnInterruptedRunAreRemovedAndNothingElse) {
    m_oTemp.WriteFile("Recent/.dayfold-feed-a1B2c3", "half a shortcut");
    m_oTemp.WriteFile("Recent/.dayfold-feed-a1B2c3-not-ours", "x");
    m_oTemp.WriteFile("Recent/Report.txt.lnk", "x");
    NewFeed();
    EXPECT_EQ(RecentNames(),
              (std::vector<std::string>{".dayfold-feed-a1B2c3-not-ours", "Report.txt.lnk"}));
}

TEST(XbelTime, IsoTimesToTheMicrosecond) {
    EXPECT_EQ(CXbelReader::ParseTime("2024-03-05T10:11:12Z"), March5);
    EXPECT_EQ(CXbelReader::ParseTime("2024-03-05T10:11:12.5Z"), March5 + 500000);
    EXPECT_EQ(CXbelReader::ParseTime("2024-03-05T10:11:12.1234567Z"), March5 + 123456);
    EXPECT_EQ(CXbelReader::ParseTime("2024-03-05T11:11:12+01:00"), March5);
    EXPECT_EQ(CXbelReader::ParseTime("2024-03-05T10:11:12"), March5);
    EXPECT_EQ(CXbelReader::ParseTime("2024-02-29T23:59:59Z"), 1709251199 * Second);
    EXPECT_EQ(CXbelReader::ParseTime("1969-12-31T23:59:59Z"), -Second);
    for (const char* szBad :
         {"", "2024-03-05", "2023-02-29T00:00:00Z", "2024-13-01T00:00:00Z", "2024-03-05T24:00:00Z",
          "2024-03-05T10:11:12.Z", "2024-03-05T10:11:12Zjunk", "2024-3-5T10:11:12Z", "+024-03-05T1",
          // A sign is no digit: none of these is a time of the format.
          "-026-12-07T16:40:11Z", "2024-03-05T-1:11:12Z", "2024-03-05T10:-1:12Z",
          "2024-03-05T10:11:-1Z", "2024-03-05T10:11:12+-1:00", "2024-03-05T10:11:12+01:-1"}) {
        EXPECT_EQ(CXbelReader::ParseTime(szBad), std::nullopt) << szBad;
    }
}

TEST(RecentLinkReader, VariablesExpandAsTheLinkEntriesWriteThem) {
    EXPECT_EQ(CRecentLinkReader::ExpandVariables("$HOME/a$$b${HOME}$", "/h"), "/h/a$b/h$");
    EXPECT_EQ(CRecentLinkReader::ExpandVariables("$DAYFOLD_NO_SUCH_VARIABLE/x", "/h"), "/x");
    EXPECT_EQ(CRecentLinkReader::ExpandVariables("$(id)", "/h"), std::nullopt);
    EXPECT_EQ(CRecentLinkReader::ExpandVariables("${HOME", "/h"), std::nullopt);
}

TEST(RecentLinkReader, AUrlWithANulByteNamesNoDocument) {
    using namespace std::string_literals;
    for (const std::string& sUrl :
         {"URL=/var/tmp/a\0b.txt"s, "URL=file:///var/tmp/a\0b.txt"s, "URL[$e]=$HOME/a\0b.txt"s}) {
        std::string sPath;
        std::string sProblem;
        EXPECT_EQ(CRecentLinkReader::Read("[Desktop Entry]\nType=Link\n" + sUrl + "\n", "/h", sPath,
                                          sProblem),
                  CRecentLinkReader::EResult::Damaged)
            << sPath;
        EXPECT_EQ(sProblem, "its URL holds a NUL byte");
    }
}

} // namespace
