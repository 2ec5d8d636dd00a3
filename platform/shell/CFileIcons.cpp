#include "platform/shell/CFileIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <cstdlib>

namespace {
const QString UnknownType = QStringLiteral("application/octet-stream");

QStringList GenericDocumentIcons() {
    return {QStringLiteral("text-x-generic"), QStringLiteral("application-x-generic"),
            QStringLiteral("unknown")};
}

QString Environment(const char* szName) {
    const char* szValue = std::getenv(szName);
    return szValue == nullptr ? QString() : QString::fromLocal8Bit(szValue);
}

// A plain page with a folded corner, for a machine without any icon theme.
QIcon DrawnPage() {
    QIcon oIcon;
    for (const int iSize : {CFileIcons::SmallSize, CFileIcons::LargeSize}) {
        QPixmap oPixmap(iSize, iSize);
        oPixmap.fill(Qt::transparent);
        QPainter oPainter(&oPixmap);
        oPainter.setRenderHint(QPainter::Antialiasing);
        const qreal dUnit = iSize / 16.0;
        const qreal dLeft = 2.5 * dUnit, dRight = 13.5 * dUnit, dTop = 0.5 * dUnit,
                    dBottom = 15.5 * dUnit, dFold = 4 * dUnit;
        QPainterPath oPage;
        oPage.moveTo(dLeft, dTop);
        oPage.lineTo(dRight - dFold, dTop);
        oPage.lineTo(dRight, dTop + dFold);
        oPage.lineTo(dRight, dBottom);
        oPage.lineTo(dLeft, dBottom);
        oPage.closeSubpath();
        oPainter.setPen(QPen(QColor(0x70, 0x70, 0x70), dUnit));
        oPainter.setBrush(QColor(0xfa, 0xfa, 0xfa));
        oPainter.drawPath(oPage);
        oPainter.drawLine(QPointF(dRight - dFold, dTop), QPointF(dRight - dFold, dTop + dFold));
        oPainter.drawLine(QPointF(dRight - dFold, dTop + dFold), QPointF(dRight, dTop + dFold));
        oPainter.end();
        oIcon.addPixmap(oPixmap);
    }
    return oIcon;
}

QIcon FirstThemeIcon(const QStringList& vNames) {
    for (const QString& sName : vNames) {
        if (!sName.isEmpty() && QIcon::hasThemeIcon(sName)) {
            return QIcon::fromTheme(sName);
        }
    }
    return QIcon();
}
} // namespace

CFileIcons::CFileIcons() {
    PrepareTheme();
}

