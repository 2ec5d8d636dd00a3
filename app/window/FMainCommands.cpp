// FMain: the commands of the menus, the toolbar, the tray icon and the document lists. Each
// command is one action, shown in every menu and on the toolbar button that offers it; its
// slot here is where the command's handler goes.
#include "app/window/FMain.h"

#include <QAction>

// Program menu and tray menu.
void FMain::mnuDayfoldSuspend_Click() {
    // Suspend: SetActive(false).
}
void FMain::mnuDayfoldResume_Click() {
    // Resume: SetActive(true), then the status refresh.
}
void FMain::mnuDayfoldHide_Click() {
    // Hide: SetVisible(false).
}
void FMain::mnuDayfoldExit_Click() {
    // Exit: set the exiting flag, then close the window (it unloads instead of hiding).
}
void FMain::mnuTrayShow_Click() {
    // Show: SetVisible(true).
}

// View menu (the list menu shares the style and arrange actions).
void FMain::mnuViewDaily_Click() {
    // Daily: SetActiveView(ViewDaily), then the status refresh.
}
void FMain::mnuViewFavorites_Click() {
    // Favorites: SetActiveView(ViewFavorites), then the status refresh.
}
void FMain::mnuViewStyle_Click(int) {
    // Large icons, small icons, list, details: SetListView(0..3).
}
void FMain::mnuViewArrange_Click(int) {
    // By name, by type, auto arrange: ArrangeIcons(0, 1, 3).
}
void FMain::mnuViewOptions_Click() {
    // Options: SetOptions().
}

// Tools menu.
void FMain::mnuToolsExplore_Click() {
    // Explore: the Daily view's Explore, under a wait cursor with "Please wait...".
}
void FMain::mnuToolsOpen_Click() {
    // Open: the Daily view's OpenFolder, under a wait cursor with "Please wait...".
}
void FMain::mnuToolsRebuildFavorites_Click() {
    // Rebuild Favorites: RebuildFavorites, RefreshFavorites and the status refresh.
}

// Help menu and the help buttons.
void FMain::mnuHelpTopics_Click() {
    // Help Topics: the help's contents.
}
void FMain::mnuHelpOnline_Click() {
    // QuillonSoft Online: the maker's web page.
}
void FMain::mnuHelpAbout_Click() {
    // About: the about box.
}
void FMain::mnuMainWindowHelp_Click() {
    // Main Window Help: help topic 33.
}
void FMain::mnuWhatsThis_Click() {
    // What's This Help: the next click on a control opens its topic.
}

// Context menus.
void FMain::mnuListOpen_Click() {
    // Open: opens the selected document.
}
void FMain::mnuTreePurge_Click() {
    // Purge: purges the selected day.
}

// The toolbar: the view and style buttons run the commands of their menu items; the folder and
// help buttons are their actions' own buttons.
void FMain::sftToolbar_Click(int iIndex) {
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
}

// The tray icon.
void FMain::tryMain_MouseUp(int) {
    // Left button: show or hide the window; right button: the tray menu at the pointer.
}

// Document list events.
void FMain::m_oDaily_ListViewDblClick(const std::string&) {
    // Opens the document.
}
void FMain::m_oDaily_ListViewItemClick() {
    // A document is selected: SetExploreOpen(true).
}
void FMain::m_oDaily_ListViewPopupMenu(float, float) {
    // The list menu at the position.
}
void FMain::m_oFavorites_DblClick(const std::string&) {
    // Opens the document.
}
void FMain::m_oFavorites_ItemClick() {
    // A document is selected: SetExploreOpen(true).
}
void FMain::m_oFavorites_PopupMenu(float, float) {
    // The list menu at the position.
}
