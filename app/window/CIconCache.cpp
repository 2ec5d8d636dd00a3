#include "app/window/CIconCache.h"

#include "platform/shell/CFileIcons.h"

#include <sys/stat.h>

std::string CIconCache::NameKey(const std::string& sPath) {
    const size_t nSlash = sPath.find_last_of("/\\");
    const size_t nStart = nSlash == std::string::npos ? 0 : nSlash + 1;
    // From the name's first dot on ("Report.tar.gz" -> ".tar.gz"); a name without one, or one
    // that starts with its dot, whole.
    const size_t nDot = sPath.find('.', nStart + 1);
    return sPath.substr(nDot == std::string::npos ? nStart : nDot);
}

const CIconCache::SIcons& CIconCache::IconsFor(const std::string& sTarget) {
    if (sTarget.find_first_not_of(' ') == std::string::npos) {
        return m_oNone;
    }
    struct stat oStat {};
    if (stat(sTarget.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode)) {
        const CFileIcons::SIcons& oFolder = m_oIcons.IconsForType("inode/directory");
        return Shared(oFolder.oLarge, oFolder.oSmall);
    }
    const auto it = m_colByName.find(NameKey(sTarget));
    if (it != m_colByName.end()) {
        return *it->second;
    }
    const CFileIcons::SIcons& oDrawn = m_oIcons.IconsForFile(sTarget);
    const SIcons& oIcons = Shared(oDrawn.oLarge, oDrawn.oSmall);
    m_colByName.emplace(NameKey(sTarget), &oIcons);
    return oIcons;
}

const CIconCache::SIcons& CIconCache::Shared(const QPixmap& oLarge, const QPixmap& oSmall) {
    const auto it = m_colByDrawing.find(oLarge.cacheKey());
    if (it != m_colByDrawing.end()) {
        return it->second;
    }
    return m_colByDrawing.emplace(oLarge.cacheKey(), SIcons{QIcon(oLarge), QIcon(oSmall)})
        .first->second;
}
