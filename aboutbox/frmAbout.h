#pragma once

#include "platform/errors/CRunTimeError.h"

#include <QDialog>
#include <QIcon>
#include <QPixmap>

#include <cstdint>
#include <memory>
#include <string>

class CErrorReporter;
class QLabel;
class QPushButton;

namespace Ui {
class frmAbout;
}

namespace qlAboutBox {

class CAppObject;
class SystemInformation;

// The About dialog. It keeps the values of its AboutBox's properties for its whole life and
// fills its controls from them each time it is shown (Form_Load). The controls are arrays by
// index as the dialog's design names them: lblAbout(0) warning, (1) product, (2) copyright,
// (3) how to start with the desktop, (5) version, (6) company; cmdAbout(0) OK, (1) System
// Info; picSystemIcon the icon.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* pParent = nullptr);
    ~frmAbout() override;

    const std::shared_ptr<CAppObject>& AppObject() const { return m_pAppObject; }
    void SetAppObject(std::shared_ptr<CAppObject> pAppObject);
    const std::string& CompanyName() const { return m_sCompanyName; }
    void SetCompanyName(const std::string& sCompanyName) { m_sCompanyName = sCompanyName; }
    const std::string& LegalCopyright() const { return m_sLegalCopyright; }
    void SetLegalCopyright(const std::string& sLegalCopyright) {
        m_sLegalCopyright = sLegalCopyright;
    }
    std::int16_t Major() const { return m_iMajor; }
    void SetMajor(std::int16_t iMajor) { m_iMajor = iMajor; }
    std::int16_t Minor() const { return m_iMinor; }
    void SetMinor(std::int16_t iMinor) { m_iMinor = iMinor; }
    const std::string& ProductName() const { return m_sProductName; }
    void SetProductName(const std::string& sProductName) { m_sProductName = sProductName; }
    std::int16_t Revision() const { return m_iRevision; }
    void SetRevision(std::int16_t iRevision) { m_iRevision = iRevision; }
    // The AboutBox's Icon.
    const QIcon& SystemIcon() const { return m_oSystemIcon; }
    void SetSystemIcon(const QIcon& oIcon) { m_oSystemIcon = oIcon; }
    const std::string& Warning() const { return m_sWarning; }
    void SetWarning(const std::string& sWarning) { m_sWarning = sWarning; }
    // The reporter of the dialog's errors, handed over by its AboutBox.
    const std::shared_ptr<CErrorReporter>& Error() const { return m_pError; }
    void SetError(std::shared_ptr<CErrorReporter> pError);

    // Fills the controls and shows the dialog modally; returns when it is closed.
    void Display();

    // The controls by index; null for an index the dialog does not have.
    QLabel* lblAbout(int iIndex) const;
    QPushButton* cmdAbout(int iIndex) const;

private:
    void Form_Load();
    // The texts from the properties.
    void LoadGeneral();
    // The texts from the application object.
    void LoadVB();
    void ShowTexts(const std::string& sProductName, std::int16_t iMajor, std::int16_t iMinor,
                   std::int16_t iRevision, const std::string& sCompanyName,
                   const std::string& sLegalCopyright);
    void cmdAbout_Click(int iIndex);
    // Shows a failure of the button to the user, as information, and logs it.
    void ReportClickError(const CRunTimeError& oError, const std::string& sMessage) noexcept;

    std::unique_ptr<Ui::frmAbout> m_pUi;
    std::unique_ptr<SystemInformation> m_oSystemInformation;
    std::shared_ptr<CErrorReporter> m_pError;
    QPixmap m_oDesignIcon;

    std::shared_ptr<CAppObject> m_pAppObject;
    std::string m_sCompanyName;
    std::string m_sLegalCopyright;
    std::int16_t m_iMajor = 0;
    std::int16_t m_iMinor = 0;
    std::string m_sProductName;
    std::int16_t m_iRevision = 0;
    QIcon m_oSystemIcon;
    std::string m_sWarning;
};

} // namespace qlAboutBox
