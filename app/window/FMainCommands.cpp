// FMain: the commands of the menus, the toolbar, the tray icon and the document lists. Each
// command is one action, shown in every menu and on the toolbar button that offers it.
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/resources/MResources.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/window/CStatusBarText.h"
#include "app/window/FMain.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMetaObject>
#include <QWhatsThis>

#include <algorithm>

namespace {
constexpr int PleaseWait = 155;

// A wait cursor with "Please wait..." on the status bar.
std::unique_ptr<CWaitCursor> Waiting(CStatusText& oStatus) {
    auto pWaitCursor = std::make_unique<CWaitCursor>();
    pWaitCursor->SetMessage(oStatus, MResources::LoadResString(PleaseWait));
    return pWaitCursor;
}

// Runs a command whose errors the user is told of, with its context phrase.
template <typename F>
void Reported(int iContext, const char* szSource, F&& fn) {
    try {
        fn();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, iContext, szSource);
    }
}

// Whether a tree node stands for a day: "K" + Daily + "/<yyyy>/<Month>/<dd>".
bool IsDayNode(const std::string& sNodeKey) {
    const std::string sDaily = "K" + MDayfold::AppPath() + "/Daily/";
    if (sNodeKey.compare(0, sDaily.size(), sDaily) != 0) {
        return false;
    }
    const std::string sBelow = sNodeKey.substr(sDaily.size());
    const size_t nLast = sBelow.rfind('/');
    return std::count(sBelow.begin(), sBelow.end(), '/') == 2 &&
           CRepository::IsDayName(sBelow.substr(nLast + 1));
}

// Runs a command whose errors are ignored.
template <typename F>
void Ignored(F&& fn) {
    try {
        fn();
    } catch (...) {
    }
}
} // namespace

// --- Program menu and tray menu ----------------------------------------------------------

void FMain::mnuDayfoldSuspend_Click() {
    Reported(m_iMenuContext, "FMain.mnuDayfoldSuspend_Click", [&] { SetActive(false); });
}

void FMain::mnuDayfoldSuspendHour_Click() {
    Reported(m_iMenuContext, "FMain.mnuDayfoldSuspendHour_Click", [&] { SuspendForAnHour(); });
}

void FMain::mnuDayfoldResume_Click() {
    Reported(m_iMenuContext, "FMain.mnuDayfoldResume_Click", [&] {
        EndTimedSuspension();
        SetActive(true);
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
    });
}

void FMain::mnuDayfoldHide_Click() {
    Reported(m_iMenuContext, "FMain.mnuDayfoldHide_Click", [&] {
        if (m_bTrayAvailable) {
            SetVisible(false);
        } else if (AskToExit()) {
            // Nothing could show the window again: hiding it is exiting.
            mnuDayfoldExit_Click();
        }
    });
}

void FMain::mnuDayfoldExit_Click() {
    Reported(m_iMenuContext, "FMain.mnuDayfoldExit_Click", [&] {
        m_bExiting = true;
        // Posted, as the close message is: the menu that chose it has closed by then.
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    });
}

void FMain::mnuTrayShow_Click() {
    Reported(135, "FMain.mnuTrayShow_Click", [&] { SetVisible(true); });
}

// --- View menu (the list menu shares the style and arrange actions) ----------------------

void FMain::mnuViewDaily_Click() {
    Ignored([&] {
        SetActiveView(ViewDaily);
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
    });
}

void FMain::mnuViewFavorites_Click() {
    Ignored([&] {
        SetActiveView(ViewFavorites);
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
    });
}

void FMain::mnuViewStyle_Click(int iStyle) {
    Reported(129, "FMain.mnuViewStyle_Click", [&] { SetListView(iStyle); });
}

void FMain::mnuViewArrange_Click(int iOrder) {
    Reported(128, "FMain.mnuViewArrange_Click",
             [&] { ArrangeIcons(static_cast<std::int16_t>(iOrder)); });
}

void FMain::mnuViewOptions_Click() {
    Ignored([&] { SetOptions(); });
}

// --- Tools menu and the folder buttons -----------------------------------------------------

void FMain::mnuToolsExplore_Click() {
    Reported(136, "FMain.mnuToolsExplore_Click", [&] {
        const auto pWaitCursor = Waiting(*m_pStatusText);
        Explore();
    });
}

void FMain::mnuToolsOpen_Click() {
    Reported(136, "FMain.mnuToolsOpen_Click", [&] {
        const auto pWaitCursor = Waiting(*m_pStatusText);
        OpenFolder();
    });
}

void FMain::mnuToolsRebuildFavorites_Click() {
    Reported(154, "FMain.mnuToolsRebuildFavorites_Click", [&] {
        auto pWaitCursor = Waiting(*m_pStatusText);
        RebuildAndSaveFavorites();
        RefreshFavorites();
        RefreshStatusBar(pWaitCursor);
    });
}

// --- Help menu and the help buttons --------------------------------------------------------

void FMain::mnuHelpTopics_Click() {
    Ignored([&] { DisplayHelp(0); });
}

void FMain::mnuHelpOnline_Click() {
    Ignored([&] { DisplayQuillonSoftOnline(); });
}

