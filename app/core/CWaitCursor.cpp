#include "app/core/CWaitCursor.h"

#include "app/core/CPointerDisplay.h"
#include "app/core/CStatusText.h"

namespace {
CPointerDisplay* g_pPointerDisplay = nullptr;
} // namespace

CPointerDisplay* CWaitCursor::PointerDisplay() {
    return g_pPointerDisplay;
}

void CWaitCursor::SetPointerDisplay(CPointerDisplay* pDisplay) {
    g_pPointerDisplay = pDisplay;
}

CWaitCursor::CWaitCursor() : m_pPointerDisplay(g_pPointerDisplay) {
    // Keeps the display it pushed to, so the ticket goes back where it came from even if the
    // program's display changes meanwhile.
    try {
        if (m_pPointerDisplay != nullptr) {
            m_lPointerTicket = m_pPointerDisplay->Push(HourglassPointer);
        }
    } catch (...) {
        m_pPointerDisplay = nullptr;
    }
}

CWaitCursor::~CWaitCursor() {
    try {
        if (m_oStatusBar != nullptr) {
            m_oStatusBar->SetSimpleText(m_sSavedMessage);
            m_oStatusBar = nullptr;
        }
    } catch (...) {
    }
    try {
        if (m_pPointerDisplay != nullptr) {
            m_pPointerDisplay->Pop(m_lPointerTicket);
        }
    } catch (...) {
    }
}

void CWaitCursor::SetMessage(CStatusText& oStatusBar, const std::string& sMessage) {
    try {
        if (m_oStatusBar == nullptr) {
            m_sSavedMessage = oStatusBar.SimpleText();
        } else if (m_oStatusBar != &oStatusBar) {
            // Another bar: the first one gets its text back now.
            m_oStatusBar->SetSimpleText(m_sSavedMessage);
            m_sSavedMessage = oStatusBar.SimpleText();
        }
        m_oStatusBar = &oStatusBar;
        oStatusBar.SetSimpleText(sMessage);
    } catch (...) {
    }
}
