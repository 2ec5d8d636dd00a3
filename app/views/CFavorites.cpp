#include "app/views/CFavorites.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/repository/DirectoryWalker.h"
#include "app/views/CFavoritesFile.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CAtomicFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {
using MDayfold::IsBlank;

bool ReadWholeFile(const std::string& sPath, std::string& sText) {
    std::FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (pFile == nullptr) {
        return false;
    }
    char acBuffer[64 * 1024];
    size_t nRead = 0;
    while ((nRead = std::fread(acBuffer, 1, sizeof acBuffer, pFile)) > 0) {
        sText.append(acBuffer, nRead);
    }
    const bool bRead = std::ferror(pFile) == 0;
    std::fclose(pFile);
    return bRead;
}

std::string Normalised(std::string sPath) {
    for (char& c : sPath) {
        c = (c == '\\') ? '/' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return sPath;
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

std::string CFavorites::DataFile() const {
    return m_sAppPath + "/Favorites.dat";
}

void CFavorites::Clear() {
    m_vRecords.clear();
    m_oIndex.clear();
}

std::int32_t CFavorites::Count() const {
    return static_cast<std::int32_t>(m_vRecords.size());
}

std::vector<FavoriteRecord> CFavorites::GetFavorites() const {
    return m_vRecords;
}

void CFavorites::ProcessShortcut(const CShortcut& oShortcut) {
    try {
        const auto it = m_oIndex.find(TargetKey(oShortcut.TargetFile()));
        if (it != m_oIndex.end()) {
            FavoriteRecord& oRecord = m_vRecords[it->second];
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
        m_oIndex.emplace(IdentityKey(oRecord.WorkingDirectory, oRecord.TargetFileName),
                         m_vRecords.size());
        m_vRecords.push_back(std::move(oRecord));
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.ProcessShortcut", true);
    }
}

void CFavorites::Read() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath), "CFavorites.Read: App path is missing");
    try {
        const std::string sFile = DataFile();
        std::error_code ec;
        if (!std::filesystem::exists(sFile, ec)) {
            RebuildFavorites();
            return;
        }
        Clear();
        std::string sText;
        if (!ReadWholeFile(sFile, sText)) {
            // A file that is there but cannot be read is never replaced by fewer records:
            // the next save first copies it aside, and fails while it cannot.
            m_bKeepBackup = true;
            throw CRunTimeError::FromErrno(errno, sFile);
        }
        m_bKeepBackup = false;
        m_vRecords =
            CFavoritesFile::Parse(sText, [this, &sFile](int iLine, const std::string& sWhy) {
                m_bKeepBackup = true;
                MDayfold::LogError(
                    CRunTimeError(RunTimeErrors::TypeMismatch,
                                  sFile + " line " + std::to_string(iLine) + " skipped: " + sWhy),
                    "CFavorites.Read", true);
            });
        for (size_t i = 0; i < m_vRecords.size(); ++i) {
            m_oIndex.emplace(
                IdentityKey(m_vRecords[i].WorkingDirectory, m_vRecords[i].TargetFileName), i);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.Read", true);
    }
}

void CFavorites::Save() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath), "CFavorites.Save: App path is missing");
    try {
        if (m_vRecords.empty()) {
            return;
        }
        std::string sText;
        sText.reserve(m_vRecords.size() * 160);
        for (const FavoriteRecord& oRecord : m_vRecords) {
            sText += CFavoritesFile::FormatRecord(oRecord);
        }
        const std::string sFile = DataFile();
        if (m_bKeepBackup) {
            // The old file still holds the lines that could not be read: keep it beside.
            std::filesystem::copy_file(sFile, sFile + ".bak",
                                       std::filesystem::copy_options::overwrite_existing);
        }
        CAtomicFile::Write(sFile, sText);
        m_bKeepBackup = false;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CFavorites.Save", true);
    }
}

void CFavorites::RebuildFavorites() {
    MDayfold::Assert().Assert(!IsBlank(m_sAppPath),
                              "CFavorites.RebuildFavorites: App path is missing");
    MDayfold::Assert().Assert(!IsBlank(m_sDailyFolder),
                              "CFavorites.RebuildFavorites: Daily folder is missing");
    try {
        Clear();
        m_oShortcut = std::make_unique<CShortcut>();
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
