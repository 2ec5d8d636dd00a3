#include "platform/registry/CRegistry.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistryStore.h"
#include "platform/registry/MRegistryText.h"

CRegistry::CRegistry(std::string sSettingsFile, CFileTypeProvider* pFileTypes,
                     CErrorReporter* pReporter)
    : m_pStore(std::make_shared<CRegistryStore>(std::move(sSettingsFile), pFileTypes, pReporter)) {}

CRegistryKey CRegistry::KeyFromRoot(std::uint32_t lRoot) {
    if (!CRegistryStore::RootName(lRoot)) {
        throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
    }
    return CRegistryKey(m_pStore, lRoot, m_pStore->ExistingKey(lRoot, ""));
}

CRegistryKey CRegistry::KeyFromPath(const std::string& sPath) {
    std::vector<std::string> vParts = MRegistryText::SplitPath(sPath);
    if (vParts.empty()) {
        throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
    }
    const auto olRoot = CRegistryStore::RootFromName(vParts.front());
    if (!olRoot) {
        throw CRunTimeError::Standard(RunTimeErrors::ElementNotFound);
    }
    vParts.erase(vParts.begin());
    return CRegistryKey(m_pStore, *olRoot,
                        m_pStore->ExistingKey(*olRoot, MRegistryText::JoinPath(vParts)));
}

const std::string& CRegistry::SettingsFile() const {
    return m_pStore->SettingsFile();
}

bool CRegistry::Damaged() const {
    return m_pStore->Damaged();
}

bool CRegistry::KeyIncomplete(const std::string& sPath) const {
    std::vector<std::string> vParts = MRegistryText::SplitPath(sPath);
    if (vParts.empty() ||
        CRegistryStore::RootFromName(vParts.front()) != CRegistry::HKEY_CURRENT_USER) {
        return false; // only the settings file can lose values
    }
    vParts.erase(vParts.begin());
    return m_pStore->KeyIncomplete(MRegistryText::JoinPath(vParts));
}

void CRegistry::KeepSettingsFile() {
    m_pStore->KeepFile();
}
