#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The special folders of the desktop, answered the Linux way: the freedesktop base and user
// directories ($XDG_DATA_HOME, $XDG_CONFIG_HOME/user-dirs.dirs), the program's per-user data
// folder and its Recent folder of shortcuts. Every path is absolute and has no trailing "/"
// (the root folder excepted). Environment variables are read at each call, so tests may point
// them at temporary folders.
class CShellFolders {
public:
    // The platform's folder identifiers that have an answer here.
    enum EFolderId : std::int16_t {
        Desktop = 0,
        Programs = 2,
        Controls = 3,
        Printers = 4,
        Personal = 5,
        Favorites = 6,
        Startup = 7,
        Recent = 8,
        SendTo = 9,
        BitBucket = 10,
        StartMenu = 11,
        DesktopDirectory = 16,
        Drives = 17,
        Network = 18,
        NetHood = 19,
        Fonts = 20,
        Templates = 21,
        CommonStartMenu = 22,
        CommonPrograms = 23,
        CommonStartup = 24,
        CommonDesktopDirectory = 25,
        AppData = 26,
        PrintHood = 27,
    };

    // The file-system path of a special folder; nullopt for a virtual folder (drives, network,
    // printers, control panel, recycle bin), one with no Linux counterpart, or an unknown id.
    // The Recent folder is created (with its parents, each private to the user: 0700) when
    // missing; a failure to create it raises CRunTimeError. (The program itself refuses a missing
    // folder that the user named before it asks here: see RecentFolderNamed.)
    static std::optional<std::string> Path(std::int32_t lFolderId);

    // The user's home folder: $HOME, else the password database's entry.
    static std::string HomeFolder();
    // $XDG_DATA_HOME, else ~/.local/share.
    static std::string DataHome();
    // $XDG_CONFIG_HOME, else ~/.config.
    static std::string ConfigHome();
    // The program's data folder: $DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold.
    static std::string DataFolder();
    // The Recent folder: $DAYFOLD_RECENT, else <data folder>/Recent. Not created here.
    static std::string RecentFolder();
    // True when $DAYFOLD_RECENT names the Recent folder.
    static bool RecentFolderNamed();
    // A program variable ($DAYFOLD_HOME, $DAYFOLD_RECENT) that is set to a path that is not
    // absolute, and so is not used, told for the user; empty when there is none.
    static std::string RelativeOverride();
    // Why sPath cannot serve as a folder to list (and to write to when bWritable), in the
    // system's words ("Too many levels of symbolic links"); empty when it can. Never throws.
    static std::string FolderProblem(const std::string& sPath, bool bWritable);
    // A user directory of user-dirs.dirs ("DESKTOP", "DOCUMENTS", "TEMPLATES", ...), with
    // ~/<sDefaultName> when the file or its entry is missing.
    static std::string UserDirectory(const std::string& sName, const std::string& sDefaultName);
    // The folder of the system's programs.
    static std::string SystemProgramsFolder() { return "/usr/bin"; }
};
