#pragma once

#include <optional>
#include <string>

namespace qlAboutBox {

// The machine-wide settings on Linux: a file in the registry-export text format (UTF-8) whose
// [HKEY_LOCAL_MACHINE\...] sections stand for the machine's keys, for example
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   "PATH"="/usr/bin/kinfocenter"
//
// Sections of other roots are passed over. Only string values are read: a value of another
// kind (dword:, hex:) counts as missing, as it can never name a program.
class CMachineSettings {
public:
    static constexpr const char* RootName = "HKEY_LOCAL_MACHINE";

    // The string value sValueName of the key sKeyPath (below HKEY_LOCAL_MACHINE, parts joined
    // by "\"); names compare without regard to letter case. Nothing when the file is missing,
    // unreadable or damaged, or holds no such string value: the read simply fails.
    static std::optional<std::string> ReadString(const std::string& sFile,
                                                 const std::string& sKeyPath,
                                                 const std::string& sValueName);
};

} // namespace qlAboutBox
