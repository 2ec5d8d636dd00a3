#pragma once

#include <QIcon>
#include <QPixmap>

#include <string>
#include <unordered_map>

// The icons of documents as the shell shows their shortcuts: the icon theme's icon of the
// document's MIME type with a small shortcut arrow drawn in its lower left corner, at 32 and
// 16 pixels. The drawing is done once per MIME type and shared by every document of that type
// (QPixmap copies share their pixels). A type the theme has no icon for, and a file of unknown
// type, get the generic document icon; where no theme has that either, a plain page is drawn.
//
// The theme is the desktop's; where Qt knows none (no platform theme), the first use points
// Qt at the freedesktop icon folders and takes Adwaita (else hicolor), and Adwaita serves as
// the fallback of any theme that lacks an icon. Needs a QGuiApplication.
class CFileIcons {
public:
    static constexpr int LargeSize = 32;
    static constexpr int SmallSize = 16;

    struct SIcons {
        QPixmap oLarge;
        QPixmap oSmall;
    };

    CFileIcons();

    // The icons of a document by the MIME type of its name ("inode/directory" for a folder).
    const SIcons& IconsForFile(const std::string& sPath);
    // The icons of a MIME type; an unknown type gets the generic document's.
    const SIcons& IconsForType(const std::string& sMimeType);
    // How many pairs of icons were drawn (one per MIME type that was asked for).
    int DrawCount() const { return m_lDrawCount; }

    // The theme's icon of a MIME type without the arrow: its icon name, its generic icon name,
    // then the generic document icon; a drawn page when the theme has none of them.
    static QIcon ThemeIcon(const std::string& sMimeType);
    // sIcon at iSize pixels with the shortcut arrow on it.
    static QPixmap WithShortcutArrow(const QIcon& oIcon, int iSize);

private:
    static void PrepareTheme();

    std::unordered_map<std::string, SIcons> m_colIcons; // MIME type -> its icons
    int m_lDrawCount = 0;
};
