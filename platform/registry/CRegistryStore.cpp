#include "platform/registry/CRegistryStore.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CFileTypeProvider.h"
#include "platform/registry/CSettingsFile.h"
#include "platform/registry/MRegistryText.h"
#include "platform/shell/CAtomicFile.h"
#include "platform/shell/CFileSystem.h"
#include "platform/shell/MFileRead.h"
#include "platform/shell/MPrivateFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(std::int32_t lNumber) {
    throw CRunTimeError::Standard(lNumber);
}

// A classic collection's answer to a second item under the same key.
[[noreturn]] void FailValueExists() {
    throw CRunTimeError(457, "This key is already associated with an element of this collection");
}

std::string Normalized(const std::string& sKey) {
    return MRegistryText::JoinPath(MRegistryText::SplitPath(sKey));
}

bool EndsWithName(const std::string& sKey, const std::string& sTail) {
    return sKey.size() > sTail.size() &&
           MRegistryText::SameName(sKey.substr(sKey.size() - sTail.size()), sTail) &&
           sKey[sKey.size() - sTail.size() - 1] == '\\';
}

// The file that sPath stands for: sPath itself, or where its symbolic links lead, so that a
// write replaces the file behind a link and the link stays a link. A missing end is returned
// as it is (the write makes it); a loop raises.
std::string LinkTarget(std::string sPath) {
    CFileSystem& oFiles = CFileSystem::Current();
    for (int iHops = 0; iHops < 40; ++iHops) {
        struct stat oStat {};
        if (oFiles.LinkStat(sPath, oStat) != 0) {
            if (errno == ENOENT) {
                return sPath;
            }
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        if (!S_ISLNK(oStat.st_mode)) {
            return sPath;
        }
        std::string sLink(static_cast<std::size_t>(oStat.st_size > 0 ? oStat.st_size : 255) + 1,
                          '\0');
        const ssize_t nLength = oFiles.ReadLink(sPath, sLink.data(), sLink.size());
        if (nLength < 0 || static_cast<std::size_t>(nLength) >= sLink.size()) {
            throw CRunTimeError::FromErrno(nLength < 0 ? errno : ENAMETOOLONG, sPath);
        }
        sLink.resize(static_cast<std::size_t>(nLength));
        if (sLink.empty() || sLink.front() != '/') {
            sLink = fs::path(sPath).parent_path().string() + "/" + sLink;
        }
        sPath = sLink;
    }
    throw CRunTimeError::FromErrno(ELOOP, sPath);
}

// The settings lines that were skipped, for the log: the first few in full.
std::string SkippedText(const std::vector<std::string>& vSkipped) {
    constexpr std::size_t Listed = 10;
    std::string sText;
    for (std::size_t n = 0; n < vSkipped.size() && n < Listed; ++n) {
        sText += (n == 0 ? "" : "; ") + vSkipped[n];
    }
    if (vSkipped.size() > Listed) {
        sText += "; and " + std::to_string(vSkipped.size() - Listed) + " more";
    }
    return sText;
}

} // namespace

CRegistryStore::CRegistryStore(std::string sSettingsFile, CFileTypeProvider* pFileTypes,
                               CErrorReporter* pReporter)
    : m_sSettingsFile(std::move(sSettingsFile)), m_pFileTypes(pFileTypes), m_pReporter(pReporter) {
    Load();
}

std::optional<std::string> CRegistryStore::RootName(std::uint32_t lRoot) {
    switch (lRoot) {
    case ClassesRoot:
        return std::string("HKEY_CLASSES_ROOT");
    case CurrentUser:
        return std::string("HKEY_CURRENT_USER");
    default:
        return std::nullopt;
    }
}

std::optional<std::uint32_t> CRegistryStore::RootFromName(const std::string& sName) {
    const std::string sFolded = MRegistryText::Fold(sName);
    if (sFolded == "hkey_current_user" || sFolded == "hkcu") {
        return CurrentUser;
    }
    if (sFolded == "hkey_classes_root" || sFolded == "hkcr") {
        return ClassesRoot;
    }
    return std::nullopt;
}

