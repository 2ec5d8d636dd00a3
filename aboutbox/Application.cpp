#include "aboutbox/Application.h"

#include "aboutbox/AboutBox.h"
#include "aboutbox/MErrorTrap.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"

namespace qlAboutBox {

namespace {
// Obtaining the reporter runs with errors ignored: without one the object still works.
std::shared_ptr<CErrorReporter> NewReporterOrNone() noexcept {
    try {
        return CErrorComponent::NewErrorReporter();
    } catch (...) {
        return nullptr;
    }
}
} // namespace

Application::Application() : m_pErrorReporter(NewReporterOrNone()) {}

Application::~Application() = default;

std::string Application::ClassName() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.Application.ClassName", true,
                                        [] { return std::string("Application"); });
}

std::string Application::Version() {
    return MErrorTrap::Run<std::string>(m_pErrorReporter, "qlAboutBox.Application.Version", true,
                                        [] {
                                            return std::to_string(QLABOUTBOX_VERSION_MAJOR) + "." +
                                                   std::to_string(QLABOUTBOX_VERSION_MINOR) + "." +
                                                   std::to_string(QLABOUTBOX_VERSION_REVISION);
                                        });
}

std::unique_ptr<qlAboutBox::AboutBox> Application::AboutBox() {
    return MErrorTrap::Run<std::unique_ptr<qlAboutBox::AboutBox>>(
        m_pErrorReporter, "qlAboutBox.Application.AboutBox", true,
        [] { return std::unique_ptr<qlAboutBox::AboutBox>(new qlAboutBox::AboutBox()); });
}

} // namespace qlAboutBox
