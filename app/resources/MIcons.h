#pragma once

#include <vector>

// The program's pictures in its Qt resource, by stable path. Each is an SVG drawn on a
// 16-pixel grid (the program icon and the large document picture on a 32-pixel grid) with a
// transparent background, so it renders crisply at 16 and 32 pixels.
namespace MIcons {

// Registers the resource with Qt. The pictures live in a static library, whose resource the
// linker would otherwise drop: the executable calls this once after creating its
// QApplication. Calling it again does nothing.
void InitResources();

// The program icon (also installed into the hicolor theme as "dayfold").
constexpr const char* Program = ":/icons/dayfold.svg";

// The tray icon: idle, busy (loading or polling), suspended.
constexpr const char* TrayIdle = ":/icons/tray/idle.svg";
constexpr const char* TrayBusy = ":/icons/tray/busy.svg";
constexpr const char* TraySuspended = ":/icons/tray/suspended.svg";

// The toolbar buttons, left to right.
constexpr const char* DailyView = ":/icons/toolbar/daily-view.svg";
constexpr const char* FavoritesView = ":/icons/toolbar/favorites-view.svg";
constexpr const char* ExploreFolder = ":/icons/toolbar/explore-folder.svg";
constexpr const char* OpenFolder = ":/icons/toolbar/open-folder.svg";
constexpr const char* LargeIconView = ":/icons/toolbar/large-icon-view.svg";
constexpr const char* SmallIconView = ":/icons/toolbar/small-icon-view.svg";
constexpr const char* ListView = ":/icons/toolbar/list-view.svg";
constexpr const char* DetailView = ":/icons/toolbar/detail-view.svg";
constexpr const char* MainWindowHelp = ":/icons/toolbar/main-window-help.svg";
constexpr const char* WhatsThisHelp = ":/icons/toolbar/whats-this-help.svg";

// The day tree's images by level: the Daily root, a year, a month, a day (16 pixels).
constexpr const char* TreeDaily = ":/icons/tree/daily.svg";
constexpr const char* TreeYear = ":/icons/tree/year.svg";
constexpr const char* TreeMonth = ":/icons/tree/month.svg";
constexpr const char* TreeDay = ":/icons/tree/day.svg";

// The generic document picture, the document lists' fallback icon: drawn for 32 and for 16
// pixels.
constexpr const char* Document32 = ":/icons/document/generic-32.svg";
constexpr const char* Document16 = ":/icons/document/generic-16.svg";

// Every picture above.
const std::vector<const char*>& All();

} // namespace MIcons
