#include "platform/shell/CFileSystem.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<CFileSystem*> g_pCurrent{nullptr};
} // namespace

CFileSystem& CFileSystem::System() {
    static CFileSystem oSystem;
    return oSystem;
}

CFileSystem& CFileSystem::Current() {
    CFileSystem* const pCurrent = g_pCurrent.load(std::memory_order_acquire);
    return pCurrent != nullptr ? *pCurrent : System();
}

CFileSystem* CFileSystem::SetCurrent(CFileSystem* pFileSystem) {
    return g_pCurrent.exchange(pFileSystem, std::memory_order_acq_rel);
}

int CFileSystem::Open(const std::string& sPath, int iFlags, mode_t lMode) {
    return open(sPath.c_str(), iFlags, lMode);
}

int CFileSystem::OpenAt(int iFolder, const std::string& sName, int iFlags, mode_t lMode) {
    return openat(iFolder, sName.c_str(), iFlags, lMode);
}

int CFileSystem::MakeTemporary(std::string& sTemplate, int iFlags) {
    return mkostemp(sTemplate.data(), iFlags);
}

ssize_t CFileSystem::Read(int iFd, void* pBuffer, size_t nSize) {
    return read(iFd, pBuffer, nSize);
}

ssize_t CFileSystem::Write(int iFd, const void* pData, size_t nSize) {
    return write(iFd, pData, nSize);
}

int CFileSystem::Sync(int iFd) {
    return fsync(iFd);
}

int CFileSystem::Close(int iFd) {
    return close(iFd);
}

int CFileSystem::Stat(const std::string& sPath, struct stat& oStat) {
    return stat(sPath.c_str(), &oStat);
}

int CFileSystem::LinkStat(const std::string& sPath, struct stat& oStat) {
    return lstat(sPath.c_str(), &oStat);
}

int CFileSystem::FileStat(int iFd, struct stat& oStat) {
    return fstat(iFd, &oStat);
}

int CFileSystem::StatAt(int iFolder, const std::string& sName, struct stat& oStat, int iFlags) {
    return fstatat(iFolder, sName.c_str(), &oStat, iFlags);
}

int CFileSystem::Access(const std::string& sPath, int iMode) {
    return faccessat(AT_FDCWD, sPath.c_str(), iMode, AT_EACCESS);
}

ssize_t CFileSystem::ReadLink(const std::string& sPath, char* pBuffer, size_t nSize) {
    return readlink(sPath.c_str(), pBuffer, nSize);
}

int CFileSystem::ChangeMode(int iFd, mode_t lMode) {
    return fchmod(iFd, lMode);
}

int CFileSystem::SetTimes(int iFd, const struct timespec atsTimes[2]) {
    return futimens(iFd, atsTimes);
}

int CFileSystem::Truncate(int iFd, off_t llSize) {
    return ftruncate(iFd, llSize);
}

int CFileSystem::Rename(const std::string& sFrom, const std::string& sTo) {
    return std::rename(sFrom.c_str(), sTo.c_str());
}

int CFileSystem::RenameNoReplace(const std::string& sFrom, const std::string& sTo) {
    return renameat2(AT_FDCWD, sFrom.c_str(), AT_FDCWD, sTo.c_str(), RENAME_NOREPLACE);
}

int CFileSystem::HardLink(const std::string& sFrom, const std::string& sTo) {
    return link(sFrom.c_str(), sTo.c_str());
}

int CFileSystem::Remove(const std::string& sPath) {
    return unlink(sPath.c_str());
}

int CFileSystem::RemoveAt(int iFolder, const std::string& sName) {
    return unlinkat(iFolder, sName.c_str(), 0);
}

int CFileSystem::MakeFolder(const std::string& sPath, mode_t lMode) {
    return mkdir(sPath.c_str(), lMode);
}

DIR* CFileSystem::OpenFolder(const std::string& sPath) {
    return opendir(sPath.c_str());
}

dirent* CFileSystem::ReadFolder(DIR* pFolder) {
    errno = 0;
    return readdir(pFolder);
}

int CFileSystem::CloseFolder(DIR* pFolder) {
    return closedir(pFolder);
}
