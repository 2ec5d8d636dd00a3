#pragma once

#include "platform/shell/CHelpFile.h"

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The help window: the pages of a help file in a text browser, with Contents, Back and
// Forward, and the links between pages followed in place (links to web pages open in the
// browser).
class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(CHelpFile oFile, QWidget* pParent = nullptr);

    // Shows a topic (0: the contents). A topic the file does not have shows the contents and
    // returns false.
    bool ShowTopic(int iTopic);
    QUrl CurrentUrl() const;
    const CHelpFile& File() const { return m_oFile; }

private:
    void cmdContents_Click();
    void UpdateCaption();

    CHelpFile m_oFile;
    QToolButton* cmdContents;
    QToolButton* cmdBack;
    QToolButton* cmdForward;
    QTextBrowser* txtHelp;
};
