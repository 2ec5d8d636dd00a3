#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRegistryStore;

// The sub-keys directly below one key. Errors raised by Add:
//   35004 Key already exists  the sub-key exists (in any letter case)
//   5     Invalid procedure call or argument
//                             an empty name or one holding "\", a line break or a zero byte
//   70    Permission denied   under HKEY_CLASSES_ROOT
//   75    Path/File access error
//                             the settings file cannot be written (the key is not made)
//   35601 Element not found   the key itself has gone
class CRegistrySubKeys {
public:
    CRegistrySubKeys(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot, std::string sKey);

    void Add(const std::string& sName);
    std::int32_t Count() const;
    // The names in creation order (HKEY_CLASSES_ROOT cannot list its keys: none).
    std::vector<std::string> Names() const;

private:
    std::shared_ptr<CRegistryStore> m_pStore;
    std::uint32_t m_lRoot;
    std::string m_sKey;
};
