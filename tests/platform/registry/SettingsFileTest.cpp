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
    const CSettingsTree::SKey* pKey = oTree.FindKey(sKey);
    if (pKey == nullptr) {
        return "<no key>";
    }
    const CSettingsTree::SValue* pValue = CSettingsTree::FindValue(*pKey, sName);
    return pValue == nullptr ? "<no value>" : pValue->sValue;
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
    CSettingsTree::SKey& oOptions = oTree.EnsureKey("Software\\Quillon\\Dayfold\\Options");
    oOptions.vValues = {
        {"Favorites Threshold", "3"}, {"Purge Age", "30"}, {"Timer Interval", "60"}};
    EXPECT_EQ(CSettingsFile::Format(oTree), OptionsText);

    // A later key goes after, even when its name sorts first; an empty key keeps its section.
    oTree.EnsureKey("Software\\Quillon\\Dayfold\\Daily");
    EXPECT_EQ(CSettingsFile::Format(oTree),
              std::string(OptionsText) +
                  "\n[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Daily]\n");
}

TEST(SettingsFileTest, DefaultValueAndRootValuesAreWritten) {
    CSettingsTree oTree;
    oTree.EnsureKey("").vValues.push_back({"", "root default"});
    oTree.EnsureKey("Software").vValues.push_back({"", "x"});
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
    CSettingsTree::SKey& oKey = oTree.EnsureKey("Software\\Größe [1]\\Weird \"key\"");
    for (std::size_t n = 0; n < vTexts.size(); ++n) {
        oKey.vValues.push_back({"name " + std::to_string(n) + " " + vTexts[n], vTexts[n]});
    }
    const std::string sText = CSettingsFile::Format(oTree);
    const CSettingsTree oBack = CSettingsFile::Parse(sText);
    ASSERT_EQ(oBack.Keys().size(), oTree.Keys().size());
    const CSettingsTree::SKey* pBack = oBack.FindKey("Software\\Größe [1]\\Weird \"key\"");
    ASSERT_NE(pBack, nullptr);
    ASSERT_EQ(pBack->vValues.size(), vTexts.size());
    for (std::size_t n = 0; n < vTexts.size(); ++n) {
        EXPECT_EQ(pBack->vValues[n].sName, oKey.vValues[n].sName);
        EXPECT_EQ(pBack->vValues[n].sValue, vTexts[n]) << "text " << n;
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
    ASSERT_EQ(oTree.Keys().size(), 5u);
    EXPECT_EQ(oTree.Keys()[2].sPath, "Software\\Quillon");
    EXPECT_EQ(oTree.Keys()[3].sPath, "Software\\Quillon\\Dayfold");
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
    const CSettingsTree oTree = CSettingsFile::Parse("");
    ASSERT_EQ(oTree.Keys().size(), 2u);
    EXPECT_EQ(oTree.Keys()[1].sPath, "Software");
    EXPECT_EQ(CSettingsFile::Parse("\n; only a comment\n").Keys().size(), 2u);
}

TEST(SettingsFileTest, DamagedTextIsRefused) {
    const std::string sHeader = "Windows Registry Editor Version 5.00\n";
    EXPECT_EQ(ParseError("garbage\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError("[HKEY_CURRENT_USER\\Software]\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "\"a\"=\"b\"\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[HKEY_CURRENT_USER\\Software\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[HKEY_LOCAL_MACHINE\\Software]\n"),
              RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[HKEY_CURRENT_USERS]\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[HKEY_CURRENT_USER\\a\\\\b]\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sHeader + "[-HKEY_CURRENT_USER\\a]\n"), RunTimeErrors::TypeMismatch);
    const std::string sKey = sHeader + "[HKEY_CURRENT_USER\\a]\n";
    EXPECT_EQ(ParseError(sKey + "\"a\"=\"b\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"\"b\"\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"=\"b\" junk\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"=\"b\\q\"\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"=hex:01,02\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"=dword:1234567890\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "a=b\n"), RunTimeErrors::TypeMismatch);
    EXPECT_EQ(ParseError(sKey + "\"a\"=\"b\\"), RunTimeErrors::TypeMismatch);
    // The error names the line.
    try {
        CSettingsFile::Parse(sKey + "\n\"ok\"=\"1\"\nbroken\n");
        FAIL() << "no error";
    } catch (const CRunTimeError& oError) {
        EXPECT_NE(oError.Description().find("line 5"), std::string::npos) << oError.Description();
    }
}

TEST(SettingsFileTest, KeysAndValuesCompareWithoutCaseButKeepTheirSpelling) {
    CSettingsTree oTree;
    oTree.EnsureKey("Software\\Quillon");
    CSettingsTree::SKey& oKey = oTree.EnsureKey("SOFTWARE\\quillon\\Dayfold");
    EXPECT_EQ(oKey.sPath, "Software\\Quillon\\Dayfold");
    EXPECT_EQ(oTree.Keys().size(), 4u);
    EXPECT_NE(oTree.FindKey("software\\QUILLON\\dayfold"), nullptr);
    oTree.EnsureKey("Software\\ÄÖÜ Σ Ж");
    EXPECT_NE(oTree.FindKey("software\\äöü σ ж"), nullptr);
    EXPECT_EQ(oTree.FindKey("software\\äöü σ"), nullptr);
    const std::vector<std::string> vChildren = oTree.SubKeyPaths("SOFTWARE");
    ASSERT_EQ(vChildren.size(), 2u);
    EXPECT_EQ(vChildren[0], "Software\\Quillon");
    EXPECT_EQ(vChildren[1], "Software\\ÄÖÜ Σ Ж");
}
