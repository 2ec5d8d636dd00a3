#pragma once

#include "platform/shell/CClock.h"

// A clock that shows whatever time it is set to.
class CFixedClock : public CClock {
public:
    explicit CFixedClock(CDateTime dtNow) : m_dtNow(dtNow) {}
    CDateTime Now() const override { return m_dtNow; }
    void SetNow(CDateTime dtNow) { m_dtNow = dtNow; }

private:
    CDateTime m_dtNow;
};
