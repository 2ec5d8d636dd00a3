#pragma once

#include <memory>
#include <string>

class CClock;
class CErrorReporter;
class CMessagePresenter;

// Hands out error reporters to the components (the common library, the about box) with the
// settings the program gave at start: the error log, the clock and the message presenter.
class CErrorComponent {
public:
    static std::shared_ptr<CErrorReporter> NewErrorReporter();

    static void SetLogFile(const std::string& sPath);
    static void SetClock(const CClock* pClock);
    static void SetPresenter(CMessagePresenter* pPresenter);
    // Back to a log-less reporter on the system clock and the console.
    static void Reset();
};
