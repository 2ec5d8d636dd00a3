#pragma once

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

// Sets the process umask for the life of a test and puts the old one back.
class CScopedUmask {
public:
    explicit CScopedUmask(mode_t lMask) : m_lSaved(::umask(lMask)) {}
    ~CScopedUmask() { ::umask(m_lSaved); }
    CScopedUmask(const CScopedUmask&) = delete;
    CScopedUmask& operator=(const CScopedUmask&) = delete;

private:
    mode_t m_lSaved;
};

// The permission bits of a path (of the link itself when bLink), or -1 when it is missing.
inline int ModeOf(const std::string& sPath, bool bLink = false) {
    struct stat oStat {};
    if ((bLink ? ::lstat(sPath.c_str(), &oStat) : ::stat(sPath.c_str(), &oStat)) != 0) {
        return -1;
    }
    return static_cast<int>(oStat.st_mode & 07777);
}
