#include "support/CFaultyFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

CFaultyFileSystem::CFaultyFileSystem() {
    m_pPrevious = CFileSystem::SetCurrent(this);
}

CFaultyFileSystem::~CFaultyFileSystem() {
    CFileSystem::SetCurrent(m_pPrevious);
}

void CFaultyFileSystem::Restart() {
    m_lCalls = 0;
    m_lFailCall = 0;
    m_sStruck.clear();
    m_bLimitWrites = false;
    m_sFullFolder.clear();
    m_vChanged.clear();
    m_vCalls.clear();
}

void CFaultyFileSystem::FailCall(long lCall, int iErrno) {
    m_lFailCall = m_lCalls + lCall;
    m_iFailErrno = iErrno;
    m_sStruck.clear();
}

void CFaultyFileSystem::FailWritesAfter(std::size_t nBytes, int iErrno) {
    m_bLimitWrites = true;
    m_nWriteRoom = nBytes;
    m_iWriteErrno = iErrno;
}

bool CFaultyFileSystem::Strike(const char* pszCall, const std::string& sPath) {
    ++m_lCalls;
    if (m_bRecording) {
        m_vCalls.push_back(std::string(pszCall) + " " + sPath);
    }
    if (m_lCalls != m_lFailCall) {
        return false;
    }
    m_sStruck = std::string(pszCall) + " " + sPath;
    errno = m_iFailErrno;
    return true;
}

bool CFaultyFileSystem::IsFull(const std::string& sPath) const {
    return !m_sFullFolder.empty() && sPath.compare(0, m_sFullFolder.size(), m_sFullFolder) == 0 &&
           (sPath.size() == m_sFullFolder.size() || sPath[m_sFullFolder.size()] == '/');
}

void CFaultyFileSystem::Changed(const std::string& sPath) {
    if (m_bRecording) {
        m_vChanged.push_back(sPath);
    }
}

std::string CFaultyFileSystem::PathOf(int iFd) const {
    const auto it = m_colOpen.find(iFd);
    return it == m_colOpen.end() ? "fd " + std::to_string(iFd) : it->second;
}

