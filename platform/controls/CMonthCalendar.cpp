#include "platform/controls/CMonthCalendar.h"

#include "platform/controls/MControlErrors.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QMenu>
#include <QTextCharFormat>
#include <QToolButton>

namespace {

QDate ToDate(const CDateTime& dValue) {
    return QDate(dValue.Year(), dValue.Month(), dValue.Day());
}

CDateTime FromDate(const QDate& oDate) {
    return CDateTime::FromParts(oDate.year(), oDate.month(), oDate.day());
}

void CheckDay(int iDay) {
    if (iDay < 1 || iDay > 31) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
}

} // namespace

CMonthCalendar::CMonthCalendar(QWidget* pParent)
    : QWidget(pParent), m_pCalendar(new QCalendarWidget(this)) {
    m_pCalendar->setGridVisible(false);
    m_pCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_pCalendar->setDateEditEnabled(false);
    connect(m_pCalendar, &QCalendarWidget::selectionChanged, this,
            &CMonthCalendar::Calendar_SelectionChanged);
    connect(m_pCalendar, &QCalendarWidget::currentPageChanged, this,
            &CMonthCalendar::Calendar_PageChanged);
    setFocusProxy(m_pCalendar);
    m_pMonthButton =
        m_pCalendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    m_pYearButton = m_pCalendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    if (m_pMonthButton != nullptr) {
        m_pMonthMenu = m_pMonthButton->menu();
        m_pMonthButton->installEventFilter(this);
    }
    if (m_pYearButton != nullptr) {
        m_pYearButton->installEventFilter(this);
    }
    ApplyReadOnly();
}

void CMonthCalendar::SetMonthReadOnly(bool bReadOnly) {
    m_bMonthReadOnly = bReadOnly;
    ApplyReadOnly();
}

void CMonthCalendar::SetYearReadOnly(bool bReadOnly) {
    m_bYearReadOnly = bReadOnly;
    ApplyReadOnly();
}

void CMonthCalendar::ApplyReadOnly() {
    // A read-only part looks like a plain title: no menu arrow, no raised frame under the
    // pointer.
    const auto fApply = [](QToolButton* pButton, bool bReadOnly) {
        if (pButton != nullptr) {
            pButton->setAttribute(Qt::WA_TransparentForMouseEvents, bReadOnly);
        }
    };
    fApply(m_pMonthButton, m_bMonthReadOnly);
    fApply(m_pYearButton, m_bYearReadOnly);
    if (m_pMonthButton != nullptr) {
        m_pMonthButton->setMenu(m_bMonthReadOnly ? nullptr : m_pMonthMenu.data());
    }
}

bool CMonthCalendar::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const bool bReadOnly = (pWatched == m_pMonthButton && m_bMonthReadOnly) ||
                           (pWatched == m_pYearButton && m_bYearReadOnly);
    if (bReadOnly) {
        switch (pEvent->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CMonthCalendar::SetValue(const CDateTime& dValue) {
    if (dValue.IsEmpty()) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    const CDateTime dOld = m_dValue;
    const CDateTime dNew = dValue.DatePart();
    Show(ToDate(dNew));
    if (dNew != dOld) {
        m_dValue = dNew;
        emit DateChange(dOld, dNew);
    }
}

bool CMonthCalendar::Highlight(int iDay) const {
    CheckDay(iDay);
    return m_colHighlight[static_cast<std::size_t>(iDay - 1)];
}

void CMonthCalendar::SetHighlight(int iDay, bool bHighlight) {
    CheckDay(iDay);
    bool& bFlag = m_colHighlight[static_cast<std::size_t>(iDay - 1)];
    if (bFlag != bHighlight) {
        bFlag = bHighlight;
        ApplyHighlights();
    }
}

void CMonthCalendar::Refresh() {
    ApplyHighlights();
    m_pCalendar->repaint();
}

int CMonthCalendar::ShownMonth() const {
    return m_pCalendar->monthShown();
}

int CMonthCalendar::ShownYear() const {
    return m_pCalendar->yearShown();
}

void CMonthCalendar::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    m_pCalendar->setGeometry(rect());
    FitToSize();
}

void CMonthCalendar::changeEvent(QEvent* pEvent) {
    QWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::FontChange) {
        FitToSize();
    }
}

void CMonthCalendar::FitToSize() {
    // The window gives the calendar a small frame; rather than cut off the last column and
    // row, use short day names, then single letters, then a smaller type, down to 7 points.
    const auto fFits = [this] {
        const QSize oNeeded = m_pCalendar->minimumSizeHint();
        return oNeeded.width() <= width() && oNeeded.height() <= height();
    };
    QFont oFont = font();
    const qreal dPoints = oFont.pointSizeF();
    m_pCalendar->setFont(oFont);
    m_pCalendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    if (fFits()) {
        return;
    }
    m_pCalendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    for (qreal dSmaller = dPoints - 1; !fFits() && dSmaller >= 7; dSmaller -= 1) {
        oFont.setPointSizeF(dSmaller);
        m_pCalendar->setFont(oFont);
    }
}

void CMonthCalendar::Calendar_SelectionChanged() {
    if (!m_bShowing) {
        UserChange(m_pCalendar->selectedDate());
    }
}

void CMonthCalendar::Calendar_PageChanged(int iYear, int iMonth) {
    ApplyHighlights();
    if (m_bShowing) {
        return;
    }
    const QDate oSelected = m_pCalendar->selectedDate();
    if (oSelected.year() == iYear && oSelected.month() == iMonth) {
        // A day of a neighbouring month was picked: the page followed the date.
        UserChange(oSelected);
        return;
    }
    // Paged: the same day of the new month, or its last day.
    const int iDay = m_dValue.IsEmpty() ? oSelected.day() : m_dValue.Day();
    const QDate oFirst(iYear, iMonth, 1);
    UserChange(QDate(iYear, iMonth, std::min(iDay, oFirst.daysInMonth())));
}

void CMonthCalendar::UserChange(const QDate& oDate) {
    const CDateTime dOld = m_dValue;
    const CDateTime dNew = FromDate(oDate);
    if (dNew == dOld) {
        Show(oDate);
        return;
    }
    bool bCancel = false;
    emit WillChangeDate(dOld, dNew, bCancel);
    if (bCancel) {
        // Back to the date kept (for no date yet, to where the calendar was opened).
        Show(dOld.IsEmpty() ? QDate::currentDate() : ToDate(dOld));
        return;
    }
    Show(oDate);
    m_dValue = dNew;
    emit DateChange(dOld, dNew);
}

void CMonthCalendar::Show(const QDate& oDate) {
    const bool bWasShowing = m_bShowing;
    m_bShowing = true;
    m_pCalendar->setSelectedDate(oDate);
    m_pCalendar->setCurrentPage(oDate.year(), oDate.month());
    m_bShowing = bWasShowing;
}

void CMonthCalendar::ApplyHighlights() {
    m_pCalendar->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat oMarked;
    oMarked.setFontWeight(QFont::Bold);
    QColor oTint = palette().color(QPalette::Highlight);
    oTint.setAlpha(60);
    oMarked.setBackground(oTint);
    const QDate oFirst(ShownYear(), ShownMonth(), 1);
    for (int iDay = 1; iDay <= oFirst.daysInMonth(); ++iDay) {
        if (m_colHighlight[static_cast<std::size_t>(iDay - 1)]) {
            m_pCalendar->setDateTextFormat(oFirst.addDays(iDay - 1), oMarked);
        }
    }
}
