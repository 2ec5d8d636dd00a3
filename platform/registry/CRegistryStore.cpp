#include "platform/registry/CRegistryStore.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CFileTypeProvider.h"
#include "platform/registry/CSettingsFile.h"
#include "platform/registry/MRegistryText.h"
#include "platform/shell/CAtomicFile.h"
#include "platform/shell/CClock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

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

std::string Child(const std::string& sKey, const std::string& sName) {
    return sKey.empty() ? sName : sKey + "\\" + sName;
}

std::string LastPart(const std::string& sKey) {
    const std::size_t nSlash = sKey.rfind('\\');
    return nSlash == std::string::npos ? sKey : sKey.substr(nSlash + 1);
}

bool EndsWithName(const std::string& sKey, const std::string& sTail) {
    return sKey.size() > sTail.size() &&
           MRegistryText::SameName(sKey.substr(sKey.size() - sTail.size()), sTail) &&
           sKey[sKey.size() - sTail.size() - 1] == '\\';
}

std::string TwoDigits(int iValue) {
    return (iValue < 10 ? "0" : "") + std::to_string(iValue);
}

std::string Stamp(const CDateTime& dtNow) {
    return std::to_string(dtNow.Year()) + TwoDigits(dtNow.Month()) + TwoDigits(dtNow.Day()) +
           TwoDigits(dtNow.Hour()) + TwoDigits(dtNow.Minute()) + TwoDigits(dtNow.Second());
}

} // namespace

CRegistryStore::CRegistryStore(std::string sSettingsFile, CFileTypeProvider* pFileTypes,
                               CErrorReporter* pReporter, const CClock* pClock)
    : m_sSettingsFile(std::move(sSettingsFile)), m_pFileTypes(pFileTypes), m_pReporter(pReporter),
      m_pClock(pClock != nullptr ? pClock : &CClock::System()) {
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
    struct stat oStat {};
    if (stat(m_sSettingsFile.c_str(), &oStat) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            const CRunTimeError oError = CRunTimeError::FromErrno(errno, m_sSettingsFile);
            m_bWritable = false;
            Log(oError.Number(), oError.Description(), "CRegistry.Load",
                "The settings file " + m_sSettingsFile +
                    " cannot be read; settings are not saved.");
        }
        return;
    }
    std::ifstream oFile(m_sSettingsFile, std::ios::binary);
    std::ostringstream oText;
    if (S_ISREG(oStat.st_mode) && oFile) {
        oText << oFile.rdbuf();
    }
    if (!S_ISREG(oStat.st_mode) || !oFile || oFile.bad()) {
        m_bWritable = false;
        Log(RunTimeErrors::PathFileAccessError,
            CRunTimeError::StandardText(RunTimeErrors::PathFileAccessError), "CRegistry.Load",
            "The settings file " + m_sSettingsFile + " cannot be read; settings are not saved.");
        return;
    }
    RemoveLeftovers();
    try {
        m_oTree = CSettingsFile::Parse(oText.str());
        return;
    } catch (const CRunTimeError& oError) {
        // Keep the damaged file for the user to look at; never write over it.
        const std::string sBase = m_sSettingsFile + ".corrupt-" + Stamp(m_pClock->Now());
        std::string sAside = sBase;
        for (int i = 2; fs::exists(sAside) && i < 100; ++i) {
            sAside = sBase + "-" + std::to_string(i);
        }
        std::string sMessage =
            "The settings file " + m_sSettingsFile + " is damaged (" + oError.Description() + ")";
        if (std::rename(m_sSettingsFile.c_str(), sAside.c_str()) == 0) {
            sMessage += "; it was kept as " + sAside + " and the settings start from defaults.";
        } else {
            m_bWritable = false;
            sMessage += "; it could not be set aside, so settings are not saved.";
        }
        Log(oError.Number(), CRunTimeError::StandardText(oError.Number()), "CRegistry.Load",
            sMessage);
    }
}

