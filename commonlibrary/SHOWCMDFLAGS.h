#pragma once

#include <cstdint>

namespace qlCommonLibrary {

// The window state a shell link stores: show (5, not the plain normal state 1), show maximised,
// show minimised without activating.
enum SHOWCMDFLAGS : std::int32_t {
    SHOWNORMAL = 5,
    SHOWMAXIMIZE = 3,
    SHOWMINIMIZE = 7,
};

} // namespace qlCommonLibrary
