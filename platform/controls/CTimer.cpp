#include "platform/controls/CTimer.h"

#include "platform/controls/MControlErrors.h"

#include <QTimer>

CTimer::CTimer(QObject* pParent) : QObject(pParent), m_pTimer(new QTimer(this)) {
    connect(m_pTimer, &QTimer::timeout, this, &CTimer::Timer);
}

void CTimer::SetInterval(std::int32_t lInterval) {
    if (lInterval < 0) {
        MControlErrors::Raise(MControlErrors::InvalidPropertyValue);
    }
    m_lInterval = lInterval;
    Apply();
}

void CTimer::SetEnabled(bool bEnabled) {
    if (bEnabled != m_bEnabled) {
        m_bEnabled = bEnabled;
        Apply();
    }
}

bool CTimer::IsRunning() const {
    return m_pTimer->isActive();
}

void CTimer::Apply() {
    if (m_bEnabled && m_lInterval > 0) {
        m_pTimer->start(m_lInterval);
    } else {
        m_pTimer->stop();
    }
}
