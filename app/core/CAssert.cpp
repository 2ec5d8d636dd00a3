#include "app/core/CAssert.h"

#include "platform/errors/CEventLog.h"

void CAssert::Assert(bool bCondition, const std::string& sMessage) const {
    if (!bCondition && m_pEventLog != nullptr) {
        m_pEventLog->LogEvent(sMessage, 2);
    }
}
