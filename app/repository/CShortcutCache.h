#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

// What the shortcut records of one rebuild or one poll share: the links read from the bytes of
// the files (a repository holds the same shortcut day after day, byte for byte, and each such
// content is read once), the file-type registry's answers for the extensions met, whether each
// opening program exists, and a handle on the folder of the files being loaded. A repository
// of thousands of shortcuts to a few dozen documents then asks the registry a few dozen times,
// and opens each file of a day folder as cheaply as a listing does. The routine that walks or
// polls makes one and hands it to its shortcut records; it lives no longer than that routine,
// so a type or program changed in between is seen by the next one.
class CShortcutCache {
public:
    // What the registry says about one extension.
    struct SFileType {
        std::string sTargetClass; // the type's description; empty when not registered
        bool bIconFile = false;   // the type names an icon ("file,index")
        std::string sIconFile;    //   its file
        bool bIconIndex = false;  //   and an index that reads as a number
        std::int32_t lIconIndex = 0;
        std::string sExecutable;       // the opening program; empty when there is none
        std::string sExecutableName;   // its file name, first letter upper case, rest lower
        std::string sExecutableFolder; // its drive and folder
    };

    CShortcutCache() = default;
    ~CShortcutCache();
    CShortcutCache(const CShortcutCache&) = delete;
    CShortcutCache& operator=(const CShortcutCache&) = delete;

    std::string ClassName() const { return "CShortcutCache"; }

    // What a shortcut's bytes give the record: the target, its name, the working folder (the
    // target's own folder when the shortcut names none), arguments, icon and show command.
    struct SLink {
        std::string sTargetFile;
        std::string sTargetFileName;
        std::string sWorkingDirectory;
        std::string sArguments;
        std::string sIconFile;
        std::int32_t lIconIndex = 0;
        std::int32_t lShowCommand = 0;
    };
    using FReadLink = std::function<SLink(const std::vector<std::uint8_t>& vBytes)>;

    // The link that vBytes hold: read by fnRead the first time these bytes are met, remembered
    // after. What fnRead throws (a damaged shortcut) is passed on and not remembered.
    const SLink& Link(std::vector<std::uint8_t>&& vBytes, const FReadLink& fnRead);

    // The answers for sExtension (with its dot, as written in the target's name).
    const SFileType& FileType(const std::string& sExtension);
    // Whether a regular file exists at sPath (within this user's reach). Throws CRunTimeError
    // when it could not be looked at (an I/O error), and remembers nothing then.
    bool ProgramExists(const std::string& sPath);
    // The default value of an HKEY_CLASSES_ROOT key of the file-type registry; throws when the
    // key is missing.
    static std::string ClassesRootValue(const std::string& sKey);

    // Opens the file sPath for reading (without waiting on a named pipe), through the handle
    // of its folder while files of one folder follow one another; -1 (errno set) when it
    // cannot.
    int OpenFile(const std::string& sPath);

private:
    struct SBytesHash {
        size_t operator()(const std::vector<std::uint8_t>& vBytes) const;
    };
    // At most this many distinct contents are remembered; others are read each time.
    static constexpr size_t LinksKept = 8192;

    SFileType Lookup(const std::string& sExtension);
    void SetExecutable(SFileType& oType, const std::string& sCommand);

    std::unordered_map<std::string, SFileType> m_colFileTypes;
    std::unordered_map<std::string, bool> m_colPrograms;
    std::unordered_map<std::vector<std::uint8_t>, SLink, SBytesHash> m_colLinks;
    SLink m_oUnkept;       // the last link read beyond LinksKept
    std::string m_sFolder; // the folder m_iFolder is open on, with its trailing "/"
    int m_iFolder = -1;
};
