#include "platform/registry/CSettingsFile.h"

#include "platform/errors/CRunTimeError.h"

#include <gtest/gtest.h>

namespace {

const char* const OptionsText = "Windows Registry Editor Version 5.00\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software]\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Quillon]\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold]\n"
                                "\n"
                                "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                                "\"Favorites Threshold\"=\"3\"\n"
                                "\"Purge Age\"=\"30\"\n"
                                "\"Timer Interval\"=\"60\"\n";

std::string ValueOf(const CSettingsTree& oTree, const std::string& sKey, const std::string& sName) {
    const auto onKey = oTree.FindKey(sKey);
    if (!onKey) {
        return "<no key>";
    }
    const CSettingsTree::SValue* pValue = oTree.FindValue(*onKey, sName);
    return pValue == nullptr ? "<no value>" : pValue->sValue;
}

std::vector<std::string> PathsOf(const CSettingsTree& oTree) {
    std::vector<std::string> vPaths;
    for (CSettingsTree::KeyId nKey = 0; nKey < oTree.KeyCount(); ++nKey) {
        vPaths.push_back(oTree.Path(nKey));
    }
    return vPaths;
}

int ParseError(const std::string& sText) {
    try {
        CSettingsFile::Parse(sText);
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}

} // namespace

TEST(SettingsFileTest, FormatsKeysInCreationOrderAndValuesInOrderAdded) {
    CSettingsTree oTree;
    const auto nOptions = oTree.EnsureKey("Software\\Quillon\\Dayfold\\Options");
    oTree.SetValue(nOptions, "Favorites Threshold", "3");
    oTree.SetValue(nOptions, "Purge Age", "30");
    oTree.SetValue(nOptions, "Timer Interval", "60");
    EXPECT_EQ(CSettingsFile::Format(oTree), OptionsText);

    // A later key goes after, even when its name sorts first; an empty key keeps its section.
    oTree.EnsureKey("Software\\Quillon\\Dayfold\\Daily");
    EXPECT_EQ(CSettingsFile::Format(oTree),
              std::string(OptionsText) +
                  "\n[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Daily]\n");
}

TEST(SettingsFileTest, DefaultValueAndRootValuesAreWritten) {
    CSettingsTree oTree;
    oTree.SetValue(oTree.EnsureKey(""), "", "root default");
    oTree.SetValue(oTree.EnsureKey("Software"), "", "x");
    EXPECT_EQ(CSettingsFile::Format(oTree), "Windows Registry Editor Version 5.00\n\n"
                                            "[HKEY_CURRENT_USER]\n@=\"root default\"\n\n"
                                            "[HKEY_CURRENT_USER\\Software]\n@=\"x\"\n");
}

TEST(SettingsFileTest, HostileTextRoundTrips) {
    const std::vector<std::string> vTexts = {
        "",
        "plain",
        "say \"hi\"",
        "C:\\Program Files\\x\\",
        "\\\\server\\share",
        "line one\nline two\r\nline three\n",
        "trailing backslash \\",
        "\\n is not a line break",
        "   padded   ",
        "[HKEY_CURRENT_USER\\Fake]",
        "\"a\"=\"b\"",
        "; not a comment",
        "Grüße, 日本語, emoji \xF0\x9F\x98\x80",
        std::string("zero\0byte", 9),
        "=",
        "@",
    };
    CSettingsTree oTree;
    const auto nKey = oTree.EnsureKey("Software\\Größe [1]\\Weird \"key\"");
    for (std::size_t n = 0; n < vTexts.size(); ++n) {
        oTree.SetValue(nKey, "name " + std::to_string(n) + " " + vTexts[n], vTexts[n]);
    }
    const std::string sText = CSettingsFile::Format(oTree);
    std::vector<std::string> vSkipped;
    const CSettingsTree oBack = CSettingsFile::Parse(sText, &vSkipped);
    EXPECT_TRUE(vSkipped.empty());
    ASSERT_EQ(oBack.KeyCount(), oTree.KeyCount());
    const auto onBack = oBack.FindKey("Software\\Größe [1]\\Weird \"key\"");
    ASSERT_TRUE(onBack);
    ASSERT_EQ(oBack.Values(*onBack).size(), vTexts.size());
    for (std::size_t n = 0; n < vTexts.size(); ++n) {
        EXPECT_EQ(oBack.Values(*onBack)[n].sName, oTree.Values(nKey)[n].sName);
        EXPECT_EQ(oBack.Values(*onBack)[n].sValue, vTexts[n]) << "text " << n;
    }
    EXPECT_EQ(CSettingsFile::Format(oBack), sText);
}

TEST(SettingsFileTest, ReaderToleratesHandEditsAndOtherEditors) {
    const std::string sText = "\xEF\xBB\xBFREGEDIT4\r\n"
                              "; written by hand\r\n"
                              "\r\n"
                              "   \r\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\r\n"
                              "@=\"the default\"\r\n"
                              "\"Purge Age\" = \"45\"   \r\n"
                              ";\"Timer Interval\"=\"1\"\r\n"
                              "\"Count\"=dword:0000001f\r\n"
                              "\"Purge Age\"=\"46\"\r\n";
    const CSettingsTree oTree = CSettingsFile::Parse(sText);
    const std::string sOptions = "Software\\Quillon\\Dayfold\\Options";
    EXPECT_EQ(ValueOf(oTree, sOptions, ""), "the default");
    EXPECT_EQ(ValueOf(oTree, sOptions, "purge age"), "46"); // the later line wins
    EXPECT_EQ(ValueOf(oTree, sOptions, "Timer Interval"), "<no value>");
    EXPECT_EQ(ValueOf(oTree, sOptions, "Count"), "31");
    // Keys above a section exist even without sections of their own, in path order.
    EXPECT_EQ(PathsOf(oTree), (std::vector<std::string>{"", "Software", "Software\\Quillon",
                                                        "Software\\Quillon\\Dayfold", sOptions}));
}

TEST(SettingsFileTest, ReadsTheUtf16TextOfAWindowsEditor) {
    const std::string sUtf8 = "Windows Registry Editor Version 5.00\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Ä]\r\n\"Name\"=\"Wert €\"\r\n";
    // Only the characters above need more than one byte in UTF-8.
    std::string sUtf16 = "\xFF\xFE";
    for (std::size_t n = 0; n < sUtf8.size(); ++n) {
        const auto c = static_cast<unsigned char>(sUtf8[n]);
        unsigned int iCode = c;
        if (c == 0xC3) {
            iCode = ((c & 0x1F) << 6) | (static_cast<unsigned char>(sUtf8[++n]) & 0x3F);
        } else if (c == 0xE2) {
            iCode = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(sUtf8[n + 1]) & 0x3F) << 6) |
                    (static_cast<unsigned char>(sUtf8[n + 2]) & 0x3F);
            n += 2;
        }
        sUtf16 += static_cast<char>(iCode & 0xFF);
        sUtf16 += static_cast<char>(iCode >> 8);
    }
    const CSettingsTree oTree = CSettingsFile::Parse(sUtf16);
    EXPECT_EQ(ValueOf(oTree, "Software\\ä", "name"), "Wert €");
}

