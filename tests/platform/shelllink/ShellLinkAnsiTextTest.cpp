// ANSI texts whose code page the shortcut does not say: paths and strings written under East
// Asian and Cyrillic code pages and under the system-wide UTF-8 setting, read through the
// file's own Unicode names, as UTF-8, or as windows-1252, in that order.
#include "CLinkFixture.h"
#include "platform/shelllink/CShellLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& sText) {
    return std::vector<std::uint8_t>(sText.begin(), sText.end());
}

CShellLink Read(const CLinkFixture& oFixture) {
    return CShellLink::FromBytes(oFixture.Bytes());
}

// Shift-JIS (code page 932) spellings and what they mean.
const std::string Documents932 = "\x95\xB6\x8F\x91";            // 文書
const std::string Report932 = "\x95\xF1\x8D\x90.txt";           // 報告.txt
const std::string Spreadsheet932 = "\x95\x5C\x8C\x76\x8E\x5A";  // 表計算, "\" as 2nd byte
const std::string Software932 = "\x83\x5C\x83\x74\x83\x67.txt"; // ソフト.txt, likewise
const std::string Documents = "\xE6\x96\x87\xE6\x9B\xB8";       // 文書
const std::string Report = "\xE5\xA0\xB1\xE5\x91\x8A.txt";      // 報告.txt
const std::string Spreadsheet = "\xE8\xA1\xA8\xE8\xA8\x88\xE7\xAE\x97";
const std::string Software = "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.txt";
// "Пользователь" in code page 1251 and in UTF-8.
const std::string User1251 = "\xCF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xF2\xE5\xEB\xFC";
const std::string User = "\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1"
                         "\x82\xD0\xB5\xD0\xBB\xD1\x8C";

std::vector<std::uint8_t> Entry(bool bFolder, const std::string& sLongName) {
    return CLinkFixture::FileEntryItem(bFolder, "SHORT~1", CLinkFixture::Utf16(sLongName), 9);
}

// A property store with one set of numbered values, each a Unicode string.
std::vector<std::uint8_t> PropertyStore(const std::vector<std::string>& vTexts) {
    auto Put32 = [](std::vector<std::uint8_t>& v, std::size_t n) {
        for (int i = 0; i < 4; ++i) {
            v.push_back(static_cast<std::uint8_t>((n >> (8 * i)) & 0xFF));
        }
    };
    std::vector<std::uint8_t> vValues;
    std::uint32_t lId = 2;
    for (const std::string& sText : vTexts) {
        std::vector<std::uint16_t> vUnits = CLinkFixture::Utf16(sText);
        vUnits.push_back(0);
        std::vector<std::uint8_t> vValue;
        Put32(vValue, 0); // size, set below
        Put32(vValue, lId++);
        vValue.push_back(0);
        vValue.insert(vValue.end(), {0x1F, 0, 0, 0}); // a Unicode string
        Put32(vValue, vUnits.size());
        for (const std::uint16_t iUnit : vUnits) {
            vValue.push_back(static_cast<std::uint8_t>(iUnit & 0xFF));
            vValue.push_back(static_cast<std::uint8_t>(iUnit >> 8));
        }
        vValue[0] = static_cast<std::uint8_t>(vValue.size());
        vValue[1] = static_cast<std::uint8_t>(vValue.size() >> 8);
        vValues.insert(vValues.end(), vValue.begin(), vValue.end());
    }
    std::vector<std::uint8_t> vStore;
    Put32(vStore, 24 + vValues.size() + 4);
    vStore.insert(vStore.end(), {'1', 'S', 'P', 'S'});
    vStore.resize(24, 0x77); // the set's id
    vStore.insert(vStore.end(), vValues.begin(), vValues.end());
    Put32(vStore, 0); // end of the values
    Put32(vStore, 0); // end of the store
    return vStore;
}

} // namespace

