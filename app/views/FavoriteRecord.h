#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <string>

// One document's usage: the eight fields, in the order of Favorites.dat and of the table the
// store hands to the views.
struct FavoriteRecord {
    std::int32_t DaysAccessed = 0;
    CDateTime LastAccessed;
    std::string File;
    std::string TargetFileName;
    std::string WorkingDirectory;
    std::string TargetClass;
    std::string IconFile;
    std::int32_t IconIndex = 0;

    bool operator==(const FavoriteRecord&) const = default;
};
