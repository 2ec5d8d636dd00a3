#include "platform/controls/CYearGrid.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {
constexpr int CellSize = 11;
constexpr int CellPitch = 13;
constexpr int Margin = 6;
constexpr int LegendGap = 8;

// The names of the grid are English, as the day folders' are.
const QLocale& Names() {
    static const QLocale oLocale(QLocale::English, QLocale::UnitedStates);
    return oLocale;
}
} // namespace

CYearGrid::CYearGrid(QWidget* pParent) : QWidget(pParent) {
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

CYearGrid::~CYearGrid() = default;

void CYearGrid::SetDays(const QDate& dFirst, std::vector<std::int32_t> vCounts) {
    m_dFirst = dFirst;
    m_vCounts = std::move(vCounts);
    m_lMaximum = m_vCounts.empty() ? 0 : *std::max_element(m_vCounts.begin(), m_vCounts.end());
    updateGeometry();
    update();
}

QDate CYearGrid::LastDay() const {
    return m_dFirst.isValid() && !m_vCounts.empty()
               ? m_dFirst.addDays(static_cast<qint64>(m_vCounts.size()) - 1)
               : QDate();
}

std::int32_t CYearGrid::Count(const QDate& dDay) const {
    if (!m_dFirst.isValid() || !dDay.isValid()) {
        return 0;
    }
    const qint64 llIndex = m_dFirst.daysTo(dDay);
    return llIndex >= 0 && llIndex < static_cast<qint64>(m_vCounts.size())
               ? m_vCounts[static_cast<size_t>(llIndex)]
               : 0;
}

int CYearGrid::Level(const QDate& dDay) const {
    const std::int32_t lCount = Count(dDay);
    if (lCount <= 0 || m_lMaximum <= 0) {
        return 0;
    }
    // The largest count gets the darkest shade; every count above none at least the lightest.
    const std::int64_t llLevel =
        (static_cast<std::int64_t>(lCount) * (Levels - 1) + m_lMaximum - 1) / m_lMaximum;
    return static_cast<int>(std::clamp<std::int64_t>(llLevel, 1, Levels - 1));
}

QDate CYearGrid::FirstMonday() const {
    return m_dFirst.isValid() ? m_dFirst.addDays(1 - m_dFirst.dayOfWeek()) : QDate();
}

int CYearGrid::Weeks() const {
    const QDate dLast = LastDay();
    return dLast.isValid() ? static_cast<int>(FirstMonday().daysTo(dLast) / 7) + 1 : 0;
}

int CYearGrid::LabelWidth() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("Wed")) + 6;
}

int CYearGrid::LabelHeight() const {
    return fontMetrics().height() + 2;
}

QRect CYearGrid::CellRect(const QDate& dDay) const {
    const QDate dLast = LastDay();
    if (!dLast.isValid() || !dDay.isValid() || dDay < m_dFirst || dDay > dLast) {
        return {};
    }
    const int iWeek = static_cast<int>(FirstMonday().daysTo(dDay) / 7);
    const int iRow = dDay.dayOfWeek() - 1;
    return {Margin + LabelWidth() + iWeek * CellPitch, Margin + LabelHeight() + iRow * CellPitch,
            CellSize, CellSize};
}

QDate CYearGrid::DayAt(const QPoint& oPoint) const {
    const int iX = oPoint.x() - Margin - LabelWidth();
    const int iY = oPoint.y() - Margin - LabelHeight();
    if (iX < 0 || iY < 0 || iX % CellPitch >= CellSize || iY % CellPitch >= CellSize ||
        iY / CellPitch >= 7 || iX / CellPitch >= Weeks()) {
        return {};
    }
    const QDate dDay = FirstMonday().addDays(iX / CellPitch * 7 + iY / CellPitch);
    return dDay >= m_dFirst && dDay <= LastDay() ? dDay : QDate();
}

void CYearGrid::SetTexts(const STexts& oTexts) {
    m_oTexts = oTexts;
    update();
}

QString CYearGrid::ToolTipText(const QDate& dDay, std::int32_t lCount) {
    return ToolTipText(dDay, lCount, STexts());
}

QString CYearGrid::ToolTipText(const QDate& dDay, std::int32_t lCount, const STexts& oTexts) {
    const QString sDay = Names().toString(dDay, QStringLiteral("dddd, MMMM d, yyyy"));
    if (lCount <= 0) {
        return oTexts.sNoDocuments.arg(sDay);
    }
    return lCount == 1 ? oTexts.sOneDocument.arg(sDay)
                       : oTexts.sDocuments.arg(QString::number(lCount), sDay);
}

QSize CYearGrid::sizeHint() const {
    const int iWeeks = std::max(Weeks(), 53);
    return {2 * Margin + LabelWidth() + iWeeks * CellPitch,
            2 * Margin + LabelHeight() + 7 * CellPitch + LegendGap + LabelHeight()};
}