void CRegistryStore::Log(std::int32_t lNumber, const std::string& sDescription,
                         const std::string& sSource, const std::string& sMessage) const {
    if (m_pReporter == nullptr) {
        return;
    }
    m_pReporter->Clear();
    m_pReporter->SetNumber(lNumber);
    m_pReporter->SetDescription(std::to_string(lNumber) + "-" + sDescription);
    m_pReporter->SetSource(sSource);
    m_pReporter->SetMessage(sMessage);
    m_pReporter->Log();
}

void CRegistryStore::Load() {
    if (m_sSettingsFile.empty()) {
        return;
    }
    const auto Damage = [this](const CRunTimeError& oError, const std::string& sWhat) {
        // Never written over: the user's settings, private folders among them, are in it.
        m_bDamaged = true;
        m_bWritable = false;
        Log(oError.Number(), oError.Description(), "CRegistry.Load",
            "The settings file " + m_sSettingsFile + " " + sWhat +
                "; it is kept as it is and not written, and the defaults are used until it is "
                "repaired or removed.");
    };
    std::string sText;
    try {
        sText = MFileRead::ReadRegularFile(m_sSettingsFile, MFileRead::SettingsFileCap);
    } catch (const CRunTimeError& oError) {
        if (oError.Number() == RunTimeErrors::FileNotFound ||
            oError.Number() == RunTimeErrors::PathNotFound) {
            return; // a first run: the owners create their defaults
        }
        // A folder, a device, a pipe, a runaway file, a file the user may not read.
        Damage(oError, "cannot be read");
        return;
    }
    std::string sTarget;
    try {
        sTarget = LinkTarget(m_sSettingsFile);
    } catch (const CRunTimeError&) {
        sTarget = m_sSettingsFile;
    }
    RemoveLeftovers(sTarget);
    std::vector<std::string> vSkipped;
    CSettingsFile::SLostKeys oLost;
    try {
        m_oTree = CSettingsFile::Parse(sText, &vSkipped, &oLost);
    } catch (const CRunTimeError& oError) {
        Damage(oError, "is damaged (" + oError.Description() + ")");
        return;
    }
    for (const std::string& sPath : oLost.vPaths) {
        m_vLostKeys.push_back(MRegistryText::Fold(sPath));
    }
    m_bAnyKeyLost = oLost.bAnyKey;
    if (!vSkipped.empty()) {
        Log(RunTimeErrors::TypeMismatch, CRunTimeError::StandardText(RunTimeErrors::TypeMismatch),
            "CRegistry.Load",
            "The settings file " + m_sSettingsFile + " has " + std::to_string(vSkipped.size()) +
                (vSkipped.size() == 1 ? " line" : " lines") +
                " that could not be read; every other setting is kept, and the lines are left "
                "out when the settings are next saved: " +
                SkippedText(vSkipped));
    }
}

bool CRegistryStore::KeyIncomplete(const std::string& sKey) const {
    if (m_bDamaged || m_bAnyKeyLost) {
        return true;
    }
    const std::string sFolded = MRegistryText::Fold(Normalized(sKey));
    return std::find(m_vLostKeys.begin(), m_vLostKeys.end(), sFolded) != m_vLostKeys.end();
}

