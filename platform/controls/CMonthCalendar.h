#pragma once

#include "platform/shell/CDateTime.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QCalendarWidget;
class QEvent;
class QMenu;
class QToolButton;
class QResizeEvent;

// A month calendar: shows one month, lets the user page months and pick a day, holds a date,
// and marks the days whose highlight flag is set (bold, on a tinted square).
//
// Value is empty (no date) until the program or the user sets one, so the first date set
// always raises DateChange. Paging to another month (the arrows, the month menu, the year
// box, Page Up/Down) moves the date to the same day of the shown month, or to its last day
// when the month is shorter (31 January pages to 28 or 29 February), and raises DateChange
// like any other change. The highlight flags belong to the control, not to a month: paging
// keeps them, and the owner clears and sets them for the month now shown.
//
// In a small frame it shortens the day names to single letters, then takes a smaller type
// (down to 7 points), so the whole month stays in view.
//
// The month name and the year in the title only show the month on show while MonthReadOnly and
// YearReadOnly are set (as they are from the start): the month is then paged with the arrows
// and Page Up/Down, never picked from a menu, and the year is never typed.
class CMonthCalendar : public QWidget {
    Q_OBJECT

public:
    explicit CMonthCalendar(QWidget* pParent = nullptr);

    // The date (its day; the time of day is dropped), or the empty date before any was set.
    CDateTime Value() const { return m_dValue; }
    // Shows the date's month with the day selected. Raises DateChange when the date differs
    // from the current one (no WillChangeDate: the program's own change is not asked about).
    // The empty date raises 380 "Invalid property value" and changes nothing.
    void SetValue(const CDateTime& dValue);

    // The highlight flag of day iDay (1..31) of the shown month; another day raises 380.
    // Days past the end of the shown month are never drawn.
    bool Highlight(int iDay) const;
    void SetHighlight(int iDay, bool bHighlight);
    // Redraws at once.
    void Refresh();

    // The month (1..12) and year on show.
    int ShownMonth() const;
    int ShownYear() const;

    bool MonthReadOnly() const { return m_bMonthReadOnly; }
    void SetMonthReadOnly(bool bReadOnly);
    bool YearReadOnly() const { return m_bYearReadOnly; }
    void SetYearReadOnly(bool bReadOnly);

signals:
    // The user is about to change the date; a handler may set bCancel to keep the old one.
    void WillChangeDate(CDateTime dOldDate, CDateTime dNewDate, bool& bCancel);
    // The date changed, by the program or by the user.
    void DateChange(CDateTime dOldDate, CDateTime dNewDate);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    // Keeps the clicks and keys off the month name and the year while they are read-only.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void FitToSize();
    void Calendar_SelectionChanged();
    void Calendar_PageChanged(int iYear, int iMonth);
    void UserChange(const QDate& oDate);
    void Show(const QDate& oDate);
    void ApplyHighlights();
    void ApplyReadOnly();

    QCalendarWidget* m_pCalendar;
    CDateTime m_dValue;
    std::array<bool, 31> m_colHighlight{};
    // Set while the control moves the calendar itself, so its signals are not taken for the
    // user's.
    bool m_bShowing = false;
    bool m_bMonthReadOnly = true;
    bool m_bYearReadOnly = true;
    // The title's month name (with its menu of months) and year (which turns into a spin box).
    QToolButton* m_pMonthButton = nullptr;
    QToolButton* m_pYearButton = nullptr;
    QPointer<QMenu> m_pMonthMenu;
};
