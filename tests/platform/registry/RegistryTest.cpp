#include "platform/registry/CRegistry.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"
#include "platform/shell/MFileRead.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int ErrorOf(const std::function<void()>& fnCall) {
    try {
        fnCall();
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}

std::vector<std::string> FilesIn(const fs::path& oFolder) {
    std::vector<std::string> vNames;
    for (const auto& oEntry : fs::directory_iterator(oFolder)) {
        vNames.push_back(oEntry.path().filename().string());
    }
    std::sort(vNames.begin(), vNames.end());
    return vNames;
}

// A settings file in a temporary folder, a fixed clock and a reporter whose log lines are kept.
class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() : m_oClock(CDateTime::FromParts(2024, 3, 9, 14, 5, 7)) {
        m_oReporter.SetClock(&m_oClock);
        m_oReporter.Reported = [this](const CErrorReporter& o) {
            m_vLogged.push_back(std::to_string(o.Number()) + "|" + o.Source() + "|" + o.Message());
        };
        m_sFile = m_oTemp / "config/Quillon/Dayfold.reg";
    }

    std::unique_ptr<CRegistry> Open() {
        return std::make_unique<CRegistry>(m_sFile, &m_oTypes, &m_oReporter);
    }
    std::string FileText() const { return CTempFolder::ReadFile(m_sFile); }

    CTempFolder m_oTemp;
    CFixedClock m_oClock;
    CErrorReporter m_oReporter;
    CFileTypeTable m_oTypes;
    std::vector<std::string> m_vLogged;
    std::string m_sFile;
};

} // namespace

TEST_F(RegistryTest, NewTreeHoldsSoftwareAndWritesNothingUntilAChange) {
    auto pRegistry = Open();
    CRegistryKey oSoftware =
        pRegistry->KeyFromRoot(CRegistry::HKEY_CURRENT_USER).OpenSubKey("software");
    EXPECT_EQ(oSoftware.Path(), "\\HKEY_CURRENT_USER\\Software");
    EXPECT_EQ(oSoftware.SubKeys().Count(), 0);
    EXPECT_FALSE(fs::exists(m_oTemp / "config"));
    oSoftware.SubKeys().Add("Quillon");
    EXPECT_EQ(FileText(),
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\n"
              "[HKEY_CURRENT_USER\\Software\\Quillon]\n");
    EXPECT_TRUE(m_vLogged.empty());
}

TEST_F(RegistryTest, OperationsRaiseTheirErrors) {
    auto pRegistry = Open();
    CRegistryKey oRoot = pRegistry->KeyFromRoot(CRegistry::HKEY_CURRENT_USER);
    oRoot.OpenSubKey("Software").SubKeys().Add("Quillon");
    CRegistryKey oKey = pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software\\Quillon");
    oKey.Values().Add("Name", "one", 1);

    EXPECT_EQ(ErrorOf([&] { oRoot.OpenSubKey("Software").SubKeys().Add("QUILLON"); }),
              RunTimeErrors::KeyAlreadyExists);
    EXPECT_EQ(ErrorOf([&] { oKey.Values().Add("name", "two", 1); }), 457);
    EXPECT_EQ(oKey.Values().Item("Name").Value(), "one");
    EXPECT_EQ(ErrorOf([&] { oKey.Values().Item("Missing"); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oKey.Values().Item(""); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oKey.Values().Remove("Missing"); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oKey.Values().Add("Number", "3", 4); }), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ErrorOf([&] { oKey.OpenSubKey("Dayfold"); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software\\Nobody"); }),
              RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath("\\HKEY_LOCAL_MACHINE\\Software"); }),
              RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath("\\"); }), RunTimeErrors::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromRoot(0x80000002); }),
              RunTimeErrors::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { oKey.SubKeys().Add(""); }), RunTimeErrors::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { oKey.SubKeys().Add("a\\b"); }), RunTimeErrors::InvalidProcedureCall);
    EXPECT_EQ(ErrorOf([&] { oKey.SubKeys().Add("two\nlines"); }),
              RunTimeErrors::InvalidProcedureCall);
    EXPECT_EQ(oKey.SubKeys().Count(), 0);
    // A value handle whose value went away fails instead of answering stale text.
    CRegistryValue oValue = oKey.Values().Item("NAME");
    EXPECT_EQ(oValue.Name(), "Name");
    oKey.Values().Remove("name");
    EXPECT_EQ(ErrorOf([&] { oValue.Value(); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oValue.SetValue("x"); }), RunTimeErrors::ElementNotFound);
}

