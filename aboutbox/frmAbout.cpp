#include "aboutbox/frmAbout.h"

#include "aboutbox/CAppObject.h"
#include "aboutbox/MAboutBoxStrings.h"
#include "aboutbox/MErrorTrap.h"
#include "aboutbox/SystemInformation.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CMessagePresenter.h"

#include "ui_frmAbout.h"

namespace qlAboutBox {

namespace {
QString Text(int iId) {
    return QString::fromStdString(MAboutBoxStrings::LoadResString(iId));
}
} // namespace

frmAbout::frmAbout(QWidget* pParent) : QDialog(pParent), m_pUi(std::make_unique<Ui::frmAbout>()) {
    m_pUi->setupUi(this);
    m_oDesignIcon = m_pUi->picSystemIcon->pixmap();
    connect(m_pUi->cmdAbout_0, &QPushButton::clicked, this, [this] { cmdAbout_Click(0); });
    connect(m_pUi->cmdAbout_1, &QPushButton::clicked, this, [this] { cmdAbout_Click(1); });
}

// Releases the application object, the icon, the SystemInformation object and the reporter.
frmAbout::~frmAbout() = default;

void frmAbout::SetAppObject(std::shared_ptr<CAppObject> pAppObject) {
    m_pAppObject = std::move(pAppObject);
}

void frmAbout::SetError(std::shared_ptr<CErrorReporter> pError) {
    m_pError = std::move(pError);
}

QLabel* frmAbout::lblAbout(int iIndex) const {
    switch (iIndex) {
    case 0:
        return m_pUi->lblAbout_0;
    case 1:
        return m_pUi->lblAbout_1;
    case 2:
        return m_pUi->lblAbout_2;
    case 3:
        return m_pUi->lblAbout_3;
    case 5:
        return m_pUi->lblAbout_5;
    case 6:
        return m_pUi->lblAbout_6;
    default:
        return nullptr;
    }
}

QPushButton* frmAbout::cmdAbout(int iIndex) const {
    switch (iIndex) {
    case 0:
        return m_pUi->cmdAbout_0;
    case 1:
        return m_pUi->cmdAbout_1;
    default:
        return nullptr;
    }
}

void frmAbout::Display() {
    Form_Load();
    exec();
}

void frmAbout::Form_Load() {
    MErrorTrap::Run<void>(m_pError, "qlAboutBox.frmAbout.Form_Load", true, [&] {
        lblAbout(3)->hide();
        if (!m_pAppObject) {
            LoadGeneral();
        } else {
            LoadVB();
        }
        const QSize oIconSize = m_pUi->picSystemIcon->size();
        m_pUi->picSystemIcon->setPixmap(m_oSystemIcon.isNull()
                                            ? m_oDesignIcon
                                            : m_oSystemIcon.pixmap(oIconSize, devicePixelRatioF()));
        lblAbout(0)->setText(QString::fromStdString(m_sWarning));
        cmdAbout(0)->setText(Text(MAboutBoxStrings::OkCaption));
        cmdAbout(1)->setText(Text(MAboutBoxStrings::SystemInfoCaption));
        m_oSystemInformation = std::make_unique<SystemInformation>();
        m_oSystemInformation->SetError(m_pError);
        cmdAbout(1)->setVisible(m_oSystemInformation->Enabled());
    });
}

void frmAbout::ShowTexts(const std::string& sProductName, std::int16_t iMajor, std::int16_t iMinor,
                         std::int16_t iRevision, const std::string& sCompanyName,
                         const std::string& sLegalCopyright) {
    setWindowTitle(Text(MAboutBoxStrings::AboutPrefix) + QString::fromStdString(sProductName));
    lblAbout(1)->setText(QString::fromStdString(sProductName));
    lblAbout(5)->setText(Text(MAboutBoxStrings::VersionPrefix) +
                         QString::fromStdString(std::to_string(iMajor) + "." +
                                                std::to_string(iMinor) + "." +
                                                std::to_string(iRevision)));
    lblAbout(6)->setText(QString::fromStdString(sCompanyName));
    lblAbout(2)->setText(QString::fromStdString(sLegalCopyright));
}

void frmAbout::LoadGeneral() {
    MErrorTrap::Run<void>(m_pError, "qlAboutBox.frmAbout.LoadGeneral", true, [&] {
        ShowTexts(m_sProductName, m_iMajor, m_iMinor, m_iRevision, m_sCompanyName,
                  m_sLegalCopyright);
    });
}

void frmAbout::LoadVB() {
    MErrorTrap::Run<void>(m_pError, "qlAboutBox.frmAbout.LoadVB", true, [&] {
        const CAppObject& oApp = *m_pAppObject;
        const std::string sProductName = oApp.ProductName();
        ShowTexts(sProductName, oApp.Major(), oApp.Minor(), oApp.Revision(), oApp.CompanyName(),
                  oApp.LegalCopyright());
        const std::string sAutostart = oApp.AutostartCommand();
        if (!sAutostart.empty()) {
            lblAbout(3)->setText(
                Text(MAboutBoxStrings::AutostartText)
                    .arg(QString::fromStdString(sProductName), QString::fromStdString(sAutostart)));
            lblAbout(3)->show();
        }
    });
}

void frmAbout::cmdAbout_Click(int iIndex) {
    try {
        if (iIndex == 0) {
            done(QDialog::Accepted);
        } else if (iIndex == 1 && m_oSystemInformation) {
            // A program that would not start is told to the user; the dialog stays open.
            if (const std::optional<CRunTimeError> oFailure = m_oSystemInformation->Display()) {
                ReportClickError(*oFailure,
                                 MAboutBoxStrings::LoadResString(MAboutBoxStrings::NotStarted));
            }
        }
    } catch (...) {
        try {
            const CRunTimeError oError = MErrorTrap::CurrentError();
            ReportClickError(oError, oError.Description());
        } catch (...) {
        }
    }
}

void frmAbout::ReportClickError(const CRunTimeError& oError, const std::string& sMessage) noexcept {
    try {
        if (!m_pError) {
            return;
        }
        m_pError->SetStyle(MessageBox::Information);
        m_pError->SetDescription(oError.Description());
        m_pError->SetNumber(oError.Number());
        m_pError->SetDetail("");
        m_pError->SetMessage(sMessage);
        m_pError->SetSource("qlAboutBox.frmAbout.cmdAbout_Click");
        m_pError->SetTitle(windowTitle().toStdString());
        m_pError->Show();
    } catch (...) {
    }
}

} // namespace qlAboutBox
