#include "platform/shell/CHelpWindow.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton* NewButton(QWidget* pParent, const char* szName, const QString& sCaption,
                       QStyle::StandardPixmap eIcon) {
    auto* pButton = new QToolButton(pParent);
    pButton->setObjectName(QLatin1String(szName));
    pButton->setText(sCaption);
    pButton->setIcon(pParent->style()->standardIcon(eIcon));
    pButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    pButton->setAutoRaise(true);
    return pButton;
}
} // namespace

CHelpWindow::CHelpWindow(CHelpFile oFile, QWidget* pParent)
    : QWidget(pParent, Qt::Window), m_oFile(std::move(oFile)) {
    setObjectName(QStringLiteral("frmHelp"));
    cmdContents = NewButton(this, "cmdContents", tr("&Contents"), QStyle::SP_DirHomeIcon);
    cmdBack = NewButton(this, "cmdBack", tr("&Back"), QStyle::SP_ArrowBack);
    cmdForward = NewButton(this, "cmdForward", tr("&Forward"), QStyle::SP_ArrowForward);
    cmdBack->setShortcut(QKeySequence::Back);
    cmdForward->setShortcut(QKeySequence::Forward);
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);

    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenExternalLinks(true);
    // The text browser does not load a page's linked style sheet: it is set for all pages.
    txtHelp->document()->setDefaultStyleSheet(m_oFile.StyleSheet());

    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(cmdContents);
    pButtons->addWidget(cmdBack);
    pButtons->addWidget(cmdForward);
    pButtons->addStretch();
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->addLayout(pButtons);
    pLayout->addWidget(txtHelp);
    resize(560, 480);

    connect(cmdContents, &QToolButton::clicked, this, &CHelpWindow::cmdContents_Click);
    connect(cmdBack, &QToolButton::clicked, txtHelp, &QTextBrowser::backward);
    connect(cmdForward, &QToolButton::clicked, txtHelp, &QTextBrowser::forward);
    connect(txtHelp, &QTextBrowser::backwardAvailable, cmdBack, &QToolButton::setEnabled);
    connect(txtHelp, &QTextBrowser::forwardAvailable, cmdForward, &QToolButton::setEnabled);
    connect(txtHelp, &QTextBrowser::sourceChanged, this, &CHelpWindow::UpdateCaption);
    UpdateCaption();
}

bool CHelpWindow::ShowTopic(int iTopic) {
    const bool bFound = m_oFile.HasTopic(iTopic);
    const QUrl oUrl = m_oFile.UrlOf(m_oFile.PageOf(bFound ? iTopic : 0));
    if (txtHelp->source() != oUrl) {
        txtHelp->setSource(oUrl);
    }
    return bFound;
}

QUrl CHelpWindow::CurrentUrl() const {
    return txtHelp->source();
}

void CHelpWindow::cmdContents_Click() {
    ShowTopic(0);
}

void CHelpWindow::UpdateCaption() {
    const QString sFileTitle = m_oFile.Title();
    const QString sPageTitle = txtHelp->documentTitle();
    if (sPageTitle.isEmpty() || sPageTitle == sFileTitle) {
        setWindowTitle(sFileTitle);
    } else {
        setWindowTitle(sFileTitle + QStringLiteral(" - ") + sPageTitle);
    }
}
