#pragma once

#include <string>

// One running instance per user: a lock file held with flock() for the life of the object.
// The kernel drops the lock with the process however the process ends, so the lock of an
// instance that crashed is simply taken by the next start. The file descriptor is not passed
// on to the programs this process starts, so a document left open does not keep the lock.
class CSingleInstance {
public:
    enum EResult {
        Acquired,      // this object holds the lock
        HeldElsewhere, // another instance holds it
        Unavailable,   // the lock file cannot be opened; Error() says why
    };

    explicit CSingleInstance(std::string sLockFile);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Takes the lock without waiting (creating the file when missing; its mode is made 0600).
    EResult Acquire();
    void Release();
    bool Held() const { return m_iFile >= 0; }
    const std::string& LockFile() const { return m_sLockFile; }
    const std::string& Error() const { return m_sError; }

    // $XDG_RUNTIME_DIR/dayfold.lock when that variable names an existing folder by an
    // absolute path, else <sDataFolder>/dayfold.lock.
    static std::string DefaultLockFile(const std::string& sDataFolder);

private:
    std::string m_sLockFile;
    std::string m_sError;
    int m_iFile = -1;
};
