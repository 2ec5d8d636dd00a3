#include "aboutbox/AboutBox.h"

#include "aboutbox/CAppObject.h"
#include "aboutbox/MErrorTrap.h"
#include "aboutbox/frmAbout.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"

#include <QApplication>
#include <QThread>

namespace qlAboutBox {

AboutBox::AboutBox() {
    Initialize();
}

AboutBox::~AboutBox() {
    // A client that ends its QApplication first leaves the dialog to the ending process:
    // a widget cannot be destroyed without it.
    if (m_pForm != nullptr && QCoreApplication::instance() != nullptr) {
        delete m_pForm;
    }
}

void AboutBox::Initialize() {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Initialize", false, [&] {
        if (!m_pErrorReporter) {
            m_pErrorReporter = CErrorComponent::NewErrorReporter();
        }
        auto* pApplication = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (pApplication == nullptr || QThread::currentThread() != pApplication->thread()) {
            throw CRunTimeError(RunTimeErrors::InvalidProcedureCall,
                                "The About box needs the program's desktop application and its "
                                "user-interface thread.");
        }
        if (m_pForm == nullptr) {
            m_pForm = new frmAbout();
        }
        m_pForm->SetError(m_pErrorReporter);
        m_bInitialized = true;
    });
}

frmAbout& AboutBox::Form() {
    if (!m_bInitialized) {
        Initialize();
    }
    if (!m_bInitialized || m_pForm == nullptr) {
        throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
    }
    if (QThread::currentThread() != m_pForm->thread()) {
        throw CRunTimeError(RunTimeErrors::InvalidProcedureCall,
                            "The About box is used from another thread than its own.");
    }
    return *m_pForm;
}

std::shared_ptr<CAppObject> AboutBox::AppObject() {
    return MErrorTrap::Run<std::shared_ptr<CAppObject>>(m_pErrorReporter,
                                                        "qlAboutBox.AboutBox.AppObject", true,
                                                        [&] { return Form().AppObject(); });
}

void AboutBox::SetAppObject(std::shared_ptr<CAppObject> pAppObject) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.AppObject", true,
                          [&] { Form().SetAppObject(std::move(pAppObject)); });
}

std::string AboutBox::ClassName() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.AboutBox.ClassName", true,
                                        [] { return std::string("AboutBox"); });
}

std::string AboutBox::CompanyName() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.AboutBox.CompanyName", true,
                                        [&] { return Form().CompanyName(); });
}

void AboutBox::SetCompanyName(const std::string& sCompanyName) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.CompanyName", true,
                          [&] { Form().SetCompanyName(sCompanyName); });
}

QIcon AboutBox::Icon() {
    return MErrorTrap::Run<QIcon>(m_pErrorReporter, "qlAboutBox.AboutBox.Icon", true,
                                  [&] { return Form().SystemIcon(); });
}

void AboutBox::SetIcon(const QIcon& oIcon) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Icon", true,
                          [&] { Form().SetSystemIcon(oIcon); });
}

std::string AboutBox::LegalCopyright() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.AboutBox.LegalCopyright",
                                        true, [&] { return Form().LegalCopyright(); });
}

void AboutBox::SetLegalCopyright(const std::string& sLegalCopyright) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.LegalCopyright", true,
                          [&] { Form().SetLegalCopyright(sLegalCopyright); });
}

std::int16_t AboutBox::Major() {
    return MErrorTrap::Run<std::int16_t>(m_pErrorReporter, "qlAboutBox.AboutBox.Major", true,
                                         [&] { return Form().Major(); });
}

void AboutBox::SetMajor(std::int16_t iMajor) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Major", true,
                          [&] { Form().SetMajor(iMajor); });
}

std::int16_t AboutBox::Minor() {
    return MErrorTrap::Run<std::int16_t>(m_pErrorReporter, "qlAboutBox.AboutBox.Minor", true,
                                         [&] { return Form().Minor(); });
}

void AboutBox::SetMinor(std::int16_t iMinor) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Minor", true,
                          [&] { Form().SetMinor(iMinor); });
}

std::int16_t AboutBox::Revision() {
    return MErrorTrap::Run<std::int16_t>(m_pErrorReporter, "qlAboutBox.AboutBox.Revision", true,
                                         [&] { return Form().Revision(); });
}

void AboutBox::SetRevision(std::int16_t iRevision) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Revision", true,
                          [&] { Form().SetRevision(iRevision); });
}

std::string AboutBox::ProductName() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.AboutBox.ProductName", true,
                                        [&] { return Form().ProductName(); });
}

void AboutBox::SetProductName(const std::string& sProductName) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.ProductName", true,
                          [&] { Form().SetProductName(sProductName); });
}

std::string AboutBox::Warning() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.AboutBox.Warning", true,
                                        [&] { return Form().Warning(); });
}

void AboutBox::SetWarning(const std::string& sWarning) {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Warning", true,
                          [&] { Form().SetWarning(sWarning); });
}

void AboutBox::Display() {
    MErrorTrap::Run<void>(m_pErrorReporter, "qlAboutBox.AboutBox.Display", true,
                          [&] { Form().Display(); });
}

} // namespace qlAboutBox
