#include "platform/shell/MFileRead.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MFileRead {

std::string ReadRegularFile(const std::string& sPath, std::size_t nCap) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer before it is refused.
    CFileSystem& oFiles = CFileSystem::Current();
    const int iFile = oFiles.Open(sPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (iFile < 0) {
        throw CRunTimeError::FromErrno(errno, sPath);
    }
    struct stat oStat {};
    if (oFiles.FileStat(iFile, oStat) != 0 || !S_ISREG(oStat.st_mode) ||
        static_cast<unsigned long long>(oStat.st_size) > nCap) {
        const bool bRegular = S_ISREG(oStat.st_mode);
        oFiles.Close(iFile);
        throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                            bRegular ? sPath + " is larger than " + std::to_string(nCap) + " bytes"
                                     : sPath + " is not a regular file");
    }
    std::string sText;
    sText.resize(static_cast<std::size_t>(oStat.st_size));
    std::size_t nDone = 0;
    // The file may grow while it is read: never past the cap.
    while (true) {
        if (nDone == sText.size()) {
            if (sText.size() >= nCap) {
                char c = 0;
                const ssize_t nMore = oFiles.Read(iFile, &c, 1);
                oFiles.Close(iFile);
                if (nMore > 0) {
                    throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                                        sPath + " is larger than " + std::to_string(nCap) +
                                            " bytes");
                }
                return sText;
            }
            sText.resize(std::min(nCap, sText.size() + 64 * 1024));
        }
        const ssize_t nRead = oFiles.Read(iFile, sText.data() + nDone, sText.size() - nDone);
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        if (nRead < 0) {
            const int iErrno = errno;
            oFiles.Close(iFile);
            throw CRunTimeError::FromErrno(iErrno, sPath);
        }
        if (nRead == 0) {
            break;
        }
        nDone += static_cast<std::size_t>(nRead);
    }
    oFiles.Close(iFile);
    sText.resize(nDone);
    return sText;
}

} // namespace MFileRead
