#include "app/journal/CJournalWorld.h"
#include "app/journal/CMissingDocuments.h"
#include "support/MUnprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
using EState = CMissingDocuments::EState;

CDateTime At(int iDay, int iHour = 10) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, 0, 0);
}
} // namespace

TEST(MissingDocuments, OnlyWhatCanBeToldIsMissing) {
    CTempFolder oTemp;
    CFixedClock oClock(At(1));
    CMissingDocuments oMissing(oClock);
    oMissing.SetVolumeFolders({oTemp / "media"});
    const std::string sPresent = oTemp.WriteFile("docs/a.txt", "a");
    fs::create_directories(oTemp / "media/ann/USB");

    EXPECT_EQ(oMissing.Check(sPresent), EState::Present);
    EXPECT_EQ(oMissing.Check(oTemp / "docs"), EState::Present) << "a folder is there too";
    EXPECT_EQ(oMissing.Check(oTemp / "docs/gone.txt"), EState::Missing);
    EXPECT_EQ(oMissing.Check(oTemp / "gone/deeper/x.txt"), EState::Missing);
    EXPECT_EQ(oMissing.Check(sPresent + "/x.txt"), EState::Missing) << "below a file";
    EXPECT_EQ(oMissing.Check(oTemp / "media/ann/USB/x.txt"), EState::Missing)
        << "the volume is there, the document is not";
    EXPECT_EQ(oMissing.Check(oTemp / "media/ann/Stick/x.txt"), EState::Unknown)
        << "a volume not mounted";
    EXPECT_EQ(oMissing.Check(oTemp / "media/Other/dir/x.txt"), EState::Unknown);
    for (const char* psz : {"C:\\Docs\\x.doc", "\\\\server\\share\\x.doc", "relative.txt", ""}) {
        EXPECT_EQ(oMissing.Check(psz), EState::Unknown) << psz;
    }

    // A folder the user may not enter says nothing about what is in it.
    fs::create_directories(oTemp / "closed");
    MUnprivileged::OpenToAll(oTemp.Path());
    chmod((oTemp / "closed").c_str(), 0700);
    const std::string sClosed = oTemp / "closed/x.txt";
    EXPECT_EQ(
        MUnprivileged::Run([&] { return oMissing.Check(sClosed) == EState::Unknown ? 0 : 1; }), 0);
}

TEST(MissingDocuments, AnAnswerIsTrustedForAShortTimeOnly) {
    CTempFolder oTemp;
    CFixedClock oClock(At(1));
    CMissingDocuments oMissing(oClock, 30);
    const std::string sDocument = oTemp.WriteFile("a.txt", "a");
    EXPECT_FALSE(oMissing.Missing(sDocument));
    fs::remove(sDocument);
    oClock.SetNow(At(1).AddSeconds(29));
    EXPECT_FALSE(oMissing.Missing(sDocument)) << "remembered";
    oClock.SetNow(At(1).AddSeconds(30));
    EXPECT_TRUE(oMissing.Missing(sDocument)) << "looked at again";

    oTemp.WriteFile("a.txt", "back");
    oClock.SetNow(At(1).AddSeconds(-3600));
    EXPECT_FALSE(oMissing.Missing(sDocument)) << "a clock set back makes an answer old";
    fs::remove(sDocument);
    EXPECT_FALSE(oMissing.Missing(sDocument));
    oMissing.Forget();
    EXPECT_TRUE(oMissing.Missing(sDocument));
    EXPECT_TRUE(oMissing.Missing(oTemp.Path().string() + "/", "a.txt"));
    EXPECT_FALSE(oMissing.Missing("", "a.txt"));
}

TEST(MissingDocuments, RemoveMissingLinksTakesOnlyDocumentsStillGone) {
    CJournalWorld oWorld;
    const std::string sKept = oWorld.Temp().WriteFile("docs/kept.txt", "k");
    const std::string sGone = oWorld.Temp() / "docs/gone.txt";
    const std::string sBack = oWorld.Temp() / "docs/back.txt";
    oWorld.File("kept.txt", sKept, At(2));
    oWorld.File("gone.txt", sGone, At(2, 11));
    oWorld.File("gone.txt", sGone, At(3));
    oWorld.File("back.txt", sBack, At(3, 11));
    oWorld.File("windows.doc", "C:\\Docs\\windows.doc", At(3, 12));

    CMissingDocuments oMissing(oWorld.Clock());
    const std::vector<std::string> vFound = oMissing.FindMissing();
    EXPECT_EQ(vFound, (std::vector<std::string>{oWorld.DayFolder(At(2)) + "/gone.txt.lnk",
                                                oWorld.DayFolder(At(3)) + "/back.txt.lnk",
                                                oWorld.DayFolder(At(3)) + "/gone.txt.lnk"}));
    // Between the question and the answer, one document comes back.
    oWorld.Temp().WriteFile("docs/back.txt", "b");
    EXPECT_EQ(oMissing.RemoveMissing(vFound), 2);
    EXPECT_FALSE(fs::exists(oWorld.DayFolder(At(3)) + "/gone.txt.lnk"));
    EXPECT_TRUE(fs::exists(oWorld.DayFolder(At(3)) + "/back.txt.lnk"));
    EXPECT_TRUE(fs::exists(oWorld.DayFolder(At(3)) + "/windows.doc.lnk"));
    EXPECT_TRUE(fs::exists(oWorld.DayFolder(At(2)) + "/kept.txt.lnk"));
    EXPECT_TRUE(oMissing.FindMissing().empty());
    // Nothing outside the repository is ever removed.
    EXPECT_EQ(oMissing.RemoveMissing({sKept, oWorld.DailyPath() + "/../kept.txt.lnk"}), 0);
    EXPECT_TRUE(fs::exists(sKept));
}
