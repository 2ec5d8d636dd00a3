#pragma once

#include "app/core/CStatusText.h"

#include <QPointer>

class CStatusBar;

// The window's status bar as the wait cursor writes to it.
class CStatusBarText : public CStatusText {
public:
    explicit CStatusBarText(CStatusBar* pStatusBar);
    std::string SimpleText() const override;
    void SetSimpleText(const std::string& sText) override;

private:
    QPointer<CStatusBar> m_pStatusBar;
};