TEST(SettingsFileTest, EmptyTextIsAnEmptyTree) {
    EXPECT_EQ(PathsOf(CSettingsFile::Parse("")), (std::vector<std::string>{"", "Software"}));
    EXPECT_EQ(CSettingsFile::Parse("\n; only a comment\n").KeyCount(), 2u);
    EXPECT_EQ(CSettingsFile::Parse("REGEDIT4\n").KeyCount(), 2u);
}

TEST(SettingsFileTest, TextOfWhichNothingCanBeReadIsRefused) {
    const std::string sHeader = "Windows Registry Editor Version 5.00\n";
    EXPECT_EQ(ParseError("garbage\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError("[HKEY_CURRENT_USER\\Software]\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "\"a\"=\"b\"\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[HKEY_LOCAL_MACHINE\\Software]\n\"a\"=\"b\"\n"),
              RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "\n; fine\n\n\"Purge Age\"=7\n"), RunTimeErrors::TypeMismatch);
    // The error names the first line that could not be read.
    try {
        CSettingsFile::Parse(sHeader + "\n\nbroken\n\"a\"=hex:01\n");
        FAIL() << "no error";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Description().rfind("line 4 (broken): ", 0), 0u) << oError.Description();
    }
}

TEST(SettingsFileTest, UnreadableLinesAreSkippedAndEveryOtherValueKept) {
    const std::string sText = "Windows Registry Editor Version 5.00\n"
                              "\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                              "\"Favorites Threshold\"=\"5\"\n"
                              "\"Purge Age\"=7\n"
                              "\"Blob\"=hex:01,02\n"
                              "\"Timer Interval\"=\"90\"\n"
                              "\"a\"=\"b\n"
                              "\"a\"\"b\"\n"
                              "\"a\"=\"b\" junk\n"
                              "\"a\"=\"b\\q\"\n"
                              "\"a\"=dword:1234567890\n"
                              "a=b\n"
                              "[HKEY_CURRENT_USER\\Software\n"
                              "[HKEY_CURRENT_USERS]\n"
                              "[HKEY_CURRENT_USER\\a\\\\b]\n"
                              "[-HKEY_CURRENT_USER\\Software\\Quillon]\n"
                              "[HKEY_LOCAL_MACHINE\\Software]\n"
                              "\"Machine\"=\"not ours\"\n"
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Window]\n"
                              "\"Left\"=\"120\"\n"
                              "\"Top\"=\"b\\";
    std::vector<std::string> vSkipped;
    const CSettingsTree oTree = CSettingsFile::Parse(sText, &vSkipped);
    const std::string sOptions = "Software\\Quillon\\Dayfold\\Options";
    EXPECT_EQ(ValueOf(oTree, sOptions, "Favorites Threshold"), "5");
    EXPECT_EQ(ValueOf(oTree, sOptions, "Purge Age"), "<no value>");
    EXPECT_EQ(ValueOf(oTree, sOptions, "Timer Interval"), "90");
    EXPECT_EQ(oTree.Values(*oTree.FindKey(sOptions)).size(), 2u);
    EXPECT_EQ(ValueOf(oTree, "Software\\Quillon\\Dayfold\\Window", "Left"), "120");
    // A value under a key that was skipped never lands in the key before it.
    EXPECT_EQ(ValueOf(oTree, "Software\\Quillon\\Dayfold\\Window", "Machine"), "<no value>");
    EXPECT_EQ(ValueOf(oTree, sOptions, "Machine"), "<no value>");
    EXPECT_EQ(oTree.FindKey("a"), std::nullopt);

    ASSERT_EQ(vSkipped.size(), 15u);
    EXPECT_EQ(vSkipped[0], "line 5 (\"Purge Age\"=7): value of a kind not kept in settings");
    EXPECT_EQ(vSkipped[1].rfind("line 6 (\"Blob\"=hex:01,02): ", 0), 0u) << vSkipped[1];
    EXPECT_EQ(vSkipped[13], "line 19 (\"Machine\"=\"not ours\"): value of a key that was skipped");
    EXPECT_EQ(vSkipped[14].rfind("line 22 ", 0), 0u) << vSkipped[14];
}

