#include "app/repository/CShortcutCache.h"

#include "app/core/MDayfold.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/shell/CFileSystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using MDayfold::Trim;

std::string CShortcutCache::ClassesRootValue(const std::string& sKey) {
    return MDayfold::Registry()
        .KeyFromPath("\\HKEY_CLASSES_ROOT\\" + sKey)
        .Values()
        .Item("")
        .Value();
}

const CShortcutCache::SFileType& CShortcutCache::FileType(const std::string& sExtension) {
    const auto it = m_colFileTypes.find(sExtension);
    if (it != m_colFileTypes.end()) {
        return it->second;
    }
    return m_colFileTypes.emplace(sExtension, Lookup(sExtension)).first->second;
}

bool CShortcutCache::ProgramExists(const std::string& sPath) {
    if (sPath.empty()) {
        return false;
    }
    const auto it = m_colPrograms.find(sPath);
    if (it != m_colPrograms.end()) {
        return it->second;
    }
    struct stat oStat {};
    const bool bFound = CFileSystem::Current().Stat(sPath, oStat) == 0;
    // A program missing, or out of this user's reach, is not there for the user. Any other
    // failure (an I/O error) says nothing: it raises, and is asked about again.
    if (!bFound && errno != ENOENT && errno != ENOTDIR && errno != ENAMETOOLONG &&
        errno != EACCES && errno != EPERM && errno != ELOOP) {
        throw CRunTimeError::FromErrno(errno, sPath);
    }
    const bool bExists = bFound && S_ISREG(oStat.st_mode);
    m_colPrograms.emplace(sPath, bExists);
    return bExists;
}

// The size, the header (which holds the target's times) and the tail, eight bytes at a time:
// enough to tell contents apart in a table whose keys are compared whole anyway.
size_t CShortcutCache::SBytesHash::operator()(const std::vector<std::uint8_t>& vBytes) const {
    constexpr size_t Head = 128;
    constexpr size_t Tail = 64;
    std::uint64_t ullHash = 0x9E3779B97F4A7C15ULL ^ vBytes.size();
    const auto Mix = [&ullHash, &vBytes](size_t nFrom, size_t nTo) {
        size_t i = nFrom;
        for (; i + 8 <= nTo; i += 8) {
            std::uint64_t ullWord = 0;
            std::memcpy(&ullWord, vBytes.data() + i, 8);
            ullHash = (ullHash ^ ullWord) * 0x100000001B3ULL;
            ullHash ^= ullHash >> 29;
        }
        for (; i < nTo; ++i) {
            ullHash = (ullHash ^ vBytes[i]) * 0x100000001B3ULL;
        }
    };
    if (vBytes.size() <= Head + Tail) {
        Mix(0, vBytes.size());
    } else {
        Mix(0, Head);
        Mix(vBytes.size() - Tail, vBytes.size());
    }
    return static_cast<size_t>(ullHash ^ (ullHash >> 32));
}

const CShortcutCache::SLink& CShortcutCache::Link(std::vector<std::uint8_t>&& vBytes,
                                                  const FReadLink& fnRead) {
    const auto it = m_colLinks.find(vBytes);
    if (it != m_colLinks.end()) {
        return it->second;
    }
    if (m_colLinks.size() >= LinksKept) {
        m_oUnkept = fnRead(vBytes);
        return m_oUnkept;
    }
    SLink oLink = fnRead(vBytes);
    return m_colLinks.emplace(std::move(vBytes), std::move(oLink)).first->second;
}

CShortcutCache::~CShortcutCache() {
    if (m_iFolder >= 0) {
        CFileSystem::Current().Close(m_iFolder);
    }
}

