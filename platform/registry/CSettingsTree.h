#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The keys and values below HKEY_CURRENT_USER, in memory. Keys are numbered in the order they
// were created, the root being 0, which is also the order of the settings file; values keep
// the order they were added. A key is named by its path below the root ("Software\Quillon");
// the root itself is "". Names compare without regard to letter case and keep the case they
// were created with. Each key holds only its own name and finds its sub-keys and values by
// their folded names, so building a tree costs time and memory in proportion to the text it
// is read from, however deep a path or however many values a key holds.
// A new tree holds the root and "Software", as every user's tree does.
class CSettingsTree {
public:
    using KeyId = std::size_t;
    static constexpr KeyId Root = 0;
    // The registry's own limits: a key lies at most 512 levels below its root and its name is
    // at most 255 characters long. A path beyond them is never made: every key of it would
    // repeat the whole path above it in the settings file.
    static constexpr std::size_t MaxDepth = 512;
    static constexpr std::size_t MaxNameLength = 255;

    struct SValue {
        std::string sName;
        std::string sValue;
    };

    CSettingsTree();

    std::size_t KeyCount() const { return m_vKeys.size(); }
    // The key's path below the root, parts joined by "\".
    std::string Path(KeyId nKey) const;
    const std::string& Name(KeyId nKey) const { return m_vKeys[nKey].sName; }
    std::size_t Depth(KeyId nKey) const { return m_vKeys[nKey].nDepth; }
    // The keys directly below nKey, in creation order.
    const std::vector<KeyId>& SubKeys(KeyId nKey) const { return m_vKeys[nKey].vSubKeys; }
    const std::vector<SValue>& Values(KeyId nKey) const { return m_vKeys[nKey].vValues; }

    std::optional<KeyId> FindKey(const std::string& sPath) const;
    std::optional<KeyId> FindSubKey(KeyId nParent, const std::string& sName) const;
    // The key, made with every missing key above it. The path must keep to the limits (Fits).
    KeyId EnsureKey(const std::string& sPath);
    KeyId EnsureSubKey(KeyId nParent, const std::string& sName);

    // True when a key of this name may lie iDepth levels below the root.
    static bool Fits(const std::string& sName, std::size_t nDepth);
    // True when every part of a path keeps to the limits.
    static bool Fits(const std::vector<std::string>& vParts);

    const SValue* FindValue(KeyId nKey, const std::string& sName) const;
    // Sets the value of that name, or adds it after the others when the key has none.
    void SetValue(KeyId nKey, const std::string& sName, const std::string& sValue);
    bool RemoveValue(KeyId nKey, const std::string& sName);

private:
    struct SKey {
        std::string sName;
        KeyId nParent = Root;
        std::size_t nDepth = 0;
        std::vector<KeyId> vSubKeys;
        std::unordered_map<std::string, KeyId> colSubKeys; // folded name -> key
        std::vector<SValue> vValues;
        std::unordered_map<std::string, std::size_t> colValues; // folded name -> position
    };

    std::vector<SKey> m_vKeys;
};
