#include "platform/shell/CRecentFeed.h"

#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CRecentLinkReader.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/CXbelReader.h"
#include "platform/shell/MFileRead.h"
#include "platform/shelllink/CShellLink.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The feed's temporary files: hidden, so the capture cycle never takes them for shortcuts, and
// short, so that they fit whatever the document's name.
const std::string TemporaryPrefix = ".dayfold-feed-";

std::int64_t Microseconds(const timespec& tsTime) {
    return static_cast<std::int64_t>(tsTime.tv_sec) * 1000000 + tsTime.tv_nsec / 1000;
}

timespec FromMicroseconds(std::int64_t llMicroseconds) {
    std::int64_t llSeconds = llMicroseconds / 1000000;
    std::int64_t llRest = llMicroseconds % 1000000;
    if (llRest < 0) {
        llRest += 1000000;
        --llSeconds;
    }
    timespec tsTime{};
    tsTime.tv_sec = static_cast<time_t>(llSeconds);
    tsTime.tv_nsec = static_cast<long>(llRest * 1000);
    return tsTime;
}

bool IsFolder(const std::string& sPath) {
    struct stat oStat {};
    return stat(sPath.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode);
}

// The document's own name and its folder; the name is empty for the root or an empty path.
void SplitDocumentPath(std::string sPath, std::string& sFolder, std::string& sName) {
    while (sPath.size() > 1 && sPath.back() == '/') {
        sPath.pop_back();
    }
    const std::size_t nSlash = sPath.rfind('/');
    sName = nSlash == std::string::npos ? sPath : sPath.substr(nSlash + 1);
    sFolder = nSlash == std::string::npos || nSlash == 0 ? "/" : sPath.substr(0, nSlash);
}

bool EndsWith(const std::string& sText, const std::string& sEnd) {
    return sText.size() >= sEnd.size() &&
           sText.compare(sText.size() - sEnd.size(), sEnd.size(), sEnd) == 0;
}

