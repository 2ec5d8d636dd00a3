// The reader on links built for the purpose: string encodings, targets from the id list and
// the environment block, and the order in which the target's sources are tried.
#include "CLinkFixture.h"
#include "platform/shelllink/CLinkInfo.h"
#include "platform/shelllink/CShellLink.h"
#include "platform/shelllink/MLinkText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

CShellLink Read(const CLinkFixture& oFixture) {
    return CShellLink::FromBytes(oFixture.Bytes());
}

std::string Utf8(const std::u32string& sText) {
    std::string sResult;
    for (const char32_t c : sText) {
        MLinkText::AppendUtf8(sResult, c);
    }
    return sResult;
}

} // namespace

TEST(ShellLinkText, AnsiStringDataIsWindows1252) {
    const CShellLink oLink = Read(CLinkFixture().AnsiString(
        CShellLink::HasArguments, {0x80, 'x', 0xE9, 0x81, 0x9F, 0xFF, 0x85}));
    EXPECT_EQ(oLink.Arguments(), Utf8(U"\u20ACx\u00E9\u0081\u0178\u00FF\u2026"));
}

TEST(ShellLinkText, Windows1252RoundTripsEveryByteAndMarksTheRest) {
    for (int i = 1; i < 256; ++i) {
        const std::uint8_t b = static_cast<std::uint8_t>(i);
        EXPECT_EQ(MLinkText::ToWindows1252(MLinkText::FromWindows1252(&b, 1)),
                  std::vector<std::uint8_t>{b})
            << i;
    }
    EXPECT_EQ(MLinkText::ToWindows1252(Utf8(U"\u20AC\u00E9\u0416\U0001F370a")),
              (std::vector<std::uint8_t>{0x80, 0xE9, '?', '?', 'a'}));
}

TEST(ShellLinkText, Utf16SurrogatesDecodeToOneCharacterOrReplacement) {
    struct SCase {
        std::vector<std::uint16_t> vUnits;
        std::u32string sExpected;
    };
    const SCase aCases[] = {{{'a', 0xD83C, 0xDF70, 'b'}, U"a\U0001F370b"},   // a pair
                            {{'x', 0xD800, '.', 'e'}, U"x\uFFFD.e"},         // lone high, next kept
                            {{'x', 0xDC00, '.'}, U"x\uFFFD."},               // lone low
                            {{'x', 0xD800}, U"x\uFFFD"},                     // high at the end
                            {{0xD800, 0xD800, 0xDC00}, U"\uFFFD\U00010000"}, // high, then a pair
                            {{0x00E9, 0x4E2D, 0xFFFF}, U"\u00E9\u4E2D\uFFFF"}}; // plain BMP
    for (const SCase& oCase : aCases) {
        const CShellLink oLink =
            Read(CLinkFixture().UnicodeString(CShellLink::HasWorkingDir, oCase.vUnits));
        EXPECT_EQ(oLink.WorkingDirectory(), Utf8(oCase.sExpected));
    }
}

