#include "platform/controls/CTrayIcon.h"

#include "platform/controls/MInputCodes.h"

CTrayIcon::CTrayIcon(QObject* pParent) : QObject(pParent), m_pIcon(new QSystemTrayIcon(this)) {
    connect(m_pIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason eReason) {
                const int iButton = ButtonOf(eReason);
                if (iButton != 0) {
                    emit MouseUp(iButton);
                }
            });
}

void CTrayIcon::SetInTray(bool bInTray) {
    m_bInTray = bInTray;
    Apply();
}

void CTrayIcon::SetTrayIcon(const QIcon& oIcon) {
    m_oIcon = oIcon;
    m_pIcon->setIcon(oIcon);
    Apply();
}

void CTrayIcon::SetTrayTip(const std::string& sTip) {
    m_sTip = sTip;
    m_pIcon->setToolTip(QString::fromStdString(sTip));
}

bool CTrayIcon::TrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CTrayIcon::IsShown() const {
    return m_pIcon->isVisible();
}

int CTrayIcon::ButtonOf(QSystemTrayIcon::ActivationReason eReason) {
    switch (eReason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        return MInputCodes::LeftButton;
    case QSystemTrayIcon::Context:
        return MInputCodes::RightButton;
    case QSystemTrayIcon::MiddleClick:
        return MInputCodes::MiddleButton;
    default:
        return 0;
    }
}

void CTrayIcon::Apply() {
    // Showing without an icon or without a tray only earns a warning from Qt.
    const bool bShow = m_bInTray && !m_oIcon.isNull() && TrayAvailable();
    if (bShow != m_pIcon->isVisible()) {
        m_pIcon->setVisible(bShow);
    }
}
