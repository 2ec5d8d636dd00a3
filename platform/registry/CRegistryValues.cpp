#include "platform/registry/CRegistryValues.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistryStore.h"

CRegistryValues::CRegistryValues(std::shared_ptr<CRegistryStore> pStore, std::uint32_t lRoot,
                                 std::string sKey)
    : m_pStore(std::move(pStore)), m_lRoot(lRoot), m_sKey(std::move(sKey)) {}

CRegistryValue CRegistryValues::Item(const std::string& sName) const {
    const auto osName = m_pStore->FindValue(m_lRoot, m_sKey, sName);
    if (!osName) {
        throw CRunTimeError::Standard(RunTimeErrors::ElementNotFound);
    }
    return CRegistryValue(m_pStore, m_lRoot, m_sKey, *osName);
}

void CRegistryValues::Add(const std::string& sName, const std::string& sValue, std::int32_t lType) {
    if (lType != StringType) {
        throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
    }
    m_pStore->AddValue(m_lRoot, m_sKey, sName, sValue);
}

void CRegistryValues::Remove(const std::string& sName) {
    m_pStore->RemoveValue(m_lRoot, m_sKey, sName);
}

std::int32_t CRegistryValues::Count() const {
    return static_cast<std::int32_t>(m_pStore->ValueNames(m_lRoot, m_sKey).size());
}

std::vector<std::string> CRegistryValues::Names() const {
    return m_pStore->ValueNames(m_lRoot, m_sKey);
}
