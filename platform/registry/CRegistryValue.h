#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CRegistryStore;

// One value of a key: a cheap handle that reads and writes through the registry.
class CRegistryValue {
public:
    CRegistryValue(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot, std::string sKey,
                   std::string sName);

    // The name as it was created ("" for the key's default value).
    std::string Name() const;
    // Raises 35601 (Element not found) when the value or its key has gone.
    std::string Value() const;
    // Stores the text and writes the settings file at once; raises 35601 when the value has
    // gone, 70 (Permission denied) under HKEY_CLASSES_ROOT, 75 when the file cannot be written.
    void SetValue(const std::string& sValue);
    // Every value is a string value (type 1).
    std::int32_t Type() const { return 1; }

private:
    std::shared_ptr<CRegistryStore> m_pStore;
    std::uint32_t m_lRoot;
    std::string m_sKey;
    std::string m_sName;
};