int CShortcutCache::OpenFile(const std::string& sPath) {
    constexpr int Flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    CFileSystem& oFiles = CFileSystem::Current();
    const size_t nSlash = sPath.rfind('/');
    if (nSlash == std::string::npos) {
        return oFiles.Open(sPath, Flags);
    }
    if (m_iFolder < 0 || sPath.compare(0, nSlash + 1, m_sFolder) != 0 ||
        m_sFolder.size() != nSlash + 1) {
        if (m_iFolder >= 0) {
            oFiles.Close(m_iFolder);
        }
        m_sFolder = sPath.substr(0, nSlash + 1);
        m_iFolder = oFiles.Open(m_sFolder, O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    if (m_iFolder >= 0) {
        const int iFd = oFiles.OpenAt(m_iFolder, sPath.substr(nSlash + 1), Flags);
        if (iFd >= 0 || errno != ENOENT) {
            return iFd;
        }
    }
    // The folder may have been replaced since its handle was opened: by the path once more.
    return oFiles.Open(sPath, Flags);
}

// The lookup ends quietly at the first key that is missing.
CShortcutCache::SFileType CShortcutCache::Lookup(const std::string& sExtension) {
    SFileType oType;
    std::string sClassName;
    try {
        sClassName = ClassesRootValue(sExtension);
        oType.sTargetClass = ClassesRootValue(sClassName);
    } catch (const std::exception&) {
        return oType;
    }
    try {
        const std::string sIcon = ClassesRootValue(sClassName + "\\DefaultIcon");
        const size_t nComma = sIcon.find(',');
        if (nComma != std::string::npos) {
            oType.bIconFile = true;
            oType.sIconFile = sIcon.substr(0, nComma);
            const std::string sIndex = Trim(sIcon.substr(nComma + 1));
            const auto oResult =
                std::from_chars(sIndex.data(), sIndex.data() + sIndex.size(), oType.lIconIndex);
            oType.bIconIndex =
                oResult.ec == std::errc() && oResult.ptr == sIndex.data() + sIndex.size();
            if (!oType.bIconIndex) {
                oType.lIconIndex = 0;
            }
        }
    } catch (const std::exception&) {
        // No default icon: the shortcut's own icon stays.
    }
    std::string sCommand;
    try {
        sCommand = ClassesRootValue(sClassName + "\\shell\\open\\command");
    } catch (const std::exception&) {
        return oType; // no open command: no program
    }
    // A program file that could not be looked at raises, and nothing is remembered.
    SetExecutable(oType, sCommand);
    return oType;
}

void CShortcutCache::SetExecutable(SFileType& oType, const std::string& sCommand) {
    std::string sProgram = sCommand;
    if (!sProgram.empty() && sProgram[0] == '"') {
        // A quoted program path ("C:\Program Files\App\app.exe" "%1") is the text between the
        // quotes, so programs in folders with spaces still get their shortcut.
        const size_t nClose = sProgram.find('"', 1);
        sProgram = sProgram.substr(1, nClose == std::string::npos ? std::string::npos : nClose - 1);
    } else {
        const size_t nPercent = sProgram.find('%');
        if (nPercent != std::string::npos) {
            sProgram = Trim(sProgram.substr(0, nPercent));
        }
        while (!sProgram.empty() && sProgram.back() == '"') {
            sProgram.pop_back();
        }
        // A desktop command names options after the program ("/usr/bin/app --new-window %U"):
        // when the whole text names no file, its first word may.
        const size_t nBlank = sProgram.find(' ');
        if (!ProgramExists(sProgram) && nBlank != std::string::npos &&
            ProgramExists(sProgram.substr(0, nBlank))) {
            sProgram.erase(nBlank);
        }
    }
    oType.sExecutable = sProgram;
    std::string sDrive;
    std::string sFolder;
    std::string sName;
    MDayfold::Library().ParsePath(oType.sExecutable, sDrive, sFolder, sName);
    std::transform(sName.begin(), sName.end(), sName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!sName.empty()) {
        sName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sName[0])));
    }
    oType.sExecutableName = sName;
    oType.sExecutableFolder = sDrive + sFolder;
}
