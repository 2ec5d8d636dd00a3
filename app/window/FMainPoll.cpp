// FMain: the timer and the capture of the Recent folder; the day tree is rebuilt only when a
// poll filed something.
#include "app/core/CAssert.h"
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/resources/MIcons.h"
#include "app/resources/MResources.h"
#include "app/window/CCalendar.h"
#include "app/window/CStatusBarText.h"
#include "app/window/FMain.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CTimer.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/controls/CTreeView.h"
#include "platform/shell/CRecentFeed.h"

#include <algorithm>

void FMain::tmrMain_Timer() {
    try {
        PollRecentFolder();
        auto pWaitCursor = std::make_unique<CWaitCursor>();
        RefreshStatusBar(pWaitCursor);
    } catch (...) {
        // The tick runs with errors ignored: the next one tries again.
    }
}

void FMain::PollRecentFolder() {
    auto pWaitCursor = std::make_unique<CWaitCursor>();
    pWaitCursor->SetMessage(*m_pStatusText, MResources::LoadResString(155));
    try {
        m_tmrMain->SetEnabled(false);
        m_tryMain->SetTrayIcon(QIcon(QString::fromLatin1(MIcons::TrayBusy)));
        if (m_pRecentFeed) {
            m_pRecentFeed->Update();
        }
        GetShortcuts();
        if (m_oCapture.DailyChanged()) {
            RefreshDaily();
            RefreshFavorites();
            m_oCapture.SetDailyChanged(false);
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 141, "FMain.PollRecentFolder");
    }
    // Also after a failure: a failed poll must not stop the capture for good.
    m_tryMain->SetTrayIcon(QIcon(QString::fromLatin1(MIcons::TrayIdle)));
    m_tmrMain->SetEnabled(true);
}

void FMain::GetShortcuts() {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sRecentFolder),
                              "FMain.GetShortcuts: Recent folder is missing");
    try {
        m_oCapture.GetShortcuts();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.GetShortcuts", false);
    }
}

void FMain::ProcessShortcut(CShortcut& oShortcut) {
    try {
        m_oCapture.ProcessShortcut(oShortcut);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.ProcessShortcut", false);
    }
}

void FMain::RefreshDaily() {
    try {
        ++m_iDailyRebuilds;
        const std::string sNodeKey = m_tvwMain->SelectedKey();
        m_tvwMain->Clear();
        const std::string sItemKey = m_lvwDaily->SelectedKey();
        const int iSortKey = m_lvwDaily->SortKey();
        const int iSortOrder = m_lvwDaily->SortOrder();
        m_lvwDaily->ClearItems();

        const std::string sDailyPath = MDayfold::AppPath() + "/Daily";
        const std::string sRootKey = "K" + sDailyPath;
        m_tvwMain->AddNode("", sRootKey, MResources::LoadResString(116), 1);
        LoadDailyTreeViewFolder(sDailyPath, 2);
        m_tvwMain->SetExpanded(sRootKey, true);

        if (!sNodeKey.empty() && m_tvwMain->Contains(sNodeKey)) {
            m_tvwMain->SetSelectedKey(sNodeKey);
            m_lvwDaily->SetSortKey(iSortKey);
            m_lvwDaily->SetSortOrder(iSortOrder);
            m_lvwDaily->SetSorted(true);
            LoadDailyListView(m_tvwMain->SelectedKey());
            if (!sItemKey.empty() && m_lvwDaily->Contains(sItemKey)) {
                m_lvwDaily->SetSelectedKey(sItemKey);
            }
        } else {
            // The day is gone (purged) or none was chosen: the list stays empty.
            m_lvwDaily->SetSortKey(iSortKey);
            m_lvwDaily->SetSortOrder(iSortOrder);
            m_lvwDaily->SetSorted(true);
            LoadDailyListView("");
        }
        // New day folders show on the calendar at once, not only when its month changes.
        if (m_oCalendar) {
            m_oCalendar->RefreshHighlights();
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.RefreshDaily", false);
    }
}

void FMain::SetTimerInterval(std::int32_t lSeconds) {
    MDayfold::Assert().Assert(lSeconds >= 1 && lSeconds <= 60,
                              "FMain.SetTimerInterval: Timer interval out of range");
    const std::int32_t lClamped = std::clamp<std::int32_t>(lSeconds, 1, 60);
    m_tmrMain->SetInterval(lClamped * 1000);
}
