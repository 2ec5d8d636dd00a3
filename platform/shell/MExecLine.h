#pragma once

#include <string>
#include <vector>

// The words of a command line written the way desktop entries write their Exec values: split
// at blanks, double quotes group (an empty pair is an empty word), and inside quotes a
// backslash escapes '"', '`', '$' and '\'. Outside quotes a backslash is an ordinary character,
// so Windows paths keep theirs. Desktop entries and the opener read their commands alike.
namespace MExecLine {

enum class EPercent {
    // Every character as written.
    AsWritten,
    // Field codes have no place inside quotes: there a "%" comes out as "%%" (a "%%" as written
    // stays one "%%"), so that a document's path is never put into a quoted text such as a
    // shell command.
    LiteralInQuotes,
};

struct SWords {
    std::vector<std::string> vWords;
    // A quote was left open; the words then end with the open one's text.
    bool bQuoteOpen = false;
};

SWords Split(const std::string& sLine, EPercent ePercent);

} // namespace MExecLine