void FMain::mnuHelpAbout_Click() {
    Ignored([&] { DisplayAboutBox(); });
}

void FMain::mnuMainWindowHelp_Click() {
    Ignored([&] { DisplayHelp(33); });
}

void FMain::mnuWhatsThis_Click() {
    // The next click on a control shows that control's topic.
    Ignored([&] { QWhatsThis::enterWhatsThisMode(); });
}

// --- Context menus -------------------------------------------------------------------------

void FMain::mnuListOpen_Click() {
    Reported(125, "FMain.mnuListOpen_Click", [&] {
        auto pWaitCursor = Waiting(*m_pStatusText);
        const std::string sKey = ActiveSelectedDocument();
        if (!sKey.empty()) {
            OpenDocument(sKey);
        }
        RefreshStatusBar(pWaitCursor);
    });
}

void FMain::mnuTreePurge_Click() {
    Reported(137, "FMain.mnuTreePurge_Click", [&] {
        const std::string sDay = m_oDaily ? m_oDaily->SelectedDay() : std::string();
        if (!sDay.empty()) {
            PurgeDay(sDay);
        }
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
    });
}

// The toolbar: the view and style buttons run the commands of their menu items; the folder and
// help buttons are their actions' own buttons.
void FMain::sftToolbar_Click(int iIndex) {
    Ignored([&] {
        switch (iIndex) {
        case ButtonDailyView:
            m_oActions.pViewDaily->trigger();
            break;
        case ButtonFavoritesView:
            m_oActions.pViewFavorites->trigger();
            break;
        case ButtonLargeIconView:
        case ButtonSmallIconView:
        case ButtonListView:
        case ButtonDetailView:
            m_oActions.colStyle[static_cast<size_t>(iIndex - ButtonLargeIconView)]->trigger();
            break;
        default:
            break;
        }
    });
}

// --- The tray icon -------------------------------------------------------------------------

void FMain::tryMain_MouseUp(int iButton) {
    Reported(127, "FMain.tryMain_MouseUp", [&] {
        if (isVisible()) {
            activateWindow();
        }
        if (iButton == MInputCodes::LeftButton) {
            SetVisible(!isVisible());
        } else if (iButton == MInputCodes::RightButton) {
            // The default item (bold) is what a left click would do.
            m_mnuTray->setDefaultAction(isVisible() ? m_oActions.pHide : m_oActions.pShow);
            m_mnuTray->popup(QCursor::pos());
        }
    });
}

// --- Document list events ------------------------------------------------------------------

void FMain::m_oDaily_ListViewDblClick(const std::string& sItemKey) {
    Reported(125, "FMain.m_oDaily_ListViewDblClick", [&] {
        auto pWaitCursor = Waiting(*m_pStatusText);
        OpenDocument(sItemKey);
        RefreshStatusBar(pWaitCursor);
    });
}

void FMain::m_oDaily_ListViewItemClick() {
    Reported(126, "FMain.m_oDaily_ListViewItemClick", [&] { SetExploreOpen(true); });
}

void FMain::m_oDaily_ListViewPopupMenu(float fX, float fY) {
    Reported(127, "FMain.m_oDaily_ListViewPopupMenu", [&] { PopupAt(*m_mnuListView, fX, fY); });
}

void FMain::m_oFavorites_DblClick(const std::string& sItemKey) {
    Reported(125, "FMain.m_oFavorites_DblClick", [&] {
        auto pWaitCursor = Waiting(*m_pStatusText);
        OpenDocument(sItemKey);
        RefreshStatusBar(pWaitCursor);
    });
}

void FMain::m_oFavorites_ItemClick() {
    Reported(126, "FMain.m_oFavorites_ItemClick", [&] { SetExploreOpen(true); });
}

void FMain::m_oFavorites_PopupMenu(float fX, float fY) {
    Reported(127, "FMain.m_oFavorites_PopupMenu", [&] { PopupAt(*m_mnuListView, fX, fY); });
}

void FMain::m_oDaily_TreeViewPopupMenu(float fX, float fY, const std::string& sNodeKey) {
    Reported(127, "FMain.m_oDaily_TreeViewPopupMenu", [&] {
        if (!IsDayNode(sNodeKey)) {
            return;
        }
        // The menu acts on the day it was opened on: that day is selected and shown first.
        if (m_tvwMain->SelectedKey() != sNodeKey) {
            m_tvwMain->SetSelectedKey(sNodeKey);
            m_oDaily_TreeViewNodeClick(sNodeKey);
        }
        PopupAt(*m_mnuTree, fX, fY);
    });
}

void FMain::PopupAt(QMenu& oMenu, float fX, float fY) {
    const QPoint oPoint(MTwips::ToPixels(static_cast<std::int32_t>(fX)),
                        MTwips::ToPixels(static_cast<std::int32_t>(fY)));
    oMenu.popup(m_pClient->mapToGlobal(oPoint));
}

std::string FMain::ActiveSelectedDocument() const {
    if (SearchShown()) {
        return SearchSelectedDocument();
    }
    if (m_lActiveView == ViewFavorites) {
        return m_oFavorites ? m_oFavorites->SelectedDocument() : std::string();
    }
    return m_oDaily ? m_oDaily->SelectedDocument() : std::string();
}
