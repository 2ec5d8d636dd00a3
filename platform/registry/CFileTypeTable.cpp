#include "platform/registry/CFileTypeTable.h"

#include "platform/registry/MRegistryText.h"

namespace {
std::string TableKey(const std::string& sKey) {
    return MRegistryText::Fold(MRegistryText::JoinPath(MRegistryText::SplitPath(sKey)));
}
} // namespace

void CFileTypeTable::SetDefaultValue(const std::string& sKey, const std::string& sValue) {
    m_colValues[TableKey(sKey)] = sValue;
}

void CFileTypeTable::RemoveKey(const std::string& sKey) {
    m_colValues.erase(TableKey(sKey));
}

std::optional<std::string> CFileTypeTable::DefaultValue(const std::string& sKey) {
    const auto it = m_colValues.find(TableKey(sKey));
    if (it == m_colValues.end()) {
        return std::nullopt;
    }
    return it->second;
}
