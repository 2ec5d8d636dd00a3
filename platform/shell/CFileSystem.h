#pragma once

#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

// The file-system calls of the routines that write what the program keeps (the capture cycle,
// the Favorites store, the shortcut codec, the atomic writer, the settings store). Each call
// behaves as the system call it is named after: -1 (or nullptr) with errno set on failure.
// The operating system's file system answers unless another was put in its place, so that a
// full disk, an I/O error or a refused right can be made to strike any one call.
class CFileSystem {
public:
    CFileSystem() = default;
    virtual ~CFileSystem() = default;
    CFileSystem(const CFileSystem&) = delete;
    CFileSystem& operator=(const CFileSystem&) = delete;

    // The file system in use.
    static CFileSystem& Current();
    // Puts pFileSystem in use (nullptr: the operating system's); returns the one it replaces.
    static CFileSystem* SetCurrent(CFileSystem* pFileSystem);
    // The operating system's.
    static CFileSystem& System();

    // Files: open, openat, mkostemp (sTemplate gets the name made), read, write, fsync, close.
    virtual int Open(const std::string& sPath, int iFlags, mode_t lMode = 0);
    virtual int OpenAt(int iFolder, const std::string& sName, int iFlags, mode_t lMode = 0);
    virtual int MakeTemporary(std::string& sTemplate, int iFlags);
    virtual ssize_t Read(int iFd, void* pBuffer, size_t nSize);
    virtual ssize_t Write(int iFd, const void* pData, size_t nSize);
    virtual int Sync(int iFd);
    virtual int Close(int iFd);

    // What a file is: stat, lstat, fstat, fstatat, faccessat (effective ids), readlink.
    virtual int Stat(const std::string& sPath, struct stat& oStat);
    virtual int LinkStat(const std::string& sPath, struct stat& oStat);
    virtual int FileStat(int iFd, struct stat& oStat);
    virtual int StatAt(int iFolder, const std::string& sName, struct stat& oStat, int iFlags);
    virtual int Access(const std::string& sPath, int iMode);
    virtual ssize_t ReadLink(const std::string& sPath, char* pBuffer, size_t nSize);

    // Changes to an open file: fchmod, futimens, ftruncate.
    virtual int ChangeMode(int iFd, mode_t lMode);
    virtual int SetTimes(int iFd, const struct timespec atsTimes[2]);
    virtual int Truncate(int iFd, off_t llSize);

    // Names: rename, renameat2 with RENAME_NOREPLACE, link, unlink, unlinkat, mkdir.
    virtual int Rename(const std::string& sFrom, const std::string& sTo);
    virtual int RenameNoReplace(const std::string& sFrom, const std::string& sTo);
    virtual int HardLink(const std::string& sFrom, const std::string& sTo);
    virtual int Remove(const std::string& sPath);
    virtual int RemoveAt(int iFolder, const std::string& sName);
    virtual int MakeFolder(const std::string& sPath, mode_t lMode);

    // Listing a folder: opendir, readdir (nullptr with errno 0 at the end), closedir.
    virtual DIR* OpenFolder(const std::string& sPath);
    virtual dirent* ReadFolder(DIR* pFolder);
    virtual int CloseFolder(DIR* pFolder);
};
