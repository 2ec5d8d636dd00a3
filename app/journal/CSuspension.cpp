#include "app/journal/CSuspension.h"

#include "platform/shell/CClock.h"

std::time_t CSuspension::Now() const {
    return m_oClock.Now().ToUnixTime();
}

void CSuspension::Suspend(std::int64_t llSeconds) {
    m_tStart = Now();
    m_tEnd = m_tStart + static_cast<std::time_t>(llSeconds > 0 ? llSeconds : 0);
    m_bSuspended = llSeconds > 0;
}

void CSuspension::Resume() {
    m_bSuspended = false;
}

bool CSuspension::Suspended() const {
    if (!m_bSuspended) {
        return false;
    }
    const std::time_t tNow = Now();
    return tNow >= m_tStart && tNow < m_tEnd;
}

CDateTime CSuspension::ResumesAt() const {
    return Suspended() ? CDateTime::FromUnixTime(m_tEnd) : CDateTime();
}

std::int64_t CSuspension::SecondsLeft() const {
    return Suspended() ? static_cast<std::int64_t>(m_tEnd - Now()) : 0;
}
