#include "app/core/MDayfold.h"
#include "app/journal/CJournalWorld.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/CSuspension.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"
#include "support/CScopedEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
CDateTime At(int iDay, int iHour = 10) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, 0, 0);
}

CRegistryValues PrivacyValues() {
    return MDayfold::Registry()
        .KeyFromPath("\\HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy")
        .Values();
}
} // namespace

TEST(PrivateFolders, PathsMatchPartByPartNeverByText) {
    CPrivateFolders oFolders;
    oFolders.SetFolders({"/tmp", "C:\\Users\\Ann\\AppData\\Local\\Temp\\", "/home/ann/Private/",
                         "\\\\Server\\Share\\Secret", "relative/folder", "  "});
    EXPECT_EQ(oFolders.Folders(),
              (std::vector<std::string>{"/tmp", "C:\\Users\\Ann\\AppData\\Local\\Temp",
                                        "/home/ann/Private", "\\\\Server\\Share\\Secret"}));
    for (const char* psz :
         {"/tmp/x.txt", "/tmp", "/tmp/", "//tmp//a/./b.txt", "/var/../tmp/x",
          "/home/ann/Private/deep/er/x.odt", "c:\\users\\ann\\appdata\\local\\temp\\x.doc",
          "C:/Users/Ann/AppData/Local/Temp/Sub/x.doc", "\\\\server\\share\\secret\\plan.doc"}) {
        EXPECT_TRUE(oFolders.Contains(psz)) << psz;
    }
    for (const char* psz : {"/tmp2/x.txt", "/tmpx", "/tmp/../home/ann/x.txt", "/", "tmp/x.txt", "",
                            "/home/ann/private/x.odt", "/home/ann/Private2/x.odt",
                            "C:\\Users\\Ann\\AppData\\Local\\Temp2\\x.doc",
                            "D:\\Users\\Ann\\AppData\\Local\\Temp\\x.doc", "C:\\tmp\\x.doc",
                            "\\\\server\\share\\secret2\\plan.doc",
                            "\\\\server\\share\\secret\\..\\..\\other\\secret\\x"}) {
        EXPECT_FALSE(oFolders.Contains(psz)) << psz;
    }
    EXPECT_TRUE(CPrivateFolders::IsInside("/a/b/c", "/a/b/"));
    EXPECT_FALSE(CPrivateFolders::IsInside("/a/bc", "/a/b"));
}

TEST(PrivateFolders, SymbolicLinksLeadIntoAPrivateFolderToo) {
    CTempFolder oTemp;
    const std::string sReal = oTemp / "real";
    fs::create_directories(sReal + "/sub");
    fs::create_directory_symlink(sReal, oTemp / "link");
    CPrivateFolders oByReal;
    oByReal.SetFolders({sReal});
    EXPECT_TRUE(oByReal.Contains(oTemp / "link/sub/x.txt")) << "through the link";
    EXPECT_TRUE(oByReal.Contains(oTemp / "link/not-yet.txt")) << "a document not there now";
    CPrivateFolders oByLink;
    oByLink.SetFolders({oTemp / "link"});
    EXPECT_TRUE(oByLink.Contains(sReal + "/sub/x.txt")) << "a folder given by its link";
    EXPECT_FALSE(oByLink.Contains(oTemp / "other/x.txt"));
}

TEST(PrivateFolders, TheGroupGetsTheDefaultsOnceAndHandEditsStay) {
    CJournalWorld oWorld;
    CScopedEnvironment oEnvironment;
    oEnvironment.Set("HOME", oWorld.Temp() / "home");
    oEnvironment.Set("XDG_CACHE_HOME", oWorld.Temp() / "cache/");
    oEnvironment.Set("TMPDIR", "/tmp/");
    CPrivateFolders oFolders;
    oFolders.ReadValues();
    EXPECT_EQ(oFolders.Folders(),
              (std::vector<std::string>{oWorld.Temp() / "cache", "/tmp", "/var/tmp"}));
    EXPECT_EQ(PrivacyValues().Item("Folder 2").Value(), "/tmp");

    // By hand: a value gone, numbers with gaps, a value of another name, a home folder.
    CRegistryValues oValues = PrivacyValues();
    oValues.Remove("Folder 1");
    oValues.Add("Folder 10", "~/Secret", CRegistryValues::StringType);
    oValues.Add("folder 4", "/srv/x;y, \"z\"\\w", CRegistryValues::StringType);
    oValues.Add("Note", "/not/a/folder", CRegistryValues::StringType);
    oEnvironment.Unset("XDG_CACHE_HOME");
    CPrivateFolders oEdited;
    oEdited.ReadValues();
    const std::vector<std::string> vEdited = {"/tmp", "/var/tmp", "/srv/x;y, \"z\"\\w",
                                              oWorld.Temp() / "home/Secret"};
    EXPECT_EQ(oEdited.Folders(), vEdited);

    // Saved and read back, in order; every folder removed stays removed.
    ASSERT_TRUE(oEdited.SaveValues());
    EXPECT_EQ(PrivacyValues().Item("Note").Value(), "/not/a/folder");
    CPrivateFolders oSaved;
    oSaved.ReadValues();
    EXPECT_EQ(oSaved.Folders(), vEdited);
    oSaved.SetFolders({});
    ASSERT_TRUE(oSaved.SaveValues());
    CPrivateFolders oNone;
    oNone.ReadValues();
    EXPECT_TRUE(oNone.Folders().empty()) << "the defaults are not put back";
}

