#include "MGuiApplication.h"

#include <QGuiApplication>

#include <cstdlib>

namespace MGuiApplication {

void Ensure() {
    static int iArgc = 1;
    static char szName[] = "dayfold-test";
    static char* apArgv[] = {szName, nullptr};
    static QGuiApplication* pApplication = [] {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/dayfold-test-bus", 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QGuiApplication(iArgc, apArgv);
    }();
    (void)pApplication;
}

} // namespace MGuiApplication
