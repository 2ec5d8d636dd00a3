#pragma once

#include "app/options/COptionsDialog.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CRegistryValues;

// The three options of the program in the settings group "Options": "Favorites Threshold"
// (days of use that make a favorite), "Purge Age" (days kept before purging) and "Timer
// Interval" (seconds between polls), created with their defaults 3, 30 and 60 on first use.
// A short-lived object: start-up reads the values, the Options command changes them.
//
// The store checks no range: a value edited by hand is used as read as long as it is a 32-bit
// number; text that is not a number, or a number beyond 32 bits, gives the default in memory
// and stays stored as it is. Errors are only logged, under "COptions.<routine>".
class COptions {
public:
    static constexpr std::int32_t DefaultFavoritesThreshold = 3;
    static constexpr std::int32_t DefaultPurgeAge = 30;
    static constexpr std::int32_t DefaultTimerInterval = 60;

    // Loads the options dialog, new for each ChangeValues; it is unloaded when ChangeValues
    // ends. Null (or a loader that gives nothing) makes ChangeValues fail.
    using DialogLoader = std::function<std::unique_ptr<COptionsDialog>()>;

    explicit COptions(DialogLoader fLoadDialog = nullptr);

    std::string ClassName() const { return m_sClassName; }
    // True when ReadValues found no "Options" group and created it with the defaults (not when
    // the settings file is damaged: that is no first run).
    bool DefaultOptionsUsed() const { return m_bDefaultOptionsUsed; }
    // The values last read or saved; 0 before the first ReadValues.
    std::int32_t FavoritesThreshold() const { return m_lFavoritesThreshold; }
    std::int32_t PurgeAge() const { return m_lPurgeAge; }
    std::int32_t TimerInterval() const { return m_lTimerInterval; }

    // Loads the three values, creating the group or a missing value with its default.
    void ReadValues();
    // Reads the values, runs the dialog with them and saves what the user confirmed; true when
    // the user confirmed and the values were saved.
    bool ChangeValues();

private:
    void CreateOptionRegistryKeys();
    std::int32_t ReadValue(std::optional<CRegistryValues>& oValues, const std::string& sName,
                           std::int32_t lDefault);

    std::string m_sClassName = "COptions";
    DialogLoader m_fLoadDialog;
    bool m_bDefaultOptionsUsed = false;
    std::int32_t m_lFavoritesThreshold = 0;
    std::int32_t m_lPurgeAge = 0;
    std::int32_t m_lTimerInterval = 0;
};
