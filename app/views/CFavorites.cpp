#include "app/views/CFavorites.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/repository/CShortcutCache.h"
#include "app/repository/DirectoryWalker.h"
#include "app/views/CFavoritesFile.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CAtomicFile.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CFileSystem.h"
#include "platform/shell/MCaseFold.h"
#include "platform/shell/MFileRead.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using MDayfold::IsBlank;

constexpr size_t NotFound = static_cast<size_t>(-1);
// Damaged lines logged one by one; the rest of a badly damaged file is logged as one line.
constexpr int DamagedLinesLogged = 10;

const std::string TemporaryPrefix = "Favorites.dat.tmp-";
const std::string BackupPrefix = "Favorites.dat.bak-";

std::string Normalised(const std::string& sPath) {
    // Most paths are ASCII: their letters are folded here in one pass, the rest through the
    // Unicode tables.
    const bool bAscii = std::all_of(sPath.begin(), sPath.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::string sKey = bAscii ? sPath : MCaseFold::Fold(sPath);
    for (char& c : sKey) {
        if (c == '\\') {
            c = '/';
        } else if (bAscii && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return sKey;
}

// The names in sFolder that begin with sPrefix.
struct SFolderCloser {
    void operator()(DIR* pFolder) const { CFileSystem::Current().CloseFolder(pFolder); }
};

std::vector<std::string> NamesStartingWith(const std::string& sFolder, const std::string& sPrefix) {
    std::vector<std::string> vNames;
    CFileSystem& oFiles = CFileSystem::Current();
    std::unique_ptr<DIR, SFolderCloser> pDir(oFiles.OpenFolder(sFolder));
    if (!pDir) {
        return vNames;
    }
    while (const dirent* pEntry = oFiles.ReadFolder(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (sName.compare(0, sPrefix.size(), sPrefix) == 0) {
            vNames.push_back(sName);
        }
    }
    return vNames;
}
} // namespace

CFavorites::CFavorites() = default;
CFavorites::~CFavorites() = default;

std::string CFavorites::IdentityKey(const std::string& sWorkingDirectory,
                                    const std::string& sTargetFileName) {
    const bool bEndsWithSeparator =
        !sWorkingDirectory.empty() &&
        (sWorkingDirectory.back() == '/' || sWorkingDirectory.back() == '\\');
    return Normalised(sWorkingDirectory + (bEndsWithSeparator ? "" : "/") + sTargetFileName);
}

std::string CFavorites::TargetKey(const std::string& sTargetFile) {
    return Normalised(sTargetFile);
}

// A line break cannot begin a path held in Favorites.dat, so these keys meet no path's.
std::string CFavorites::NameKey(const std::string& sShortcutFileName) {
    std::string sKey(1, '\n');
    sKey += MCaseFold::Fold(sShortcutFileName);
    return sKey;
}

std::string CFavorites::DataFile() const {
    return m_sAppPath + "/Favorites.dat";
}

void CFavorites::Clear() {
    m_vRecords.clear();
    m_oIndex.clear();
    m_colFound.clear();
}

std::int32_t CFavorites::Count() const {
    return static_cast<std::int32_t>(m_vRecords.size());
}

std::vector<FavoriteRecord> CFavorites::GetFavorites() const {
    return m_vRecords;
}

void CFavorites::IndexRecord(size_t nRecord) {
    const FavoriteRecord& oRecord = m_vRecords[nRecord];
    if (!oRecord.WorkingDirectory.empty() || !oRecord.TargetFileName.empty()) {
        m_oIndex.emplace(IdentityKey(oRecord.WorkingDirectory, oRecord.TargetFileName), nRecord);
    }
    if (oRecord.TargetFileName.empty()) {
        // Made from a shortcut without a target path: known by the shortcut's own name.
        const size_t nSlash = oRecord.File.rfind('/');
        m_oIndex.emplace(
            NameKey(nSlash == std::string::npos ? oRecord.File : oRecord.File.substr(nSlash + 1)),
            nRecord);
    }
}

// The first record in table order that any of the shortcut's identities names. A record once
// found for the same target, folder and names stays the first: records are only appended.
size_t CFavorites::FindRecord(const CShortcut& oShortcut) {
    std::string sFields = oShortcut.TargetFile();
    sFields += '\0';
    sFields += oShortcut.WorkingDirectory();
    sFields += '\0';
    sFields += oShortcut.TargetFileName();
    if (oShortcut.TargetFile().empty()) {
        sFields += '\0';
        sFields += oShortcut.FileName();
    }
    const auto itFound = m_colFound.find(sFields);
    if (itFound != m_colFound.end()) {
        return itFound->second;
    }
    const size_t nFound = FindRecordByKeys(oShortcut);
    if (nFound != NotFound) {
        m_colFound.emplace(std::move(sFields), nFound);
    }
    return nFound;
}

size_t CFavorites::FindRecordByKeys(const CShortcut& oShortcut) const {
    size_t nFound = NotFound;
    const auto Consider = [&](const std::string& sKey) {
        const auto it = m_oIndex.find(sKey);
        if (it != m_oIndex.end() && it->second < nFound) {
            nFound = it->second;
        }
    };
    if (oShortcut.TargetFile().empty()) {
        Consider(NameKey(oShortcut.FileName()));
        return nFound;
    }
    Consider(TargetKey(oShortcut.TargetFile()));
    if (!oShortcut.WorkingDirectory().empty() || !oShortcut.TargetFileName().empty()) {
        Consider(IdentityKey(oShortcut.WorkingDirectory(), oShortcut.TargetFileName()));
    }
    return nFound;
}

void CFavorites::ProcessShortcut(const CShortcut& oShortcut) {
    try {
        const size_t nFound = FindRecord(oShortcut);
        m_bChanged = true;
        if (nFound != NotFound) {
            FavoriteRecord& oRecord = m_vRecords[nFound];
            if (oShortcut.Modified() > oRecord.LastAccessed) {
                oRecord.LastAccessed = oShortcut.Modified();
            }
            ++oRecord.DaysAccessed;
            return;
        }
        FavoriteRecord oRecord;
        oRecord.DaysAccessed = 1;
        oRecord.LastAccessed = oShortcut.Modified();
        oRecord.File = oShortcut.File();
        oRecord.TargetFileName = oShortcut.TargetFileName();
        oRecord.WorkingDirectory = oShortcut.WorkingDirectory();
        oRecord.TargetClass = oShortcut.TargetClass();
        oRecord.IconFile = oShortcut.IconFile();
        oRecord.IconIndex = oShortcut.IconIndex();
        m_vRecords.push_back(std::move(oRecord));
        IndexRecord(m_vRecords.size() - 1);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.ProcessShortcut", true);
    }
}

// Saves that were cut off leave their temporary files ("Favorites.dat.tmp-" and six letters
// or digits); nothing else in the folder is touched.
void CFavorites::RemoveStaleTemporaryFiles() const {
    for (const std::string& sName : NamesStartingWith(m_sAppPath, TemporaryPrefix)) {
        const std::string sTail = sName.substr(TemporaryPrefix.size());
        if (sTail.size() == 6 && std::all_of(sTail.begin(), sTail.end(), [](unsigned char c) {
                return std::isalnum(c) != 0;
            })) {
            CFileSystem::Current().Remove(m_sAppPath + "/" + sName);
        }
    }
}

void CFavorites::Read() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath), "CFavorites.Read: App path is missing");
    try {
        const std::string sFile = DataFile();
        RemoveStaleTemporaryFiles();
        m_bRefused = false;
        m_bKeepBackup = false;
        struct stat oStat {};
        if (CFileSystem::Current().LinkStat(sFile, oStat) != 0 && errno == ENOENT) {
            RebuildFavorites();
            // The rebuild has counted every copy of the repository, the pending ones too.
            Journal().Remove();
            m_sStamp = CFavoritesJournal::Stamp(sFile);
            return;
        }
        Clear();
        m_bLoaded = false;
        m_bChanged = false;
        m_sStamp = CFavoritesJournal::Stamp(sFile);
        std::string sText;
        try {
            sText = MFileRead::ReadRegularFile(sFile, MFileRead::FavoritesFileCap);
        } catch (const std::exception&) {
            // A link to a device, a folder, a huge or unreadable file: whatever it is, it is
            // never replaced by the few records of this run.
            m_bRefused = true;
            throw;
        }
        int iDamaged = 0;
        m_vRecords =
            CFavoritesFile::Parse(sText, [&iDamaged, &sFile](int iLine, const std::string& sWhy) {
                if (++iDamaged <= DamagedLinesLogged) {
                    MDayfold::LogError(CRunTimeError(RunTimeErrors::TypeMismatch,
                                                     sFile + " line " + std::to_string(iLine) +
                                                         " skipped: " + sWhy),
                                       "CFavorites.Read", true);
                }
            });
        if (iDamaged > DamagedLinesLogged) {
            MDayfold::LogError(CRunTimeError(RunTimeErrors::TypeMismatch,
                                             sFile + ": " +
                                                 std::to_string(iDamaged - DamagedLinesLogged) +
                                                 " more damaged lines skipped"),
                               "CFavorites.Read", true);
        }
        m_bKeepBackup = iDamaged > 0;
        for (size_t i = 0; i < m_vRecords.size(); ++i) {
            IndexRecord(i);
        }
        m_bLoaded = true;
        CountPending();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.Read", true);
    }
}

