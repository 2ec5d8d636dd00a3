#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <string>

// The program's icon in the notification area: an icon and a tip that may be replaced at any
// time, and MouseUp with the button released on it. It has no menu of its own: the owner
// opens its menu on MouseUp with button 2, at the pointer.
//
// Where the desktop has no tray the icon is never shown, but every property keeps what it
// was set to, so the program's logic runs the same; ask TrayAvailable before relying on the
// tray to bring a hidden window back.
class CTrayIcon : public QObject {
    Q_OBJECT

public:
    explicit CTrayIcon(QObject* pParent = nullptr);

    // Whether the icon is to be in the tray.
    bool InTray() const { return m_bInTray; }
    void SetInTray(bool bInTray);
    QIcon TrayIcon() const { return m_oIcon; }
    void SetTrayIcon(const QIcon& oIcon);
    std::string TrayTip() const { return m_sTip; }
    void SetTrayTip(const std::string& sTip);

    // Whether the desktop shows a tray at all.
    static bool TrayAvailable();
    // Whether the icon is on show now: in the tray, with an icon, on a desktop with a tray.
    bool IsShown() const;

    // 1 for a left click or double click, 2 for a right click (the context menu request), 4
    // for a middle click; 0 for anything else.
    static int ButtonOf(QSystemTrayIcon::ActivationReason eReason);

signals:
    void MouseUp(int iButton);

private:
    void Apply();

    QSystemTrayIcon* m_pIcon;
    bool m_bInTray = false;
    QIcon m_oIcon;
    std::string m_sTip;
};
