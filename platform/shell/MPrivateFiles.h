#pragma once

#include "platform/shell/CFileSystem.h"

#include <string>
#include <sys/types.h>
#include <vector>

// What the program keeps about the user's documents (the data folder, the settings folder and
// everything in them) is the user's alone, whatever the umask: folders 0700, files 0600. The
// umask of the process stays as the user set it, because the programs that documents are
// opened with inherit it; each folder and file gets its mode where it is made.
namespace MPrivateFiles {

constexpr mode_t FolderMode = 0700;
constexpr mode_t FileMode = 0600;

// Makes sFolder and every missing folder above it, each with FolderMode exactly; so
// $XDG_DATA_HOME and $XDG_CONFIG_HOME, when they have to be made, are 0700 as the
// base-directory rules ask. A folder that exists is left as it is. Throws CRunTimeError naming
// the level that failed (76 Path not found for a level that is no folder).
void MakeFolders(const std::string& sFolder, CFileSystem& oFiles = CFileSystem::Current());

// Opens sPath with iFlags (O_WRONLY | O_APPEND, ...; O_CREAT is implied), making it with
// FileMode exactly when it is missing; a file that exists keeps its mode. The descriptor, or
// -1 with errno set.
int OpenOrCreate(const std::string& sPath, int iFlags,
                 CFileSystem& oFiles = CFileSystem::Current());

// Takes every right of group and others away from sFolder and from everything below it, the
// folder itself last, but only when the folder has some such right: once a pass is complete
// the folder says so, and later calls look no further. Symbolic links are neither changed nor
// followed (sFolder itself may be one). A folder that holds sHome (the root, the home folder
// itself) is never walked. Returns what could not be changed, "<path>: <reason>" each; never
// throws.
std::vector<std::string> Tighten(const std::string& sFolder, const std::string& sHome);

} // namespace MPrivateFiles
