#include "platform/shell/CHelp.h"

#include "platform/shell/CHelpWindow.h"

namespace {
CHelp*& ApplicationHelp() {
    static CHelp* pHelp = nullptr;
    return pHelp;
}
} // namespace

CHelp::CHelp(QString sFolder) : m_oFile(std::move(sFolder)) {}

CHelp::~CHelp() {
    delete m_pWindow;
    if (ApplicationHelp() == this) {
        ApplicationHelp() = nullptr;
    }
}

bool CHelp::Display(int iTopic, QWidget* pOwner) {
    QWidget* pOwnerWindow = pOwner != nullptr ? pOwner->window() : nullptr;
    if (m_pWindow.isNull()) {
        m_pWindow = new CHelpWindow(m_oFile, pOwnerWindow);
    } else if (m_pWindow->parentWidget() != pOwnerWindow) {
        // A window of its own owner is not blocked while that owner is modal.
        const QRect oGeometry = m_pWindow->geometry();
        m_pWindow->setParent(pOwnerWindow, Qt::Window);
        m_pWindow->setGeometry(oGeometry);
    }
    const bool bFound = m_pWindow->ShowTopic(iTopic);
    m_pWindow->show();
    m_pWindow->raise();
    m_pWindow->activateWindow();
    return bFound;
}

CHelpWindow* CHelp::Window() const {
    return m_pWindow;
}

CHelp* CHelp::Application() {
    return ApplicationHelp();
}

void CHelp::SetApplication(CHelp* pHelp) {
    ApplicationHelp() = pHelp;
}
