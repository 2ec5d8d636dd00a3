#include "platform/controls/CImageList.h"

#include "platform/controls/MControlErrors.h"

#include <QPainter>
#include <QPixmap>

namespace {

// The picture drawn once at exactly iSize pixels, centred on a transparent square when its
// aspect is not square.
QIcon AtSize(const QIcon& oPicture, int iSize) {
    const QSize oSize(iSize, iSize);
    QPixmap oPixmap = oPicture.pixmap(oSize);
    if (oPixmap.isNull()) {
        return {};
    }
    if (oPixmap.deviceIndependentSize().toSize() == oSize) {
        return QIcon(oPixmap);
    }
    const QPixmap oScaled = oPixmap.scaled(oSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap oSquare(oSize);
    oSquare.fill(Qt::transparent);
    QPainter oPainter(&oSquare);
    oPainter.drawPixmap((iSize - oScaled.width()) / 2, (iSize - oScaled.height()) / 2, oScaled);
    oPainter.end();
    return QIcon(oSquare);
}

} // namespace

CImageList::CImageList(int iImageSize, QObject* pParent)
    : QObject(pParent), m_iImageSize(iImageSize > 0 ? iImageSize : 16) {}

std::int32_t CImageList::Add(const QIcon& oPicture, const std::string& sKey) {
    if (!sKey.empty() && m_colIndexByKey.count(sKey) != 0) {
        MControlErrors::Raise(MControlErrors::KeyNotUnique);
    }
    m_colImages.push_back({sKey, AtSize(oPicture, m_iImageSize)});
    const auto lIndex = Count();
    if (!sKey.empty()) {
        m_colIndexByKey.emplace(sKey, lIndex);
    }
    emit Changed();
    return lIndex;
}

std::int32_t CImageList::Find(const std::string& sKey) const {
    const auto it = m_colIndexByKey.find(sKey);
    return it == m_colIndexByKey.end() ? 0 : it->second;
}

std::int32_t CImageList::Index(const std::string& sKey) const {
    const std::int32_t lIndex = Find(sKey);
    if (lIndex == 0) {
        MControlErrors::Raise(MControlErrors::ElementNotFound);
    }
    return lIndex;
}

const std::string& CImageList::Key(std::int32_t lIndex) const {
    CheckIndex(lIndex);
    return m_colImages[static_cast<std::size_t>(lIndex - 1)].sKey;
}

const QIcon& CImageList::Picture(std::int32_t lIndex) const {
    CheckIndex(lIndex);
    return m_colImages[static_cast<std::size_t>(lIndex - 1)].oPicture;
}

void CImageList::Remove(std::int32_t lIndex) {
    CheckIndex(lIndex);
    const auto itRemoved = m_colImages.begin() + (lIndex - 1);
    if (!itRemoved->sKey.empty()) {
        m_colIndexByKey.erase(itRemoved->sKey);
    }
    m_colImages.erase(itRemoved);
    for (std::int32_t lMoved = lIndex; lMoved <= Count(); ++lMoved) {
        const std::string& sKey = m_colImages[static_cast<std::size_t>(lMoved - 1)].sKey;
        if (!sKey.empty()) {
            m_colIndexByKey[sKey] = lMoved;
        }
    }
    emit Changed();
}

void CImageList::Clear() {
    m_colImages.clear();
    m_colIndexByKey.clear();
    emit Changed();
}

void CImageList::CheckIndex(std::int32_t lIndex) const {
    if (lIndex < 1 || lIndex > Count()) {
        MControlErrors::Raise(MControlErrors::IndexOutOfBounds);
    }
}