TEST(ShellLinkText, MalformedUtf8IsWrittenAsReplacement) {
    EXPECT_EQ(MLinkText::ToUtf16Le("a\xC3"), (std::vector<std::uint8_t>{'a', 0, 0xFD, 0xFF}));
    EXPECT_EQ(MLinkText::ToUtf16Le("\xED\xA0\x80"), // an encoded surrogate: three bad bytes
              (std::vector<std::uint8_t>{0xFD, 0xFF, 0xFD, 0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(MLinkText::ToUtf16Le("\xF0\x9F\x8D\xB0"),
              (std::vector<std::uint8_t>{0x3C, 0xD8, 0x70, 0xDF}));
}

TEST(ShellLinkTarget, IdListSpellsDriveAndLongNamesOfEveryVersion) {
    for (const std::uint16_t iVersion : {3, 7, 8, 9}) {
        SCOPED_TRACE(iVersion);
        const CShellLink oLink =
            Read(CLinkFixture()
                     .IdItem({0x1F, 0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2,
                              0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D})
                     .IdItem(CLinkFixture::VolumeItem("D:\\"))
                     .IdItem(CLinkFixture::FileEntryItem(
                         true, "LONGFO~1", CLinkFixture::Units("Long Folder Name"), iVersion))
                     .IdItem(CLinkFixture::FileEntryItem(
                         false, "REPORT~1.DOC", {'R', 0xE9, 'p', '.', 'd', 'o', 'c'}, iVersion)));
        EXPECT_EQ(oLink.IdList()[0].FolderId(), "{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
        EXPECT_EQ(oLink.IdList()[2].PrimaryName(), "LONGFO~1");
        EXPECT_TRUE(oLink.IdList()[2].IsDirectory());
        EXPECT_EQ(oLink.TargetPath(), "D:\\Long Folder Name\\R\xC3\xA9p.doc");
    }
}

TEST(ShellLinkTarget, FileEntryWithoutExtensionUsesItsPrimaryName) {
    std::vector<std::uint8_t> vItem = {0x32, 0};
    vItem.resize(12, 0);
    for (const char c : std::string("SHORT.TXT")) {
        vItem.push_back(static_cast<std::uint8_t>(c));
    }
    vItem.push_back(0);
    const CShellLink oLink =
        Read(CLinkFixture().IdItem(CLinkFixture::VolumeItem("E:\\")).IdItem(vItem));
    EXPECT_EQ(oLink.TargetPath(), "E:\\SHORT.TXT");
}

TEST(ShellLinkTarget, SourcesAreTriedInOrder) {
    const auto vEnvironment = CLinkFixture::PathBlockPayload(
        "%ANSI%\\tool.exe", CLinkFixture::Units("%UNICODE%\\tool.exe"));
    const auto vFileEntry =
        CLinkFixture::FileEntryItem(false, "A.EXE", CLinkFixture::Units("a.exe"), 9);
    CLinkInfo oInfo = CLinkInfo::ForPath("C:\\from\\linkinfo.exe");

    // LinkInfo first, then the id list, then the environment block.
    EXPECT_EQ(Read(CLinkFixture()
                       .IdItem(CLinkFixture::VolumeItem("D:\\"))
                       .IdItem(vFileEntry)
                       .LinkInfo(oInfo.ToBytes())
                       .Block(0xA0000001, vEnvironment))
                  .TargetPath(),
              "C:\\from\\linkinfo.exe");
    EXPECT_EQ(Read(CLinkFixture()
                       .IdItem(CLinkFixture::VolumeItem("D:\\"))
                       .IdItem(vFileEntry)
                       .Block(0xA0000001, vEnvironment))
                  .TargetPath(),
              "D:\\a.exe");
    // An id list without a drive (a file entry alone) gives way to the environment block.
    EXPECT_EQ(Read(CLinkFixture().IdItem(vFileEntry).Block(0xA0000001, vEnvironment)).TargetPath(),
              "%UNICODE%\\tool.exe");
    const auto vAnsiOnly = CLinkFixture::PathBlockPayload("%ANSI%\\tool.exe", {});
    EXPECT_EQ(Read(CLinkFixture().Block(0xA0000001, vAnsiOnly)).TargetPath(), "%ANSI%\\tool.exe");
    EXPECT_EQ(Read(CLinkFixture()).TargetPath(), "");
}

TEST(ShellLinkTarget, LinkInfoJoinsBaseAndSuffixWithOneBackslash) {
    CLinkInfo oNetwork = CLinkInfo::ForPath("\\\\server\\share");
    EXPECT_EQ(oNetwork.Path(), "\\\\server\\share");
    EXPECT_EQ(CLinkInfo::ForPath("\\\\server\\share\\").Path(), "\\\\server\\share");
    EXPECT_EQ(CLinkInfo::ForPath("\\\\server\\share\\x\\y").Path(), "\\\\server\\share\\x\\y");
    EXPECT_TRUE(CLinkInfo::ForPath("\\\\server").HasVolume()); // no share: kept as a local path
    EXPECT_TRUE(CLinkInfo::ForPath("/home/user/a.txt").HasVolume());
    EXPECT_EQ(CLinkInfo::ForPath("/home/user/a.txt").Path(), "/home/user/a.txt");
}

TEST(ShellLinkExtraData, UnknownBlocksAreKeptAndMissingTerminalIsAccepted) {
    const std::vector<std::uint8_t> vPayload = {1, 2, 3, 4, 5};
    const CShellLink oLink =
        Read(CLinkFixture().Block(0xA2000001, vPayload).Tail({})); // no terminal block
    ASSERT_EQ(oLink.ExtraDataBlocks().size(), 1u);
    EXPECT_EQ(oLink.ExtraDataBlocks()[0].Signature(), 0xA2000001u);
    const std::vector<std::uint8_t> vWritten = oLink.ToBytes();
    const std::vector<std::uint8_t> vBlock = {13, 0, 0, 0, 0x01, 0x00, 0x00, 0xA2, 1, 2, 3, 4, 5};
    EXPECT_NE(std::search(vWritten.begin(), vWritten.end(), vBlock.begin(), vBlock.end()),
              vWritten.end());
    // Bytes after the terminal block are not read.
    EXPECT_TRUE(
        Read(CLinkFixture().Tail({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})).ExtraDataBlocks().empty());
}
