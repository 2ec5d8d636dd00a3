#pragma once

#include <QIcon>

#include <string>
#include <unordered_map>

class CFileIcons;

// The icons of the documents in the lists. A document's MIME type follows from the end of its
// file name, so the icons are looked up once per name ending (from the name's first dot on:
// ".pdf", ".tar.gz"; a name without a dot whole), a folder still told apart from a file; the
// pair of icons of each type is made once and shared by every document of that type. A list of
// thousands of favorites then costs one lookup per ending and one drawing per type.
class CIconCache {
public:
    struct SIcons {
        QIcon oLarge;
        QIcon oSmall;
    };

    explicit CIconCache(CFileIcons& oIcons) : m_oIcons(oIcons) {}

    // The icons of the document sTarget (with the shortcut arrow); null icons for no path.
    const SIcons& IconsFor(const std::string& sTarget);

    // The part of a path's file name that its type is looked up by.
    static std::string NameKey(const std::string& sPath);

private:
    const SIcons& Shared(const QPixmap& oLarge, const QPixmap& oSmall);

    CFileIcons& m_oIcons;
    // Name ending -> its type's icons (pointers into m_colByDrawing, which never moves them).
    std::unordered_map<std::string, const SIcons*> m_colByName;
    // The large drawing's cache key -> the icons of that drawing's type.
    std::unordered_map<qint64, SIcons> m_colByDrawing;
    SIcons m_oNone;
};
