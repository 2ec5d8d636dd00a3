#include "platform/registry/CRegistrySubKeys.h"

#include "platform/registry/CRegistryStore.h"

CRegistrySubKeys::CRegistrySubKeys(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot,
                                   std::string sKey)
    : m_pStore(std::move(pStore)), m_lRoot(lRoot), m_sKey(std::move(sKey)) {}

void CRegistrySubKeys::Add(const std::string& sName) {
    m_pStore->AddSubKey(m_lRoot, m_sKey, sName);
}

std::int32_t CRegistrySubKeys::Count() const {
    return static_cast<std::int32_t>(m_pStore->SubKeyNames(m_lRoot, m_sKey).size());
}

std::vector<std::string> CRegistrySubKeys::Names() const {
    return m_pStore->SubKeyNames(m_lRoot, m_sKey);
}