void CRegistryStore::RemoveLeftovers(const std::string& sTarget) const {
    const fs::path oPath(sTarget);
    const std::string sPrefix = oPath.filename().string() + ".tmp-";
    std::error_code ec;
    for (auto it =
             fs::directory_iterator(oPath.parent_path().empty() ? "." : oPath.parent_path(), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string sName = it->path().filename().string();
        std::error_code ecType;
        if (sName.compare(0, sPrefix.size(), sPrefix) == 0 && sName.size() == sPrefix.size() + 6 &&
            it->is_regular_file(ecType)) {
            std::error_code ecRemove;
            fs::remove(it->path(), ecRemove);
        }
    }
}

void CRegistryStore::Commit(CSettingsTree oTree) {
    if (!m_bWritable || m_sSettingsFile.empty()) {
        // Told once: every owner's change after it is refused the same way.
        if (!m_bRefusalLogged && !m_sSettingsFile.empty()) {
            m_bRefusalLogged = true;
            Log(RunTimeErrors::PathFileAccessError,
                CRunTimeError::StandardText(RunTimeErrors::PathFileAccessError), "CRegistry.Save",
                "The settings file " + m_sSettingsFile +
                    " is kept as it is: no change of the settings is saved in this run.");
        }
        Fail(RunTimeErrors::PathFileAccessError);
    }
    try {
        CFileSystem& oFiles = CFileSystem::Current();
        const std::string sTarget = LinkTarget(m_sSettingsFile);
        unsigned int lMode = MPrivateFiles::FileMode;
        if (struct stat oStat{}; oFiles.Stat(sTarget, oStat) == 0) {
            // A file made read-only stays as it is, even for a user whom permissions do not
            // stop; any other keeps its user's rights, and only its user's.
            if ((oStat.st_mode & 0222) == 0 || oFiles.Access(sTarget, W_OK) != 0) {
                throw CRunTimeError(RunTimeErrors::PermissionDenied, sTarget + " is read-only");
            }
            lMode = oStat.st_mode & 0700;
        } else if (errno != ENOENT) {
            // Whether it is there (and its mode) is not known: it is not replaced blindly.
            throw CRunTimeError::FromErrno(errno, sTarget);
        } else {
            MPrivateFiles::MakeFolders(fs::path(sTarget).parent_path().string());
        }
        CAtomicFile::Write(sTarget, CSettingsFile::Format(oTree), lMode);
    } catch (const CRunTimeError& oError) {
        Log(RunTimeErrors::PathFileAccessError,
            CRunTimeError::StandardText(RunTimeErrors::PathFileAccessError), "CRegistry.Save",
            "The settings file " + m_sSettingsFile + " cannot be written (" +
                std::to_string(oError.Number()) + "-" + oError.Description() + ").");
        Fail(RunTimeErrors::PathFileAccessError);
    }
    m_oTree = std::move(oTree);
}

std::optional<std::string> CRegistryStore::ClassesRootValue(const std::string& sKey) {
    if (m_pFileTypes == nullptr || sKey.empty()) {
        return std::nullopt;
    }
    return m_pFileTypes->DefaultValue(sKey);
}

void CRegistryStore::RefuseClassesRoot(std::uint32_t lRoot) {
    if (lRoot != CurrentUser) {
        Fail(RunTimeErrors::PermissionDenied);
    }
}

std::optional<std::string> CRegistryStore::FindKey(std::uint32_t lRoot, const std::string& sKey) {
    const std::string sPath = Normalized(sKey);
    if (lRoot == CurrentUser) {
        const auto onKey = m_oTree.FindKey(sPath);
        return onKey ? std::optional<std::string>(m_oTree.Path(*onKey)) : std::nullopt;
    }
    if (lRoot != ClassesRoot || m_pFileTypes == nullptr) {
        return std::nullopt;
    }
    // The provider only knows keys with a default value; the keys between a type and its
    // open command exist when the command does.
    if (sPath.empty() || ClassesRootValue(sPath)) {
        return sPath;
    }
    if (EndsWithName(sPath, "shell") && ClassesRootValue(sPath + "\\open\\command")) {
        return sPath;
    }
    if (EndsWithName(sPath, "shell\\open") && ClassesRootValue(sPath + "\\command")) {
        return sPath;
    }
    return std::nullopt;
}

std::string CRegistryStore::ExistingKey(std::uint32_t lRoot, const std::string& sKey) {
    const auto osPath = FindKey(lRoot, sKey);
    if (!osPath) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    return *osPath;
}

CSettingsTree::KeyId CRegistryStore::ExistingUserKey(std::uint32_t lRoot,
                                                     const std::string& sKey) const {
    const auto onKey = lRoot == CurrentUser ? m_oTree.FindKey(sKey) : std::nullopt;
    if (!onKey) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    return *onKey;
}

std::vector<std::string> CRegistryStore::SubKeyNames(std::uint32_t lRoot, const std::string& sKey) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    std::vector<std::string> vNames;
    if (lRoot == CurrentUser) {
        for (const CSettingsTree::KeyId nChild : m_oTree.SubKeys(ExistingUserKey(lRoot, sPath))) {
            vNames.push_back(m_oTree.Name(nChild));
        }
    }
    return vNames; // the file-type provider cannot list its keys
}

