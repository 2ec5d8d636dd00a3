#include "app/window/MWindowProgram.h"

#include "app/window/CWindowProgram.h"
#include "platform/controls/CMessageBoxPresenter.h"
#include "platform/shell/CSingleInstance.h"

#include <QApplication>

namespace MWindowProgram {

int Run(int iArgc, char** apArgv, MDayfold::SEnvironment oEnvironment,
        const std::string& sRecentFolder, bool bFeedRecentFolder) {
    QApplication oApplication(iArgc, apArgv);
    QApplication::setApplicationName("Dayfold");
    QApplication::setOrganizationName("Quillon");
    QApplication::setDesktopFileName("dayfold");
    // The window closes for good only when it unloads; hiding it keeps the program running.
    QApplication::setQuitOnLastWindowClosed(false);

    CMessageBoxPresenter oPresenter;
    oEnvironment.pPresenter = &oPresenter;
    oEnvironment.sLockFile = CSingleInstance::DefaultLockFile(oEnvironment.sAppPath);
    FMain::SStart oStart;
    oStart.sRecentFolder = sRecentFolder;
    oStart.bFeedRecentFolder = bFeedRecentFolder;
    oStart.pFileTypes = oEnvironment.pFileTypes;

    CWindowProgram oProgram(oEnvironment, oStart);
    switch (oProgram.Start()) {
    case MDayfold::EStart::AlreadyLoaded:
        return 0;
    case MDayfold::EStart::Failed:
        return 1;
    case MDayfold::EStart::Running:
        break;
    }
    return QApplication::exec();
}

} // namespace MWindowProgram
