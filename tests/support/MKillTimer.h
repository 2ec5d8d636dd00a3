#pragma once

// For tests that kill a process in the middle of its work: in a forked child, arms a timer that
// kills the child with SIGKILL after lMicroseconds, as a crash or a power cut would end it,
// without a chance to clean up. A child whose timer cannot be set ends at once with status 2.
namespace MKillTimer {
void ArmInChild(long lMicroseconds);
}