TEST_F(RegistryTest, ChangesPersistAtOnceAndReadBackInAnotherRegistry) {
    {
        auto pRegistry = Open();
        pRegistry->KeyFromRoot(CRegistry::HKEY_CURRENT_USER)
            .OpenSubKey("Software")
            .SubKeys()
            .Add("Quillon");
        CRegistryValues oValues = pRegistry->KeyFromPath("HKCU\\software\\quillon\\").Values();
        oValues.Add("", "default", 1);
        oValues.Add("Text", "a \"quoted\" C:\\path\\\nsecond line", 1);
        oValues.Add("Zahl", "7", 1);
        oValues.Item("zahl").SetValue("8");
        EXPECT_EQ(oValues.Count(), 3);
    }
    auto pRegistry = Open();
    CRegistryKey oKey = pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software\\Quillon");
    EXPECT_EQ(oKey.Path(), "\\HKEY_CURRENT_USER\\Software\\Quillon");
    EXPECT_EQ(oKey.Values().Names(), (std::vector<std::string>{"", "Text", "Zahl"}));
    EXPECT_EQ(oKey.Values().Item("").Value(), "default");
    EXPECT_EQ(oKey.Values().Item("TEXT").Value(), "a \"quoted\" C:\\path\\\nsecond line");
    EXPECT_EQ(oKey.Values().Item("Zahl").Value(), "8");
    EXPECT_EQ(pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Names(),
              std::vector<std::string>{"Quillon"});
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
}