// The copies that an earlier run filed and counted but did not get to save are counted
// again, each as it was filed: a copy that was never made, or that was replaced since by
// something else, was not counted.
void CFavorites::CountPending() {
    const CFavoritesJournal oJournal = Journal();
    if (!oJournal.Exists()) {
        return;
    }
    CShortcut oShortcut;
    CShortcutCache oCache;
    oShortcut.SetCache(&oCache);
    bool bCounted = false;
    for (const CFavoritesJournal::SEntry& oEntry : oJournal.Counted(m_sStamp)) {
        struct stat oStat {};
        if (CFileSystem::Current().Stat(oEntry.sCopy, oStat) != 0 ||
            std::find(oEntry.vModified.begin(), oEntry.vModified.end(), oStat.st_mtime) ==
                oEntry.vModified.end()) {
            continue;
        }
        oShortcut.SetFile(oEntry.sCopy);
        if (oShortcut.Loaded()) {
            ProcessShortcut(oShortcut);
            bCounted = true;
        }
    }
    if (!bCounted) {
        oJournal.Remove();
        return;
    }
    // A save that fails keeps the journal, which still names the file on disk.
    Save();
}

bool CFavorites::NoteFiling(const std::string& sCopy, std::int64_t llModified, bool bCounted) {
    try {
        // A journal that the last save could not remove names the file before it: notes
        // added to it would be dropped with it.
        if (m_bJournalStale) {
            if (!Journal().Remove()) {
                throw CRunTimeError::FromErrno(errno, Journal().Path());
            }
            m_bJournalStale = false;
        }
        if (m_sStamp.empty()) {
            m_sStamp = CFavoritesJournal::Stamp(DataFile());
        }
        Journal().Append(m_sStamp, bCounted, sCopy, llModified);
        return true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.NoteFiling", true);
        return false;
    }
}

