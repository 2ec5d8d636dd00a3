#include "app/window/MWindowProgram.h"

#include "app/resources/help/MHelpPages.h"
#include "app/window/FMain.h"
#include "platform/controls/CMessageBoxPresenter.h"
#include "platform/shell/CHelp.h"

#include <QApplication>

namespace MWindowProgram {

int Run(int iArgc, char** apArgv, MDayfold::SEnvironment oEnvironment,
        const std::string& sRecentFolder, bool bFeedRecentFolder) {
    QApplication oApplication(iArgc, apArgv);
    QApplication::setApplicationName("Dayfold");
    QApplication::setOrganizationName("Quillon");
    // The window closes for good only when it unloads; hiding it keeps the program running.
    QApplication::setQuitOnLastWindowClosed(false);

    // Start-up (next): the single instance, the splash window.
    CMessageBoxPresenter oPresenter;
    oEnvironment.pPresenter = &oPresenter;
    MDayfold::CreateGlobals(oEnvironment);
    CHelp oHelp(MHelpPages::Folder());
    CHelp::SetApplication(&oHelp);

    int iResult = 0;
    {
        FMain::SStart oStart;
        oStart.sRecentFolder = sRecentFolder;
        oStart.bFeedRecentFolder = bFeedRecentFolder;
        oStart.pFileTypes = oEnvironment.pFileTypes;
        FMain oMain(oStart);
        // The program ends when the main window has unloaded. Shutdown (next): the end of the
        // desktop session and the termination signals unload it the same way.
        QObject::connect(&oMain, &FMain::Unloaded, &oApplication, &QApplication::quit,
                         Qt::QueuedConnection);
        oMain.Form_Load();
        iResult = QApplication::exec();
    }
    CHelp::SetApplication(nullptr);
    MDayfold::ReleaseGlobals();
    return iResult;
}

} // namespace MWindowProgram
