#include "app/options/COptions.h"

#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/options/MOptionValues.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <exception>
#include <utility>

namespace {

const char* const GroupName = "Options";
const char* const FavoritesThresholdName = "Favorites Threshold";
const char* const PurgeAgeName = "Purge Age";
const char* const TimerIntervalName = "Timer Interval";

// The values of the group, or nothing when the group does not exist; the failure is kept.
std::optional<CRegistryValues> OpenValues(std::exception_ptr& pError) {
    try {
        return MDayfold::Registry().KeyFromPath(MSettings::GroupPath(GroupName)).Values();
    } catch (...) {
        pError = std::current_exception();
        return std::nullopt;
    }
}

} // namespace

COptions::COptions(DialogLoader fLoadDialog) : m_fLoadDialog(std::move(fLoadDialog)) {}

void COptions::CreateOptionRegistryKeys() {
    try {
        MSettings::CreateRegistryKeys(
            MDayfold::Registry(), GroupName,
            {{FavoritesThresholdName, std::to_string(DefaultFavoritesThreshold)},
             {PurgeAgeName, std::to_string(DefaultPurgeAge)},
             {TimerIntervalName, std::to_string(DefaultTimerInterval)}});
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "COptions.CreateOptionRegistryKeys", false);
    }
}

std::int32_t COptions::ReadValue(std::optional<CRegistryValues>& oValues, const std::string& sName,
                                 std::int32_t lDefault) {
    try {
        if (oValues) {
            return MOptionValues::ToLong(oValues->Item(sName).Value());
        }
    } catch (const std::exception&) {
        // Missing or not a number: the default is added, which fails silently for a value
        // that exists, so text edited by hand stays as it is.
        try {
            if (oValues) {
                oValues->Add(sName, std::to_string(lDefault), CRegistryValues::StringType);
            }
        } catch (const std::exception&) {
        }
    }
    return lDefault;
}

void COptions::ReadValues() {
    try {
        std::exception_ptr pError;
        std::optional<CRegistryValues> oValues = OpenValues(pError);
        if (!oValues) {
            CreateOptionRegistryKeys();
            // A first run; a settings file that could not be read is no first run to welcome.
            m_bDefaultOptionsUsed = !MDayfold::Registry().Damaged();
            oValues = OpenValues(pError);
            if (!oValues && pError) {
                // The group could not be made: the program runs on the defaults.
                try {
                    std::rethrow_exception(pError);
                } catch (const std::exception& oError) {
                    MDayfold::LogError(oError, "COptions.ReadValues", false);
                }
            }
        }
        m_lFavoritesThreshold =
            ReadValue(oValues, FavoritesThresholdName, DefaultFavoritesThreshold);
        m_lPurgeAge = ReadValue(oValues, PurgeAgeName, DefaultPurgeAge);
        m_lTimerInterval = ReadValue(oValues, TimerIntervalName, DefaultTimerInterval);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "COptions.ReadValues", false);
    }
}

bool COptions::ChangeValues() {
    bool bResult = false;
    try {
        ReadValues();
        std::unique_ptr<COptionsDialog> pDialog = m_fLoadDialog ? m_fLoadDialog() : nullptr;
        if (!pDialog) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        pDialog->SetFavoritesThreshold(m_lFavoritesThreshold);
        pDialog->SetPurgeAge(m_lPurgeAge);
        pDialog->SetTimerInterval(m_lTimerInterval);
        if (pDialog->GetValues()) {
            m_lFavoritesThreshold = pDialog->FavoritesThreshold();
            m_lPurgeAge = pDialog->PurgeAge();
            m_lTimerInterval = pDialog->TimerInterval();
            CRegistryValues oValues =
                MDayfold::Registry().KeyFromPath(MSettings::GroupPath(GroupName)).Values();
            oValues.Item(FavoritesThresholdName).SetValue(std::to_string(m_lFavoritesThreshold));
            oValues.Item(PurgeAgeName).SetValue(std::to_string(m_lPurgeAge));
            oValues.Item(TimerIntervalName).SetValue(std::to_string(m_lTimerInterval));
            bResult = true;
            // The three values are in use whether or not the pages' own groups could be
            // stored: such a failure is logged by the page.
            pDialog->SavePages();
        }
        // Leaving the scope unloads the dialog, confirmed or not.
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "COptions.ChangeValues", false);
        bResult = false;
    }
    return bResult;
}
