#pragma once

#include <string>

struct stat;

// Replaces a file as a whole: the text goes to a temporary file in the same folder, is flushed
// to the disk and renamed over the old file, so that a crash or a full disk leaves either the
// old file or the new one, never a mixture.
class CAtomicFile {
public:
    // Throws CRunTimeError when the file cannot be written; the old file is then untouched
    // and no temporary file is left behind. The new file gets the permission bits lMode before
    // it takes the old one's place, so a private file is never readable by others meanwhile;
    // by default only its user may read and write it.
    // *pWritten, when given, receives what the new file is (device, file number, size, time).
    // Every call goes through the file system in use (CFileSystem).
    static void Write(const std::string& sPath, const std::string& sText, unsigned int lMode = 0600,
                      struct stat* pWritten = nullptr);
};
