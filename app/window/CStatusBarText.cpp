#include "app/window/CStatusBarText.h"

#include "platform/controls/CStatusBar.h"

CStatusBarText::CStatusBarText(CStatusBar* pStatusBar) : m_pStatusBar(pStatusBar) {}

std::string CStatusBarText::SimpleText() const {
    return m_pStatusBar ? m_pStatusBar->SimpleText() : std::string();
}

void CStatusBarText::SetSimpleText(const std::string& sText) {
    if (m_pStatusBar) {
        m_pStatusBar->SetSimpleText(sText);
    }
}
