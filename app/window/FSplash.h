#pragma once

#include "app/resources/CVersionInfo.h"

#include <QWidget>

#include <memory>

namespace Ui {
class FSplash;
}

// The splash window of start-up: the program icon, its name, version, maker and legal notes.
// Start-up shows it before loading the main window and closes it when the main window is
// loaded; a click on any part of it or any key closes it earlier. While a question of
// start-up is open, the splash steps aside.
class FSplash : public QWidget {
    Q_OBJECT

public:
    // Fills the window from oVersion (the build's version information by default).
    explicit FSplash(const CVersionInfo& oVersion = CVersionInfo::Program(),
                     QWidget* pParent = nullptr);
    ~FSplash() override;

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Fills the controls one by one; a value that is missing leaves the design text.
    void Form_Load(const CVersionInfo& oVersion);
    // Hides the splash while a modal window is open over it, and shows it again after.
    void StepAside(bool bAside);

    std::unique_ptr<Ui::FSplash> m_pUi;
    bool m_bSteppedAside = false;
};
