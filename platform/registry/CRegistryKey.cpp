#include "platform/registry/CRegistryKey.h"

#include "platform/registry/CRegistryStore.h"

CRegistryKey::CRegistryKey(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot,
                           std::string sKey)
    : m_pStore(std::move(pStore)), m_lRoot(lRoot), m_sKey(std::move(sKey)) {}

CRegistryKey CRegistryKey::OpenSubKey(const std::string& sName) const {
    const std::string sWanted = m_sKey.empty() ? sName : m_sKey + "\\" + sName;
    return CRegistryKey(m_pStore, m_lRoot, m_pStore->ExistingKey(m_lRoot, sWanted));
}

CRegistrySubKeys CRegistryKey::SubKeys() const {
    return CRegistrySubKeys(m_pStore, m_lRoot, m_sKey);
}

CRegistryValues CRegistryKey::Values() const {
    return CRegistryValues(m_pStore, m_lRoot, m_sKey);
}

std::string CRegistryKey::Path() const {
    const std::string sRoot = CRegistryStore::RootName(m_lRoot).value_or("");
    return "\\" + sRoot + (m_sKey.empty() ? "" : "\\" + m_sKey);
}

std::string CRegistryKey::Name() const {
    if (m_sKey.empty()) {
        return CRegistryStore::RootName(m_lRoot).value_or("");
    }
    const std::size_t nSlash = m_sKey.rfind('\\');
    return nSlash == std::string::npos ? m_sKey : m_sKey.substr(nSlash + 1);
}
