#pragma once

#include "app/core/MDayfold.h"
#include "app/window/FMain.h"

#include <memory>

class CHelp;
class CTerminationSignals;
class FSplash;
namespace qlAboutBox {
class AboutBox;
}

// The program with its window, inside a running QApplication: the start-up of MDayfold::Main
// with the window's own steps (splash, help, About box, main window), and the ways the program
// ends: the window's unload, the end of the desktop session, SIGTERM, SIGINT and SIGHUP, which
// all save what the Exit command saves. Everything it made is released with it.
class CWindowProgram {
public:
    // oStart: where the window files from; its About box and splash are set here.
    CWindowProgram(MDayfold::SEnvironment oEnvironment, FMain::SStart oStart);
    ~CWindowProgram();
    CWindowProgram(const CWindowProgram&) = delete;
    CWindowProgram& operator=(const CWindowProgram&) = delete;

    // Runs the start-up. With Running, the window is loaded and the event loop may run: the
    // application quits when the window has unloaded.
    MDayfold::EStart Start();

    // Null until loaded (or after a failed start).
    FMain* Main() const { return m_pMain.get(); }
    FSplash* Splash() const { return m_pSplash.get(); }
    qlAboutBox::AboutBox* AboutBox() const { return m_pAboutBox.get(); }
    CHelp* Help() const { return m_pHelp.get(); }

    // The end of the session or a termination signal: unloads the window as logging off does
    // (or, while start-up runs, as soon as the window is loaded).
    void EndSession(int iUnloadMode);

private:
    MDayfold::SEnvironment m_oEnvironment;
    FMain::SStart m_oStart;
    std::unique_ptr<CTerminationSignals> m_pSignals;
    std::unique_ptr<FSplash> m_pSplash;
    std::unique_ptr<CHelp> m_pHelp;
    std::unique_ptr<qlAboutBox::AboutBox> m_pAboutBox;
    std::unique_ptr<FMain> m_pMain;
    bool m_bRunning = false;
    // An end asked for before the window existed.
    int m_iPendingUnload = -1;
};
