#pragma once

#include <QPixmap>

#include <cstdint>
#include <string>

class CFileIcons;

// The icons the desktop shows for one document: the icon of the document's MIME type, with the
// shortcut arrow on request, at the shell's size (32 pixels) and small (16 pixels). The drawing
// is shared per MIME type through the CFileIcons it is given.
class CFileInfo {
public:
    // Caller flags of the icon functions (others are ignored).
    static constexpr std::int32_t OpenIcon = 0x2;
    static constexpr std::int32_t LinkOverlay = 0x8000;
    static constexpr std::int32_t SelectedIcon = 0x10000;

    // Item kinds.
    static constexpr int NoItem = 0;
    static constexpr int PathItem = 1;

    explicit CFileInfo(CFileIcons& oIcons) : m_oIcons(oIcons) {}

    std::string ClassName() const { return "CFileInfo"; }

    // Names the document: a file or folder path (the target of a shortcut). An empty or
    // blank path names no item.
    void SetItem(const std::string& sPath);
    int ItemKind() const { return m_iItemKind; }

    // The item's icon at 16 pixels / at the shell's icon size; a null pixmap when there is no
    // item. With LinkOverlay the shortcut arrow is drawn on it.
    QPixmap SmallIcon(std::int32_t lFlags) const;
    QPixmap ShellIcon(std::int32_t lFlags) const;

private:
    QPixmap Icon(std::int32_t lFlags, bool bSmall) const;

    CFileIcons& m_oIcons;
    int m_iItemKind = NoItem;
    std::string m_sItem;
};
