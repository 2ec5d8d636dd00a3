#include "CLibraryFixture.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <filesystem>
#include <unistd.h>

using qlCommonLibrary::Variant;
namespace fs = std::filesystem;

namespace {

class FileOperationsTest : public CLibraryFixture {
protected:
    struct SParts {
        std::string sDrive, sFolder, sDocument;
        bool operator==(const SParts&) const = default;
    };
    SParts Parse(const std::string& sPath) {
        SParts oParts{"x", "x", "x"};
        m_oLibrary.ParsePath(sPath, oParts.sDrive, oParts.sFolder, oParts.sDocument);
        return oParts;
    }

    CTempFolder m_oTemp;
};

TEST_F(FileOperationsTest, ParsePathSplitsDriveFolderAndDocument) {
    EXPECT_EQ(Parse("C:\\Windows\\Recent\\a.lnk"), (SParts{"C:", "\\Windows\\Recent\\", "a.lnk"}));
    EXPECT_EQ(Parse("C:\\a.txt"), (SParts{"C:", "\\", "a.txt"}));
    EXPECT_EQ(Parse("C:a.txt"), (SParts{"C:", "", "a.txt"}));
    EXPECT_EQ(Parse("a.txt"), (SParts{"", "", "a.txt"}));
    EXPECT_EQ(Parse(""), (SParts{"", "", ""}));
    EXPECT_EQ(Parse("\\\\server\\share\\doc.txt"), (SParts{"", "\\\\server\\share\\", "doc.txt"}));
    EXPECT_EQ(Parse("/home/u/a.txt"), (SParts{"", "/home/u/", "a.txt"}));
    EXPECT_EQ(Parse("//server/share/doc.txt"), (SParts{"", "//server/share/", "doc.txt"}));
    EXPECT_EQ(Parse("/a.txt"), (SParts{"", "/", "a.txt"}));
    EXPECT_EQ(Parse("  C:\\Data/Sub\\  "), (SParts{"C:", "\\Data/Sub\\", ""}));
    ExpectNoReport();
}

TEST_F(FileOperationsTest, RInstrFindsTheLastOccurrence) {
    EXPECT_EQ(m_oLibrary.RInstr("C:\\Windows\\Recent\\a.lnk", "\\"), 18);
    EXPECT_EQ(m_oLibrary.RInstr("xxabcxx", "ABC", std::nullopt, Variant(std::int16_t{1})), 3);
    EXPECT_EQ(m_oLibrary.RInstr("xxabcxx", "ABC"), 0);
    EXPECT_EQ(m_oLibrary.RInstr("xxabcxx", "ABC", std::nullopt, Variant(std::int16_t{0})), 0);
    // A match may run past Start; it only has to begin at or before it.
    EXPECT_EQ(m_oLibrary.RInstr("abab", "ab", Variant(std::int16_t{3})), 3);
    EXPECT_EQ(m_oLibrary.RInstr("abab", "ab", Variant(std::int16_t{2})), 1);
    EXPECT_EQ(m_oLibrary.RInstr("abab", "ba", Variant(std::int16_t{1})), 0);
    EXPECT_EQ(m_oLibrary.RInstr("", "a"), 0);
    EXPECT_EQ(m_oLibrary.RInstr("abc", "abcd"), 0);
    ExpectNoReport();
}

TEST_F(FileOperationsTest, RInstrTextCompareFoldsUnicodeCaseAndCountsBytesOfString1) {
    const Variant oText(std::int16_t{1});
    const auto Start = [](int i) { return Variant(static_cast<std::int16_t>(i)); };
    // A share written in capitals by one side and in mixed case by the other.
    EXPECT_EQ(
        m_oLibrary.RInstr("\\\\SERVER\\\xC3\x89TUDES\\a.doc", "\xC3\xA9tudes", std::nullopt, oText),
        10);
    EXPECT_EQ(m_oLibrary.RInstr("\xC3\x89tudes", "\xC3\xA9", std::nullopt, oText), 1);
    EXPECT_EQ(m_oLibrary.RInstr("\xC3\x89tudes", "\xC3\xA9"), 0); // binary stays exact
    // The long s (two bytes) folds to the one-byte "S": positions stay those of String1.
    EXPECT_EQ(m_oLibrary.RInstr("a\xC5\xBF"
                                "b\xC5\xBF",
                                "s", std::nullopt, oText),
              5);
    EXPECT_EQ(m_oLibrary.RInstr("\xC5\xBF\xC5\xBF", "S", Start(4), oText), 3);
    EXPECT_EQ(m_oLibrary.RInstr("\xC5\xBF\xC5\xBF", "S", Start(2), oText), 1);
    // The dotless i (two bytes) folds to "I": a two-byte String2 is found in a one-byte String1,
    // and what follows a shrunken character still maps back.
    EXPECT_EQ(m_oLibrary.RInstr("I", "\xC4\xB1", std::nullopt, oText), 1);
    EXPECT_EQ(m_oLibrary.RInstr("\xC4\xB1x Ix", "IX", std::nullopt, oText), 5);
    EXPECT_EQ(m_oLibrary.RInstr("\xC4\xB1x Ix", "IX", Start(4), oText), 1);
    EXPECT_EQ(m_oLibrary.RInstr("abc", "x", std::nullopt, oText), 0);
    EXPECT_EQ(m_oLibrary.RInstr("abc", "", Start(2), oText), 2);
    ExpectNoReport();
}

TEST_F(FileOperationsTest, RInstrRefusesStartAndCompareOutsideTheirRange) {
    for (const Variant& oStart :
         {Variant(std::int32_t{3}), Variant(std::int16_t{0}), Variant(std::int16_t{-1}),
          Variant(std::int16_t{6}), Variant("3"), Variant::Null(), Variant(3.0)}) {
        EXPECT_EQ(m_oLibrary.RInstr("a\\b\\c", "\\", oStart), 0);
        OnlyReport(32760, "RInstr");
    }
    for (const Variant& oCompare : {Variant(std::int16_t{2}), Variant(std::int16_t{-1}),
                                    Variant::Null(), Variant("text"), Variant(true)}) {
        EXPECT_EQ(m_oLibrary.RInstr("abc", "b", std::nullopt, oCompare), 0);
        OnlyReport(32759, "RInstr");
    }
}

TEST_F(FileOperationsTest, NullTrimRemovesOnlyTrailingNuls) {
    using namespace std::string_literals;
    EXPECT_EQ(m_oLibrary.NullTrim("abc\0\0"s), "abc");
    EXPECT_EQ(m_oLibrary.NullTrim("abc\0 "s), "abc\0 "s);
    EXPECT_EQ(m_oLibrary.NullTrim("\0\0"s), "");
    EXPECT_EQ(m_oLibrary.NullTrim("a\0b"s), "a\0b"s);
}

TEST_F(FileOperationsTest, CreateDirectoryMakesOnlyTheLastLevel) {
    const std::string sNew = m_oTemp / "new";
    m_oLibrary.CreateDirectory(sNew);
    EXPECT_TRUE(fs::is_directory(sNew));
    m_oTemp.WriteFile("new/keep.txt", "x");
    m_oLibrary.CreateDirectory(sNew); // exists: nothing happens
    EXPECT_TRUE(fs::exists(m_oTemp / "new/keep.txt"));
    ExpectNoReport();

    m_oLibrary.CreateDirectory(m_oTemp / "missing/child");
    OnlyReport(76, "CreateDirectory");
    EXPECT_FALSE(fs::exists(m_oTemp / "missing"));

    // A file of that name counts as existing.
    m_oTemp.WriteFile("plain", "x");
    m_oLibrary.CreateDirectory(m_oTemp / "plain");
    ExpectNoReport();
    EXPECT_TRUE(fs::is_regular_file(m_oTemp / "plain"));
}

TEST_F(FileOperationsTest, DelTreeRemovesFilesReadOnlyFilesAndNestedFolders) {
    m_oTemp.WriteFile("tree/a.txt", "a");
    m_oTemp.WriteFile("tree/.hidden", "h");
    m_oTemp.WriteFile("tree/sub/b.txt", "b");
    m_oTemp.WriteFile("tree/sub/deeper/c.txt", "c");
    fs::create_directories(m_oTemp / "tree/empty");
    fs::permissions(m_oTemp / "tree/a.txt", fs::perms::owner_read);
    fs::permissions(m_oTemp / "tree/sub/deeper/c.txt", fs::perms::owner_read);
    // A read-only folder keeps nobody from clearing it either.
    fs::permissions(m_oTemp / "tree/sub/deeper", fs::perms::owner_read | fs::perms::owner_exec);

    m_oLibrary.DelTree(m_oTemp / "tree");
    ExpectNoReport();
    EXPECT_FALSE(fs::exists(m_oTemp / "tree"));
}

TEST_F(FileOperationsTest, DelTreeRemovesLinksButNotWhatTheyPointAt) {
    m_oTemp.WriteFile("outside/precious.txt", "keep");
    m_oTemp.WriteFile("tree/a.txt", "a");
    fs::create_directory_symlink(m_oTemp / "outside", m_oTemp / "tree/link");
    fs::create_symlink(m_oTemp / "outside/precious.txt", m_oTemp / "tree/file-link");
    fs::create_symlink(m_oTemp / "nowhere", m_oTemp / "tree/dangling");

    m_oLibrary.DelTree(m_oTemp / "tree/");
    ExpectNoReport();
    EXPECT_FALSE(fs::exists(m_oTemp / "tree"));
    EXPECT_EQ(CTempFolder::ReadFile(m_oTemp / "outside/precious.txt"), "keep");
}

TEST_F(FileOperationsTest, DelTreeRefusesTheRootAndMissingFolders) {
    // Only paths that fail harmlessly even without the root check: an empty path, and a link
    // that names the root (a link is never followed).
    m_oLibrary.DelTree("");
    OnlyReport(5, "DelTree");
    fs::create_directory_symlink("/", m_oTemp / "root-link");
    m_oLibrary.DelTree(m_oTemp / "root-link");
    OnlyReport(5, "DelTree");
    EXPECT_TRUE(fs::is_symlink(m_oTemp / "root-link"));

    m_oLibrary.DelTree(m_oTemp / "absent");
    OnlyReport(76, "DelTree");
    m_oTemp.WriteFile("file", "x");
    m_oLibrary.DelTree(m_oTemp / "file");
    OnlyReport(76, "DelTree");
    EXPECT_TRUE(fs::exists(m_oTemp / "file"));
}

TEST_F(FileOperationsTest, UniqueFileNameNamesNoExistingFile) {
    const std::string sPrefix = m_oTemp.Path().string() + "/";
    for (int i = 0; i < 20; ++i) {
        const std::string sName = m_oLibrary.UniqueFileName(sPrefix, ".text");
        ASSERT_EQ(sName.rfind(sPrefix, 0), 0u) << sName;
        ASSERT_GT(sName.size(), sPrefix.size() + 4) << sName;
        ASSERT_EQ(sName.substr(sName.size() - 4), ".tex") << sName;
        const std::string sNumber = sName.substr(sPrefix.size(), sName.size() - sPrefix.size() - 4);
        ASSERT_EQ(sNumber.find_first_not_of("0123456789"), std::string::npos) << sName;
        const int iNumber = std::stoi(sNumber);
        EXPECT_GE(iNumber, 0);
        EXPECT_LE(iNumber, 32766);
        EXPECT_FALSE(fs::exists(sName));
        // Taking the name makes the next call choose another.
        m_oTemp.WriteFile(fs::path(sName).filename().string(), "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_oTemp.Path()), fs::directory_iterator()), 20);
    ExpectNoReport();
}

TEST_F(FileOperationsTest, UniqueFileNameTrimsItsArguments) {
    using namespace std::string_literals;
    const std::string sName =
        m_oLibrary.UniqueFileName(" "s + m_oTemp.Path().string() + "\\\0"s, " log\0"s);
    EXPECT_EQ(sName.rfind(m_oTemp.Path().string() + "/", 0), 0u) << sName;
    EXPECT_EQ(sName.substr(sName.size() - 4), ".log");
    const std::string sNoDot = m_oLibrary.UniqueFileName(m_oTemp.Path().string(), "markdown");
    EXPECT_EQ(sNoDot.substr(sNoDot.size() - 4), ".mar");
}

TEST_F(FileOperationsTest, ChangeDriveDirUsesTheFolderPart) {
    const fs::path oSaved = fs::current_path();
    fs::create_directories(m_oTemp / "data/sub");
    m_oLibrary.ChangeDriveDir("C:" + (m_oTemp / "data/sub"));
    ExpectNoReport();
    // Without a final separator the last level is a document name.
    EXPECT_EQ(fs::current_path(), fs::canonical(m_oTemp / "data"));
    m_oLibrary.ChangeDriveDir(m_oTemp / "data/sub/");
    EXPECT_EQ(fs::current_path(), fs::canonical(m_oTemp / "data/sub"));
    m_oLibrary.ChangeDriveDir(m_oTemp / "absent/");
    OnlyReport(76, "ChangeDriveDir");
    EXPECT_EQ(fs::current_path(), fs::canonical(m_oTemp / "data/sub"));
    m_oLibrary.ChangeDriveDir("a.txt");
    ExpectNoReport();
    fs::current_path(oSaved);
}

TEST_F(FileOperationsTest, WindowsFoldersAreHomeAndSystemPrograms) {
    CScopedEnvironment oEnvironment;
    oEnvironment.Set("HOME", m_oTemp / "home/");
    EXPECT_EQ(m_oLibrary.WindowsPath(), m_oTemp / "home");
    EXPECT_EQ(m_oLibrary.WindowsSystemPath(), "/usr/bin");
}

TEST_F(FileOperationsTest, GetSystemFolderPathFindsTheRecentFolder) {
    CScopedEnvironment oEnvironment;
    oEnvironment.Set("HOME", m_oTemp / "home");
    oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
    oEnvironment.Unset("DAYFOLD_HOME");
    oEnvironment.Unset("DAYFOLD_RECENT");
    oEnvironment.Unset("XDG_CONFIG_HOME");

    std::string sPath = "unchanged";
    m_oLibrary.GetSystemFolderPath(0, qlCommonLibrary::CSIDL_RECENT, sPath);
    EXPECT_EQ(sPath, m_oTemp / "data/Dayfold/Recent");
    EXPECT_TRUE(fs::is_directory(sPath));

    oEnvironment.Set("DAYFOLD_RECENT", m_oTemp / "recent/");
    m_oLibrary.GetSystemFolderPath(0, qlCommonLibrary::CSIDL_RECENT, sPath);
    EXPECT_EQ(sPath, m_oTemp / "recent");

    m_oLibrary.GetSystemFolderPath(0, qlCommonLibrary::CSIDL_PERSONAL, sPath);
    EXPECT_EQ(sPath, m_oTemp / "home/Documents");
    m_oLibrary.GetSystemFolderPath(0, qlCommonLibrary::CSIDL_APPDATA, sPath);
    EXPECT_EQ(sPath, m_oTemp / "data");
    ExpectNoReport();
}

TEST_F(FileOperationsTest, GetSystemFolderPathLeavesVirtualFoldersUnchanged) {
    std::string sPath = "unchanged";
    for (const std::int16_t iId : std::initializer_list<std::int16_t>{
             qlCommonLibrary::CSIDL_DRIVES, qlCommonLibrary::CSIDL_NETWORK,
             qlCommonLibrary::CSIDL_PRINTERS, qlCommonLibrary::CSIDL_BITBUCKET, -5}) {
        m_oLibrary.GetSystemFolderPath(0, iId, sPath);
        EXPECT_EQ(sPath, "unchanged") << iId;
    }
    ExpectNoReport();
}

TEST_F(FileOperationsTest, GetSystemFolderPathReportsARecentFolderItCannotMake) {
    CScopedEnvironment oEnvironment;
    m_oTemp.WriteFile("blocker", "x");
    oEnvironment.Set("DAYFOLD_RECENT", m_oTemp / "blocker/Recent");
    std::string sPath = "unchanged";
    m_oLibrary.GetSystemFolderPath(0, qlCommonLibrary::CSIDL_RECENT, sPath);
    OnlyReport(76, "GetSystemFolderPath");
    EXPECT_EQ(sPath, "unchanged");
}

} // namespace