// A damaged file is kept beside as "Favorites.dat.bak-<yyyymmdd-hhmmss>" before it is
// replaced, and only the latest few of those are kept.
void CFavorites::KeepBackup(const std::string& sFile) const {
    const CDateTime dNow = MDayfold::Clock().Now();
    char szStamp[32];
    std::snprintf(szStamp, sizeof szStamp, "%04d%02d%02d-%02d%02d%02d", dNow.Year(), dNow.Month(),
                  dNow.Day(), dNow.Hour(), dNow.Minute(), dNow.Second());
    const std::string sBase = sFile + ".bak-" + szStamp;
    std::string sBackup = sBase;
    CFileSystem& oFiles = CFileSystem::Current();
    struct stat oStat {};
    for (int i = 2; oFiles.LinkStat(sBackup, oStat) == 0; ++i) {
        sBackup = sBase + "-" + std::to_string(i);
    }
    // Whole or not at all, like the file it keeps.
    CAtomicFile::Write(sBackup, MFileRead::ReadRegularFile(sFile, MFileRead::FavoritesFileCap));
    std::vector<std::string> vBackups = NamesStartingWith(m_sAppPath, BackupPrefix);
    std::sort(vBackups.begin(), vBackups.end());
    for (size_t i = 0; i + BackupsKept < vBackups.size(); ++i) {
        oFiles.Remove(m_sAppPath + "/" + vBackups[i]);
    }
}