TEST_F(RegistryTest, FailedWriteIsLoggedRaisedAndLeavesFileAndTreeAsTheyWere) {
    auto pRegistry = Open();
    CRegistryKey oSoftware = pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software");
    oSoftware.Values().Add("Kept", "old", 1);
    const std::string sBefore = FileText();

    // A file-size limit makes the write fail even for a user the permissions do not stop.
    struct rlimit oOld {};
    getrlimit(RLIMIT_FSIZE, &oOld);
    const auto pfnOld = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit oSmall = oOld;
    oSmall.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &oSmall);
    const int iSet = ErrorOf([&] { oSoftware.Values().Item("Kept").SetValue("new"); });
    const int iAdd = ErrorOf([&] { oSoftware.SubKeys().Add("Quillon"); });
    setrlimit(RLIMIT_FSIZE, &oOld);
    std::signal(SIGXFSZ, pfnOld);

    EXPECT_EQ(iSet, RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(iAdd, RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(FileText(), sBefore);
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
    EXPECT_EQ(oSoftware.Values().Item("Kept").Value(), "old");
    EXPECT_EQ(oSoftware.SubKeys().Count(), 0);
    ASSERT_EQ(m_vLogged.size(), 2u);
    EXPECT_EQ(m_vLogged[0].rfind("75|CRegistry.Save|", 0), 0u) << m_vLogged[0];
}

TEST_F(RegistryTest, ReadOnlyFolderKeepsTheOldFile) {
    Open()->KeyFromPath("\\HKEY_CURRENT_USER\\Software").Values().Add("Kept", "old", 1);
    const std::string sBefore = FileText();
    // Permissions do not stop root: the change is tried by an unprivileged child.
    MUnprivileged::OpenToAll(m_oTemp.Path());
    fs::permissions(m_oTemp / "config/Quillon", fs::perms::owner_read | fs::perms::owner_exec |
                                                    fs::perms::others_read |
                                                    fs::perms::others_exec);
    EXPECT_EQ(MUnprivileged::Run([&] {
                  auto pRegistry = Open();
                  CRegistryKey oSoftware = pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software");
                  if (ErrorOf([&] { oSoftware.Values().Item("Kept").SetValue("new"); }) !=
                      RunTimeErrors::PathFileAccessError) {
                      return 1;
                  }
                  return oSoftware.Values().Item("Kept").Value() == "old" && m_vLogged.size() == 1
                             ? 0
                             : 2;
              }),
              0);
    fs::permissions(m_oTemp / "config/Quillon", fs::perms::owner_all);
    EXPECT_EQ(FileText(), sBefore);
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
}

TEST_F(RegistryTest, ReadOnlySettingsFileIsNeverWritten) {
    Open()->KeyFromPath("\\HKEY_CURRENT_USER\\Software").Values().Add("Kept", "old", 1);
    const std::string sBefore = FileText();
    const auto Change = [this] {
        return ErrorOf([this] {
            Open()->KeyFromPath("HKCU\\Software").Values().Item("Kept").SetValue("new");
        });
    };

    // Made read-only by its mode: not written, whoever runs the program.
    chmod(m_sFile.c_str(), 0444);
    EXPECT_EQ(Change(), RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(FileText(), sBefore);
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(m_vLogged[0].rfind("75|CRegistry.Save|", 0), 0u) << m_vLogged[0];
    EXPECT_NE(m_vLogged[0].find("read-only"), std::string::npos) << m_vLogged[0];
    struct stat oStat {};
    stat(m_sFile.c_str(), &oStat);
    EXPECT_EQ(oStat.st_mode & 0777, 0444u);

    // Writable by its group only, in a folder anyone may write to: the user could replace the
    // file by renaming over it, and must not.
    MUnprivileged::OpenToAll(m_oTemp.Path());
    chmod(m_sFile.c_str(), 0464);
    EXPECT_EQ(
        MUnprivileged::Run([&] { return Change() == RunTimeErrors::PathFileAccessError ? 0 : 1; }),
        0);
    EXPECT_EQ(FileText(), sBefore);
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
}

TEST_F(RegistryTest, WriteKeepsTheModeAndGoesThroughSymbolicLinks) {
    Open()->KeyFromPath("\\HKEY_CURRENT_USER\\Software").Values().Add("Count", "1", 1);
    chmod(m_sFile.c_str(), 0600);
    Open()->KeyFromPath("HKCU\\Software").Values().Item("Count").SetValue("2");
    struct stat oStat {};
    stat(m_sFile.c_str(), &oStat);
    EXPECT_EQ(oStat.st_mode & 0777, 0600u);

    // The settings file is a relative link to a link to the real file elsewhere.
    const std::string sReal = m_oTemp / "dotfiles/Dayfold.reg";
    fs::create_directories(m_oTemp / "dotfiles");
    fs::rename(m_sFile, sReal);
    fs::create_symlink("Dayfold.reg", m_oTemp / "dotfiles/current.reg");
    fs::create_symlink("../../dotfiles/current.reg", m_sFile);
    Open()->KeyFromPath("HKCU\\Software").Values().Item("Count").SetValue("3");
    EXPECT_TRUE(fs::is_symlink(m_sFile));
    EXPECT_TRUE(fs::is_symlink(m_oTemp / "dotfiles/current.reg"));
    EXPECT_NE(CTempFolder::ReadFile(sReal).find("\"Count\"=\"3\""), std::string::npos);
    stat(sReal.c_str(), &oStat);
    EXPECT_EQ(oStat.st_mode & 0777, 0600u);
    EXPECT_EQ(FilesIn(m_oTemp / "dotfiles"),
              (std::vector<std::string>{"Dayfold.reg", "current.reg"}));
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});

    // A link to a file not made yet: the first write makes it.
    fs::remove(sReal);
    Open()->KeyFromPath("HKCU\\Software").SubKeys().Add("Quillon");
    EXPECT_TRUE(fs::is_symlink(m_sFile));
    EXPECT_NE(CTempFolder::ReadFile(sReal).find("[HKEY_CURRENT_USER\\Software\\Quillon]"),
              std::string::npos);
    EXPECT_TRUE(m_vLogged.empty());
}