QSize CYearGrid::minimumSizeHint() const {
    return sizeHint();
}

QColor CYearGrid::Shade(int iLevel) const {
    // A day without documents lighter than the lightest shade, yet set off from the window.
    if (iLevel <= 0) {
        return palette().color(QPalette::Base).darker(112);
    }
    // From a light tint of the highlight to the highlight itself.
    const QColor oFull = palette().color(QPalette::Highlight);
    const QColor oBase = palette().color(QPalette::Base);
    const double dShare = 0.25 + 0.75 * (iLevel - 1) / (Levels - 2);
    const auto Mix = [dShare](int iFrom, int iTo) {
        return static_cast<int>(iFrom + (iTo - iFrom) * dShare + 0.5);
    };
    return {Mix(oBase.red(), oFull.red()), Mix(oBase.green(), oFull.green()),
            Mix(oBase.blue(), oFull.blue())};
}

void CYearGrid::paintEvent(QPaintEvent*) {
    QPainter oPainter(this);
    oPainter.fillRect(rect(), palette().color(QPalette::Window));
    const QColor oText = palette().color(QPalette::WindowText);
    const int iLabelHeight = LabelHeight();
    const int iTop = Margin + iLabelHeight;
    const int iLeft = Margin + LabelWidth();
    oPainter.setPen(oText);
    // Monday, Wednesday and Friday are named, as the rows are too narrow for every name.
    for (int iRow : {0, 2, 4}) {
        const QRect oLabel(Margin, iTop + iRow * CellPitch - 2, LabelWidth() - 4, CellSize + 4);
        oPainter.drawText(oLabel, Qt::AlignLeft | Qt::AlignVCenter,
                          Names().dayName(iRow + 1, QLocale::ShortFormat));
    }
    const QDate dLast = LastDay();
    if (!dLast.isValid()) {
        return;
    }
    // A month's name over the first week that holds its first day, when there is room for it.
    int iNextLabelX = 0;
    for (QDate dDay = m_dFirst; dDay <= dLast; dDay = dDay.addDays(1)) {
        const QRect oCell = CellRect(dDay);
        oPainter.fillRect(oCell, Shade(Level(dDay)));
        if ((dDay.day() == 1 || dDay == m_dFirst) && oCell.x() >= iNextLabelX) {
            const QString sMonth = Names().monthName(dDay.month(), QLocale::ShortFormat);
            const QRect oLabel(oCell.x(), Margin, 4 * CellPitch, iLabelHeight);
            // The first week's label gives way to the next month's when it would run into it.
            if (dDay != m_dFirst || dDay.addDays(14).month() == dDay.month()) {
                oPainter.drawText(oLabel, Qt::AlignLeft | Qt::AlignTop, sMonth);
                iNextLabelX = oCell.x() + fontMetrics().horizontalAdvance(sMonth) + 4;
            }
        }
    }
    // The legend, right-aligned under the grid.
    const int iLegendTop = iTop + 7 * CellPitch + LegendGap;
    const QString& sLess = m_oTexts.sLess;
    const QString& sMore = m_oTexts.sMore;
    const int iGridRight = iLeft + Weeks() * CellPitch - (CellPitch - CellSize);
    int iX = iGridRight - fontMetrics().horizontalAdvance(sMore);
    oPainter.drawText(QRect(iX, iLegendTop, width() - iX, iLabelHeight),
                      Qt::AlignLeft | Qt::AlignVCenter, sMore);
    iX -= 4 + Levels * CellPitch;
    for (int iLevel = 0; iLevel < Levels; ++iLevel) {
        oPainter.fillRect(QRect(iX + iLevel * CellPitch, iLegendTop + (iLabelHeight - CellSize) / 2,
                                CellSize, CellSize),
                          Shade(iLevel));
    }
    const int iLessWidth = fontMetrics().horizontalAdvance(sLess);
    oPainter.drawText(QRect(iX - 4 - iLessWidth, iLegendTop, iLessWidth, iLabelHeight),
                      Qt::AlignRight | Qt::AlignVCenter, sLess);
}

bool CYearGrid::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::ToolTip) {
        const auto* pHelp = static_cast<QHelpEvent*>(pEvent);
        const QDate dDay = DayAt(pHelp->pos());
        if (dDay.isValid()) {
            QToolTip::showText(pHelp->globalPos(), ToolTipText(dDay, Count(dDay), m_oTexts), this,
                               CellRect(dDay));
        } else {
            QToolTip::hideText();
            pEvent->ignore();
        }
        return true;
    }
    return QWidget::event(pEvent);
}

void CYearGrid::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        const QDate dDay = DayAt(pEvent->position().toPoint());
        if (dDay.isValid()) {
            emit DayClick(dDay);
        }
    }
    QWidget::mouseReleaseEvent(pEvent);
}
