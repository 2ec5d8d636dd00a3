#include "app/window/CWindowProgram.h"

#include "aboutbox/AboutBox.h"
#include "aboutbox/Application.h"
#include "app/resources/CVersionAppObject.h"
#include "app/resources/MResources.h"
#include "app/resources/help/MHelpPages.h"
#include "app/window/CTerminationSignals.h"
#include "app/window/FSplash.h"
#include "platform/shell/CHelp.h"

#include <QApplication>
#include <QSessionManager>

CWindowProgram::CWindowProgram(MDayfold::SEnvironment oEnvironment, FMain::SStart oStart)
    : m_oEnvironment(std::move(oEnvironment)), m_oStart(std::move(oStart)),
      m_pSignals(std::make_unique<CTerminationSignals>()) {
    QObject::connect(m_pSignals.get(), &CTerminationSignals::Received, m_pSignals.get(),
                     [this](int) { EndSession(FMain::UnloadTaskManager); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_pSignals.get(),
                     [this](QSessionManager&) { EndSession(FMain::UnloadAppWindows); });
    // However the event loop ends, what the window shows is saved.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, m_pSignals.get(), [this] {
        if (m_pMain) {
            m_pMain->Form_Unload();
        }
    });
}

CWindowProgram::~CWindowProgram() {
    m_pSignals.reset();
    m_pMain.reset();
    m_pAboutBox.reset();
    if (CHelp::Application() == m_pHelp.get()) {
        CHelp::SetApplication(nullptr);
    }
    m_pHelp.reset();
    m_pSplash.reset();
    if (m_bRunning) {
        MDayfold::ReleaseGlobals();
    }
}

MDayfold::EStart CWindowProgram::Start() {
    MDayfold::SWindowSteps oSteps;
    oSteps.ShowSplash = [this] {
        m_pSplash = std::make_unique<FSplash>();
        m_pSplash->show();
    };
    oSteps.DoEvents = [] { QCoreApplication::processEvents(); };
    oSteps.SetHelpFile = [this] {
        m_pHelp = std::make_unique<CHelp>(MHelpPages::Folder());
        CHelp::SetApplication(m_pHelp.get());
    };
    oSteps.CreateAboutBox = [this] {
        // Its Application object is needed only to obtain it.
        m_pAboutBox = qlAboutBox::Application().AboutBox();
        if (m_pAboutBox) {
            m_pAboutBox->SetAppObject(std::make_shared<CVersionAppObject>());
            m_pAboutBox->SetWarning(MResources::LoadResString(101));
        }
    };
    oSteps.LoadMainWindow = [this] {
        FMain::SStart oStart = m_oStart;
        oStart.pAboutBox = m_pAboutBox.get();
        oStart.UnloadSplash = [this] { m_pSplash.reset(); };
        m_pMain = std::make_unique<FMain>(oStart);
        QObject::connect(m_pMain.get(), &FMain::Unloaded, qApp, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        m_pMain->Form_Load();
    };
    oSteps.ReleaseAboutBox = [this] { m_pAboutBox.reset(); };
    oSteps.UnloadSplash = [this] { m_pSplash.reset(); };

    const MDayfold::EStart eStart = MDayfold::Main(m_oEnvironment, oSteps);
    m_bRunning = eStart == MDayfold::EStart::Running;
    if (!m_bRunning) {
        m_pMain.reset();
    } else if (m_iPendingUnload >= 0 && m_pMain) {
        m_pMain->UnloadFor(m_iPendingUnload);
    }
    return eStart;
}

void CWindowProgram::EndSession(int iUnloadMode) {
    if (m_pMain) {
        m_pMain->UnloadFor(iUnloadMode);
        return;
    }
    // Start-up has not loaded the window yet: a question on show ends as if cancelled, and
    // the window unloads once it is loaded.
    m_iPendingUnload = iUnloadMode;
    if (QWidget* pModal = QApplication::activeModalWidget()) {
        pModal->close();
    }
}
