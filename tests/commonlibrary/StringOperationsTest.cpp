#include "CLibraryFixture.h"

using qlCommonLibrary::Variant;

namespace {

class StringOperationsTest : public CLibraryFixture {};

TEST_F(StringOperationsTest, GetTokenTakesTextUpToTheDelimiter) {
    std::string sSource = "a,b";
    EXPECT_EQ(m_oLibrary.GetToken(sSource, ","), "a");
    EXPECT_EQ(sSource, "b");
    sSource = "abc";
    EXPECT_EQ(m_oLibrary.GetToken(sSource, ","), "abc");
    EXPECT_EQ(sSource, "");
    // Only one character of a longer delimiter is skipped.
    sSource = "a::b";
    EXPECT_EQ(m_oLibrary.GetToken(sSource, "::"), "a");
    EXPECT_EQ(sSource, ":b");
    // A multi-byte delimiter is skipped whole.
    sSource = "a\xC2\xB7"
              "b";
    EXPECT_EQ(m_oLibrary.GetToken(sSource, "\xC2\xB7"), "a");
    EXPECT_EQ(sSource, "b");
    sSource = "";
    EXPECT_EQ(m_oLibrary.GetToken(sSource, ","), "");
    EXPECT_EQ(sSource, "");
}

TEST_F(StringOperationsTest, ParseDelimitedStringBuildsAnArrayOfTokens) {
    Variant oTokens = Variant("old");
    m_oLibrary.ParseDelimitedString("a,b,,c", ",", oTokens);
    EXPECT_EQ(oTokens, Variant::Array({"a", "b", "", "c"}));
    EXPECT_EQ(oTokens.LBound(), 0);
    EXPECT_EQ(oTokens.VarType(), 8192 + 12);
    m_oLibrary.ParseDelimitedString("a,", ",", oTokens);
    EXPECT_EQ(oTokens, Variant::Array({"a"}));
    m_oLibrary.ParseDelimitedString(",", ",", oTokens);
    EXPECT_EQ(oTokens, Variant::Array({""}));
    m_oLibrary.ParseDelimitedString("", ",", oTokens);
    EXPECT_TRUE(oTokens.IsEmpty());
    // An empty delimiter still ends: each step takes one character off.
    m_oLibrary.ParseDelimitedString("ab", "", oTokens);
    EXPECT_EQ(oTokens, Variant::Array({"", ""}));
    ExpectNoReport();
}

TEST_F(StringOperationsTest, ReplaceStringDoesNotRescanInsertedText) {
    EXPECT_EQ(m_oLibrary.ReplaceString("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(m_oLibrary.ReplaceString("a-b-c", "-", ""), "abc");
    EXPECT_EQ(m_oLibrary.ReplaceString("abcabc", "bc", "X"), "aXaX");
    EXPECT_EQ(m_oLibrary.ReplaceString("abc", "", "X"), "abc");
    EXPECT_EQ(m_oLibrary.ReplaceString("abc", "z", "X"), "abc");
}

TEST_F(StringOperationsTest, PaddingCutsOrFills) {
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 2), "ab");
    EXPECT_EQ(m_oLibrary.PadRight("abc", 2), "ab");
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 5), "  abc");
    EXPECT_EQ(m_oLibrary.PadLeft("abc", -5), "  abc");
    EXPECT_EQ(m_oLibrary.PadRight("abc", 5, Variant("*-")), "abc**");
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 5, Variant("")), "abc");
    EXPECT_EQ(m_oLibrary.PadLeft("7", 3, Variant(std::int32_t{0})), "007");
    EXPECT_EQ(m_oLibrary.PadRight("x", 3, Variant(true)), "xTT");
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 0), "");
    // Characters, not bytes: a two-byte letter is never cut in two.
    EXPECT_EQ(m_oLibrary.PadLeft("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
    EXPECT_EQ(m_oLibrary.PadLeft("\xC3\xA9", 3, Variant("\xE2\x80\xA2")),
              "\xE2\x80\xA2\xE2\x80\xA2\xC3\xA9");
    ExpectNoReport();
    for (const Variant& oRefused : {Variant(), Variant::Null(), Variant::Object(nullptr),
                                    Variant::Error(1), Variant::DataObject(nullptr)}) {
        EXPECT_EQ(m_oLibrary.PadLeft("abc", 5, oRefused), "");
        OnlyReport(32761, "PadLeft");
    }
    // Cutting needs no pad character, so a refused one does not matter then.
    EXPECT_EQ(m_oLibrary.PadLeft("abc", 2, Variant::Null()), "ab");
    EXPECT_EQ(m_oLibrary.PadRight("abc", 5, Variant::Array({"x"})), "");
    OnlyReport(13, "PadRight");
}

TEST_F(StringOperationsTest, QuotingAndDoubling) {
    EXPECT_EQ(m_oLibrary.QuoteString("it"), "'it'");
    EXPECT_EQ(m_oLibrary.DoubleQuoteString("it"), "\"it\"");
    EXPECT_EQ(m_oLibrary.DoubleSingleQuotes("O'Neil's"), "O''Neil''s");
    EXPECT_EQ(m_oLibrary.DoubleCharacter("a|b||", "|x"), "a||b||||");
    EXPECT_EQ(m_oLibrary.DoubleCharacter("abc", ""), "abc");
    EXPECT_EQ(m_oLibrary.DoubleCharacter("\xC3\xA9"
                                         "a",
                                         "\xC3\xA9"),
              "\xC3\xA9\xC3\xA9"
              "a");
}

TEST_F(StringOperationsTest, LongestWordKeepsTheFirstOfEqualLength) {
    EXPECT_EQ(m_oLibrary.LongestWord("  the quick brown fox  "), "quick");
    EXPECT_EQ(m_oLibrary.LengthLongestWord("the quick brown fox"), 5);
    EXPECT_EQ(m_oLibrary.LongestWord("ab,cde,fgh", Variant(",;")), "cde");
    EXPECT_EQ(m_oLibrary.LongestWord("1a22a3", Variant(std::int16_t{2})), "1a");
    EXPECT_EQ(m_oLibrary.LongestWord(""), "");
    // Lengths in characters: the two-letter word of four bytes is not longer than "ab".
    EXPECT_EQ(m_oLibrary.LengthLongestWord("ab \xC3\xA9\xC3\xA9"), 2);
    EXPECT_EQ(m_oLibrary.LongestWord("ab \xC3\xA9\xC3\xA9"), "ab");
    ExpectNoReport();
    EXPECT_EQ(m_oLibrary.LongestWord("a b", Variant()), "");
    OnlyReport(32763, "LongestWord");
}

TEST_F(StringOperationsTest, SplitNameSeparatesCapitals) {
    EXPECT_EQ(m_oLibrary.SplitName("FirstName"), "First Name");
    EXPECT_EQ(m_oLibrary.SplitName("ABC"), "A B C");
    EXPECT_EQ(m_oLibrary.SplitName("x"), "x");
    EXPECT_EQ(m_oLibrary.SplitName("  lastName "), "last Name");
    EXPECT_EQ(m_oLibrary.SplitName(""), "");
    EXPECT_EQ(m_oLibrary.SplitName("\xC3\x89tatCivil"), "\xC3\x89tat Civil");
}

TEST_F(StringOperationsTest, KeysAndYesNo) {
    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("D", 42), "D42");
    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("K", -7), "K-7");
    EXPECT_EQ(m_oLibrary.MakeListItemNodeKey("\xC3\xA9x", 1), "\xC3\xA9"
                                                              "1");
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("D42"), 42);
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("K-7"), -7);
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("\xC3\xA9"
                                              "12"),
              12);
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("K2147483647"), 2147483647);
    ExpectNoReport();
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey(""), 0);
    OnlyReport(13, "ParseListItemNodeKey");
    EXPECT_EQ(m_oLibrary.ParseListItemNodeKey("K2147483648"), 0);
    OnlyReport(6, "ParseListItemNodeKey");

    EXPECT_EQ(m_oLibrary.BooleanToYesNo(true), "Yes");
    EXPECT_EQ(m_oLibrary.BooleanToYesNo(false), "No");
    EXPECT_TRUE(m_oLibrary.YesNoToBoolean("yes"));
    EXPECT_TRUE(m_oLibrary.YesNoToBoolean("Y"));
    EXPECT_FALSE(m_oLibrary.YesNoToBoolean("ye"));
    EXPECT_FALSE(m_oLibrary.YesNoToBoolean(" yes"));
    EXPECT_FALSE(m_oLibrary.YesNoToBoolean(""));
    // Letter case is folded through the Unicode tables: the long s is an s.
    EXPECT_TRUE(m_oLibrary.YesNoToBoolean("ye\xC5\xBF"));
    EXPECT_FALSE(m_oLibrary.YesNoToBoolean("\xEF\xBC\xB9\xEF\xBC\xA5\xEF\xBC\xB3")); // full-width
}

} // namespace
