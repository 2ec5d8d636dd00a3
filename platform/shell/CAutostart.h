#pragma once

#include <string>

// Starting the program with the desktop session, the freedesktop way: an autostart entry
// "dayfold.desktop" in $XDG_CONFIG_HOME/autostart (default ~/.config/autostart). The user's
// entry overrides one of the same name in $XDG_CONFIG_DIRS/autostart (default /etc/xdg).
class CAutostart {
public:
    // $XDG_CONFIG_HOME/autostart/dayfold.desktop, read from the environment at each call.
    static std::string EntryPath();

    // Whether the desktop starts the program: the user's entry, else the first system entry,
    // exists and is neither Hidden=true nor X-GNOME-Autostart-enabled=false. An entry that
    // cannot be read counts as off.
    static bool IsOn();

    // On: writes the user's entry (atomically, its folder made when missing) to start
    // sProgram, an absolute path. Off: removes the user's entry; where a system entry would
    // still start the program, the user's entry says Hidden=true instead. Throws
    // CRunTimeError when the entry cannot be written or removed, or sProgram is not absolute.
    static void SetOn(bool bOn, const std::string& sProgram);

    // The absolute path of the running program; empty when the system does not tell it.
    static std::string RunningProgram();

    // The entry that starts sProgram.
    static std::string EntryText(const std::string& sProgram);
};
