#pragma once

#include <QIcon>

#include <cstdint>
#include <memory>
#include <string>

class CErrorReporter;

namespace qlAboutBox {

class Application;
class CAppObject;
class frmAbout;

// The About box of a client program, obtained only through Application::AboutBox(). It keeps
// its dialog for its whole life, so the values set once (the program's application object,
// the warning) hold for every later Display.
//
// Every property and Display first make sure the object is initialised (its reporter and its
// dialog), then trap their errors and hand them to this object's reporter with the source
// "qlAboutBox.AboutBox.<Property>"; a read that failed gives the type's empty value. Nothing
// is thrown to the caller. The dialog needs the client's QApplication and its thread: without
// them initialisation fails (reported) and the object does nothing.
class AboutBox {
public:
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // The properties, in the component's published order.

    // The client's application object; when set, its values are shown instead of the
    // properties ProductName, Major, Minor, Revision, CompanyName and LegalCopyright.
    std::shared_ptr<CAppObject> AppObject();
    void SetAppObject(std::shared_ptr<CAppObject> pAppObject);
    // Always "AboutBox".
    std::string ClassName();
    std::string CompanyName();
    void SetCompanyName(const std::string& sCompanyName);
    // Shown in the dialog when it holds a picture; otherwise the dialog's own image shows.
    QIcon Icon();
    void SetIcon(const QIcon& oIcon);
    std::string LegalCopyright();
    void SetLegalCopyright(const std::string& sLegalCopyright);
    std::int16_t Major();
    void SetMajor(std::int16_t iMajor);
    std::int16_t Minor();
    void SetMinor(std::int16_t iMinor);
    std::int16_t Revision();
    void SetRevision(std::int16_t iRevision);
    std::string ProductName();
    void SetProductName(const std::string& sProductName);
    // Free text shown in the dialog, the client's notice on copying.
    std::string Warning();
    void SetWarning(const std::string& sWarning);

    // Shows the dialog modally, with no owner window; returns when it is closed.
    void Display();

    // May be null when no reporter could be obtained.
    const std::shared_ptr<CErrorReporter>& ErrorReporter() const { return m_pErrorReporter; }

private:
    friend class Application;
    AboutBox();

    // Obtains the reporter and creates the dialog; reported with the flag false on failure.
    void Initialize();
    // The dialog, initialising first; throws 424 (Object required) when there is none.
    frmAbout& Form();

    std::shared_ptr<CErrorReporter> m_pErrorReporter;
    frmAbout* m_pForm = nullptr;
    bool m_bInitialized = false;
};

} // namespace qlAboutBox
