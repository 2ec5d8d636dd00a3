#pragma once

#include <string>

class CEventLog;

// Assertions that never interrupt the program: a false condition writes its message to the
// event log and execution goes on.
class CAssert {
public:
    explicit CAssert(CEventLog* pEventLog) : m_pEventLog(pEventLog) {}

    std::string ClassName() const { return "CAssert"; }
    void Assert(bool bCondition, const std::string& sMessage) const;

private:
    CEventLog* m_pEventLog;
};
