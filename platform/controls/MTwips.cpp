#include "platform/controls/MTwips.h"

#include <QWidget>

#include <algorithm>

namespace MTwips {

std::int32_t Left(const QWidget& oWidget) {
    return FromPixels(oWidget.geometry().x());
}

std::int32_t Top(const QWidget& oWidget) {
    return FromPixels(oWidget.geometry().y());
}

std::int32_t Width(const QWidget& oWidget) {
    return FromPixels(oWidget.width());
}

std::int32_t Height(const QWidget& oWidget) {
    return FromPixels(oWidget.height());
}

void Move(QWidget& oWidget, std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth,
          std::int32_t lHeight) {
    oWidget.setGeometry(ToPixels(lLeft), ToPixels(lTop), std::max(ToPixels(lWidth), 0),
                        std::max(ToPixels(lHeight), 0));
}

} // namespace MTwips
