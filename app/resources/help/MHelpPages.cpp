#include "app/resources/help/MHelpPages.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares a function of the global namespace: it is called from here, at
// file scope, not from inside a namespace.
static bool RegisterHelpPages() {
    Q_INIT_RESOURCE(help);
    return true;
}

namespace MHelpPages {
QString Folder() {
    static const bool bRegistered = RegisterHelpPages();
    (void)bRegistered;
    return QStringLiteral(":/help");
}
} // namespace MHelpPages
