#pragma once

#include <memory>
#include <string>

class CErrorReporter;

namespace qlAboutBox {

class AboutBox;

// The component's entry object: the program creates one, takes one AboutBox from it and lets
// it go. Its members trap their errors and hand them to this object's reporter; nothing is
// thrown.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Always "Application".
    std::string ClassName();
    // The component's version as "<major>.<minor>.<revision>".
    std::string Version();
    // A new AboutBox on every call; the caller owns it. Null only when even that failed (the
    // failure went to this object's reporter).
    std::unique_ptr<qlAboutBox::AboutBox> AboutBox();

    // May be null when no reporter could be obtained.
    const std::shared_ptr<CErrorReporter>& ErrorReporter() const { return m_pErrorReporter; }

private:
    std::shared_ptr<CErrorReporter> m_pErrorReporter;
};

} // namespace qlAboutBox