// Closes and removes a temporary file unless it was renamed into place.
class CTemporaryFile {
public:
    explicit CTemporaryFile(const std::string& sFolder)
        : m_sPath(sFolder + "/" + TemporaryPrefix + "XXXXXX") {
        m_iFd = mkstemp(m_sPath.data());
        if (m_iFd < 0) {
            throw CRunTimeError::FromErrno(errno, sFolder);
        }
    }
    ~CTemporaryFile() {
        if (m_iFd >= 0) {
            close(m_iFd);
        }
        if (!m_bKept) {
            unlink(m_sPath.c_str());
        }
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    void Write(const std::vector<std::uint8_t>& vBytes) {
        std::size_t nDone = 0;
        while (nDone < vBytes.size()) {
            const ssize_t nWritten = write(m_iFd, vBytes.data() + nDone, vBytes.size() - nDone);
            if (nWritten < 0 && errno == EINTR) {
                continue;
            }
            if (nWritten <= 0) {
                throw CRunTimeError::FromErrno(nWritten < 0 ? errno : ENOSPC, m_sPath);
            }
            nDone += static_cast<std::size_t>(nWritten);
        }
    }
    // The file's times, set after its last write; then it is closed and renamed to sPath.
    void Finish(std::int64_t llModified, const std::string& sPath) {
        const timespec atsTimes[2] = {FromMicroseconds(llModified), FromMicroseconds(llModified)};
        fchmod(m_iFd, 0600);
        if (futimens(m_iFd, atsTimes) != 0) {
            throw CRunTimeError::FromErrno(errno, m_sPath);
        }
        const int iFd = m_iFd;
        m_iFd = -1;
        if (close(iFd) != 0 || std::rename(m_sPath.c_str(), sPath.c_str()) != 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        m_bKept = true;
    }

private:
    std::string m_sPath;
    int m_iFd = -1;
    bool m_bKept = false;
};
} // namespace

CRecentFeed::CRecentFeed(std::string sRecentFolder) : m_sRecentFolder(std::move(sRecentFolder)) {
    while (m_sRecentFolder.size() > 1 && m_sRecentFolder.back() == '/') {
        m_sRecentFolder.pop_back();
    }
    const std::string sDataHome = CShellFolders::DataHome();
    m_sBookmarkFile = sDataHome + "/recently-used.xbel";
    m_sLinkFolder = sDataHome + "/RecentDocuments";
    m_sHome = CShellFolders::HomeFolder();
    RemoveOwnTemporaries();
}

void CRecentFeed::Log(std::int32_t lNumber, const std::string& sDescription,
                      const std::string& sMessage) {
    std::shared_ptr<CErrorReporter> pOwn;
    CErrorReporter* pReporter = m_pReporter;
    if (pReporter == nullptr) {
        pOwn = CErrorComponent::NewErrorReporter();
        pReporter = pOwn.get();
    }
    pReporter->Clear();
    pReporter->SetNumber(lNumber);
    pReporter->SetDescription(std::to_string(lNumber) + "-" + sDescription);
    pReporter->SetSource("CRecentFeed.Update");
    pReporter->SetMessage(sMessage);
    pReporter->Log();
}

void CRecentFeed::RemoveOwnTemporaries() {
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(m_sRecentFolder.c_str()), closedir);
    if (!pDir) {
        return;
    }
    while (const dirent* pEntry = readdir(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (sName.size() == TemporaryPrefix.size() + 6 &&
            sName.compare(0, TemporaryPrefix.size(), TemporaryPrefix) == 0) {
            unlinkat(dirfd(pDir.get()), pEntry->d_name, 0);
        }
    }
}

std::int32_t CRecentFeed::Update() {
    try {
        if (!IsFolder(m_sRecentFolder)) {
            if (!m_bFolderLogged) {
                Log(RunTimeErrors::PathNotFound,
                    CRunTimeError::StandardText(RunTimeErrors::PathNotFound),
                    "The Recent folder " + m_sRecentFolder + " is missing; no shortcuts written.");
                m_bFolderLogged = true;
            }
            m_bWriteAll = true;
            return 0;
        }
        m_bFolderLogged = false;
        bool bChanged = RefreshBookmarks();
        bChanged = RefreshLinks() || bChanged;
        if (!bChanged && !m_bWriteAll) {
            return 0;
        }
        m_bWriteAll = false;

        // The shortcut of each name goes to the document used last.
        std::unordered_map<std::string, const SRecentDocument*> colLatest;
        for (const auto& [sSource, oSource] : m_colSources) {
            for (const SRecentDocument& oDocument : oSource.vDocuments) {
                std::string sFolder;
                std::string sName;
                SplitDocumentPath(oDocument.sPath, sFolder, sName);
                if (sName.empty() || sName == "/") {
                    continue;
                }
                const auto [it, bNew] = colLatest.emplace(sName + ".lnk", &oDocument);
                if (!bNew && (oDocument.llLastUse > it->second->llLastUse ||
                              (oDocument.llLastUse == it->second->llLastUse &&
                               oDocument.sPath < it->second->sPath))) {
                    it->second = &oDocument;
                }
            }
        }
        std::int32_t lWritten = 0;
        for (const auto& [sName, pDocument] : colLatest) {
            const auto itWritten = m_colWritten.find(sName);
            if (itWritten != m_colWritten.end() && itWritten->second >= pDocument->llLastUse) {
                continue;
            }
            struct stat oStat {};
            const std::string sShortcut = m_sRecentFolder + "/" + sName;
            if (stat(sShortcut.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode) &&
                oStat.st_size > 0 && Microseconds(oStat.st_mtim) >= pDocument->llLastUse) {
                continue;
            }
            if (WriteShortcut(sName, *pDocument)) {
                m_colWritten[sName] = pDocument->llLastUse;
                ++lWritten;
            } else {
                m_bWriteAll = true; // tried again at the next update
            }
        }
        return lWritten;
    } catch (const std::exception& oError) {
        const CRunTimeError oRunTime = CRunTimeError::FromException(oError);
        Log(oRunTime.Number(), oRunTime.Description(),
            "The desktop's recent documents were not read.");
        return 0;
    }
}

bool CRecentFeed::RefreshBookmarks() {
    SStamp oStamp;
    struct stat oStat {};
    if (stat(m_sBookmarkFile.c_str(), &oStat) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return m_colSources.erase(m_sBookmarkFile) > 0;
        }
        oStamp.lSize = -2; // cannot be looked at: read (and refused) once per change of error
        oStamp.llModified = errno;
    } else {
        oStamp = {oStat.st_dev, oStat.st_ino, oStat.st_size,
                  static_cast<std::int64_t>(oStat.st_mtim.tv_sec) * 1000000000 +
                      oStat.st_mtim.tv_nsec};
    }
    const auto it = m_colSources.find(m_sBookmarkFile);
    if (it != m_colSources.end() && it->second.oStamp == oStamp) {
        return false;
    }
    SSource& oSource = m_colSources[m_sBookmarkFile];
    oSource.oStamp = oStamp;
    oSource.vDocuments.clear();
    std::string sText;
    try {
        sText = MFileRead::ReadRegularFile(m_sBookmarkFile, SourceFileCap);
    } catch (const CRunTimeError& oError) {
        Log(oError.Number(), oError.Description(),
            "The recent-documents file " + m_sBookmarkFile + " was not read.");
        return true;
    }
    CXbelReader::SResult oResult = CXbelReader::Read(sText);
    oSource.vDocuments = std::move(oResult.vDocuments);
    if (!oResult.sProblem.empty()) {
        Log(DamagedSourceError, "The recent-documents file is damaged",
            m_sBookmarkFile + ": " + oResult.sProblem + "; " +
                std::to_string(oSource.vDocuments.size()) + " documents taken.");
    }
    return true;
}

