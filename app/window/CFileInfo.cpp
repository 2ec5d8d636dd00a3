#include "app/window/CFileInfo.h"

#include "app/core/MDayfold.h"
#include "platform/shell/CFileIcons.h"

#include <QMimeDatabase>

void CFileInfo::SetItem(const std::string& sPath) {
    if (MDayfold::IsBlank(sPath)) {
        m_iItemKind = NoItem;
        m_sItem.clear();
        return;
    }
    m_iItemKind = PathItem;
    m_sItem = sPath;
}

QPixmap CFileInfo::SmallIcon(std::int32_t lFlags) const {
    return Icon(lFlags, true);
}

QPixmap CFileInfo::ShellIcon(std::int32_t lFlags) const {
    return Icon(lFlags, false);
}

QPixmap CFileInfo::Icon(std::int32_t lFlags, bool bSmall) const {
    try {
        if (m_iItemKind == NoItem) {
            return {};
        }
        if ((lFlags & LinkOverlay) != 0) {
            const CFileIcons::SIcons& oIcons = m_oIcons.IconsForFile(m_sItem);
            return bSmall ? oIcons.oSmall : oIcons.oLarge;
        }
        const QMimeType oType = QMimeDatabase().mimeTypeForFile(QString::fromStdString(m_sItem),
                                                                QMimeDatabase::MatchExtension);
        const int iSize = bSmall ? CFileIcons::SmallSize : CFileIcons::LargeSize;
        return CFileIcons::ThemeIcon(oType.name().toStdString()).pixmap(iSize, iSize);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, bSmall ? "CFileInfo.SmallIcon" : "CFileInfo.ShellIcon", false);
        return {};
    }
}
