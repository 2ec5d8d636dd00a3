#pragma once

#include "platform/shell/CFileSystem.h"

#include <cerrno>

// An open file of the file-system seam, closed when it goes out of scope; the closing keeps
// errno as it was, so that the reason of a failure that ends the scope is not lost.
class CFileHandle {
public:
    CFileHandle(CFileSystem& oFiles, int iFd) : m_oFiles(oFiles), m_iFd(iFd) {}
    ~CFileHandle() {
        if (m_iFd >= 0) {
            const int iErrno = errno;
            m_oFiles.Close(m_iFd);
            errno = iErrno;
        }
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    int Fd() const { return m_iFd; }
    // Closes now; the system's error number, 0 when it closed cleanly. A written file's
    // last error may show only here.
    int Close() {
        const int iFd = m_iFd;
        m_iFd = -1;
        return m_oFiles.Close(iFd) == 0 ? 0 : errno;
    }

private:
    CFileSystem& m_oFiles;
    int m_iFd;
};
