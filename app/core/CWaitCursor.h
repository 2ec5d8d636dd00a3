#pragma once

#include <cstdint>
#include <string>

class CPointerDisplay;
class CStatusText;

// Shows that the program is busy for exactly as long as an instance lives: the busy pointer
// from creation to release and, after SetMessage, a status message that gives the status bar
// its previous text back at release. Long operations hold one in a local variable, so every way
// out, an error included, restores both. Nothing here throws.
class CWaitCursor {
public:
    static constexpr int HourglassPointer = 11;

    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    std::string ClassName() const { return "CWaitCursor"; }

    // Puts sMessage into the status bar until the instance is released (the bar must outlive
    // the instance). A second call keeps the text saved by the first.
    void SetMessage(CStatusText& oStatusBar, const std::string& sMessage);

    // The display every wait cursor uses; null (the default): the pointer is not changed.
    static CPointerDisplay* PointerDisplay();
    static void SetPointerDisplay(CPointerDisplay* pDisplay);

private:
    CPointerDisplay* m_pPointerDisplay = nullptr;
    std::int32_t m_lPointerTicket = 0;
    std::string m_sSavedMessage;
    CStatusText* m_oStatusBar = nullptr;
};
