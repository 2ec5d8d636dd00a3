#include "app/resources/MIcons.h"

#include <QtCore/qglobal.h>

#include <mutex>

// Q_INIT_RESOURCE names a function of the global namespace, so it is called from here.
static void InitDayfoldIconsResource() {
    Q_INIT_RESOURCE(dayfold_icons);
}

namespace MIcons {

void InitResources() {
    static std::once_flag oOnce;
    std::call_once(oOnce, InitDayfoldIconsResource);
}

const std::vector<const char*>& All() {
    static const std::vector<const char*> colAll = {
        Program,       TrayIdle,      TrayBusy,       TraySuspended, DailyView,
        FavoritesView, ExploreFolder, OpenFolder,     LargeIconView, SmallIconView,
        ListView,      DetailView,    MainWindowHelp, WhatsThisHelp, TreeDaily,
        TreeYear,      TreeMonth,     TreeDay,        Document32,    Document16,
    };
    return colAll;
}

} // namespace MIcons