bool CFavorites::Save() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath), "CFavorites.Save: App path is missing");
    try {
        const std::string sFile = DataFile();
        if (m_bRefused) {
            throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                                sFile + " could not be read, so it is not replaced");
        }
        if (m_vRecords.empty() || !m_bLoaded) {
            return true;
        }
        std::string sText;
        sText.reserve(m_vRecords.size() * 160);
        for (const FavoriteRecord& oRecord : m_vRecords) {
            sText += CFavoritesFile::FormatRecord(oRecord);
        }
        if (m_bKeepBackup) {
            // The old file still holds the lines that could not be read.
            KeepBackup(sFile);
        }
        struct stat oWritten {};
        CAtomicFile::Write(sFile, sText, 0644, &oWritten);
        m_bKeepBackup = false;
        m_sStamp = CFavoritesJournal::Stamp(oWritten);
        // The counts are saved; the journal of them is done with.
        if (!Journal().Remove()) {
            // The next save tries again, and no note goes into it meanwhile.
            m_bJournalStale = true;
            throw CRunTimeError::FromErrno(errno, Journal().Path());
        }
        m_bJournalStale = false;
        m_bChanged = false;
        return true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.Save", true);
        return false;
    }
}

void CFavorites::RebuildFavorites() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath),
                              "CFavorites.RebuildFavorites: App path is missing");
    MDayfold::Assert().Assert(!IsBlank(m_sDailyFolder),
                              "CFavorites.RebuildFavorites: Daily folder is missing");
    try {
        Clear();
        m_bLoaded = true;
        m_bChanged = true;
        m_oCache = std::make_unique<CShortcutCache>();
        m_oShortcut = std::make_unique<CShortcut>();
        m_oShortcut->SetCache(m_oCache.get());
        m_oDirectoryWalker = std::make_unique<DirectoryWalker>();
        m_oDirectoryWalker->ItemFound = [this](const std::string& sPath,
                                               const std::string& sFileName, bool&) {
            m_oDirectoryWalker_ItemFound(sPath, sFileName);
        };
        m_oDirectoryWalker->WalkDirectoryTree(m_sAppPath + "/" + m_sDailyFolder + "/", "*.lnk", 0);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.RebuildFavorites", false);
    }
    m_oDirectoryWalker.reset();
    m_oShortcut.reset();
    m_oCache.reset();
}

void CFavorites::m_oDirectoryWalker_ItemFound(const std::string& sPath,
                                              const std::string& sFileName) {
    try {
        m_oShortcut->SetFile(sPath + sFileName);
        if (m_oShortcut->Loaded()) {
            ProcessShortcut(*m_oShortcut);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.m_oDirectoryWalker_ItemFound", false);
    }
}
