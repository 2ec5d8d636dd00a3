#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CErrorReporter;

namespace qlCommonLibrary {

class Library;

// The component's entry object: the program creates one, asks it once for its Library and
// lets it go. Its members follow the Library's error convention: nothing is thrown.
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
    // A new Library, with an error reporter of its own, on every call; null only when even
    // that failed (the failure went to this object's reporter).
    std::unique_ptr<qlCommonLibrary::Library> Library();

    // May be null when no reporter could be obtained.
    const std::shared_ptr<CErrorReporter>& ErrorReporter() const { return m_pErrorReporter; }

private:
    void ReportError(const char* szMember, std::int32_t lNumber,
                     const std::string& sDescription) noexcept;

    std::shared_ptr<CErrorReporter> m_pErrorReporter;
};

} // namespace qlCommonLibrary