bool CRecentFeed::RefreshLinks() {
    bool bChanged = false;
    std::set<std::string> colPresent;
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(m_sLinkFolder.c_str()), closedir);
    while (pDir) {
        const dirent* pEntry = readdir(pDir.get());
        if (pEntry == nullptr) {
            break;
        }
        const std::string sName = pEntry->d_name;
        struct stat oStat {};
        if (sName[0] == '.' || !EndsWith(sName, ".desktop") ||
            fstatat(dirfd(pDir.get()), pEntry->d_name, &oStat, 0) != 0) {
            continue;
        }
        const std::string sPath = m_sLinkFolder + "/" + sName;
        colPresent.insert(sPath);
        const SStamp oStamp{oStat.st_dev, oStat.st_ino, oStat.st_size,
                            static_cast<std::int64_t>(oStat.st_mtim.tv_sec) * 1000000000 +
                                oStat.st_mtim.tv_nsec};
        const auto it = m_colSources.find(sPath);
        if (it != m_colSources.end() && it->second.oStamp == oStamp) {
            continue;
        }
        bChanged = true;
        SSource& oSource = m_colSources[sPath];
        oSource.oStamp = oStamp;
        oSource.vDocuments.clear();
        std::string sDocument;
        std::string sProblem;
        try {
            const std::string sText = MFileRead::ReadRegularFile(sPath, MFileRead::DesktopFileCap);
            const CRecentLinkReader::EResult eResult =
                CRecentLinkReader::Read(sText, m_sHome, sDocument, sProblem);
            if (eResult == CRecentLinkReader::EResult::Document) {
                // The entry is rewritten at each use: its own time is the document's last use.
                oSource.vDocuments.push_back({sDocument, Microseconds(oStat.st_mtim)});
            } else if (eResult == CRecentLinkReader::EResult::Damaged) {
                Log(DamagedSourceError, "The recent-documents file is damaged",
                    sPath + ": " + sProblem + "; no document taken.");
            }
        } catch (const CRunTimeError& oError) {
            Log(oError.Number(), oError.Description(),
                "The recent-documents file " + sPath + " was not read.");
        }
    }
    // Entries that are gone give nothing any more.
    const std::string sPrefix = m_sLinkFolder + "/";
    for (auto it = m_colSources.lower_bound(sPrefix);
         it != m_colSources.end() && it->first.compare(0, sPrefix.size(), sPrefix) == 0;) {
        if (colPresent.count(it->first) == 0) {
            it = m_colSources.erase(it);
            bChanged = true;
        } else {
            ++it;
        }
    }
    return bChanged;
}

bool CRecentFeed::WriteShortcut(const std::string& sName, const SRecentDocument& oDocument) {
    try {
        std::string sFolder;
        std::string sDocumentName;
        SplitDocumentPath(oDocument.sPath, sFolder, sDocumentName);
        CShellLink oLink;
        oLink.SetTargetPath(oDocument.sPath);
        oLink.SetWorkingDirectory(sFolder);
        CTemporaryFile oTemporary(m_sRecentFolder);
        oTemporary.Write(oLink.ToBytes());
        oTemporary.Finish(oDocument.llLastUse, m_sRecentFolder + "/" + sName);
        return true;
    } catch (const std::exception& oError) {
        if (m_colFailed.emplace(sName, oDocument.llLastUse).second) {
            const CRunTimeError oRunTime = CRunTimeError::FromException(oError);
            Log(oRunTime.Number(), oRunTime.Description(),
                "The shortcut " + sName + " of " + oDocument.sPath + " was not written.");
        }
        return false;
    }
}
