#pragma once

#include "platform/registry/CRegistryValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRegistryStore;

// The values of one key. Names compare without regard to letter case; "" is the key's
// default value. Errors raised:
//   35601 Element not found   Item or Remove of a missing value, or the key has gone
//   457   This key is already associated with an element of this collection
//                             Add of a value that exists
//   13    Type mismatch       Add with a type other than 1 (string)
//   70    Permission denied   Add or Remove under HKEY_CLASSES_ROOT
//   75    Path/File access error
//                             the settings file cannot be written (the change is dropped)
class CRegistryValues {
public:
    static constexpr std::int32_t StringType = 1;

    CRegistryValues(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot, std::string sKey);

    CRegistryValue Item(const std::string& sName) const;
    void Add(const std::string& sName, const std::string& sValue, std::int32_t lType);
    void Remove(const std::string& sName);
    std::int32_t Count() const;
    // The names in the order the values were added.
    std::vector<std::string> Names() const;

private:
    std::shared_ptr<CRegistryStore> m_pStore;
    std::uint32_t m_lRoot;
    std::string m_sKey;
};