void CFileIcons::PrepareTheme() {
    static bool bPrepared = false;
    if (bPrepared) {
        return;
    }
    bPrepared = true;
    if (!QIcon::themeName().isEmpty()) {
        if (QIcon::fallbackThemeName().isEmpty() ||
            QIcon::fallbackThemeName() == QStringLiteral("hicolor")) {
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        }
        return;
    }
    // No platform theme told Qt where icons are: the freedesktop icon folders.
    QStringList vPaths = QIcon::themeSearchPaths();
    QStringList vFolders;
    const QString sHome = Environment("HOME");
    const QString sDataHome = Environment("XDG_DATA_HOME");
    vFolders << (sDataHome.startsWith('/') ? sDataHome : sHome + QStringLiteral("/.local/share")) +
                    QStringLiteral("/icons");
    if (!sHome.isEmpty()) {
        vFolders << sHome + QStringLiteral("/.icons");
    }
    QString sDataDirs = Environment("XDG_DATA_DIRS");
    if (sDataDirs.isEmpty()) {
        sDataDirs = QStringLiteral("/usr/local/share:/usr/share");
    }
    for (const QString& sDir : sDataDirs.split(':', Qt::SkipEmptyParts)) {
        vFolders << sDir + QStringLiteral("/icons");
    }
    QString sTheme = QStringLiteral("hicolor");
    for (const QString& sFolder : vFolders) {
        if (!vPaths.contains(sFolder)) {
            vPaths << sFolder;
        }
        if (QFileInfo::exists(sFolder + QStringLiteral("/Adwaita/index.theme"))) {
            sTheme = QStringLiteral("Adwaita");
        }
    }
    QIcon::setThemeSearchPaths(vPaths);
    QIcon::setThemeName(sTheme);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QIcon CFileIcons::ThemeIcon(const std::string& sMimeType) {
    PrepareTheme();
    const QMimeType oType = QMimeDatabase().mimeTypeForName(QString::fromStdString(sMimeType));
    QIcon oIcon;
    if (oType.isValid() && !oType.isDefault()) {
        oIcon = FirstThemeIcon({oType.iconName(), oType.genericIconName()});
    }
    if (oIcon.isNull()) {
        oIcon = FirstThemeIcon(GenericDocumentIcons());
    }
    if (oIcon.isNull()) {
        static const QIcon oPage = DrawnPage();
        oIcon = oPage;
    }
    return oIcon;
}

QPixmap CFileIcons::WithShortcutArrow(const QIcon& oIcon, int iSize) {
    QPixmap oPixmap(iSize, iSize);
    oPixmap.fill(Qt::transparent);
    QPainter oPainter(&oPixmap);
    oIcon.paint(&oPainter, QRect(0, 0, iSize, iSize));
    oPainter.setRenderHint(QPainter::Antialiasing);

    // A white box with a dark edge in the lower left corner, and a bent arrow pointing up
    // and right inside it: the shell's mark of a shortcut.
    const qreal dBox = iSize * 7.0 / 16.0;
    const QRectF oBox(0.5, iSize - dBox - 0.5, dBox, dBox);
    oPainter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.0));
    oPainter.setBrush(Qt::white);
    oPainter.drawRect(oBox);

    const qreal dUnit = dBox / 7.0;
    const QPointF oTip(oBox.right() - 1.5 * dUnit, oBox.top() + 1.5 * dUnit);
    QPainterPath oShaft;
    oShaft.moveTo(oBox.left() + 1.5 * dUnit, oBox.bottom() - 1.2 * dUnit);
    oShaft.quadTo(oBox.left() + 1.8 * dUnit, oTip.y() + 0.6 * dUnit, oTip.x() - 1.2 * dUnit,
                  oTip.y() + 1.2 * dUnit);
    oPainter.setBrush(Qt::NoBrush);
    oPainter.setPen(
        QPen(QColor(0x10, 0x50, 0xb0), qMax(1.0, 1.1 * dUnit), Qt::SolidLine, Qt::RoundCap));
    oPainter.drawPath(oShaft);
    QPainterPath oHead;
    oHead.moveTo(oTip);
    oHead.lineTo(oTip.x() - 3.0 * dUnit, oTip.y());
    oHead.lineTo(oTip.x(), oTip.y() + 3.0 * dUnit);
    oHead.closeSubpath();
    oPainter.setPen(Qt::NoPen);
    oPainter.setBrush(QColor(0x10, 0x50, 0xb0));
    oPainter.drawPath(oHead);
    oPainter.end();
    return oPixmap;
}

const CFileIcons::SIcons& CFileIcons::IconsForFile(const std::string& sPath) {
    const QString sName = QString::fromStdString(sPath);
    const QFileInfo oInfo(sName);
    if (oInfo.isDir()) {
        return IconsForType("inode/directory");
    }
    const QMimeType oType = QMimeDatabase().mimeTypeForFile(oInfo, QMimeDatabase::MatchExtension);
    return IconsForType(oType.isValid() ? oType.name().toStdString() : std::string());
}

const CFileIcons::SIcons& CFileIcons::IconsForType(const std::string& sMimeType) {
    std::string sKey = sMimeType;
    const auto itKnown = m_colIcons.find(sKey);
    if (itKnown != m_colIcons.end()) {
        return itKnown->second;
    }
    // Every type the database does not know shares the generic document's drawing.
    const QMimeType oType = QMimeDatabase().mimeTypeForName(QString::fromStdString(sMimeType));
    if (!oType.isValid() || oType.isDefault()) {
        sKey = UnknownType.toStdString();
        const auto itUnknown = m_colIcons.find(sKey);
        if (itUnknown != m_colIcons.end()) {
            return m_colIcons.emplace(sMimeType, itUnknown->second).first->second;
        }
    } else {
        // Aliases share the drawing of the type they stand for.
        sKey = oType.name().toStdString();
        const auto itCanonical = m_colIcons.find(sKey);
        if (itCanonical != m_colIcons.end()) {
            return m_colIcons.emplace(sMimeType, itCanonical->second).first->second;
        }
    }
    const QIcon oIcon = ThemeIcon(sKey);
    SIcons oIcons{WithShortcutArrow(oIcon, LargeSize), WithShortcutArrow(oIcon, SmallSize)};
    ++m_lDrawCount;
    m_colIcons.emplace(sKey, oIcons);
    return m_colIcons.emplace(sMimeType, oIcons).first->second;
}
