#pragma once

#include <cstddef>
#include <string>

// Reading a whole file that comes from outside the program. Only a regular file is read, and
// only up to a cap suited to what it holds: a link to /dev/zero, a named pipe or a runaway
// file is refused before it costs memory or time.
namespace MFileRead {

// Caps of the files the program reads whole.
constexpr std::size_t DesktopFileCap = 4u << 20;     // desktop entries, mimeapps.list, links
constexpr std::size_t SettingsFileCap = 4u << 20;    // the settings file
constexpr std::size_t FavoritesFileCap = 256u << 20; // Favorites.dat: far beyond any real one

// The bytes of sPath. Throws CRunTimeError: 53 when it does not exist, 75 when it is not a
// regular file (a folder, a device, a pipe, a socket) or is larger than nCap bytes, and the
// error of the system for a file that cannot be read.
std::string ReadRegularFile(const std::string& sPath, std::size_t nCap);

} // namespace MFileRead
