#pragma once

#include <cstdint>

namespace qlCommonLibrary {

// Storage-mode flags, published for clients; no operation takes them.
enum STGM : std::int32_t {
    STGM_DIRECT = 0,
    STGM_TRANSACTED = 0x10000,
    STGM_SIMPLE = 0x8000000,
    STGM_READ = 0,
    STGM_WRITE = 1,
    STGM_READWRITE = 2,
    STGM_SHARE_DENY_NONE = 0x40,
    STGM_SHARE_DENY_READ = 0x30,
    STGM_SHARE_DENY_WRITE = 0x20,
    STGM_SHARE_EXCLUSIVE = 0x10,
    STGM_PRIORITY = 0x40000,
    STGM_DELETEONRELEASE = 0x4000000,
    STGM_CREATE = 0x1000,
    STGM_CONVERT = 0x20000,
    STGM_FAILIFTHERE = 0,
    STGM_NOSCRATCH = 0x100000,
};

} // namespace qlCommonLibrary