TEST(ShellLinkAnsiText, EastAsianPathTakesTheIdListNamesAndProvesTheCodePage) {
    const CShellLink oLink = Read(
        CLinkFixture()
            .IdItem(CLinkFixture::VolumeItem("C:\\"))
            .IdItem(Entry(true, Documents))
            .IdItem(Entry(false, Report))
            .LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes("C:\\" + Documents932 + "\\" + Report932)))
            .AnsiString(CShellLink::HasWorkingDir, Bytes("C:\\" + Documents932)));
    EXPECT_EQ(oLink.TargetPath(), "C:\\" + Documents + "\\" + Report);
    EXPECT_EQ(oLink.LocalPath(), oLink.TargetPath());
    // The working folder has no id list of its own: the names prove code page 932 for it.
    EXPECT_EQ(oLink.WorkingDirectory(), "C:\\" + Documents);

    // The writer keeps the intended texts, now in Unicode.
    const CShellLink oCopy = CShellLink::FromBytes(oLink.ToBytes());
    EXPECT_EQ(oCopy.TargetPath(), oLink.TargetPath());
    EXPECT_EQ(oCopy.WorkingDirectory(), oLink.WorkingDirectory());
}

TEST(ShellLinkAnsiText, SecondBytesThatLookLikeBackslashesAreReadInTheProvenCodePage) {
    // Read as windows-1252 the path seems two folders deeper than the id list, so the names
    // are not taken one by one; they still prove the code page that reads the path.
    const CShellLink oLink = Read(CLinkFixture()
                                      .IdItem(CLinkFixture::VolumeItem("C:\\"))
                                      .IdItem(Entry(true, Spreadsheet))
                                      .IdItem(Entry(false, Software))
                                      .LinkInfo(CLinkFixture::AnsiLinkInfo(
                                          Bytes("C:\\" + Spreadsheet932 + "\\" + Software932))));
    EXPECT_EQ(oLink.TargetPath(), "C:\\" + Spreadsheet + "\\" + Software);
}

TEST(ShellLinkAnsiText, IdListNamesComeBeforeUtf8AndOnlyForTheSamePath) {
    // "\xC3\xA9" is valid UTF-8, yet this writer meant windows-1252: the id list says so.
    const std::string sMojibake = "\xC3\x83\xC2\xA9"; // what windows-1252 reads in C3 A9
    const std::vector<std::uint8_t> vPath = Bytes("C:\\Users\\\xC3\xA9\\a.txt");
    EXPECT_EQ(Read(CLinkFixture()
                       .IdItem(CLinkFixture::VolumeItem("C:\\"))
                       .IdItem(Entry(true, "users"))
                       .IdItem(Entry(true, sMojibake))
                       .IdItem(Entry(false, "a.txt"))
                       .LinkInfo(CLinkFixture::AnsiLinkInfo(vPath)))
                  .TargetPath(),
              "C:\\Users\\" + sMojibake + "\\a.txt");

    // A list that names another drive, another depth or another folder is not the same path:
    // the bytes are read as UTF-8.
    struct SList {
        std::string sDrive;
        std::vector<std::string> vNames;
    };
    const SList aOthers[] = {{"D:\\", {"Users", sMojibake, "a.txt"}},
                             {"C:\\", {"Users", sMojibake}},
                             {"C:\\", {"Users", sMojibake, "a.txt", "b"}},
                             {"C:\\", {"Other", sMojibake, "a.txt"}}};
    for (const SList& oList : aOthers) {
        CLinkFixture oFixture;
        oFixture.IdItem(CLinkFixture::VolumeItem(oList.sDrive));
        for (const std::string& sName : oList.vNames) {
            oFixture.IdItem(Entry(sName != "a.txt", sName));
        }
        EXPECT_EQ(Read(oFixture.LinkInfo(CLinkFixture::AnsiLinkInfo(vPath))).TargetPath(),
                  "C:\\Users\\\xC3\xA9\\a.txt");
    }
}

