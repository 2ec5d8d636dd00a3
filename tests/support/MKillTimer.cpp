#include "support/MKillTimer.h"

#include <csignal>
#include <ctime>
#include <unistd.h>

namespace MKillTimer {

void ArmInChild(long lMicroseconds) {
    signal(SIGALRM, [](int) { raise(SIGKILL); });
    timer_t oTimer{};
    sigevent oEvent{};
    oEvent.sigev_notify = SIGEV_SIGNAL;
    oEvent.sigev_signo = SIGALRM;
    itimerspec oWhen{};
    oWhen.it_value.tv_sec = lMicroseconds / 1000000;
    // Never zero: a zero time would disarm the timer.
    oWhen.it_value.tv_nsec = (lMicroseconds % 1000000) * 1000 + 1;
    if (timer_create(CLOCK_MONOTONIC, &oEvent, &oTimer) != 0 ||
        timer_settime(oTimer, 0, &oWhen, nullptr) != 0) {
        _exit(2);
    }
}

} // namespace MKillTimer
