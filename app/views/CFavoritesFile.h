#pragma once

#include "app/views/FavoriteRecord.h"

#include <functional>
#include <string>
#include <vector>

// The text form of Favorites.dat: one line per record, eight comma-separated fields, texts in
// double quotes (a quote inside doubled, a line break as a space), the date-time between number
// signs, CR LF line ends.
class CFavoritesFile {
public:
    static std::string FormatRecord(const FavoriteRecord& oRecord);
    static std::string FormatDate(const CDateTime& dDate);

    // Parses the whole file. A damaged line loses only its own record: the reader reports it
    // through OnDamagedLine (line number and reason) and goes on at the next line end.
    static std::vector<FavoriteRecord>
    Parse(const std::string& sText,
          const std::function<void(int iLine, const std::string& sReason)>& OnDamagedLine);
};
