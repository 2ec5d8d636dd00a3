#include "platform/registry/CSettingsTree.h"

#include "platform/registry/MRegistryText.h"

#include <algorithm>

CSettingsTree::CSettingsTree() {
    EnsureKey("Software");
}

const CSettingsTree::SKey* CSettingsTree::FindKey(const std::string& sPath) const {
    const auto it = m_colIndex.find(MRegistryText::Fold(sPath));
    return it == m_colIndex.end() ? nullptr : &m_vKeys[it->second];
}

CSettingsTree::SKey* CSettingsTree::FindKey(const std::string& sPath) {
    const auto it = m_colIndex.find(MRegistryText::Fold(sPath));
    return it == m_colIndex.end() ? nullptr : &m_vKeys[it->second];
}

CSettingsTree::SKey& CSettingsTree::EnsureKey(const std::string& sPath) {
    const std::vector<std::string> vParts = MRegistryText::SplitPath(sPath);
    if (m_vKeys.empty()) {
        m_vKeys.push_back(SKey{"", {}});
        m_colIndex.emplace("", 0);
    }
    std::size_t nIndex = 0;
    std::string sStored;
    for (const std::string& sPart : vParts) {
        const std::string sWanted = sStored.empty() ? sPart : sStored + "\\" + sPart;
        const auto it = m_colIndex.find(MRegistryText::Fold(sWanted));
        if (it != m_colIndex.end()) {
            nIndex = it->second;
        } else {
            nIndex = m_vKeys.size();
            m_vKeys.push_back(SKey{sWanted, {}});
            m_colIndex.emplace(MRegistryText::Fold(sWanted), nIndex);
        }
        // Go on below the stored spelling, so a path typed in another case never makes a twin.
        sStored = m_vKeys[nIndex].sPath;
    }
    return m_vKeys[nIndex];
}

std::vector<std::string> CSettingsTree::SubKeyPaths(const std::string& sPath) const {
    const std::string sParent = MRegistryText::Fold(sPath);
    std::vector<std::string> vPaths;
    for (const SKey& oKey : m_vKeys) {
        if (oKey.sPath.empty()) {
            continue;
        }
        const std::size_t nSlash = oKey.sPath.rfind('\\');
        const std::string sOwner = nSlash == std::string::npos ? "" : oKey.sPath.substr(0, nSlash);
        if (MRegistryText::Fold(sOwner) == sParent) {
            vPaths.push_back(oKey.sPath);
        }
    }
    return vPaths;
}

const CSettingsTree::SValue* CSettingsTree::FindValue(const SKey& oKey, const std::string& sName) {
    const std::string sFolded = MRegistryText::Fold(sName);
    const auto it = std::find_if(oKey.vValues.begin(), oKey.vValues.end(), [&](const SValue& o) {
        return MRegistryText::Fold(o.sName) == sFolded;
    });
    return it == oKey.vValues.end() ? nullptr : &*it;
}

CSettingsTree::SValue* CSettingsTree::FindValue(SKey& oKey, const std::string& sName) {
    return const_cast<SValue*>(FindValue(static_cast<const SKey&>(oKey), sName));
}

bool CSettingsTree::RemoveValue(SKey& oKey, const std::string& sName) {
    const std::string sFolded = MRegistryText::Fold(sName);
    const auto it = std::find_if(oKey.vValues.begin(), oKey.vValues.end(), [&](const SValue& o) {
        return MRegistryText::Fold(o.sName) == sFolded;
    });
    if (it == oKey.vValues.end()) {
        return false;
    }
    oKey.vValues.erase(it);
    return true;
}