int CFaultyFileSystem::Open(const std::string& sPath, int iFlags, mode_t lMode) {
    if (Strike("Open", sPath)) {
        return -1;
    }
    const bool bWriting = (iFlags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
    if (bWriting) {
        Changed(sPath);
        if (IsFull(sPath) && (iFlags & O_CREAT) != 0) {
            struct stat oStat {};
            if (CFileSystem::Stat(sPath, oStat) != 0) {
                errno = ENOSPC;
                return -1;
            }
        }
    }
    const int iFd = CFileSystem::Open(sPath, iFlags, lMode);
    if (iFd >= 0) {
        m_colOpen[iFd] = sPath;
    }
    return iFd;
}

int CFaultyFileSystem::OpenAt(int iFolder, const std::string& sName, int iFlags, mode_t lMode) {
    const std::string sPath = PathOf(iFolder) + "/" + sName;
    if (Strike("OpenAt", sPath)) {
        return -1;
    }
    if ((iFlags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0) {
        Changed(sPath);
    }
    const int iFd = CFileSystem::OpenAt(iFolder, sName, iFlags, lMode);
    if (iFd >= 0) {
        m_colOpen[iFd] = sPath;
    }
    return iFd;
}

int CFaultyFileSystem::MakeTemporary(std::string& sTemplate, int iFlags) {
    if (Strike("MakeTemporary", sTemplate)) {
        return -1;
    }
    Changed(sTemplate);
    if (IsFull(sTemplate)) {
        errno = ENOSPC;
        return -1;
    }
    const int iFd = CFileSystem::MakeTemporary(sTemplate, iFlags);
    if (iFd >= 0) {
        m_colOpen[iFd] = sTemplate;
    }
    return iFd;
}

ssize_t CFaultyFileSystem::Read(int iFd, void* pBuffer, size_t nSize) {
    if (Strike("Read", PathOf(iFd))) {
        return -1;
    }
    return CFileSystem::Read(iFd, pBuffer, nSize);
}

ssize_t CFaultyFileSystem::Write(int iFd, const void* pData, size_t nSize) {
    const std::string sPath = PathOf(iFd);
    if (Strike("Write", sPath)) {
        return -1;
    }
    Changed(sPath);
    if (IsFull(sPath)) {
        errno = ENOSPC;
        return -1;
    }
    if (m_bLimitWrites) {
        if (m_nWriteRoom == 0) {
            errno = m_iWriteErrno;
            return -1;
        }
        nSize = std::min(nSize, m_nWriteRoom);
    }
    const ssize_t nWritten = CFileSystem::Write(iFd, pData, nSize);
    if (m_bLimitWrites && nWritten > 0) {
        m_nWriteRoom -= static_cast<size_t>(nWritten);
    }
    return nWritten;
}

int CFaultyFileSystem::Sync(int iFd) {
    return Strike("Sync", PathOf(iFd)) ? -1 : CFileSystem::Sync(iFd);
}

int CFaultyFileSystem::Close(int iFd) {
    const std::string sPath = PathOf(iFd);
    m_colOpen.erase(iFd);
    if (Strike("Close", sPath)) {
        // Like the system's close, the descriptor is gone even when the call fails.
        const int iErrno = errno;
        CFileSystem::Close(iFd);
        errno = iErrno;
        return -1;
    }
    return CFileSystem::Close(iFd);
}

int CFaultyFileSystem::Stat(const std::string& sPath, struct stat& oStat) {
    return Strike("Stat", sPath) ? -1 : CFileSystem::Stat(sPath, oStat);
}

int CFaultyFileSystem::LinkStat(const std::string& sPath, struct stat& oStat) {
    return Strike("LinkStat", sPath) ? -1 : CFileSystem::LinkStat(sPath, oStat);
}

int CFaultyFileSystem::FileStat(int iFd, struct stat& oStat) {
    return Strike("FileStat", PathOf(iFd)) ? -1 : CFileSystem::FileStat(iFd, oStat);
}

int CFaultyFileSystem::StatAt(int iFolder, const std::string& sName, struct stat& oStat,
                              int iFlags) {
    return Strike("StatAt", PathOf(iFolder) + "/" + sName)
               ? -1
               : CFileSystem::StatAt(iFolder, sName, oStat, iFlags);
}

int CFaultyFileSystem::Access(const std::string& sPath, int iMode) {
    return Strike("Access", sPath) ? -1 : CFileSystem::Access(sPath, iMode);
}

ssize_t CFaultyFileSystem::ReadLink(const std::string& sPath, char* pBuffer, size_t nSize) {
    return Strike("ReadLink", sPath) ? -1 : CFileSystem::ReadLink(sPath, pBuffer, nSize);
}

int CFaultyFileSystem::ChangeMode(int iFd, mode_t lMode) {
    const std::string sPath = PathOf(iFd);
    if (Strike("ChangeMode", sPath)) {
        return -1;
    }
    Changed(sPath);
    return CFileSystem::ChangeMode(iFd, lMode);
}

int CFaultyFileSystem::SetTimes(int iFd, const struct timespec atsTimes[2]) {
    const std::string sPath = PathOf(iFd);
    if (Strike("SetTimes", sPath)) {
        return -1;
    }
    Changed(sPath);
    return CFileSystem::SetTimes(iFd, atsTimes);
}

int CFaultyFileSystem::Truncate(int iFd, off_t llSize) {
    const std::string sPath = PathOf(iFd);
    if (Strike("Truncate", sPath)) {
        return -1;
    }
    Changed(sPath);
    return CFileSystem::Truncate(iFd, llSize);
}

int CFaultyFileSystem::Rename(const std::string& sFrom, const std::string& sTo) {
    if (Strike("Rename", sFrom + " " + sTo)) {
        return -1;
    }
    Changed(sFrom);
    Changed(sTo);
    return CFileSystem::Rename(sFrom, sTo);
}

int CFaultyFileSystem::RenameNoReplace(const std::string& sFrom, const std::string& sTo) {
    if (Strike("RenameNoReplace", sFrom + " " + sTo)) {
        return -1;
    }
    Changed(sFrom);
    Changed(sTo);
    return CFileSystem::RenameNoReplace(sFrom, sTo);
}

int CFaultyFileSystem::HardLink(const std::string& sFrom, const std::string& sTo) {
    if (Strike("HardLink", sFrom + " " + sTo)) {
        return -1;
    }
    Changed(sTo);
    if (IsFull(sTo)) {
        errno = ENOSPC;
        return -1;
    }
    return CFileSystem::HardLink(sFrom, sTo);
}

int CFaultyFileSystem::Remove(const std::string& sPath) {
    if (Strike("Remove", sPath)) {
        return -1;
    }
    Changed(sPath);
    return CFileSystem::Remove(sPath);
}

int CFaultyFileSystem::RemoveAt(int iFolder, const std::string& sName) {
    const std::string sPath = PathOf(iFolder) + "/" + sName;
    if (Strike("RemoveAt", sPath)) {
        return -1;
    }
    Changed(sPath);
    return CFileSystem::RemoveAt(iFolder, sName);
}

int CFaultyFileSystem::MakeFolder(const std::string& sPath, mode_t lMode) {
    if (Strike("MakeFolder", sPath)) {
        return -1;
    }
    Changed(sPath);
    if (IsFull(sPath)) {
        struct stat oStat {};
        errno = CFileSystem::Stat(sPath, oStat) == 0 ? EEXIST : ENOSPC;
        return -1;
    }
    return CFileSystem::MakeFolder(sPath, lMode);
}

DIR* CFaultyFileSystem::OpenFolder(const std::string& sPath) {
    if (Strike("OpenFolder", sPath)) {
        return nullptr;
    }
    DIR* pFolder = CFileSystem::OpenFolder(sPath);
    if (pFolder != nullptr) {
        m_colOpen[dirfd(pFolder)] = sPath;
    }
    return pFolder;
}

dirent* CFaultyFileSystem::ReadFolder(DIR* pFolder) {
    if (Strike("ReadFolder", PathOf(dirfd(pFolder)))) {
        return nullptr;
    }
    return CFileSystem::ReadFolder(pFolder);
}

int CFaultyFileSystem::CloseFolder(DIR* pFolder) {
    const std::string sPath = PathOf(dirfd(pFolder));
    m_colOpen.erase(dirfd(pFolder));
    if (Strike("CloseFolder", sPath)) {
        const int iErrno = errno;
        CFileSystem::CloseFolder(pFolder);
        errno = iErrno;
        return -1;
    }
    return CFileSystem::CloseFolder(pFolder);
}
