#include "app/window/CCalendar.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "platform/controls/CMonthCalendar.h"
#include "platform/errors/CRunTimeError.h"

#include <QObject>

#include <cstdio>
#include <filesystem>

CCalendar::CCalendar() = default;
CCalendar::~CCalendar() = default;

void CCalendar::SetCalendar(CMonthCalendar* pCalendar) {
    m_pConnections.reset();
    m_pCalendar = pCalendar;
    if (pCalendar == nullptr) {
        return;
    }
    m_pConnections = std::make_unique<QObject>();
    QObject::connect(pCalendar, &CMonthCalendar::DateChange, m_pConnections.get(),
                     [this](CDateTime dOld, CDateTime dNew) { Calendar_DateChange(dOld, dNew); });
    QObject::connect(pCalendar, &CMonthCalendar::WillChangeDate, m_pConnections.get(),
                     [this](CDateTime dOld, CDateTime dNew, bool& bCancel) {
                         Calendar_WillChangeDate(dOld, dNew, bCancel);
                     });
}

CDateTime CCalendar::Value() const {
    MDayfold::Assert().Assert(m_pCalendar != nullptr, "CCalendar.Value: Calendar is Nothing");
    return m_pCalendar != nullptr ? m_pCalendar->Value() : CDateTime();
}

void CCalendar::SetValue(const CDateTime& dValue) {
    MDayfold::Assert().Assert(!dValue.IsEmpty(), "CCalendar.Value: Invalid date");
    MDayfold::Assert().Assert(m_pCalendar != nullptr, "CCalendar.Value: Calendar is Nothing");
    try {
        if (m_pCalendar == nullptr) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        m_pCalendar->SetValue(dValue);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CCalendar.Value", false);
    }
}

void CCalendar::Refresh() {
    MDayfold::Assert().Assert(m_pCalendar != nullptr, "CCalendar.Refresh: Calendar is Nothing");
    if (m_pCalendar != nullptr) {
        m_pCalendar->Refresh();
    }
}

void CCalendar::RefreshHighlights() {
    const CDateTime dShown = Value();
    if (!dShown.IsEmpty()) {
        HighlightDays(dShown);
    }
}

void CCalendar::Calendar_DateChange(const CDateTime&, const CDateTime& dNewDate) {
    try {
        const std::string sMonth = dNewDate.IsEmpty() ? std::string() : dNewDate.MonthName();
        const std::string sYear = dNewDate.IsEmpty() ? std::string() : dNewDate.YearText();
        bool bChanged = false;
        if (sMonth != m_sShownMonth) {
            m_sShownMonth = sMonth;
            bChanged = true;
        }
        if (sYear != m_sShownYear) {
            m_sShownYear = sYear;
            bChanged = true;
        }
        if (bChanged) {
            HighlightDays(dNewDate);
        }
        if (DateChange) {
            DateChange(dNewDate);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CCalendar.Calendar_DateChange", false);
    }
}

void CCalendar::Calendar_WillChangeDate(const CDateTime&, const CDateTime&, bool&) {
    // Every change is allowed.
}

void CCalendar::HighlightDays(const CDateTime& dDate) {
    MDayfold::Assert().Assert(!dDate.IsEmpty(), "CCalendar.HighlightDays: Invalid date");
    MDayfold::Assert().Assert(m_pCalendar != nullptr,
                              "CCalendar.HighlightDays: Calendar is Nothing");
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sDailyPath),
                              "CCalendar.HighlightDays: DailyPath is missing");
    try {
        if (m_pCalendar == nullptr) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        for (int iDay = 1; iDay <= 31; ++iDay) {
            m_pCalendar->SetHighlight(iDay, false);
        }
        if (!dDate.IsEmpty() && !MDayfold::IsBlank(m_sDailyPath)) {
            // An entry of the name counts, folder or not: a day folder is what the user made
            // of it, and an empty one still marks its day.
            std::error_code ec;
            const std::string sYear = m_sDailyPath + "/" + dDate.YearText();
            const std::string sMonth = sYear + "/" + dDate.MonthName();
            if (std::filesystem::exists(sYear, ec) && std::filesystem::exists(sMonth, ec)) {
                for (int iDay = 1; iDay <= 31; ++iDay) {
                    char szDay[4];
                    std::snprintf(szDay, sizeof szDay, "%02d", iDay);
                    if (std::filesystem::exists(sMonth + "/" + szDay, ec)) {
                        m_pCalendar->SetHighlight(iDay, true);
                    }
                }
            }
        }
        m_pCalendar->Refresh();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CCalendar.HighlightDays", false);
    }
}
