#pragma once

#include <QIcon>
#include <QObject>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Keyed images of one square size for the lists and the tree. Indexes are 1-based; index 1 is
// whatever the owner adds first (the generic document, the fallback of the icon cache). Every
// image is kept at the list's size, so drawing never scales. Keys are case-sensitive, like
// the file paths they are made of; an image may have no key (the empty key).
class CImageList : public QObject {
    Q_OBJECT

public:
    // iImageSize: width and height of every image in pixels (16 or 32 in the program).
    explicit CImageList(int iImageSize, QObject* pParent = nullptr);

    int ImageSize() const { return m_iImageSize; }
    std::int32_t Count() const { return static_cast<std::int32_t>(m_colImages.size()); }

    // Adds the picture at the end and returns its index. A picture of another size is scaled
    // to the list's size. A key already in the list raises 35602 "Key is not unique in
    // collection".
    std::int32_t Add(const QIcon& oPicture, const std::string& sKey = {});
    // The index of the image with the key, or 0 when there is none: a miss is the common
    // case of the icon cache and costs one hash lookup.
    std::int32_t Find(const std::string& sKey) const;
    // The index of the image with the key; raises 35601 "Element not found" when missing.
    std::int32_t Index(const std::string& sKey) const;
    // The image's key and picture; an index outside 1..Count raises 35600 "Index out of
    // bounds".
    const std::string& Key(std::int32_t lIndex) const;
    const QIcon& Picture(std::int32_t lIndex) const;
    // Removes one image; the images after it move down by one index. Removing the last image
    // is cheap (the loaders empty a list from the end).
    void Remove(std::int32_t lIndex);
    void Clear();

signals:
    // Images were added or removed: the controls that show them redraw.
    void Changed();

private:
    struct SImage {
        std::string sKey;
        QIcon oPicture;
    };

    void CheckIndex(std::int32_t lIndex) const;

    int m_iImageSize;
    std::vector<SImage> m_colImages;
    std::unordered_map<std::string, std::int32_t> m_colIndexByKey;
};
