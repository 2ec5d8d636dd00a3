#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opens a file the way the desktop's "Open" does: the program of a registered open command
// ("/usr/bin/gedit %U", "C:\WINDOWS\NOTEPAD.EXE %1") is started detached with an argument
// list, never through a shell, in the document's working folder. The results keep the shell's
// classic codes: above 32 the program was started, anything else is a failure.
class CShellExecute {
public:
    // The system refused to start the program (no process, or the program could not be run).
    static constexpr std::int32_t OutOfResources = 0;
    static constexpr std::int32_t FileNotFound = 2;
    static constexpr std::int32_t PathNotFound = 3;
    // The program is not in a format the system can run.
    static constexpr std::int32_t BadFormat = 11;
    static constexpr std::int32_t NoAssociation = 31;
    // Any value above 32 means the program was started.
    static constexpr std::int32_t Started = 42;

    // The argument list of sCommand for sFile (an absolute path): words split as a desktop
    // entry's Exec line quotes them; %f %F %1 replaced by the file, %u %U by its file: URI
    // (appended as a path when the command names no place for it); %% is one %; any other
    // field code stands for nothing, and a word made only of such codes is dropped.
    static std::vector<std::string> Arguments(const std::string& sCommand,
                                              const std::string& sFile);

    // Starts the command for sFile in sFolder (empty: the current folder). sCommand empty
    // starts sFile itself when it is a program. Gives FileNotFound for a missing file,
    // PathNotFound for a missing folder of the file or a missing sFolder, NoAssociation when
    // there is no command or its program is not an executable file, BadFormat or
    // OutOfResources when the program could not be started, Started once it runs. Nothing is
    // waited for but the start itself, and no child process is left to be reaped.
    static std::int32_t Open(const std::string& sCommand, const std::string& sFile,
                             const std::string& sFolder);

    // Opens a link (a web address) with the command of its scheme's handler, as Open does a
    // file: the link is one argument wherever the command takes a file or a URI (%f %F %1 %u
    // %U), else appended. Gives NoAssociation when there is no command or its program is not
    // found, PathNotFound for a missing sFolder, Started once the program runs.
    static std::int32_t OpenLink(const std::string& sCommand, const std::string& sLink,
                                 const std::string& sFolder);

    // The absolute path of a program: itself when it holds a "/", else found in $PATH;
    // empty when there is no such executable file.
    static std::string FindProgram(const std::string& sProgram);
};
