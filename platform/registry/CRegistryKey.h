#pragma once

#include "platform/registry/CRegistrySubKeys.h"
#include "platform/registry/CRegistryValues.h"

#include <cstdint>
#include <memory>
#include <string>

class CRegistryStore;

// One key of the registry: a cheap handle, copied freely; it stays usable for as long as any
// handle or the registry itself lives.
class CRegistryKey {
public:
    CRegistryKey(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot, std::string sKey);

    // The key sName below this one (sName may go down several levels, "shell\open"); raises
    // 35601 (Element not found) when it does not exist.
    CRegistryKey OpenSubKey(const std::string& sName) const;
    CRegistrySubKeys SubKeys() const;
    CRegistryValues Values() const;
    // "\HKEY_CURRENT_USER\Software\Quillon", in the case the keys were created with.
    std::string Path() const;
    // The last part of the path ("Quillon"; the root's own name for a root).
    std::string Name() const;
    std::uint32_t Root() const { return m_lRoot; }

private:
    std::shared_ptr<CRegistryStore> m_pStore;
    std::uint32_t m_lRoot;
    std::string m_sKey;
};
