// The options store in a temporary settings file, with a dialog the tests answer.
#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/options/COptions.h"
#include "app/options/MOptionValues.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "support/MUnprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// A dialog that shows what it was given and answers as the test says.
class CAnsweringDialog : public COptionsDialog {
public:
    struct SScript {
        bool bConfirm = true;
        std::int32_t alTyped[3] = {0, 0, 0}; // what the user leaves in the rows
        std::int32_t alShown[3] = {0, 0, 0}; // what the dialog was given
        int iLoaded = 0;
        int iUnloaded = 0;
    };
    explicit CAnsweringDialog(SScript& oScript) : m_oScript(oScript) { ++m_oScript.iLoaded; }
    ~CAnsweringDialog() override { ++m_oScript.iUnloaded; }

    std::int32_t FavoritesThreshold() override { return m_alValues[0]; }
    void SetFavoritesThreshold(std::int32_t lValue) override { m_alValues[0] = lValue; }
    std::int32_t PurgeAge() override { return m_alValues[1]; }
    void SetPurgeAge(std::int32_t lValue) override { m_alValues[1] = lValue; }
    std::int32_t TimerInterval() override { return m_alValues[2]; }
    void SetTimerInterval(std::int32_t lValue) override { m_alValues[2] = lValue; }
    bool GetValues() override {
        for (int i = 0; i < 3; ++i) {
            m_oScript.alShown[i] = m_alValues[i];
            m_alValues[i] = m_oScript.alTyped[i];
        }
        return m_oScript.bConfirm;
    }

private:
    SScript& m_oScript;
    std::int32_t m_alValues[3] = {0, 0, 0};
};

class OptionsStoreTest : public ::testing::Test {
protected:
    std::string Stored(const std::string& sName) {
        return MDayfold::Registry()
            .KeyFromPath(MSettings::GroupPath("Options"))
            .Values()
            .Item(sName)
            .Value();
    }
    void Store(const std::string& sName, const std::string& sValue) {
        MDayfold::Registry()
            .KeyFromPath(MSettings::GroupPath("Options"))
            .Values()
            .Item(sName)
            .SetValue(sValue);
    }
    std::string SettingsFile() {
        return CTempFolder::ReadFile(m_oWorld.Temp() / "config/Quillon/Dayfold.reg");
    }
    COptions::DialogLoader Loader(CAnsweringDialog::SScript& oScript) {
        return [&oScript] { return std::make_unique<CAnsweringDialog>(oScript); };
    }

    CProgramWorld m_oWorld;
};

TEST_F(OptionsStoreTest, FirstRunCreatesTheDefaultsAndTheNextRunReadsThem) {
    COptions oFirst;
    EXPECT_EQ(oFirst.ClassName(), "COptions");
    EXPECT_EQ(oFirst.TimerInterval(), 0); // nothing read yet
    oFirst.ReadValues();
    EXPECT_TRUE(oFirst.DefaultOptionsUsed());
    EXPECT_EQ(oFirst.FavoritesThreshold(), 3);
    EXPECT_EQ(oFirst.PurgeAge(), 30);
    EXPECT_EQ(oFirst.TimerInterval(), 60);
    EXPECT_NE(SettingsFile().find("[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                                  "\"Favorites Threshold\"=\"3\"\n"
                                  "\"Purge Age\"=\"30\"\n"
                                  "\"Timer Interval\"=\"60\"\n"),
              std::string::npos);

    Store("Purge Age", "45");
    COptions oSecond;
    oSecond.ReadValues();
    EXPECT_FALSE(oSecond.DefaultOptionsUsed());
    EXPECT_EQ(oSecond.PurgeAge(), 45);
    EXPECT_EQ(m_oWorld.ErrorLog(), "");
}

TEST_F(OptionsStoreTest, HandEditedValuesAreUsedAsReadOrFallBackAndStayStored) {
    COptions().ReadValues();
    struct SCase {
        const char* szStored;
        std::int32_t lUsed;
    };
    // Out-of-range numbers are the store's business no more than any other number.
    for (const SCase& oCase : {SCase{"0", 0}, SCase{"-3", -3}, SCase{" 7 ", 7}, SCase{"2.5", 2},
                               SCase{"abc", 60}, SCase{"", 60}, SCase{"99999999999", 60}}) {
        SCOPED_TRACE(oCase.szStored);
        Store("Timer Interval", oCase.szStored);
        COptions oOptions;
        oOptions.ReadValues();
        EXPECT_EQ(oOptions.TimerInterval(), oCase.lUsed);
        EXPECT_EQ(oOptions.FavoritesThreshold(), 3);
        EXPECT_FALSE(oOptions.DefaultOptionsUsed());
        EXPECT_EQ(Stored("Timer Interval"), oCase.szStored); // never reset
    }
}

TEST_F(OptionsStoreTest, AValueDeletedByHandIsAddedBackWithItsDefaultAlone) {
    COptions().ReadValues();
    Store("Favorites Threshold", "5");
    MDayfold::Registry().KeyFromPath(MSettings::GroupPath("Options")).Values().Remove("Purge Age");

    COptions oOptions;
    oOptions.ReadValues();
    EXPECT_FALSE(oOptions.DefaultOptionsUsed());
    EXPECT_EQ(oOptions.PurgeAge(), 30);
    EXPECT_EQ(Stored("Purge Age"), "30");
    EXPECT_EQ(oOptions.FavoritesThreshold(), 5);
    EXPECT_EQ(Stored("Favorites Threshold"), "5");
    EXPECT_EQ(Stored("Timer Interval"), "60");
}

