#pragma once

#include "app/repository/CShortcutCache.h"
#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <string>
#include <vector>

// One shortcut file: the shortcut itself (path, name, last-write time and the year, month and
// day folder names of that time), the document it points to, the document's file type and the
// program registered to open that type. Assigning File loads everything at once.
class CShortcut {
public:
    std::string ClassName() const { return "CShortcut"; }

    const std::string& File() const { return m_sFile; }
    // Loads the record from the shortcut file sPath; failures are logged ("CShortcut.File") and
    // the fields read until then keep their values. The file is opened and stat'ed once.
    void SetFile(const std::string& sPath);

    // The file-type answers to use (a rebuild or a poll remembers them for all its records);
    // without one, every load asks the registry.
    void SetCache(CShortcutCache* pCache) { m_pCache = pCache; }

    // The record describes sCopy, a copy of its file made byte for byte with the same
    // last-write time: File and FileName change, nothing is read again.
    void SetCopyFile(const std::string& sCopy);

    // Whether the last SetFile read the shortcut itself (a damaged file or one that is not a
    // shortcut leaves it false, and such a file is not filed).
    bool Loaded() const { return m_bLoaded; }
    // Whether the last SetFile found the file itself unfit (not a regular file, or bytes that
    // are no shortcut), as opposed to a file that could not be read this time.
    bool Damaged() const { return m_bDamaged; }

    const std::string& FileName() const { return m_sFileName; }
    const CDateTime& Modified() const { return m_dModified; }
    // The last-write time as the file system keeps it (seconds since the epoch, UTC): what a
    // copy's time is compared with, free of the local clock's repeated hour.
    std::int64_t ModifiedUnixTime() const { return m_llModifiedUnixTime; }
    const std::string& Year() const { return m_sYear; }
    const std::string& Month() const { return m_sMonth; }
    const std::string& Day() const { return m_sDay; }
    const std::string& TargetFile() const { return m_sTargetFile; }
    const std::string& TargetFileName() const { return m_sTargetFileName; }
    const std::string& WorkingDirectory() const { return m_sWorkingDirectory; }
    const std::string& TargetClass() const { return m_sTargetClass; }
    const std::string& IconFile() const { return m_sIconFile; }
    std::int32_t IconIndex() const { return m_lIconIndex; }
    std::int32_t ShowCommand() const { return m_lShowCommand; }
    const std::string& Arguments() const { return m_sArguments; }
    // The program that opens the target's type, its file name and its folder.
    const std::string& Executable() const { return m_sExecutable; }
    const std::string& ExecutableName() const { return m_sExecutableName; }
    const std::string& ExecutableFolder() const { return m_sExecutableFolder; }

    // Puts a shortcut to the opening program ("<Name>.lnk") into the folder of File, unless a
    // file of that name is there already: a document's copy of the same name is never
    // replaced, and the program's own shortcut is already made. False (logged) when the
    // program shortcut that belongs there could not be made.
    bool CreateExecutableShortcut();
    // Opens the target with the program of its type (a program target is started itself),
    // in the working folder or else the home folder. The shell's result: above 32 success,
    // 2 file not found, 3 folder not found, 31 no program for the type.
    std::int32_t OpenDocument();

private:
    static CShortcutCache::SLink ReadLink(const std::vector<std::uint8_t>& vBytes);
    void Clear();
    void LoadFileType(const std::string& sExtension, CShortcutCache& oCache);
    std::string OpenCommand() const;

    std::string m_sExecutable;
    std::string m_sExecutableName;
    std::string m_sExecutableFolder;
    std::string m_sArguments;
    std::string m_sDay;
    std::string m_sFile;
    std::string m_sFileName;
    std::string m_sIconFile;
    std::int32_t m_lIconIndex = 0;
    CDateTime m_dModified;
    std::int64_t m_llModifiedUnixTime = 0;
    std::string m_sMonth;
    std::int32_t m_lShowCommand = 0;
    std::string m_sTargetClass;
    std::string m_sTargetFile;
    std::string m_sTargetFileName;
    std::string m_sWorkingDirectory;
    std::string m_sYear;
    bool m_bLoaded = false;
    bool m_bDamaged = false;
    CShortcutCache* m_pCache = nullptr;
};
