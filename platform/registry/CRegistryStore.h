#pragma once

#include "platform/registry/CSettingsTree.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CErrorReporter;
class CRunTimeError;
class CFileTypeProvider;

// What the registry's key and value handles share: the tree of HKEY_CURRENT_USER kept in the
// settings file, and the file-type provider that answers HKEY_CLASSES_ROOT. Keys are named by
// their root and their path below it, parts joined by "\" ("" is the root itself).
//
// The settings file is read once, when the store is made, and only when it is a regular file
// within its size cap. Every change is written at once by replacing the file as a whole; when
// that fails the change is dropped, so the tree in memory always matches the file. A write
// goes through a symbolic link to the file behind it, keeps the user's rights of the file
// (none for group and others; a new file and its folders are 0600 and 0700), and never
// replaces a read-only file.
// A line of the file that cannot be read is skipped and logged, and every other value is
// kept; the keys it may have belonged to are told by KeyIncomplete. A file that exists but
// cannot be read as a settings file (no regular file, over its cap, not readable, or nothing
// of it readable) is damaged: it is logged, kept where it is as it is, and never replaced
// (every change fails with 75), and the tree starts empty, so that the owners run on their
// defaults until the user repairs or removes the file; the first refused change is logged.
// Leftover temporary files of an interrupted write are removed: the settings file itself is
// always the last complete one.
class CRegistryStore {
public:
    CRegistryStore(std::string sSettingsFile, CFileTypeProvider* pFileTypes,
                   CErrorReporter* pReporter);

    static constexpr std::uint32_t ClassesRoot = 0x80000000;
    static constexpr std::uint32_t CurrentUser = 0x80000001;
    // "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT"; nullopt for any other root.
    static std::optional<std::string> RootName(std::uint32_t lRoot);
    // The root a path begins with (long names or HKCU/HKCR, any case).
    static std::optional<std::uint32_t> RootFromName(const std::string& sName);

    // The stored spelling of an existing key's path, nullopt when the key does not exist.
    std::optional<std::string> FindKey(std::uint32_t lRoot, const std::string& sKey);
    // The same, raising 35601 (Element not found) when it does not exist.
    std::string ExistingKey(std::uint32_t lRoot, const std::string& sKey);

    std::vector<std::string> SubKeyNames(std::uint32_t lRoot, const std::string& sKey);
    void AddSubKey(std::uint32_t lRoot, const std::string& sKey, const std::string& sName);

    std::vector<std::string> ValueNames(std::uint32_t lRoot, const std::string& sKey);
    // The stored spelling of a value's name, nullopt when the value does not exist.
    std::optional<std::string> FindValue(std::uint32_t lRoot, const std::string& sKey,
                                         const std::string& sName);
    std::string Value(std::uint32_t lRoot, const std::string& sKey, const std::string& sName);
    void AddValue(std::uint32_t lRoot, const std::string& sKey, const std::string& sName,
                  const std::string& sValue);
    void SetValue(std::uint32_t lRoot, const std::string& sKey, const std::string& sName,
                  const std::string& sValue);
    void RemoveValue(std::uint32_t lRoot, const std::string& sKey, const std::string& sName);

    const std::string& SettingsFile() const { return m_sSettingsFile; }
    // False when the settings file is damaged or kept (KeepFile).
    bool Writable() const { return m_bWritable; }
    // The settings file exists but could not be read as one.
    bool Damaged() const { return m_bDamaged; }
    // Whether values of the key sKey (of HKEY_CURRENT_USER) may be missing because the file is
    // damaged or a line that may have belonged to that key was skipped.
    bool KeyIncomplete(const std::string& sKey) const;
    // Keeps the settings file as it is for the rest of the run: every later change fails (75),
    // so lines that were skipped are not lost by the next write.
    void KeepFile() { m_bWritable = false; }

private:
    void Load();
    void RemoveLeftovers(const std::string& sTarget) const;
    // The key of HKEY_CURRENT_USER at sKey; raises 35601 when there is none.
    CSettingsTree::KeyId ExistingUserKey(std::uint32_t lRoot, const std::string& sKey) const;
    // Writes the changed tree, then takes it; raises 75 after logging when it cannot.
    void Commit(CSettingsTree oTree);
    void Log(std::int32_t lNumber, const std::string& sDescription, const std::string& sSource,
             const std::string& sMessage) const;
    std::optional<std::string> ClassesRootValue(const std::string& sKey);
    static void RefuseClassesRoot(std::uint32_t lRoot);

    std::string m_sSettingsFile;
    CFileTypeProvider* m_pFileTypes;
    CErrorReporter* m_pReporter;
    CSettingsTree m_oTree;
    bool m_bWritable = true;
    bool m_bDamaged = false;
    bool m_bRefusalLogged = false;
    std::vector<std::string> m_vLostKeys; // folded paths
    bool m_bAnyKeyLost = false;
};