TEST(PrivateFolders, RemoveExistingTakesOnlyThatFoldersCopiesAndTheFoldersLeftEmpty) {
    CJournalWorld oWorld;
    oWorld.File("Secret.txt", "/home/ann/Secret/Secret.txt", At(2));
    oWorld.File("Deep.txt", "/home/ann/Secret/deep/Deep.txt", At(2, 11));
    oWorld.File("Secret.txt", "/home/ann/Secret/Secret.txt", At(3));
    oWorld.File("Open.txt", "/home/ann/Open.txt", At(3, 11));
    oWorld.File("Near.txt", "/home/ann/Secret2/Near.txt", At(4));
    oWorld.File("Secret.txt", "/home/ann/Secret/Secret.txt",
                CDateTime::FromParts(1999, 1, 5, 9, 0, 0));
    const std::string sDay3 = oWorld.DayFolder(At(3));

    CPrivateFolders oFolders;
    const std::vector<std::string> vFound = oFolders.FindExisting("/home/ann/Secret/");
    EXPECT_EQ(vFound.size(), 4U);
    EXPECT_EQ(oFolders.RemoveExisting("/home/ann/Secret"), 4);

    EXPECT_FALSE(fs::exists(oWorld.DailyPath() + "/1998/March/02"))
        << "its program shortcut went with the day's last document";
    EXPECT_FALSE(fs::exists(oWorld.DailyPath() + "/1999")) << "empty month and year go too";
    EXPECT_FALSE(fs::exists(sDay3 + "/Secret.txt.lnk"));
    EXPECT_TRUE(fs::exists(sDay3 + "/Open.txt.lnk"));
    EXPECT_TRUE(fs::exists(sDay3 + "/Notepad.lnk")) << "still beside a document";
    EXPECT_TRUE(fs::exists(oWorld.DayFolder(At(4)) + "/Near.txt.lnk"));

    // The store, rebuilt from the repository, forgets the private documents.
    oWorld.Favorites().RebuildFavorites();
    for (const FavoriteRecord& oRecord : oWorld.Favorites().GetFavorites()) {
        EXPECT_EQ(oRecord.WorkingDirectory.find("/home/ann/Secret/"), std::string::npos);
    }
    EXPECT_EQ(oFolders.RemoveExisting("/home/ann/Secret"), 0);
}

TEST(Suspension, ResumesByItselfAfterItsHour) {
    CFixedClock oClock(CDateTime::FromParts(2024, 10, 27, 1, 30, 0));
    CSuspension oSuspension(oClock);
    EXPECT_FALSE(oSuspension.Suspended());
    EXPECT_TRUE(oSuspension.ResumesAt().IsEmpty());
    oSuspension.Suspend();
    EXPECT_TRUE(oSuspension.Suspended());
    EXPECT_EQ(oSuspension.SecondsLeft(), 3600);
    const CDateTime dResumes = oSuspension.ResumesAt();
    oClock.SetNow(oClock.Now().AddSeconds(3599));
    EXPECT_TRUE(oSuspension.Suspended());
    EXPECT_EQ(oSuspension.SecondsLeft(), 1);
    oClock.SetNow(dResumes);
    EXPECT_FALSE(oSuspension.Suspended());
    EXPECT_EQ(oSuspension.SecondsLeft(), 0);

    oSuspension.Suspend(600);
    oSuspension.Resume();
    EXPECT_FALSE(oSuspension.Suspended());

    oSuspension.Suspend();
    oClock.SetNow(oClock.Now().AddDays(-1));
    EXPECT_FALSE(oSuspension.Suspended()) << "a clock set back does not stretch the hour";
    oSuspension.Suspend(0);
    EXPECT_FALSE(oSuspension.Suspended());
}
