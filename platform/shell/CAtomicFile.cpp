#include "platform/shell/CAtomicFile.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
// Closes and removes the temporary file unless it was renamed into place.
class CTemporary {
public:
    CTemporary(CFileSystem& oFiles, std::string sPath)
        : m_oFiles(oFiles), m_sPath(std::move(sPath)) {
        m_iFd = m_oFiles.MakeTemporary(m_sPath, O_CLOEXEC);
        m_bCreated = m_iFd >= 0;
    }
    ~CTemporary() {
        const int iErrno = errno;
        if (m_iFd >= 0) {
            m_oFiles.Close(m_iFd);
        }
        if (m_bCreated && !m_bKept) {
            m_oFiles.Remove(m_sPath);
        }
        errno = iErrno;
    }
    CTemporary(const CTemporary&) = delete;
    CTemporary& operator=(const CTemporary&) = delete;

    int Fd() const { return m_iFd; }
    const std::string& Path() const { return m_sPath; }
    bool Close() {
        const int iFd = m_iFd;
        m_iFd = -1;
        return m_oFiles.Close(iFd) == 0;
    }
    void Keep() { m_bKept = true; }

private:
    CFileSystem& m_oFiles;
    std::string m_sPath;
    int m_iFd = -1;
    bool m_bCreated = false;
    bool m_bKept = false;
};

[[noreturn]] void Fail(int iErrno, const std::string& sPath) {
    throw CRunTimeError::FromErrno(iErrno, sPath);
}
} // namespace

void CAtomicFile::Write(const std::string& sPath, const std::string& sText, unsigned int lMode,
                        struct stat* pWritten) {
    CFileSystem& oFiles = CFileSystem::Current();
    CTemporary oTemporary(oFiles, sPath + ".tmp-XXXXXX");
    if (oTemporary.Fd() < 0) {
        Fail(errno, sPath);
    }
    // Without its permission bits the new file would differ from the old one (a private file
    // readable by others, a shared one private): that is a failed write too.
    if (oFiles.ChangeMode(oTemporary.Fd(), static_cast<mode_t>(lMode & 0777)) != 0) {
        Fail(errno, sPath);
    }
    const char* pData = sText.data();
    size_t nLeft = sText.size();
    while (nLeft > 0) {
        const ssize_t nWritten = oFiles.Write(oTemporary.Fd(), pData, nLeft);
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            // A writer that takes nothing and reports no error has no room left either.
            Fail(nWritten < 0 ? errno : ENOSPC, sPath);
        }
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    if (oFiles.Sync(oTemporary.Fd()) != 0 ||
        (pWritten != nullptr && oFiles.FileStat(oTemporary.Fd(), *pWritten) != 0) ||
        !oTemporary.Close()) {
        Fail(errno, sPath);
    }
    if (oFiles.Rename(oTemporary.Path(), sPath) != 0) {
        Fail(errno, sPath);
    }
    oTemporary.Keep();
}