TEST_F(OptionsStoreTest, ConfirmingTheDialogSavesWhatTheUserLeftInIt) {
    COptions().ReadValues();
    Store("Purge Age", "14");
    CAnsweringDialog::SScript oScript;
    oScript.alTyped[0] = 2;
    oScript.alTyped[1] = 7;
    oScript.alTyped[2] = 15;
    COptions oOptions(Loader(oScript));
    EXPECT_TRUE(oOptions.ChangeValues());
    EXPECT_EQ(oScript.alShown[0], 3); // the dialog starts from the stored values
    EXPECT_EQ(oScript.alShown[1], 14);
    EXPECT_EQ(oScript.alShown[2], 60);
    EXPECT_EQ(oOptions.FavoritesThreshold(), 2);
    EXPECT_EQ(oOptions.PurgeAge(), 7);
    EXPECT_EQ(oOptions.TimerInterval(), 15);
    EXPECT_EQ(Stored("Favorites Threshold"), "2");
    EXPECT_EQ(Stored("Purge Age"), "7");
    EXPECT_EQ(Stored("Timer Interval"), "15");
    EXPECT_EQ(oScript.iLoaded, 1);
    EXPECT_EQ(oScript.iUnloaded, 1);
}

TEST_F(OptionsStoreTest, CancellingTheDialogLeavesTheSettingsUnchanged) {
    COptions().ReadValues();
    Store("Timer Interval", "abc");
    const std::string sBefore = SettingsFile();
    CAnsweringDialog::SScript oScript;
    oScript.bConfirm = false;
    oScript.alTyped[2] = 5;
    COptions oOptions(Loader(oScript));
    EXPECT_FALSE(oOptions.ChangeValues());
    EXPECT_EQ(SettingsFile(), sBefore);
    EXPECT_EQ(oOptions.TimerInterval(), 60);
    EXPECT_EQ(oScript.iUnloaded, 1);
}

TEST_F(OptionsStoreTest, WithoutADialogChangeValuesFailsAndLogsIt) {
    COptions oOptions;
    EXPECT_FALSE(oOptions.ChangeValues());
    EXPECT_EQ(oOptions.TimerInterval(), 60); // the values were still read
    EXPECT_NE(m_oWorld.ErrorLog().find("\t424\t424-Object required\tCOptions.ChangeValues"),
              std::string::npos)
        << m_oWorld.ErrorLog();
}

TEST_F(OptionsStoreTest, SettingsThatCannotBeWrittenStillGiveTheDefaults) {
    // The settings folder is read-only for the user: the group cannot be made.
    const std::string sConfig = m_oWorld.Temp() / "config/Quillon";
    std::filesystem::create_directories(sConfig);
    MUnprivileged::OpenToAll(m_oWorld.Temp().Path().string());
    ::chmod(sConfig.c_str(), 0555);
    const int iResult = MUnprivileged::Run([] {
        COptions oOptions;
        oOptions.ReadValues();
        if (!oOptions.DefaultOptionsUsed()) {
            return 1;
        }
        return oOptions.FavoritesThreshold() == 3 && oOptions.PurgeAge() == 30 &&
                       oOptions.TimerInterval() == 60
                   ? 0
                   : 2;
    });
    EXPECT_EQ(iResult, 0);
    EXPECT_NE(m_oWorld.ErrorLog().find("COptions.ReadValues"), std::string::npos);
}

TEST(OptionValuesTest, TextBecomesAWholeNumberWithHalvesToEven) {
    EXPECT_EQ(MOptionValues::ToLong("60"), 60);
    EXPECT_EQ(MOptionValues::ToLong("+5"), 5);
    EXPECT_EQ(MOptionValues::ToLong(" 7 "), 7);
    EXPECT_EQ(MOptionValues::ToLong("2.5"), 2);
    EXPECT_EQ(MOptionValues::ToLong("3.5"), 4);
    EXPECT_EQ(MOptionValues::ToLong("2.51"), 3);
    EXPECT_EQ(MOptionValues::ToLong("-2.5"), -2);
    EXPECT_EQ(MOptionValues::ToLong("-3"), -3);
    EXPECT_EQ(MOptionValues::ToLong("1e3"), 1000);
    EXPECT_EQ(MOptionValues::ToLong("2147483647"), 2147483647);
    EXPECT_EQ(MOptionValues::ToLong("-2147483648"), -2147483647 - 1);

    auto ErrorOf = [](const std::string& sText) {
        try {
            MOptionValues::ToLong(sText);
        } catch (const CRunTimeError& oError) {
            return oError.Number();
        }
        return 0;
    };
    for (const char* szText : {"", "-", "+", ".", "1-", "abc", "1,5", "0x10", "inf"}) {
        EXPECT_EQ(ErrorOf(szText), 13) << szText;
    }
    for (const char* szText : {"99999999999", "2147483647.5", "-2147483649", "1e300"}) {
        EXPECT_EQ(ErrorOf(szText), 6) << szText;
    }
}

} // namespace