TEST_F(RegistryTest, SettingsFileThatIsALoopIsLoggedAndNeverReplaced) {
    fs::create_directories(m_oTemp / "config/Quillon");
    fs::create_symlink("Dayfold.reg", m_sFile);
    auto pRegistry = Open();
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(m_vLogged[0].rfind("75|CRegistry.Load|", 0), 0u) << m_vLogged[0];
    EXPECT_EQ(ErrorOf([&] {
                  pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Add("Q");
              }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_TRUE(fs::is_symlink(m_sFile));
    fs::remove(m_sFile);
}

TEST_F(RegistryTest, OnlyARegularFileWithinItsCapIsReadAndTheRestIsNeverReplaced) {
    // A runaway file one byte past the cap (sparse: it costs no disk).
    fs::create_directories(m_oTemp / "config/Quillon");
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\A]\n");
    fs::resize_file(m_sFile, MFileRead::SettingsFileCap + 1);
    auto pLarge = Open();
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(m_vLogged[0].rfind("75|CRegistry.Load|", 0), 0u) << m_vLogged[0];
    EXPECT_EQ(ErrorOf([&] { pLarge->KeyFromPath("HKCU\\Software").SubKeys().Add("Q"); }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(fs::file_size(m_sFile), MFileRead::SettingsFileCap + 1);

    // A named pipe behind a link: refused at once, not waited on.
    fs::remove(m_sFile);
    const std::string sPipe = m_oTemp / "pipe";
    ASSERT_EQ(mkfifo(sPipe.c_str(), 0600), 0);
    fs::create_symlink(sPipe, m_sFile);
    m_vLogged.clear();
    auto pPipe = Open();
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(ErrorOf([&] { pPipe->KeyFromPath("HKCU\\Software").SubKeys().Add("Q"); }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_TRUE(fs::is_symlink(m_sFile));
    EXPECT_TRUE(fs::is_fifo(sPipe));
}

TEST_F(RegistryTest, UnreadableLineIsLoggedAndEveryOtherSettingKept) {
    const std::string sText = "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                              "\"Favorites Threshold\"=\"5\"\n"
                              "\"Purge Age\"=7\n"
                              "\"Timer Interval\"=\"90\"\n"
                              "\"Colours\"=hex:01,02\n";
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sText);
    auto pRegistry = Open();
    CRegistryValues oValues =
        pRegistry->KeyFromPath("HKCU\\Software\\Quillon\\Dayfold\\Options").Values();
    EXPECT_EQ(oValues.Item("Favorites Threshold").Value(), "5");
    EXPECT_EQ(oValues.Item("Timer Interval").Value(), "90");
    EXPECT_EQ(ErrorOf([&] { oValues.Item("Purge Age"); }), RunTimeErrors::ElementNotFound);
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(m_vLogged[0].rfind("13|CRegistry.Load|", 0), 0u) << m_vLogged[0];
    EXPECT_NE(m_vLogged[0].find("2 lines"), std::string::npos) << m_vLogged[0];
    EXPECT_NE(m_vLogged[0].find("line 5 (\"Purge Age\"=7)"), std::string::npos) << m_vLogged[0];
    EXPECT_NE(m_vLogged[0].find("line 7 (\"Colours\"=hex:01,02)"), std::string::npos);
    // Reading changes nothing on the disk: no file set aside, the text as the user left it.
    EXPECT_EQ(FileText(), sText);
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});

    // The owner's default fills the gap; the kept values stay.
    oValues.Add("Purge Age", "30", 1);
    const std::string sAfter = FileText();
    EXPECT_NE(sAfter.find("\"Favorites Threshold\"=\"5\""), std::string::npos);
    EXPECT_NE(sAfter.find("\"Purge Age\"=\"30\""), std::string::npos);
}

TEST_F(RegistryTest, FolderThatCannotBeMadeFailsTheWrite) {
    m_oTemp.WriteFile("config", "a file where the folder should be");
    auto pRegistry = Open();
    EXPECT_EQ(ErrorOf([&] {
                  pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Add("Q");
              }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software\\Q"); }),
              RunTimeErrors::ElementNotFound);
}

TEST_F(RegistryTest, DamagedFileIsKeptInPlaceNeverReplacedAndTheTreeStartsEmpty) {
    const std::string sOptions = "\\HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options";
    // Nothing of the first can be read: its one key lacks its bracket, so the value has no
    // key. The second has lost its first line.
    const std::string sNoKey = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options\n"
                               "\"Purge Age\"=\"30\"\n";
    const std::string sNoHeader = "ndows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                                  "\"Purge Age\"=\"30\"\n";
    for (const std::string& sDamaged : {sNoKey, sNoHeader}) {
        m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sDamaged);
        m_vLogged.clear();
        auto pRegistry = Open();
        EXPECT_TRUE(pRegistry->Damaged());
        EXPECT_TRUE(pRegistry->KeyIncomplete(sOptions));
        EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath(sOptions); }),
                  RunTimeErrors::ElementNotFound);
        ASSERT_EQ(m_vLogged.size(), 1u);
        EXPECT_EQ(m_vLogged[0].rfind("13|CRegistry.Load|", 0), 0u) << m_vLogged[0];
        EXPECT_NE(m_vLogged[0].find(sDamaged == sNoKey ? "line 3" : "line 1"), std::string::npos)
            << m_vLogged[0];
        EXPECT_NE(m_vLogged[0].find("kept as it is"), std::string::npos) << m_vLogged[0];

        // The owners' defaults are not written over it, by this run or the next.
        EXPECT_EQ(
            ErrorOf([&] {
                pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Add("Quillon");
            }),
            RunTimeErrors::PathFileAccessError);
        EXPECT_EQ(
            ErrorOf([&] { pRegistry->KeyFromPath("HKCU\\Software").Values().Add("B", "2", 1); }),
            RunTimeErrors::PathFileAccessError);
        ASSERT_EQ(m_vLogged.size(), 2u) << "the refusal is logged once";
        EXPECT_EQ(m_vLogged[1].rfind("75|CRegistry.Save|", 0), 0u) << m_vLogged[1];
        pRegistry.reset();
        EXPECT_EQ(
            ErrorOf([&] {
                Open()->KeyFromPath("\\HKEY_CURRENT_USER\\Software").Values().Add("A", "1", 1);
            }),
            RunTimeErrors::PathFileAccessError);
        EXPECT_EQ(FileText(), sDamaged);
        EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
    }
}

