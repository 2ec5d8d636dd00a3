#include "app/core/MSettings.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <exception>

namespace MSettings {

std::string GroupPath(const std::string& sGroup) {
    return std::string("\\HKEY_CURRENT_USER") + "\\Software\\Quillon\\Dayfold\\" + sGroup;
}

void CreateRegistryKeys(CRegistry& oRegistry, const std::string& sGroup,
                        const std::vector<std::pair<std::string, std::string>>& vDefaults) {
    try {
        CRegistryKey oKey =
            oRegistry.KeyFromRoot(CRegistry::HKEY_CURRENT_USER).OpenSubKey("Software");
        for (const std::string& sName : {std::string("Quillon"), std::string("Dayfold"), sGroup}) {
            try {
                oKey.SubKeys().Add(sName);
            } catch (const CRunTimeError& oError) {
                if (oError.Number() != RunTimeErrors::KeyAlreadyExists) {
                    return;
                }
            }
            oKey = oKey.OpenSubKey(sName);
        }
        CRegistryValues oValues = oKey.Values();
        for (const auto& [sName, sDefault] : vDefaults) {
            oValues.Add(sName, sDefault, CRegistryValues::StringType);
        }
    } catch (const std::exception&) {
        // The creation ends silently; the owner's read reports what is missing.
    }
}

} // namespace MSettings
