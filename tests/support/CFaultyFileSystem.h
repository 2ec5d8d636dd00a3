#pragma once

#include "platform/shell/CFileSystem.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// The operating system's file system with faults put in on demand, in use while the object
// lives: one chosen call fails with a chosen error, writes stop after a number of bytes (a
// disk that fills up part-way through a file), or a folder is full. It counts the calls and
// notes every path that a call would change, so that a test can tell what a routine touched.
class CFaultyFileSystem : public CFileSystem {
public:
    CFaultyFileSystem();
    ~CFaultyFileSystem() override;

    // The calls made since the object was made or Restart was called.
    long Calls() const { return m_lCalls; }
    // Counts from zero again, forgets the changed paths, and takes every fault back.
    void Restart();

    // The lCall-th call from now (1 for the next) fails once with iErrno.
    void FailCall(long lCall, int iErrno);
    // Whether the call chosen by FailCall was made (and failed), and what it was.
    bool Struck() const { return !m_sStruck.empty(); }
    const std::string& StruckCall() const { return m_sStruck; }

    // Writes take nBytes in all from now and then fail with iErrno: the write that reaches the
    // limit is cut short, the next fails.
    void FailWritesAfter(std::size_t nBytes, int iErrno = ENOSPC);
    // No room in sFolder and below it (empty: room again): what would make a name there or
    // write to a file there fails with ENOSPC.
    void SetFullFolder(const std::string& sFolder) { m_sFullFolder = sFolder; }

    // Every path that a call made to be changed (a file opened for writing, made, renamed,
    // removed, a folder made), in order, while recording.
    const std::vector<std::string>& ChangedPaths() const { return m_vChanged; }
    // The calls made, one line each ("Stat /path"), while recording.
    const std::vector<std::string>& CallLog() const { return m_vCalls; }
    void SetRecording(bool bRecording) { m_bRecording = bRecording; }

    int Open(const std::string& sPath, int iFlags, mode_t lMode) override;
    int OpenAt(int iFolder, const std::string& sName, int iFlags, mode_t lMode) override;
    int MakeTemporary(std::string& sTemplate, int iFlags) override;
    ssize_t Read(int iFd, void* pBuffer, size_t nSize) override;
    ssize_t Write(int iFd, const void* pData, size_t nSize) override;
    int Sync(int iFd) override;
    int Close(int iFd) override;
    int Stat(const std::string& sPath, struct stat& oStat) override;
    int LinkStat(const std::string& sPath, struct stat& oStat) override;
    int FileStat(int iFd, struct stat& oStat) override;
    int StatAt(int iFolder, const std::string& sName, struct stat& oStat, int iFlags) override;
    int Access(const std::string& sPath, int iMode) override;
    ssize_t ReadLink(const std::string& sPath, char* pBuffer, size_t nSize) override;
    int ChangeMode(int iFd, mode_t lMode) override;
    int SetTimes(int iFd, const struct timespec atsTimes[2]) override;
    int Truncate(int iFd, off_t llSize) override;
    int Rename(const std::string& sFrom, const std::string& sTo) override;
    int RenameNoReplace(const std::string& sFrom, const std::string& sTo) override;
    int HardLink(const std::string& sFrom, const std::string& sTo) override;
    int Remove(const std::string& sPath) override;
    int RemoveAt(int iFolder, const std::string& sName) override;
    int MakeFolder(const std::string& sPath, mode_t lMode) override;
    DIR* OpenFolder(const std::string& sPath) override;
    dirent* ReadFolder(DIR* pFolder) override;
    int CloseFolder(DIR* pFolder) override;

private:
    // Counts a call; true (errno set) when it is the one to fail.
    bool Strike(const char* pszCall, const std::string& sPath);
    bool IsFull(const std::string& sPath) const;
    void Changed(const std::string& sPath);
    std::string PathOf(int iFd) const;

    CFileSystem* m_pPrevious = nullptr;
    long m_lCalls = 0;
    long m_lFailCall = 0;
    int m_iFailErrno = 0;
    std::string m_sStruck;
    bool m_bLimitWrites = false;
    std::size_t m_nWriteRoom = 0;
    int m_iWriteErrno = ENOSPC;
    std::string m_sFullFolder;
    bool m_bRecording = true;
    std::vector<std::string> m_vChanged;
    std::vector<std::string> m_vCalls;
    std::unordered_map<int, std::string> m_colOpen; // descriptor -> path
};
