#include "app/core/MSettings.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "support/CTempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::vector<std::pair<std::string, std::string>> OptionDefaults = {
    {"Favorites Threshold", "3"}, {"Purge Age", "30"}, {"Timer Interval", "60"}};

ino_t FileId(const std::string& sPath) {
    struct stat oStat {};
    stat(sPath.c_str(), &oStat);
    return oStat.st_ino;
}

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : m_sFile(m_oTemp / "config/Quillon/Dayfold.reg") {}

    std::unique_ptr<CRegistry> Open() { return std::make_unique<CRegistry>(m_sFile, nullptr); }
    std::vector<std::string> OptionNames(CRegistry& oRegistry) {
        return oRegistry.KeyFromPath(MSettings::GroupPath("Options")).Values().Names();
    }
    std::string Option(CRegistry& oRegistry, const std::string& sName) {
        return oRegistry.KeyFromPath(MSettings::GroupPath("Options")).Values().Item(sName).Value();
    }

    CTempFolder m_oTemp;
    std::string m_sFile;
};

} // namespace

TEST(SettingsPathTest, GroupPathNamesTheGroupBelowTheProgramKey) {
    EXPECT_EQ(MSettings::GroupPath("Favorites"),
              "\\HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Favorites");
}

TEST_F(SettingsTest, FirstRunWritesExactlyTheDocumentedFile) {
    auto pRegistry = Open();
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    EXPECT_EQ(CTempFolder::ReadFile(m_sFile),
              "Windows Registry Editor Version 5.00\n"
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
              "\"Timer Interval\"=\"60\"\n");
}

TEST_F(SettingsTest, SecondRunChangesNothing) {
    MSettings::CreateRegistryKeys(*Open(), "Options", OptionDefaults);
    const std::string sBefore = CTempFolder::ReadFile(m_sFile);
    const ino_t iBefore = FileId(m_sFile);
    auto pRegistry = Open();
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    EXPECT_EQ(CTempFolder::ReadFile(m_sFile), sBefore);
    EXPECT_EQ(FileId(m_sFile), iBefore) << "the file was rewritten";
}

TEST_F(SettingsTest, SecondGroupReusesTheExistingKeys) {
    auto pRegistry = Open();
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    MSettings::CreateRegistryKeys(*pRegistry, "Daily", {{"Sort Column", "0"}});
    const std::string sText = CTempFolder::ReadFile(m_sFile);
    EXPECT_EQ(sText.find("[HKEY_CURRENT_USER\\Software\\Quillon]\n"),
              sText.rfind("[HKEY_CURRENT_USER\\Software\\Quillon]\n"));
    EXPECT_EQ(
        pRegistry->KeyFromPath(MSettings::GroupPath("Daily")).Values().Item("Sort Column").Value(),
        "0");
}

TEST_F(SettingsTest, DeletedValuesComeBackOnlyUpToTheFirstExistingOne) {
    auto pRegistry = Open();
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    CRegistryValues oValues = pRegistry->KeyFromPath(MSettings::GroupPath("Options")).Values();
    oValues.Remove("Favorites Threshold");
    oValues.Remove("Timer Interval");
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    EXPECT_EQ(OptionNames(*pRegistry),
              (std::vector<std::string>{"Purge Age", "Favorites Threshold"}));

    // The same holds for a file edited by hand and read by a new run.
    auto pNext = Open();
    pNext->KeyFromPath(MSettings::GroupPath("Options")).Values().Remove("Purge Age");
    MSettings::CreateRegistryKeys(*pNext, "Options", OptionDefaults);
    EXPECT_EQ(OptionNames(*pNext), std::vector<std::string>{"Favorites Threshold"});
}

TEST_F(SettingsTest, UserEditedValueIsNeverReset) {
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                      "Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                      "\"Purge Age\"=\"7\"\n"
                      "\"Timer Interval\"=\"abc\"\n");
    auto pRegistry = Open();
    MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults);
    EXPECT_EQ(OptionNames(*pRegistry),
              (std::vector<std::string>{"Purge Age", "Timer Interval", "Favorites Threshold"}));
    EXPECT_EQ(Option(*pRegistry, "Purge Age"), "7");
    EXPECT_EQ(Option(*pRegistry, "Timer Interval"), "abc");
    EXPECT_EQ(Option(*pRegistry, "Favorites Threshold"), "3");
}

TEST_F(SettingsTest, UnwritableSettingsStopTheCreationSilently) {
    m_oTemp.WriteFile("config", "a file where the folder should be");
    auto pRegistry = Open();
    EXPECT_NO_THROW(MSettings::CreateRegistryKeys(*pRegistry, "Options", OptionDefaults));
    try {
        pRegistry->KeyFromPath(MSettings::GroupPath("Options"));
        FAIL() << "the group exists";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Number(), RunTimeErrors::ElementNotFound);
    }
}