TEST_F(RegistryTest, KeysThatMayHaveLostALineAreToldAndTheFileCanBeKept) {
    const std::string sDayfold = "\\HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold";
    const std::string sHead = "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                              "\"Purge Age\"=\"30\"\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy]\n"
                              "\"Folder 1\"=\"/home/ann/Secret\"\n";
    // A value of another kind in one key: only that key may lack a value; the key of the
    // other root, with its value, costs none of ours.
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                      sHead + "\"Folder 2\"=/home/ann/Taxes\n" +
                          "[HKEY_LOCAL_MACHINE\\Software]\n\"Any\"=\"1\"\n");
    auto pRegistry = Open();
    EXPECT_FALSE(pRegistry->Damaged());
    EXPECT_TRUE(pRegistry->KeyIncomplete(sDayfold + "\\privacy"));
    EXPECT_TRUE(pRegistry->KeyIncomplete("HKCU\\Software\\Quillon\\Dayfold\\Privacy\\"));
    EXPECT_FALSE(pRegistry->KeyIncomplete(sDayfold + "\\Options"));
    EXPECT_FALSE(pRegistry->KeyIncomplete(sDayfold));
    EXPECT_EQ(pRegistry->KeyFromPath(sDayfold + "\\Options").Values().Item("Purge Age").Value(),
              "30");

    // Kept, the file is not written again in this run, so the line is not lost.
    const std::string sBefore = FileText();
    pRegistry->KeepSettingsFile();
    EXPECT_EQ(ErrorOf([&] {
                  pRegistry->KeyFromPath(sDayfold + "\\Options")
                      .Values()
                      .Item("Purge Age")
                      .SetValue("31");
              }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(FileText(), sBefore);

    // A key line of our root that cannot be read: its values may be any key's.
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                      sHead + "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Window\n" +
                          "\"Left\"=\"15\"\n");
    pRegistry = Open();
    EXPECT_FALSE(pRegistry->Damaged());
    EXPECT_TRUE(pRegistry->KeyIncomplete(sDayfold + "\\Options"));

    // A file read whole, and a missing one, lack nothing.
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sHead);
    EXPECT_FALSE(Open()->KeyIncomplete(sDayfold + "\\Privacy"));
    fs::remove(m_sFile);
    pRegistry = Open();
    EXPECT_FALSE(pRegistry->Damaged());
    EXPECT_FALSE(pRegistry->KeyIncomplete(sDayfold + "\\Privacy"));
}

TEST_F(RegistryTest, UnreadableSettingsAreNeverReplaced) {
    fs::create_directories(m_sFile); // a folder where the file should be
    auto pRegistry = Open();
    EXPECT_TRUE(pRegistry->Damaged());
    ASSERT_EQ(m_vLogged.size(), 1u);
    EXPECT_EQ(m_vLogged[0].rfind("75|CRegistry.Load|", 0), 0u) << m_vLogged[0];
    EXPECT_EQ(ErrorOf([&] {
                  pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Add("Q");
              }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_TRUE(fs::is_directory(m_sFile));
    EXPECT_EQ(m_vLogged.size(), 2u);

    // A file its user may not read, in a folder the user may write to.
    fs::remove(m_sFile);
    const std::string sText =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Quillon]\n";
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sText);
    MUnprivileged::OpenToAll(m_oTemp.Path());
    chmod(m_sFile.c_str(), 0200);
    EXPECT_EQ(MUnprivileged::Run([&] {
                  auto pUnreadable = Open();
                  if (!pUnreadable->Damaged()) {
                      return 1;
                  }
                  return ErrorOf([&] {
                             pUnreadable->KeyFromPath("HKCU\\Software").SubKeys().Add("Q");
                         }) == RunTimeErrors::PathFileAccessError
                             ? 0
                             : 2;
              }),
              0);
    chmod(m_sFile.c_str(), 0600);
    EXPECT_EQ(FileText(), sText);
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"), std::vector<std::string>{"Dayfold.reg"});
}

