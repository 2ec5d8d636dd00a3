#include "app/views/CFavoritesJournal.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CFileSystem.h"
#include "platform/shell/MFileRead.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {
const std::string Header = "Favorites.dat pending counts\t";

// One entry is one line: a path keeps its line breaks and backslashes as escapes.
std::string Escaped(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    for (const char c : sText) {
        if (c == '\\') {
            sOut += "\\\\";
        } else if (c == '\n') {
            sOut += "\\n";
        } else if (c == '\r') {
            sOut += "\\r";
        } else {
            sOut += c;
        }
    }
    return sOut;
}

std::string Unescaped(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size(); ++i) {
        if (sText[i] != '\\' || i + 1 == sText.size()) {
            sOut += sText[i];
            continue;
        }
        const char c = sText[++i];
        sOut += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return sOut;
}

// 0 when all of sText was written, else the system's error number.
int WriteAll(int iFd, const std::string& sText) {
    const char* pData = sText.data();
    size_t nLeft = sText.size();
    while (nLeft > 0) {
        const ssize_t nWritten = CFileSystem::Current().Write(iFd, pData, nLeft);
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            return nWritten < 0 ? errno : ENOSPC;
        }
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    return 0;
}
} // namespace

CFavoritesJournal::CFavoritesJournal(const std::string& sDataFile)
    : m_sPath(sDataFile + ".pending") {
    const size_t nSlash = sDataFile.rfind('/');
    m_sFolder = nSlash == std::string::npos ? "" : sDataFile.substr(0, nSlash + 1);
}

std::string CFavoritesJournal::Stamp(const std::string& sFile) {
    struct stat oStat {};
    if (CFileSystem::Current().Stat(sFile, oStat) != 0) {
        return "none";
    }
    return Stamp(oStat);
}

std::string CFavoritesJournal::Stamp(const struct stat& oStat) {
    return std::to_string(oStat.st_dev) + ":" + std::to_string(oStat.st_ino) + ":" +
           std::to_string(oStat.st_size) + ":" + std::to_string(oStat.st_mtim.tv_sec) + "." +
           std::to_string(oStat.st_mtim.tv_nsec);
}

std::string CFavoritesJournal::Relative(const std::string& sCopy) const {
    if (!m_sFolder.empty() && sCopy.compare(0, m_sFolder.size(), m_sFolder) == 0) {
        return sCopy.substr(m_sFolder.size());
    }
    return sCopy;
}

std::string CFavoritesJournal::Absolute(const std::string& sCopy) const {
    return (!sCopy.empty() && sCopy[0] == '/') ? sCopy : m_sFolder + sCopy;
}

void CFavoritesJournal::Append(const std::string& sStamp, bool bCounted, const std::string& sCopy,
                               std::int64_t llModified) const {
    CFileSystem& oFiles = CFileSystem::Current();
    const int iFd =
        oFiles.Open(m_sPath, O_WRONLY | O_APPEND | O_CLOEXEC | (bCounted ? O_CREAT : 0), 0644);
    if (iFd < 0) {
        if (!bCounted && errno == ENOENT) {
            return;
        }
        throw CRunTimeError::FromErrno(errno, m_sPath);
    }
    struct stat oStat {};
    if (oFiles.FileStat(iFd, oStat) != 0) {
        const int iErrno = errno;
        oFiles.Close(iFd);
        throw CRunTimeError::FromErrno(iErrno, m_sPath);
    }
    if (oStat.st_size == 0 && !bCounted) {
        oFiles.Close(iFd);
        return;
    }
    std::string sText = oStat.st_size == 0 ? Header + sStamp + "\n" : "";
    sText += std::string(bCounted ? "+" : "=") + "\t" + std::to_string(llModified) + "\t" +
             Escaped(Relative(sCopy)) + "\n";
    const int iErrno = WriteAll(iFd, sText);
    if (iErrno != 0) {
        // A line cut short by a full disk is taken back, so that later lines still read.
        (void)!oFiles.Truncate(iFd, oStat.st_size);
        oFiles.Close(iFd);
        throw CRunTimeError::FromErrno(iErrno, m_sPath);
    }
    if (oFiles.Close(iFd) != 0) {
        throw CRunTimeError::FromErrno(errno, m_sPath);
    }
}

std::vector<CFavoritesJournal::SEntry> CFavoritesJournal::Counted(const std::string& sStamp) const {
    std::string sText;
    try {
        sText = MFileRead::ReadRegularFile(m_sPath, MFileRead::FavoritesFileCap);
    } catch (const std::exception&) {
        return {};
    }
    const std::string sFirst = Header + sStamp + "\n";
    if (sText.compare(0, sFirst.size(), sFirst) != 0) {
        return {};
    }
    std::vector<SEntry> vEntries;
    std::unordered_map<std::string, size_t> colIndex;
    size_t nPos = sFirst.size();
    // Only whole lines count: the last one may have been cut off by the end of the run.
    for (size_t nEnd = sText.find('\n', nPos); nEnd != std::string::npos;
         nPos = nEnd + 1, nEnd = sText.find('\n', nPos)) {
        const std::string sLine = sText.substr(nPos, nEnd - nPos);
        const size_t nTab1 = sLine.find('\t');
        const size_t nTab2 = nTab1 == std::string::npos ? nTab1 : sLine.find('\t', nTab1 + 1);
        if (nTab1 != 1 || nTab2 == std::string::npos || (sLine[0] != '+' && sLine[0] != '=')) {
            continue;
        }
        std::int64_t llModified = 0;
        const auto oResult = std::from_chars(sLine.data() + 2, sLine.data() + nTab2, llModified);
        if (oResult.ec != std::errc() || oResult.ptr != sLine.data() + nTab2) {
            continue;
        }
        const std::string sCopy = Absolute(Unescaped(sLine.substr(nTab2 + 1)));
        const auto it = colIndex.find(sCopy);
        if (it != colIndex.end()) {
            vEntries[it->second].vModified.push_back(llModified);
        } else if (sLine[0] == '+') {
            colIndex.emplace(sCopy, vEntries.size());
            vEntries.push_back({sCopy, {llModified}});
        }
    }
    return vEntries;
}

bool CFavoritesJournal::Exists() const {
    struct stat oStat {};
    return CFileSystem::Current().LinkStat(m_sPath, oStat) == 0;
}

bool CFavoritesJournal::Remove() const {
    return CFileSystem::Current().Remove(m_sPath) == 0 || errno == ENOENT;
}
