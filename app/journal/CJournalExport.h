#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The journal for the command line: one day's documents (dayfold --list [DATE]) and the
// journal of a span of days with the days each document was used (dayfold --export csv|json
// [--from DATE] [--to DATE]). One row per document and day, whatever the number of its copies
// that day (the latest time counts), in a stable order: by date, then time, then name, then
// full path. Program shortcuts are not documents and are left out. Text is UTF-8 (see
// MJournalText). Runs on the calling thread with the application-wide objects created: the
// types come from the file-type registry, failures go to the error log.
class CJournalExport {
public:
    enum class EFormat { Csv, Json };

    struct SRow {
        CDateTime dDay;
        CDateTime dTime; // the latest copy's last-write time that day
        std::string sName;
        std::string sFolder;
        std::string sType;
        std::string sTargetFile;
        std::int32_t lDaysUsed = 0; // on how many days of the whole journal it was used
    };

    explicit CJournalExport(std::string sDailyPath);

    std::string ClassName() const { return "CJournalExport"; }

    // "csv" or "json" (any letter case).
    static std::optional<EFormat> ParseFormat(const std::string& sText);

    // The documents of the day dDay, one line each: time, name, folder and type, separated by
    // tabs (MJournalText::TabField), ordered by time and name. A day without documents prints
    // nothing. Returns the exit code: 0, or 1 (with a line on oErr) when the output could not
    // be written.
    int List(const CDateTime& dDay, std::ostream& oOut, std::ostream& oErr);

    // The rows of the days from dFrom to dTo (both included; an empty date leaves that end
    // open), in CSV with a header line, or as a JSON array of objects, with the columns date,
    // time, name, folder, type, target, days_used. Returns 0, or 1 (with a line on oErr) when
    // dFrom is after dTo or the output could not be written. Shortcuts that could not be read
    // are logged and named on oErr; the rest is written and the code stays 0.
    int Export(EFormat eFormat, const CDateTime& dFrom, const CDateTime& dTo, std::ostream& oOut,
               std::ostream& oErr);

    // The rows of the span, ordered; bDaysUsed: count the days of use over the whole journal.
    std::vector<SRow> Rows(const CDateTime& dFrom, const CDateTime& dTo, bool bDaysUsed);
    // Shortcuts the last Rows could not read.
    std::int32_t Failures() const { return m_lFailures; }

private:
    std::string m_sDailyPath;
    std::int32_t m_lFailures = 0;
};
