#include "app/window/FSplash.h"

#include "app/resources/MIcons.h"
#include "app/resources/MResources.h"

#include "ui_FSplash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <string>

namespace {

constexpr int VersionResource = 108; // "Version "

// Sets a label's text unless the value is missing; a failure leaves the design text too.
void Fill(QLabel* pLabel, const std::string& sValue) noexcept {
    try {
        if (!sValue.empty()) {
            pLabel->setText(QString::fromStdString(sValue));
        }
    } catch (...) {
    }
}

} // namespace

FSplash::FSplash(const CVersionInfo& oVersion, QWidget* pParent)
    : QWidget(pParent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_pUi(std::make_unique<Ui::FSplash>()) {
    m_pUi->setupUi(this);
    // The .ui format keeps whole points only.
    for (auto [pLabel, dPoints] : {std::pair<QLabel*, double>{m_pUi->lblCompany, 9.75},
                                   {m_pUi->lblCopyright, 8.25},
                                   {m_pUi->lblWarning, 8.25}}) {
        QFont oFont = pLabel->font();
        oFont.setPointSizeF(dPoints);
        pLabel->setFont(oFont);
    }
    m_pUi->fraSplash->setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);

    // A click on the frame, the logo or any label closes the window as one on the window does.
    m_pUi->fraSplash->installEventFilter(this);
    for (QLabel* pLabel : m_pUi->fraSplash->findChildren<QLabel*>()) {
        pLabel->installEventFilter(this);
    }
    // A question asked during start-up (the welcome box, the purge) would open over the splash
    // and hide half of either: the splash steps aside while it is open.
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    Form_Load(oVersion);
    adjustSize();
    if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
        move(pScreen->availableGeometry().center() - rect().center());
    }
}

FSplash::~FSplash() = default;

void FSplash::Form_Load(const CVersionInfo& oVersion) {
    try {
        MIcons::InitResources();
        const QIcon oIcon(MIcons::Program);
        const QSize oSize = m_pUi->imgLogo->minimumSize();
        const QPixmap oLogo = oIcon.pixmap(oSize, devicePixelRatioF());
        if (!oLogo.isNull()) {
            m_pUi->imgLogo->setPixmap(oLogo);
        }
    } catch (...) {
    }
    Fill(m_pUi->lblProductName, oVersion.ProductName());
    try {
        const std::string sPrefix = MResources::LoadResString(VersionResource);
        if (!sPrefix.empty()) {
            Fill(m_pUi->lblVersion, sPrefix + oVersion.VersionText());
        }
    } catch (...) {
    }
    Fill(m_pUi->lblCompany, oVersion.CompanyName());
    Fill(m_pUi->lblCopyright, oVersion.LegalCopyright());
    Fill(m_pUi->lblWarning, oVersion.Comments());
}

void FSplash::mousePressEvent(QMouseEvent* pEvent) {
    pEvent->accept();
    close();
}

void FSplash::keyPressEvent(QKeyEvent* pEvent) {
    pEvent->accept();
    close();
}

bool FSplash::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type eType = pEvent->type();
    if ((eType == QEvent::Show || eType == QEvent::Hide) && pWatched != this &&
        pWatched->isWidgetType()) {
        const auto* pWindow = static_cast<const QWidget*>(pWatched);
        if (pWindow->isWindow() && pWindow->isModal()) {
            StepAside(eType == QEvent::Show);
        }
        return false;
    }
    // Only a click on the splash's own parts closes it; every other goes where it was aimed.
    const bool bOwnPart = pWatched == m_pUi->fraSplash || pWatched->parent() == m_pUi->fraSplash;
    if (eType == QEvent::MouseButtonPress && bOwnPart) {
        close();
        return true;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void FSplash::StepAside(bool bAside) {
    if (bAside && isVisible()) {
        m_bSteppedAside = true;
        hide();
    } else if (!bAside && m_bSteppedAside) {
        m_bSteppedAside = false;
        show();
    }
}