TEST_F(RegistryTest, LeftoverTemporaryFilesAreIgnoredAndRemoved) {
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\A]\n");
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg.tmp-Ab12Cd", "Windows Registry Editor Ver");
    m_oTemp.WriteFile("config/Quillon/Other.txt", "not ours");
    auto pRegistry = Open();
    EXPECT_NO_THROW(pRegistry->KeyFromPath("\\HKEY_CURRENT_USER\\Software\\A"));
    EXPECT_TRUE(m_vLogged.empty());
    EXPECT_EQ(FilesIn(m_oTemp / "config/Quillon"),
              (std::vector<std::string>{"Dayfold.reg", "Other.txt"}));
}

TEST_F(RegistryTest, ClassesRootIsAnsweredByTheProviderAndIsReadOnly) {
    m_oTypes.SetDefaultValue(".txt", "txtfile");
    m_oTypes.SetDefaultValue("txtfile", "Text Document");
    m_oTypes.SetDefaultValue("txtfile\\shell\\open\\command", "C:\\WINDOWS\\NOTEPAD.EXE %1");
    auto pRegistry = Open();
    EXPECT_EQ(pRegistry->KeyFromPath("\\HKEY_CLASSES_ROOT\\.TXT").Values().Item("").Value(),
              "txtfile");
    CRegistryKey oType = pRegistry->KeyFromPath("\\HKEY_CLASSES_ROOT\\txtfile");
    EXPECT_EQ(oType.Values().Count(), 1);
    EXPECT_EQ(oType.OpenSubKey("shell").OpenSubKey("open\\command").Values().Item("").Value(),
              "C:\\WINDOWS\\NOTEPAD.EXE %1");
    EXPECT_EQ(ErrorOf([&] { oType.OpenSubKey("DefaultIcon"); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { pRegistry->KeyFromPath("\\HKEY_CLASSES_ROOT\\.pdf"); }),
              RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oType.Values().Item("Other"); }), RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oType.Values().Item("").SetValue("x"); }),
              RunTimeErrors::PermissionDenied);
    EXPECT_EQ(ErrorOf([&] { oType.SubKeys().Add("x"); }), RunTimeErrors::PermissionDenied);
    EXPECT_EQ(ErrorOf([&] { oType.Values().Add("x", "y", 1); }), RunTimeErrors::PermissionDenied);
    // The provider is asked each time, so a table changed later answers at once.
    m_oTypes.SetDefaultValue("TXTFILE", "Plain Text");
    EXPECT_EQ(oType.Values().Item("").Value(), "Plain Text");
    m_oTypes.RemoveKey("txtfile");
    EXPECT_EQ(ErrorOf([&] { oType.Values().Item("").Value(); }), RunTimeErrors::ElementNotFound);
    EXPECT_FALSE(fs::exists(m_sFile));
}

TEST_F(RegistryTest, WithoutProviderThereIsNoClassesRoot) {
    CRegistry oRegistry(m_sFile, nullptr);
    EXPECT_EQ(ErrorOf([&] { oRegistry.KeyFromRoot(CRegistry::HKEY_CLASSES_ROOT); }),
              RunTimeErrors::ElementNotFound);
    EXPECT_EQ(ErrorOf([&] { oRegistry.KeyFromPath("\\HKEY_CLASSES_ROOT\\.txt"); }),
              RunTimeErrors::ElementNotFound);
}

TEST(FileTypeTableTest, KeysCompareWithoutCaseAndCanBeRemoved) {
    CFileTypeTable oTable;
    EXPECT_FALSE(oTable.DefaultValue(".txt"));
    oTable.SetDefaultValue("Word.Document\\Shell\\Open\\Command", "winword %1");
    oTable.SetDefaultValue(".doc", "");
    EXPECT_EQ(oTable.DefaultValue("word.document\\shell\\open\\command"), "winword %1");
    EXPECT_EQ(oTable.DefaultValue(".DOC"), ""); // an empty value still means the key exists
    EXPECT_FALSE(oTable.DefaultValue("Word.Document"));
    oTable.RemoveKey(".Doc");
    EXPECT_FALSE(oTable.DefaultValue(".doc"));
}
