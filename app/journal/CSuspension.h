#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <ctime>
#include <string>

class CClock;

// "Suspend for 1 hour": capture pauses and resumes by itself. The span is kept in the
// system's time (seconds since the epoch), so a change of summer time neither lengthens nor
// shortens it, and a clock set back before the start ends it rather than stretching it.
class CSuspension {
public:
    static constexpr std::int64_t HourSeconds = 3600;

    explicit CSuspension(const CClock& oClock) : m_oClock(oClock) {}

    std::string ClassName() const { return "CSuspension"; }

    // Suspends capture from now for llSeconds (an hour unless said); a suspension running is
    // replaced.
    void Suspend(std::int64_t llSeconds = HourSeconds);
    // Ends the suspension at once.
    void Resume();
    // Whether capture is suspended now.
    bool Suspended() const;
    // When capture resumes by itself (local time); the empty date when it is not suspended.
    CDateTime ResumesAt() const;
    // Seconds until then; 0 when it is not suspended.
    std::int64_t SecondsLeft() const;

private:
    std::time_t Now() const;

    const CClock& m_oClock;
    bool m_bSuspended = false;
    std::time_t m_tStart = 0;
    std::time_t m_tEnd = 0;
};
