#pragma once

#include "platform/shell/CDateTime.h"

#include <optional>
#include <string>

// The texts of the journal's output: ISO dates and times, and fields for CSV, JSON and the
// tab-separated lines of the day listing. Every field comes out as well-formed UTF-8: a byte
// that does not belong to a UTF-8 sequence (a name written in another encoding) becomes U+FFFD.
namespace MJournalText {

// "yyyy-mm-dd" and "hh:mm:ss" (24 hours).
std::string IsoDate(const CDateTime& dDate);
std::string IsoTime(const CDateTime& dTime);
// The date that "yyyy-mm-dd" names (exactly ten characters, a real calendar date); nothing
// for any other text.
std::optional<CDateTime> ParseIsoDate(const std::string& sText);

// The text with every malformed UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(const std::string& sText);

// A CSV field (RFC 4180): between double quotes, with each quote doubled, when it holds a
// comma, a quote, a line break, or a blank at either end; as it is otherwise. A control
// character other than tab and the line breaks is written "\xHH" (its code point), so that a
// terminal showing the file does not act on it; a field that begins with "=", "+", "-", "@",
// a tab or a carriage return gets a leading "'", so that a spreadsheet opening the file takes
// it for text and never for a formula.
std::string CsvField(const std::string& sText);

// A JSON string with its quotes. The quote and the backslash are escaped, and so is every
// control character (U+0000 to U+001F, U+007F to U+009F) and the two line separators U+2028
// and U+2029, so the text stays on its line in any reader.
std::string JsonString(const std::string& sText);

// A field of a tab-separated line: a backslash, tab, line feed and carriage return are written
// "\\", "\t", "\n" and "\r", any other control character (C0, DEL and C1) "\xHH" with its
// code point, so one line stays one record and a terminal acts on none of it.
std::string TabField(const std::string& sText);

} // namespace MJournalText
