#include "platform/shell/MFileRead.h"

#include "platform/errors/CRunTimeError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MFileRead {

std::string ReadRegularFile(const std::string& sPath, std::size_t nCap) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer before it is refused.
    const int iFile = open(sPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (iFile < 0) {
        throw CRunTimeError::FromErrno(errno, sPath);
    }
    struct stat oStat {};
    if (fstat(iFile, &oStat) != 0 || !S_ISREG(oStat.st_mode) ||
        static_cast<unsigned long long>(oStat.st_size) > nCap) {
        const bool bRegular = S_ISREG(oStat.st_mode);
        close(iFile);
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
                const ssize_t nMore = read(iFile, &c, 1);
                close(iFile);
                if (nMore > 0) {
                    throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                                        sPath + " is larger than " + std::to_string(nCap) +
                                            " bytes");
                }
                return sText;
            }
            sText.resize(std::min(nCap, sText.size() + 64 * 1024));
        }
        const ssize_t nRead = read(iFile, sText.data() + nDone, sText.size() - nDone);
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        if (nRead < 0) {
            const int iErrno = errno;
            close(iFile);
            throw CRunTimeError::FromErrno(iErrno, sPath);
        }
        if (nRead == 0) {
            break;
        }
        nDone += static_cast<std::size_t>(nRead);
    }
    close(iFile);
    sText.resize(nDone);
    return sText;
}

} // namespace MFileRead
