#include "platform/errors/CEventLog.h"

#include "platform/shell/CClock.h"

CEventLog::CEventLog() : m_pClock(&CClock::System()) {}

void CEventLog::OpenLog(const std::string& sPath, std::int16_t /*iMode*/) {
    m_oLog.SetPath(sPath);
}

void CEventLog::LogEvent(const std::string& sText, std::int16_t iKind) {
    m_oLog.AppendLine(m_pClock->Now().ToIsoText() + "\t" + std::to_string(iKind) + "\t" +
                      CLogFile::Field(sText));
    if (EventLogged) {
        EventLogged(sText);
    }
}
