#include "app/journal/CJournalExport.h"

#include "app/core/MDayfold.h"
#include "app/journal/CJournalIndex.h"
#include "app/journal/CJournalScan.h"
#include "app/journal/MJournalText.h"
#include "app/repository/CShortcutCache.h"
#include "app/views/CFavorites.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MCaseFold.h"

#include <algorithm>
#include <ostream>
#include <unordered_map>

namespace {
const char* const Columns[] = {"date", "time", "name", "folder", "type", "target", "days_used"};

bool Earlier(const CJournalExport::SRow& a, const CJournalExport::SRow& b) {
    if (a.dDay != b.dDay) {
        return a.dDay < b.dDay;
    }
    if (a.dTime != b.dTime) {
        return a.dTime < b.dTime;
    }
    if (a.sName != b.sName) {
        return a.sName < b.sName;
    }
    return a.sTargetFile < b.sTargetFile;
}

// Writes the end of the output and tells whether it reached its file.
int Finish(std::ostream& oOut, std::ostream& oErr) {
    oOut.flush();
    if (!oOut) {
        oErr << "dayfold: the output could not be written\n";
        return 1;
    }
    return 0;
}
} // namespace

CJournalExport::CJournalExport(std::string sDailyPath) : m_sDailyPath(std::move(sDailyPath)) {}

std::optional<CJournalExport::EFormat> CJournalExport::ParseFormat(const std::string& sText) {
    if (MCaseFold::Equal(sText, "csv")) {
        return EFormat::Csv;
    }
    if (MCaseFold::Equal(sText, "json")) {
        return EFormat::Json;
    }
    return std::nullopt;
}

std::vector<CJournalExport::SRow> CJournalExport::Rows(const CDateTime& dFrom, const CDateTime& dTo,
                                                       bool bDaysUsed) {
    std::vector<SRow> vRows;
    m_lFailures = 0;
    try {
        CJournalIndex oWhole;
        if (bDaysUsed) {
            oWhole.BuildNow(m_sDailyPath);
        }
        CShortcutCache oTypes;
        std::unordered_map<std::string, std::string> colTypes; // extension -> description
        // A document once per day: its identity as the Favorites store reads a target.
        std::unordered_map<std::string, size_t> colSeen;
        CJournalScan oScan(m_sDailyPath);
        oScan.SetRange(dFrom, dTo);
        oScan.CopyFound = [&](const SJournalCopy& oCopy) {
            std::string sKey =
                std::to_string(CJournalScan::DayNumber(oCopy.dDay)) + '\n' +
                (oCopy.sTargetFile.empty() ? CFavorites::NameKey(oCopy.sShortcutName)
                                           : CFavorites::TargetKey(oCopy.sTargetFile));
            const auto itSeen = colSeen.find(sKey);
            if (itSeen != colSeen.end()) {
                SRow& oRow = vRows[itSeen->second];
                oRow.dTime = std::max(oRow.dTime, oCopy.dModified);
                return;
            }
            SRow oRow;
            oRow.dDay = oCopy.dDay;
            oRow.dTime = oCopy.dModified;
            oRow.sName = oCopy.sName;
            oRow.sFolder = oCopy.sFolder;
            oRow.sTargetFile = oCopy.sTargetFile;
            const std::string sExtension = CJournalScan::ExtensionOf(oCopy.sTargetFileName);
            auto itType = colTypes.find(sExtension);
            if (itType == colTypes.end()) {
                itType = colTypes.emplace(sExtension, CJournalScan::TargetClass(sExtension, oTypes))
                             .first;
            }
            oRow.sType = itType->second;
            if (bDaysUsed) {
                const std::optional<SJournalDocument> oDocument = oWhole.Document(oCopy);
                oRow.lDaysUsed = oDocument ? oDocument->lDaysUsed : 1;
            }
            colSeen.emplace(std::move(sKey), vRows.size());
            vRows.push_back(std::move(oRow));
        };
        oScan.Scan();
        m_lFailures = oScan.FailureCount();
        CJournalScan::LogFailures(oScan.Failures(), m_lFailures, "CJournalExport.Rows");
        std::sort(vRows.begin(), vRows.end(), Earlier);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalExport.Rows", false);
    }
    return vRows;
}

int CJournalExport::List(const CDateTime& dDay, std::ostream& oOut, std::ostream& oErr) {
    try {
        for (const SRow& oRow : Rows(dDay, dDay, false)) {
            oOut << MJournalText::IsoTime(oRow.dTime) << '\t' << MJournalText::TabField(oRow.sName)
                 << '\t' << MJournalText::TabField(oRow.sFolder) << '\t'
                 << MJournalText::TabField(oRow.sType) << '\n';
        }
        if (m_lFailures > 0) {
            oErr << "dayfold: " << m_lFailures
                 << " shortcut files of the day could not be read (see the error log)\n";
        }
        return Finish(oOut, oErr);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalExport.List", false);
        oErr << "dayfold: " << oError.what() << '\n';
        return 1;
    }
}

int CJournalExport::Export(EFormat eFormat, const CDateTime& dFrom, const CDateTime& dTo,
                           std::ostream& oOut, std::ostream& oErr) {
    try {
        if (!dFrom.IsEmpty() && !dTo.IsEmpty() && dFrom.DatePart() > dTo.DatePart()) {
            oErr << "dayfold: the first day " << MJournalText::IsoDate(dFrom)
                 << " is after the last day " << MJournalText::IsoDate(dTo) << '\n';
            return 1;
        }
        const std::vector<SRow> vRows = Rows(dFrom, dTo, true);
        if (eFormat == EFormat::Csv) {
            for (size_t i = 0; i < std::size(Columns); ++i) {
                oOut << (i == 0 ? "" : ",") << Columns[i];
            }
            oOut << "\r\n";
            for (const SRow& oRow : vRows) {
                oOut << MJournalText::IsoDate(oRow.dDay) << ',' << MJournalText::IsoTime(oRow.dTime)
                     << ',' << MJournalText::CsvField(oRow.sName) << ','
                     << MJournalText::CsvField(oRow.sFolder) << ','
                     << MJournalText::CsvField(oRow.sType) << ','
                     << MJournalText::CsvField(oRow.sTargetFile) << ',' << oRow.lDaysUsed << "\r\n";
            }
        } else {
            oOut << '[';
            for (size_t i = 0; i < vRows.size(); ++i) {
                const SRow& oRow = vRows[i];
                oOut << (i == 0 ? "\n" : ",\n") << "{\"date\":\""
                     << MJournalText::IsoDate(oRow.dDay) << "\",\"time\":\""
                     << MJournalText::IsoTime(oRow.dTime)
                     << "\",\"name\":" << MJournalText::JsonString(oRow.sName)
                     << ",\"folder\":" << MJournalText::JsonString(oRow.sFolder)
                     << ",\"type\":" << MJournalText::JsonString(oRow.sType)
                     << ",\"target\":" << MJournalText::JsonString(oRow.sTargetFile)
                     << ",\"days_used\":" << oRow.lDaysUsed << '}';
            }
            oOut << (vRows.empty() ? "]\n" : "\n]\n");
        }
        if (m_lFailures > 0) {
            oErr << "dayfold: " << m_lFailures
                 << " shortcut files of the repository could not be read (see the error log)\n";
        }
        return Finish(oOut, oErr);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CJournalExport.Export", false);
        oErr << "dayfold: " << oError.what() << '\n';
        return 1;
    }
}
