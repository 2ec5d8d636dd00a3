#pragma once

#include "platform/registry/CFileTypeProvider.h"
#include "platform/registry/CRegistryKey.h"

#include <cstdint>
#include <memory>
#include <string>

class CErrorReporter;
class CRegistryStore;

// The registry as the program sees it: HKEY_CURRENT_USER kept in the per-user settings file,
// and a read-only HKEY_CLASSES_ROOT answered by a file-type provider. Key and value names
// compare without regard to letter case and keep the case they were created with.
//
// Errors (CRunTimeError):
//   35601 Element not found   a key or value that does not exist
//   35004 Key already exists  SubKeys.Add of an existing sub-key
//   457   This key is already associated with an element of this collection
//                             Values.Add of an existing value
//   5     Invalid procedure call or argument
//                             an unknown root handle, an empty path, a bad sub-key name
//   70    Permission denied   a change under HKEY_CLASSES_ROOT
//   75    Path/File access error
//                             the settings file cannot be written; the failure is also logged
//                             through the reporter with source "CRegistry.Save"
//
// A line of the settings file that cannot be read is skipped and logged (source
// "CRegistry.Load") and every other value is kept. A damaged file (nothing of it can be read,
// it is no regular file, it is larger than its cap, or the user may not read it) is logged
// likewise, kept where it is and never replaced: every change fails (75), and the tree starts
// empty, so that the owners run on their defaults without writing them. Writes go through
// symbolic links, make a new file and its folders readable by the user alone (0600, 0700),
// keep the user's rights of an existing file but take those of group and others away, and
// leave a read-only file alone (75, logged).
class CRegistry {
public:
    static constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000;
    static constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;

    // sSettingsFile: the per-user Dayfold.reg; pFileTypes answers HKEY_CLASSES_ROOT (null: no
    // HKEY_CLASSES_ROOT key exists); pReporter receives logged failures (may be null). Reads
    // the settings file at once.
    CRegistry(std::string sSettingsFile, CFileTypeProvider* pFileTypes,
              CErrorReporter* pReporter = nullptr);

    CRegistryKey KeyFromRoot(std::uint32_t lRoot);
    // "\HKEY_CURRENT_USER\Software\Quillon\Dayfold\Options", "\HKEY_CLASSES_ROOT\.pdf"; the
    // leading "\" and a trailing one are optional, HKCU and HKCR stand for the roots.
    CRegistryKey KeyFromPath(const std::string& sPath);

    const std::string& SettingsFile() const;

    // The settings file exists but could not be read as one (it is kept and never written).
    bool Damaged() const;
    // Whether values of the key at sPath ("\HKEY_CURRENT_USER\...") may be missing: the file
    // is damaged, or a line that may have belonged to that key was skipped. An owner that
    // must not run on defaults in place of what the user set asks this.
    bool KeyIncomplete(const std::string& sPath) const;
    // Keeps the settings file as it is for the rest of the run: every later change fails (75),
    // so that lines which could not be read are not lost by the next write.
    void KeepSettingsFile();

private:
    std::shared_ptr<CRegistryStore> m_pStore;
};
