#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opens a file the way the desktop's "Open" does: the program of a registered open command
// ("/usr/bin/gedit %U", "C:\WINDOWS\NOTEPAD.EXE %1") is started detached with an argument
// list, never through a shell. The results keep the shell's classic codes.
class CShellExecute {
public:
    static constexpr std::int32_t FileNotFound = 2;
    static constexpr std::int32_t PathNotFound = 3;
    static constexpr std::int32_t NoAssociation = 31;
    // Any value above 32 means the program was started.
    static constexpr std::int32_t Started = 42;

    // The argument list of sCommand for sFile: words split as a desktop entry's Exec line
    // quotes them, %f %F %u %U %1 replaced by the file (appended when the command names no
    // place for it), other field codes dropped, %% kept as one %.
    static std::vector<std::string> Arguments(const std::string& sCommand,
                                              const std::string& sFile);

    // Starts the command for sFile in sFolder (empty: the current folder). sCommand empty
    // starts sFile itself when it is a program, else gives NoAssociation; a missing file
    // FileNotFound; a missing folder PathNotFound; a program that cannot be found or started
    // FileNotFound.
    static std::int32_t Open(const std::string& sCommand, const std::string& sFile,
                             const std::string& sFolder);

    // The absolute path of a program: itself when it holds a "/", else found in $PATH;
    // empty when there is no such executable file.
    static std::string FindProgram(const std::string& sProgram);
};
