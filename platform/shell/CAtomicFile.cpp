#include "platform/shell/CAtomicFile.h"

#include "platform/errors/CRunTimeError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Closes and removes the temporary file unless it was renamed into place.
class CTemporary {
public:
    explicit CTemporary(std::string sPath) : m_sPath(std::move(sPath)) {
        m_iFd = mkstemp(m_sPath.data());
        m_bCreated = m_iFd >= 0;
    }
    ~CTemporary() {
        if (m_iFd >= 0) {
            close(m_iFd);
        }
        if (m_bCreated && !m_bKept) {
            unlink(m_sPath.c_str());
        }
    }
    CTemporary(const CTemporary&) = delete;
    CTemporary& operator=(const CTemporary&) = delete;

    int Fd() const { return m_iFd; }
    const std::string& Path() const { return m_sPath; }
    bool Close() {
        const int iFd = m_iFd;
        m_iFd = -1;
        return close(iFd) == 0;
    }
    void Keep() { m_bKept = true; }

private:
    std::string m_sPath;
    int m_iFd = -1;
    bool m_bCreated = false;
    bool m_bKept = false;
};

void Fail(const std::string& sPath) {
    throw CRunTimeError::FromErrno(errno, sPath);
}
} // namespace

void CAtomicFile::Write(const std::string& sPath, const std::string& sText, unsigned int lMode) {
    CTemporary oTemporary(sPath + ".tmp-XXXXXX");
    if (oTemporary.Fd() < 0) {
        Fail(sPath);
    }
    fchmod(oTemporary.Fd(), static_cast<mode_t>(lMode & 0777));
    const char* pData = sText.data();
    size_t nLeft = sText.size();
    while (nLeft > 0) {
        const ssize_t nWritten = write(oTemporary.Fd(), pData, nLeft);
        if (nWritten < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(sPath);
        }
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    if (fsync(oTemporary.Fd()) != 0 || !oTemporary.Close()) {
        Fail(sPath);
    }
    if (std::rename(oTemporary.Path().c_str(), sPath.c_str()) != 0) {
        Fail(sPath);
    }
    oTemporary.Keep();
}
