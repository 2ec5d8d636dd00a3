#pragma once

#include "platform/shell/CDateTime.h"

#include <functional>
#include <memory>
#include <string>

class CMonthCalendar;
class QObject;

// The Daily view's calendar: holds the calendar control and the repository path, sets and reads
// the date shown, marks the days of the shown month that have a day folder whenever the month
// or year on show changes, and passes every date change on to its owner.
class CCalendar {
public:
    CCalendar();
    ~CCalendar();
    CCalendar(const CCalendar&) = delete;
    CCalendar& operator=(const CCalendar&) = delete;

    std::string ClassName() const { return "CCalendar"; }

    CMonthCalendar* Calendar() const { return m_pCalendar; }
    void SetCalendar(CMonthCalendar* pCalendar);
    // <program folder>/Daily
    const std::string& DailyPath() const { return m_sDailyPath; }
    void SetDailyPath(const std::string& sDailyPath) { m_sDailyPath = sDailyPath; }

    // The calendar's date (the empty date before one was set).
    CDateTime Value() const;
    // Moves the calendar to the date; the control then raises its date change. The empty date
    // is refused (logged).
    void SetValue(const CDateTime& dValue);
    // Redraws the calendar.
    void Refresh();
    // Marks the shown month's days again (after new day folders were filed).
    void RefreshHighlights();

    // Event: the date changed (by the program or by the user).
    std::function<void(const CDateTime& dNewDate)> DateChange;

    // Handlers of the control's events.
    void Calendar_DateChange(const CDateTime& dOldDate, const CDateTime& dNewDate);
    void Calendar_WillChangeDate(const CDateTime& dOldDate, const CDateTime& dNewDate,
                                 bool& bCancel);

private:
    void HighlightDays(const CDateTime& dDate);

    CMonthCalendar* m_pCalendar = nullptr;
    std::unique_ptr<QObject> m_pConnections;
    std::string m_sDailyPath;
    std::string m_sShownMonth;
    std::string m_sShownYear;
};
