#include "platform/shell/CClock.h"

#include <ctime>

namespace {
class CSystemClock : public CClock {
public:
    CDateTime Now() const override { return CDateTime::FromUnixTime(std::time(nullptr)); }
};
} // namespace

const CClock& CClock::System() {
    static const CSystemClock oClock;
    return oClock;
}
