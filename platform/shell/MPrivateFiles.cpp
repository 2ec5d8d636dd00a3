#include "platform/shell/MPrivateFiles.h"

#include "platform/errors/CRunTimeError.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Deeper than any tree the program makes; a deeper one is not walked further.
constexpr int MaxDepth = 64;

// The mode without any right of group and others.
mode_t OwnerOnly(mode_t lMode) {
    return lMode & 07700;
}

void Note(std::vector<std::string>& vFailed, const std::string& sPath, int iErrno) {
    vFailed.push_back(sPath + ": " + std::strerror(iErrno));
}

// Whether sFolder is sHome or lies above it.
bool Holds(const std::string& sFolder, const std::string& sHome) {
    std::error_code ec;
    const std::string sCanonicalFolder = std::filesystem::weakly_canonical(sFolder, ec).string();
    if (ec) {
        return true; // what cannot be placed is not walked
    }
    const std::string sCanonicalHome = std::filesystem::weakly_canonical(sHome, ec).string();
    if (ec || sCanonicalHome.empty()) {
        return false;
    }
    if (sCanonicalFolder == "/" || sCanonicalHome == sCanonicalFolder) {
        return true;
    }
    return sCanonicalHome.compare(0, sCanonicalFolder.size() + 1, sCanonicalFolder + "/") == 0;
}

// Tightens what the open folder iFolder (at sPath) holds, deepest first.
void TightenBelow(int iFolder, const std::string& sPath, std::vector<std::string>& vFailed,
                  int iDepth) {
    const int iList = openat(iFolder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* pDir = iList < 0 ? nullptr : fdopendir(iList);
    if (pDir == nullptr) {
        Note(vFailed, sPath, errno);
        if (iList >= 0) {
            close(iList);
        }
        return;
    }
    // The names first: only one listing is open at a time, however deep the tree.
    std::vector<std::string> vNames;
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string sName = pEntry->d_name;
        if (sName != "." && sName != "..") {
            vNames.push_back(sName);
        }
    }
    closedir(pDir);
    for (const std::string& sName : vNames) {
        const std::string sChild = sPath + "/" + sName;
        struct stat oStat {};
        if (fstatat(iFolder, sName.c_str(), &oStat, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                Note(vFailed, sChild, errno);
            }
            continue;
        }
        if (S_ISLNK(oStat.st_mode)) {
            continue; // where it leads is not ours to change
        }
        if (S_ISDIR(oStat.st_mode)) {
            const int iChild =
                openat(iFolder, sName.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (iChild < 0) {
                Note(vFailed, sChild, errno);
            } else if (iDepth >= MaxDepth) {
                Note(vFailed, sChild, ELOOP);
            } else {
                TightenBelow(iChild, sChild, vFailed, iDepth + 1);
            }
            if (iChild >= 0) {
                close(iChild);
            }
        }
        if ((oStat.st_mode & 077) != 0 &&
            fchmodat(iFolder, sName.c_str(), OwnerOnly(oStat.st_mode), 0) != 0) {
            Note(vFailed, sChild, errno);
        }
    }
}

} // namespace

namespace MPrivateFiles {

void MakeFolders(const std::string& sFolder, CFileSystem& oFiles) {
    std::string::size_type nEnd = 0;
    while (nEnd != std::string::npos) {
        nEnd = sFolder.find('/', nEnd + 1);
        const std::string sLevel = sFolder.substr(0, nEnd);
        if (sLevel.empty() || sLevel.back() == '/') {
            continue; // the root, or "//"
        }
        struct stat oStat {};
        if (oFiles.Stat(sLevel, oStat) == 0) {
            if (!S_ISDIR(oStat.st_mode)) {
                throw CRunTimeError(RunTimeErrors::PathNotFound,
                                    CRunTimeError::StandardText(RunTimeErrors::PathNotFound) +
                                        ": " + sLevel);
            }
            continue;
        }
        // Only a missing level is made: a link loop or a denied search is an error of its own.
        if (errno != ENOENT) {
            throw CRunTimeError::FromErrno(errno, sLevel);
        }
        if (oFiles.MakeFolder(sLevel, FolderMode) != 0) {
            if (errno == EEXIST) {
                continue; // made meanwhile by another process
            }
            throw CRunTimeError::FromErrno(errno, sLevel);
        }
        // The umask may have taken rights from the owner too.
        if (::chmod(sLevel.c_str(), FolderMode) != 0) {
            throw CRunTimeError::FromErrno(errno, sLevel);
        }
    }
}

int OpenOrCreate(const std::string& sPath, int iFlags, CFileSystem& oFiles) {
    iFlags &= ~(O_CREAT | O_EXCL);
    // A file removed between the two opens is made by the next round.
    for (int iRound = 0; iRound < 8; ++iRound) {
        int iFd = oFiles.Open(sPath, iFlags | O_CREAT | O_EXCL, FileMode);
        if (iFd >= 0) {
            if (oFiles.ChangeMode(iFd, FileMode) != 0) {
                const int iErrno = errno;
                oFiles.Close(iFd);
                oFiles.Remove(sPath);
                errno = iErrno;
                return -1;
            }
            return iFd;
        }
        if (errno != EEXIST) {
            return -1;
        }
        iFd = oFiles.Open(sPath, iFlags);
        if (iFd >= 0 || errno != ENOENT) {
            return iFd;
        }
    }
    return -1;
}

std::vector<std::string> Tighten(const std::string& sFolder, const std::string& sHome) {
    std::vector<std::string> vFailed;
    const int iFolder = open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFolder < 0) {
        if (errno != ENOENT) {
            Note(vFailed, sFolder, errno);
        }
        return vFailed;
    }
    struct stat oStat {};
    if (fstat(iFolder, &oStat) != 0) {
        Note(vFailed, sFolder, errno);
    } else if ((oStat.st_mode & 077) != 0 && !Holds(sFolder, sHome)) {
        TightenBelow(iFolder, sFolder, vFailed, 0);
        // Last: a pass cut short leaves the folder open, and the next start walks again.
        if (fchmod(iFolder, OwnerOnly(oStat.st_mode)) != 0) {
            Note(vFailed, sFolder, errno);
        }
    }
    close(iFolder);
    return vFailed;
}

} // namespace MPrivateFiles
