#include "platform/registry/CRegistryValue.h"

#include "platform/registry/CRegistryStore.h"

CRegistryValue::CRegistryValue(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot,
                               std::string sKey, std::string sName)
    : m_pStore(std::move(pStore)), m_lRoot(lRoot), m_sKey(std::move(sKey)),
      m_sName(std::move(sName)) {}

std::string CRegistryValue::Name() const {
    return m_sName;
}

std::string CRegistryValue::Value() const {
    return m_pStore->Value(m_lRoot, m_sKey, m_sName);
}

void CRegistryValue::SetValue(const std::string& sValue) {
    m_pStore->SetValue(m_lRoot, m_sKey, m_sName, sValue);
}
