#include "platform/shell/CSingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

CSingleInstance::CSingleInstance(std::string sLockFile) : m_sLockFile(std::move(sLockFile)) {}

CSingleInstance::~CSingleInstance() {
    Release();
}

CSingleInstance::EResult CSingleInstance::Acquire() {
    if (Held()) {
        return Acquired;
    }
    m_sError.clear();
    // Not following a link: the lock file is never anything but a plain file of our own.
    const int iFile =
        ::open(m_sLockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (iFile < 0) {
        m_sError = m_sLockFile + ": " + std::strerror(errno);
        return Unavailable;
    }
    // The user's alone whatever the umask, and whatever an earlier version made it.
    [[maybe_unused]] const int iModeResult = ::fchmod(iFile, S_IRUSR | S_IWUSR);
    int iResult = 0;
    do {
        iResult = ::flock(iFile, LOCK_EX | LOCK_NB);
    } while (iResult != 0 && errno == EINTR);
    if (iResult != 0) {
        const int iError = errno;
        ::close(iFile);
        if (iError == EWOULDBLOCK) {
            return HeldElsewhere;
        }
        m_sError = m_sLockFile + ": " + std::strerror(iError);
        return Unavailable;
    }
    m_iFile = iFile;
    // The holder's process id, for a person looking at the file; the lock is what counts.
    const std::string sPid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(m_iFile, 0) == 0) {
        [[maybe_unused]] const ssize_t iWritten = ::write(m_iFile, sPid.data(), sPid.size());
    }
    return Acquired;
}

void CSingleInstance::Release() {
    if (m_iFile >= 0) {
        ::close(m_iFile); // closing drops the lock
        m_iFile = -1;
    }
}

std::string CSingleInstance::DefaultLockFile(const std::string& sDataFolder) {
    const char* szRuntime = std::getenv("XDG_RUNTIME_DIR");
    struct stat oStat {};
    if (szRuntime != nullptr && szRuntime[0] == '/' && ::stat(szRuntime, &oStat) == 0 &&
        S_ISDIR(oStat.st_mode)) {
        return std::string(szRuntime) + "/dayfold.lock";
    }
    return sDataFolder + "/dayfold.lock";
}
