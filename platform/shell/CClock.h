#pragma once

#include "platform/shell/CDateTime.h"

// The source of "now". The program asks the clock, never the system directly, so that tests
// choose every date themselves.
class CClock {
public:
    virtual ~CClock() = default;
    virtual CDateTime Now() const = 0;

    // The system's local wall clock.
    static const CClock& System();
};