TEST(ShellLinkAnsiText, WithoutUnicodeNamesUtf8ComesFirstThenWindows1252) {
    // The system-wide UTF-8 setting: ANSI bytes that are UTF-8, in the path and the strings.
    const std::string sUtf8Path = "C:\\Users\\Zo\xC3\xAB\\" + User + "\\" + Documents + ".txt";
    const CShellLink oUtf8 =
        Read(CLinkFixture()
                 .LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes(sUtf8Path)))
                 .AnsiString(CShellLink::HasArguments, Bytes("--open=" + Report)));
    EXPECT_EQ(oUtf8.TargetPath(), sUtf8Path);
    EXPECT_EQ(oUtf8.Arguments(), "--open=" + Report);

    // A true windows-1252 path: "Données\café.txt".
    EXPECT_EQ(Read(CLinkFixture().LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes("C:\\Donn\xE9"
                                                                            "es\\caf\xE9.txt"))))
                  .TargetPath(),
              "C:\\Donn\xC3\xA9"
              "es\\caf\xC3\xA9.txt");

    // Bytes that are not UTF-8 and that nothing in the file explains are not guessed at in
    // another code page: they read as windows-1252.
    EXPECT_EQ(
        Read(CLinkFixture().LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes("C:\\Users\\" + User1251))))
            .TargetPath(),
        "C:\\Users\\\xC3\x8F\xC3\xAE\xC3\xAB\xC3\xBC\xC3\xA7\xC3\xAE\xC3\xA2\xC3\xA0\xC3\xB2"
        "\xC3\xA5\xC3\xAB\xC3\xBC");
}

TEST(ShellLinkAnsiText, ACopyReadsTheVolumeLabelAsTheOriginalDid) {
    // "Έγγραφα" in code page 1253, which the id list's names would prove; the description's
    // byte 0x98 is no letter there, so the original reads both texts as windows-1252. Its copy
    // has the description in Unicode: an ANSI label left alone would now read as Greek.
    const std::string Documents1253 = "\xB8\xE3\xE3\xF1\xE1\xF6\xE1";
    const CShellLink oLink =
        Read(CLinkFixture()
                 .IdItem(CLinkFixture::VolumeItem("C:\\"))
                 .IdItem(Entry(true, "\xCE\x88\xCE\xB3\xCE\xB3\xCF\x81\xCE\xB1\xCF\x86\xCE\xB1"))
                 .LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes("C:\\x"), Bytes(Documents1253)))
                 .AnsiString(CShellLink::HasName, {0x98}));
    ASSERT_TRUE(oLink.LinkInfo().has_value());
    EXPECT_EQ(oLink.LinkInfo()->VolumeLabel(),
              "\xC2\xB8\xC3\xA3\xC3\xA3\xC3\xB1\xC3\xA1\xC3\xB6\xC3\xA1");

    const CShellLink oCopy = CShellLink::FromBytes(oLink.ToBytes());
    ASSERT_TRUE(oCopy.LinkInfo().has_value());
    EXPECT_EQ(oCopy.LinkInfo()->VolumeLabel(), oLink.LinkInfo()->VolumeLabel());
    EXPECT_EQ(oCopy.Description(), oLink.Description());
    EXPECT_EQ(oCopy.ToBytes(), oLink.ToBytes());
}

TEST(ShellLinkAnsiText, PropertyStoreTextsProveTheCodePage) {
    const CLinkFixture oFixture =
        CLinkFixture()
            .LinkInfo(CLinkFixture::AnsiLinkInfo(Bytes("C:\\Users\\" + User1251 + "\\a.txt")))
            .AnsiString(CShellLink::HasWorkingDir, Bytes("C:\\Users\\" + User1251));
    const std::vector<std::uint8_t> vStore =
        PropertyStore({"Desktop (C:\\Users\\" + User + ")", "C:\\Users"});
    const CShellLink oLink = Read(CLinkFixture(oFixture).Block(0xA0000009, vStore));
    EXPECT_EQ(oLink.TargetPath(), "C:\\Users\\" + User + "\\a.txt");
    EXPECT_EQ(oLink.WorkingDirectory(), "C:\\Users\\" + User);

    // A store that lies about its sizes proves nothing and damages nothing.
    const std::string sGuessed = Read(oFixture).TargetPath();
    for (const std::size_t nAt : {0u, 24u, 37u, 105u}) { // store, value, length, value
        for (const std::uint8_t bValue : {0x00, 0x05, 0xFF}) {
            std::vector<std::uint8_t> vBroken = vStore;
            vBroken[nAt] = bValue;
            vBroken[nAt + 1] = bValue;
            EXPECT_NO_THROW(Read(CLinkFixture(oFixture).Block(0xA0000009, vBroken)))
                << nAt << " " << int{bValue};
        }
    }
    std::vector<std::uint8_t> vShort(vStore.begin(), vStore.begin() + 50);
    EXPECT_EQ(Read(CLinkFixture(oFixture).Block(0xA0000009, vShort)).TargetPath(), sGuessed);
}