TEST(SettingsFileTest, KeysBeyondTheRegistryLimitsAreSkipped) {
    const auto Section = [](std::size_t nDepth, const std::string& sName) {
        std::string sPath = "[HKEY_CURRENT_USER";
        for (std::size_t n = 0; n < nDepth; ++n) {
            sPath += "\\" + sName;
        }
        return sPath + "]\n";
    };
    const std::string sHeader = "Windows Registry Editor Version 5.00\n";
    std::vector<std::string> vSkipped;
    CSettingsTree oTree = CSettingsFile::Parse(
        sHeader + Section(CSettingsTree::MaxDepth, "k") +
            Section(CSettingsTree::MaxDepth + 1, "d") +
            Section(1, std::string(CSettingsTree::MaxNameLength, 'n')) +
            Section(1, std::string(CSettingsTree::MaxNameLength + 1, 'l')) +
            Section(1, "\xC3\xA9" + std::string(CSettingsTree::MaxNameLength - 1, 'e')),
        &vSkipped);
    ASSERT_EQ(vSkipped.size(), 2u);
    EXPECT_EQ(vSkipped[0].rfind("line 3 ", 0), 0u);
    EXPECT_EQ(vSkipped[1].rfind("line 5 ", 0), 0u);
    EXPECT_EQ(oTree.KeyCount(), 2 + CSettingsTree::MaxDepth + 2);
    EXPECT_FALSE(oTree.FindKey("d"));
    EXPECT_FALSE(CSettingsTree::Fits("x", CSettingsTree::MaxDepth + 1));
}

TEST(SettingsFileTest, ValuesOfOneKeyStayInOrderThroughChanges) {
    CSettingsTree oTree;
    const auto nKey = oTree.EnsureKey("Software\\Many");
    for (int i = 0; i < 200; ++i) {
        oTree.SetValue(nKey, "Value " + std::to_string(i), std::to_string(i));
    }
    oTree.SetValue(nKey, "VALUE 7", "seven"); // replaces, keeps the first spelling and place
    EXPECT_TRUE(oTree.RemoveValue(nKey, "value 3"));
    EXPECT_FALSE(oTree.RemoveValue(nKey, "value 3"));
    oTree.SetValue(nKey, "Value 3", "back");
    const std::vector<CSettingsTree::SValue>& vValues = oTree.Values(nKey);
    ASSERT_EQ(vValues.size(), 200u);
    EXPECT_EQ(vValues[6].sName, "Value 7");
    EXPECT_EQ(vValues[6].sValue, "seven");
    EXPECT_EQ(vValues.back().sName, "Value 3");
    for (int i : {0, 4, 150, 199}) {
        EXPECT_EQ(ValueOf(oTree, "software\\many", "value " + std::to_string(i)),
                  std::to_string(i));
    }
}

TEST(SettingsFileTest, KeysAndValuesCompareWithoutCaseButKeepTheirSpelling) {
    CSettingsTree oTree;
    oTree.EnsureKey("Software\\Quillon");
    const auto nKey = oTree.EnsureKey("SOFTWARE\\quillon\\Dayfold");
    EXPECT_EQ(oTree.Path(nKey), "Software\\Quillon\\Dayfold");
    EXPECT_EQ(oTree.KeyCount(), 4u);
    EXPECT_EQ(oTree.FindKey("software\\QUILLON\\dayfold"), nKey);
    oTree.EnsureKey("Software\\ÄÖÜ Σ Ж");
    EXPECT_TRUE(oTree.FindKey("software\\äöü σ ж"));
    EXPECT_FALSE(oTree.FindKey("software\\äöü σ"));
    std::vector<std::string> vChildren;
    for (const auto nChild : oTree.SubKeys(*oTree.FindKey("SOFTWARE"))) {
        vChildren.push_back(oTree.Path(nChild));
    }
    EXPECT_EQ(vChildren, (std::vector<std::string>{"Software\\Quillon", "Software\\ÄÖÜ Σ Ж"}));
}
