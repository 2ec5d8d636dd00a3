#pragma once

#include "platform/shell/SRecentDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The documents of a desktop bookmark file (XBEL, the format of recently-used.xbel). Each
// <bookmark> directly inside <xbel> with a local file: href is one document; its last use is
// the latest of the bookmark's added, modified and visited times and of its applications'
// modified times and older Unix "timestamp" attributes. Bookmarks marked private, with
// another scheme or host, and the folder, alias and separator elements are left out.
// Malformed input never stops the read: every well-formed bookmark before an XML error is
// taken, and what was skipped is described in one problem text.
class CXbelReader {
public:
    struct SResult {
        std::vector<SRecentDocument> vDocuments;
        // Empty when every bookmark was well formed, else what was skipped and why.
        std::string sProblem;
    };

    static SResult Read(const std::string& sText);

    // An ISO 8601 date-time as the bookmark file writes it ("2024-03-05T10:11:12Z",
    // "2024-03-05T10:11:12.123456Z", with or without a zone offset; without one it is UTC),
    // in microseconds since the Unix epoch; nullopt when malformed.
    static std::optional<std::int64_t> ParseTime(const std::string& sText);
};
