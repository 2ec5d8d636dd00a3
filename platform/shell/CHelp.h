#pragma once

#include "platform/shell/CHelpFile.h"

#include <QPointer>
#include <QString>

class CHelpWindow;
class QWidget;

// The help system of a program: its help file and the one help window that shows it.
class CHelp {
public:
    // sFolder: the folder of the help file (see CHelpFile).
    explicit CHelp(QString sFolder);
    ~CHelp();
    CHelp(const CHelp&) = delete;
    CHelp& operator=(const CHelp&) = delete;

    const CHelpFile& File() const { return m_oFile; }

    // Opens the help window at a topic (0: the contents) and brings it to the front. With an
    // owner, the window belongs to the owner's window: it stays above it, stays usable while
    // that window is modal, and closes for good with it. False for a topic the help file does
    // not have (the contents are shown instead).
    bool Display(int iTopic, QWidget* pOwner = nullptr);
    // The What's This text of a topic: the first paragraph of its page.
    QString WhatsThisText(int iTopic) const { return m_oFile.WhatsThisText(iTopic); }
    // The help window; null before the first Display or after its owner closed it.
    CHelpWindow* Window() const;

    // The program's help, set once at start-up; null until then.
    static CHelp* Application();
    static void SetApplication(CHelp* pHelp);

private:
    CHelpFile m_oFile;
    QPointer<CHelpWindow> m_pWindow;
};
