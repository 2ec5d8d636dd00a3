#pragma once

#include "platform/errors/CLogFile.h"

#include <cstdint>
#include <functional>
#include <string>

class CClock;

// The event log that failed assertions write to.
// Line: "<yyyy-mm-dd hh:mm:ss>\t<kind>\t<text>".
class CEventLog {
public:
    CEventLog();

    void OpenLog(const std::string& sPath, std::int16_t iMode);
    void LogEvent(const std::string& sText, std::int16_t iKind);
    const std::string& Path() const { return m_oLog.Path(); }
    void SetClock(const CClock* pClock) { m_pClock = pClock; }

    // Event: raised with every entry (for observers such as tests).
    std::function<void(const std::string&)> EventLogged;

private:
    CLogFile m_oLog;
    const CClock* m_pClock;
};
