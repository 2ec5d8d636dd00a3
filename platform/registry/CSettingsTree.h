#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// The keys and values below HKEY_CURRENT_USER, in memory. Keys are kept in the order they were
// created and values in the order they were added, which is also the order of the settings
// file. A key is named by its path below the root ("Software\Quillon"); the root itself is "".
// Names compare without regard to letter case and keep the case they were created with.
// A new tree holds the root and "Software", as every user's tree does.
class CSettingsTree {
public:
    struct SValue {
        std::string sName;
        std::string sValue;
    };
    struct SKey {
        std::string sPath; // below the root, parts joined by "\", "" for the root
        std::vector<SValue> vValues;
    };

    CSettingsTree();

    const std::vector<SKey>& Keys() const { return m_vKeys; }
    const SKey* FindKey(const std::string& sPath) const;
    SKey* FindKey(const std::string& sPath);
    // The key, created with every missing key above it.
    SKey& EnsureKey(const std::string& sPath);
    // The paths of the keys directly below sPath, in creation order.
    std::vector<std::string> SubKeyPaths(const std::string& sPath) const;

    static const SValue* FindValue(const SKey& oKey, const std::string& sName);
    static SValue* FindValue(SKey& oKey, const std::string& sName);
    static bool RemoveValue(SKey& oKey, const std::string& sName);

private:
    std::vector<SKey> m_vKeys;
    std::unordered_map<std::string, std::size_t> m_colIndex; // folded path -> position
};