void CRegistryStore::RemoveLeftovers() const {
    const fs::path oPath(m_sSettingsFile);
    const std::string sPrefix = oPath.filename().string() + ".tmp-";
    std::error_code ec;
    for (auto it =
             fs::directory_iterator(oPath.parent_path().empty() ? "." : oPath.parent_path(), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string sName = it->path().filename().string();
        if (sName.compare(0, sPrefix.size(), sPrefix) == 0 && sName.size() == sPrefix.size() + 6 &&
            it->is_regular_file(ec)) {
            std::error_code ecRemove;
            fs::remove(it->path(), ecRemove);
        }
    }
}

void CRegistryStore::Commit(CSettingsTree oTree) {
    try {
        if (!m_bWritable || m_sSettingsFile.empty()) {
            throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                                "the settings file was not read and is not replaced");
        }
        const fs::path oFolder = fs::path(m_sSettingsFile).parent_path();
        if (!oFolder.empty()) {
            std::error_code ec;
            fs::create_directories(oFolder, ec);
            if (ec) {
                throw CRunTimeError::FromErrno(ec.value(), oFolder.string());
            }
        }
        CAtomicFile::Write(m_sSettingsFile, CSettingsFile::Format(oTree));
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
        const CSettingsTree::SKey* pKey = m_oTree.FindKey(sPath);
        return pKey == nullptr ? std::nullopt : std::optional<std::string>(pKey->sPath);
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

std::vector<std::string> CRegistryStore::SubKeyNames(std::uint32_t lRoot, const std::string& sKey) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    std::vector<std::string> vNames;
    if (lRoot == CurrentUser) {
        for (const std::string& sChild : m_oTree.SubKeyPaths(sPath)) {
            vNames.push_back(LastPart(sChild));
        }
    }
    return vNames; // the file-type provider cannot list its keys
}

void CRegistryStore::AddSubKey(std::uint32_t lRoot, const std::string& sKey,
                               const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    // A key name stands alone on its line of the settings file.
    if (sName.empty() || sName.find_first_of(std::string("\\\n\r\0", 4)) != std::string::npos) {
        Fail(RunTimeErrors::InvalidProcedureCall);
    }
    if (m_oTree.FindKey(Child(sPath, sName)) != nullptr) {
        Fail(RunTimeErrors::KeyAlreadyExists);
    }
    CSettingsTree oTree = m_oTree;
    oTree.EnsureKey(Child(sPath, sName));
    Commit(std::move(oTree));
}

std::vector<std::string> CRegistryStore::ValueNames(std::uint32_t lRoot, const std::string& sKey) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    std::vector<std::string> vNames;
    if (lRoot == CurrentUser) {
        for (const CSettingsTree::SValue& oValue : m_oTree.FindKey(sPath)->vValues) {
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
            CSettingsTree::FindValue(*m_oTree.FindKey(sPath), sName);
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
            CSettingsTree::FindValue(*m_oTree.FindKey(sPath), sName);
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
    if (CSettingsTree::FindValue(*m_oTree.FindKey(sPath), sName) != nullptr) {
        FailValueExists();
    }
    CSettingsTree oTree = m_oTree;
    oTree.FindKey(sPath)->vValues.push_back({sName, sValue});
    Commit(std::move(oTree));
}

void CRegistryStore::SetValue(std::uint32_t lRoot, const std::string& sKey,
                              const std::string& sName, const std::string& sValue) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    const CSettingsTree::SValue* pOld = CSettingsTree::FindValue(*m_oTree.FindKey(sPath), sName);
    if (pOld == nullptr) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    if (pOld->sValue == sValue) {
        return; // nothing changes, nothing to write
    }
    CSettingsTree oTree = m_oTree;
    CSettingsTree::FindValue(*oTree.FindKey(sPath), sName)->sValue = sValue;
    Commit(std::move(oTree));
}

void CRegistryStore::RemoveValue(std::uint32_t lRoot, const std::string& sKey,
                                 const std::string& sName) {
    const std::string sPath = ExistingKey(lRoot, sKey);
    RefuseClassesRoot(lRoot);
    CSettingsTree oTree = m_oTree;
    if (!CSettingsTree::RemoveValue(*oTree.FindKey(sPath), sName)) {
        Fail(RunTimeErrors::ElementNotFound);
    }
    Commit(std::move(oTree));
}
