#pragma once

#include <cstdint>
#include <string>

// One document the desktop's records say was used: its local path and the time of its last
// use, in microseconds since 1970-01-01 00:00:00 UTC.
struct SRecentDocument {
    std::string sPath;
    std::int64_t llLastUse = 0;
};
