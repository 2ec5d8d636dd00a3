#include "platform/registry/CSettingsTree.h"

#include "platform/registry/MRegistryText.h"

#include <algorithm>

namespace {
// Characters, not bytes: a UTF-8 continuation byte adds none.
std::size_t CharacterCount(const std::string& sText) {
    return static_cast<std::size_t>(std::count_if(sText.begin(), sText.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}
} // namespace

CSettingsTree::CSettingsTree() {
    m_vKeys.push_back(SKey{});
    EnsureKey("Software");
}

std::string CSettingsTree::Path(KeyId nKey) const {
    std::vector<KeyId> vChain;
    std::size_t nLength = 0;
    for (KeyId n = nKey; n != Root; n = m_vKeys[n].nParent) {
        vChain.push_back(n);
        nLength += m_vKeys[n].sName.size() + 1;
    }
    std::string sPath;
    sPath.reserve(nLength);
    for (auto it = vChain.rbegin(); it != vChain.rend(); ++it) {
        if (!sPath.empty()) {
            sPath += '\\';
        }
        sPath += m_vKeys[*it].sName;
    }
    return sPath;
}

std::optional<CSettingsTree::KeyId> CSettingsTree::FindSubKey(KeyId nParent,
                                                              const std::string& sName) const {
    const auto& colSubKeys = m_vKeys[nParent].colSubKeys;
    const auto it = colSubKeys.find(MRegistryText::Fold(sName));
    return it == colSubKeys.end() ? std::nullopt : std::optional<KeyId>(it->second);
}

std::optional<CSettingsTree::KeyId> CSettingsTree::FindKey(const std::string& sPath) const {
    KeyId nKey = Root;
    for (const std::string& sPart : MRegistryText::SplitPath(sPath)) {
        const auto onKey = FindSubKey(nKey, sPart);
        if (!onKey) {
            return std::nullopt;
        }
        nKey = *onKey;
    }
    return nKey;
}

CSettingsTree::KeyId CSettingsTree::EnsureSubKey(KeyId nParent, const std::string& sName) {
    std::string sFolded = MRegistryText::Fold(sName);
    if (const auto it = m_vKeys[nParent].colSubKeys.find(sFolded);
        it != m_vKeys[nParent].colSubKeys.end()) {
        return it->second; // a name typed in another case never makes a twin
    }
    const KeyId nKey = m_vKeys.size();
    SKey oKey;
    oKey.sName = sName;
    oKey.nParent = nParent;
    oKey.nDepth = m_vKeys[nParent].nDepth + 1;
    m_vKeys.push_back(std::move(oKey));
    m_vKeys[nParent].vSubKeys.push_back(nKey);
    m_vKeys[nParent].colSubKeys.emplace(std::move(sFolded), nKey);
    return nKey;
}

CSettingsTree::KeyId CSettingsTree::EnsureKey(const std::string& sPath) {
    KeyId nKey = Root;
    for (const std::string& sPart : MRegistryText::SplitPath(sPath)) {
        nKey = EnsureSubKey(nKey, sPart);
    }
    return nKey;
}

bool CSettingsTree::Fits(const std::string& sName, std::size_t nDepth) {
    return nDepth <= MaxDepth && sName.size() <= MaxNameLength * 4 &&
           CharacterCount(sName) <= MaxNameLength;
}

bool CSettingsTree::Fits(const std::vector<std::string>& vParts) {
    if (vParts.size() > MaxDepth) {
        return false;
    }
    for (std::size_t n = 0; n < vParts.size(); ++n) {
        if (!Fits(vParts[n], n + 1)) {
            return false;
        }
    }
    return true;
}

const CSettingsTree::SValue* CSettingsTree::FindValue(KeyId nKey, const std::string& sName) const {
    const SKey& oKey = m_vKeys[nKey];
    const auto it = oKey.colValues.find(MRegistryText::Fold(sName));
    return it == oKey.colValues.end() ? nullptr : &oKey.vValues[it->second];
}

void CSettingsTree::SetValue(KeyId nKey, const std::string& sName, const std::string& sValue) {
    SKey& oKey = m_vKeys[nKey];
    const auto [it, bAdded] =
        oKey.colValues.emplace(MRegistryText::Fold(sName), oKey.vValues.size());
    if (bAdded) {
        oKey.vValues.push_back({sName, sValue});
    } else {
        oKey.vValues[it->second].sValue = sValue;
    }
}

bool CSettingsTree::RemoveValue(KeyId nKey, const std::string& sName) {
    SKey& oKey = m_vKeys[nKey];
    const auto it = oKey.colValues.find(MRegistryText::Fold(sName));
    if (it == oKey.colValues.end()) {
        return false;
    }
    const std::size_t nPosition = it->second;
    oKey.colValues.erase(it);
    oKey.vValues.erase(oKey.vValues.begin() + static_cast<std::ptrdiff_t>(nPosition));
    for (auto& [sFolded, nAt] : oKey.colValues) {
        if (nAt > nPosition) {
            --nAt;
        }
    }
    return true;
}