void CRegistryStore::AddSubKey(std::uint32_t lRoot, const std::string& sKey,
                               const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    const CSettingsTree::KeyId nParent = ExistingUserKey(lRoot, sPath);
    // A key name stands alone on its line of the settings file, within the registry's limits.
    if (sName.empty() || sName.find_first_of(std::string("\\\n\r\0", 4)) != std::string::npos ||
        !CSettingsTree::Fits(sName, m_oTree.Depth(nParent) + 1)) {
        Fail(RunTimeErrors::InvalidProcedureCall);
    }
    if (m_oTree.FindSubKey(nParent, sName)) {
        Fail(RunTimeErrors::KeyAlreadyExists);
    }
    CSettingsTree oTree = m_oTree;
    oTree.EnsureSubKey(nParent, sName);
    Commit(std::move(oTree));
}

std::vector<std::string> CRegistryStore::ValueNames(std::uint32_t lRoot, const std::string& sKey) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    std::vector<std::string> vNames;
    if (lRoot == CurrentUser) {
        for (const CSettingsTree::SValue& oValue : m_oTree.Values(ExistingUserKey(lRoot, sPath))) {
            vNames.push_back(oValue.sName);
        }
    } else if (ClassesRootValue(sPath)) {
        vNames.push_back("");
    }
    return vNames;
}

std::optional<std::string> CRegistryStore::FindValue(std::uint32_t lRoot, const std::string& sKey,
                                                     const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    if (lRoot == CurrentUser) {
        const CSettingsTree::SValue* pValue =
            m_oTree.FindValue(ExistingUserKey(lRoot, sPath), sName);
        return pValue == nullptr ? std::nullopt : std::optional<std::string>(pValue->sName);
    }
    if (sName.empty() && ClassesRootValue(sPath)) {
        return sName;
    }
    return std::nullopt;
}

std::string CRegistryStore::Value(std::uint32_t lRoot, const std::string& sKey,
                                  const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    if (lRoot == CurrentUser) {
        const CSettingsTree::SValue* pValue =
            m_oTree.FindValue(ExistingUserKey(lRoot, sPath), sName);
        if (pValue == nullptr) {
            Fail(RunTimeErrors::ElementNotFound);
        }
        return pValue->sValue;
    }
    const auto osValue = sName.empty() ? ClassesRootValue(sPath) : std::nullopt;
    if (!osValue) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    return *osValue;
}

void CRegistryStore::AddValue(std::uint32_t lRoot, const std::string& sKey,
                              const std::string& sName, const std::string& sValue) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    const CSettingsTree::KeyId nKey = ExistingUserKey(lRoot, sPath);
    if (m_oTree.FindValue(nKey, sName) != nullptr) {
        FailValueExists();
    }
    CSettingsTree oTree = m_oTree;
    oTree.SetValue(nKey, sName, sValue);
    Commit(std::move(oTree));
}

void CRegistryStore::SetValue(std::uint32_t lRoot, const std::string& sKey,
                              const std::string& sName, const std::string& sValue) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    const CSettingsTree::KeyId nKey = ExistingUserKey(lRoot, sPath);
    const CSettingsTree::SValue* pOld = m_oTree.FindValue(nKey, sName);
    if (pOld == nullptr) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    if (pOld->sValue == sValue) {
        return; // nothing changes, nothing to write
    }
    CSettingsTree oTree = m_oTree;
    oTree.SetValue(nKey, sName, sValue);
    Commit(std::move(oTree));
}

void CRegistryStore::RemoveValue(std::uint32_t lRoot, const std::string& sKey,
                                 const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    CSettingsTree oTree = m_oTree;
    if (!oTree.RemoveValue(ExistingUserKey(lRoot, sPath), sName)) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    Commit(std::move(oTree));
}
