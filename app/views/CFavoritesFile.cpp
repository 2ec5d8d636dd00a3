#include "app/views/CFavoritesFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {
std::string Quoted(const std::string& sText) {
    std::string sOut = "\"";
    for (const char c : sText) {
        // One record is one line: a line break inside a name would split it.
        sOut += (c == '\r' || c == '\n') ? ' ' : c;
        if (c == '"') {
            sOut += '"';
        }
    }
    return sOut + "\"";
}

// A damaged record; the reader skips to the next line end.
struct SDamaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CReader {
public:
    explicit CReader(const std::string& sText) : m_sText(sText) {}

    bool AtEnd() const { return m_nPos >= m_sText.size(); }
    size_t Position() const { return m_nPos; }

    // Skips blank lines between records.
    void SkipBlankLines() {
        while (!AtEnd() && (Peek() == '\r' || Peek() == '\n' || Peek() == ' ')) {
            ++m_nPos;
        }
    }

    FavoriteRecord ReadRecord() {
        FavoriteRecord oRecord;
        oRecord.DaysAccessed = ReadInteger();
        ExpectComma();
        oRecord.LastAccessed = ReadDate();
        ExpectComma();
        oRecord.File = ReadText();
        ExpectComma();
        oRecord.TargetFileName = ReadText();
        ExpectComma();
        oRecord.WorkingDirectory = ReadText();
        ExpectComma();
        oRecord.TargetClass = ReadText();
        ExpectComma();
        oRecord.IconFile = ReadText();
        ExpectComma();
        oRecord.IconIndex = ReadInteger();
        SkipBlanks();
        if (!AtEnd() && Peek() != '\r' && Peek() != '\n') {
            throw SDamaged("more than eight fields");
        }
        return oRecord;
    }

    // Goes on to the line end that follows the damage (a carriage return alone ends a line
    // too); the line ends are skipped with the blank lines.
    void SkipLine() {
        while (!AtEnd() && m_sText[m_nPos] != '\n' && m_sText[m_nPos] != '\r') {
            ++m_nPos;
        }
    }

private:
    char Peek() const { return m_sText[m_nPos]; }

    void SkipBlanks() {
        while (!AtEnd() && Peek() == ' ') {
            ++m_nPos;
        }
    }

    void ExpectComma() {
        SkipBlanks();
        if (AtEnd() || Peek() != ',') {
            throw SDamaged("a field is missing");
        }
        ++m_nPos;
    }

    bool AtValueEnd(size_t nPos) const {
        return nPos >= m_sText.size() || m_sText[nPos] == ',' || m_sText[nPos] == '\r' ||
               m_sText[nPos] == '\n';
    }

    // A plain value up to the next comma or line end.
    std::string ReadBare() {
        SkipBlanks();
        const size_t nStart = m_nPos;
        while (!AtValueEnd(m_nPos)) {
            ++m_nPos;
        }
        std::string sValue = m_sText.substr(nStart, m_nPos - nStart);
        while (!sValue.empty() && sValue.back() == ' ') {
            sValue.pop_back();
        }
        return sValue;
    }

    std::int32_t ReadInteger() {
        const std::string sValue = ReadBare();
        std::int32_t lValue = 0;
        const auto oResult = std::from_chars(sValue.data(), sValue.data() + sValue.size(), lValue);
        if (sValue.empty() || oResult.ec != std::errc() ||
            oResult.ptr != sValue.data() + sValue.size()) {
            throw SDamaged("not a whole number: " + sValue);
        }
        return lValue;
    }

    // Text between double quotes. A doubled quote stands for one quote; a quote that is not
    // followed by a comma or a line end is kept as it stands, as older files (which wrote
    // quotes undoubled) hold it.
    std::string ReadText() {
        SkipBlanks();
        if (AtEnd() || Peek() != '"') {
            throw SDamaged("a text does not begin with a quote");
        }
        ++m_nPos;
        std::string sValue;
        while (true) {
            if (AtEnd()) {
                throw SDamaged("a text has no closing quote");
            }
            const char c = m_sText[m_nPos++];
            if (c == '\r' || c == '\n') {
                --m_nPos;
                throw SDamaged("a text runs past the line end");
            }
            if (c != '"') {
                sValue += c;
                continue;
            }
            if (!AtEnd() && Peek() == '"') {
                sValue += '"';
                ++m_nPos;
                continue;
            }
            size_t nAfter = m_nPos;
            while (nAfter < m_sText.size() && m_sText[nAfter] == ' ') {
                ++nAfter;
            }
            if (AtValueEnd(nAfter)) {
                m_nPos = nAfter;
                return sValue;
            }
            sValue += '"';
        }
    }

    CDateTime ReadDate() {
        SkipBlanks();
        if (AtEnd() || Peek() != '#') {
            throw SDamaged("a date does not begin with #");
        }
        // The closing # is looked for on this line only: a date cut short must not take the
        // next record with it.
        size_t nClose = m_nPos + 1;
        while (nClose < m_sText.size() && m_sText[nClose] != '#' && m_sText[nClose] != '\r' &&
               m_sText[nClose] != '\n') {
            ++nClose;
        }
        if (nClose >= m_sText.size() || m_sText[nClose] != '#') {
            m_nPos = nClose;
            throw SDamaged("a date has no closing #");
        }
        const std::string sValue = m_sText.substr(m_nPos + 1, nClose - m_nPos - 1);
        m_nPos = nClose + 1;
        int iYear = 1899, iMonth = 12, iDay = 30, iHour = 0, iMinute = 0, iSecond = 0;
        int iUsed = 0;
        std::optional<CDateTime> oDate;
        bool bRead =
            std::sscanf(sValue.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &iYear, &iMonth, &iDay, &iHour,
                        &iMinute, &iSecond, &iUsed) == 6 ||
            std::sscanf(sValue.c_str(), "%4d-%2d-%2d%n", &iYear, &iMonth, &iDay, &iUsed) == 3;
        if (!bRead) {
            // The date forms took the hours of "hh:mm:ss" for a year: a time alone lies on
            // the empty date.
            iYear = 1899;
            iMonth = 12;
            iDay = 30;
            bRead = std::sscanf(sValue.c_str(), "%2d:%2d:%2d%n", &iHour, &iMinute, &iSecond,
                                &iUsed) == 3;
        }
        if (bRead) {
            if (static_cast<size_t>(iUsed) == sValue.size()) {
                oDate = CDateTime::FromValidParts(iYear, iMonth, iDay, iHour, iMinute, iSecond);
            }
        }
        if (!oDate) {
            throw SDamaged("not a date: " + sValue);
        }
        return *oDate;
    }

    const std::string& m_sText;
    size_t m_nPos = 0;
};
} // namespace

std::string CFavoritesFile::FormatDate(const CDateTime& dDate) {
    char sz[32];
    if (dDate.IsMidnight()) {
        std::snprintf(sz, sizeof sz, "#%04d-%02d-%02d#", dDate.Year(), dDate.Month(), dDate.Day());
    } else if (dDate.DatePart().IsEmpty()) {
        std::snprintf(sz, sizeof sz, "#%02d:%02d:%02d#", dDate.Hour(), dDate.Minute(),
                      dDate.Second());
    } else {
        std::snprintf(sz, sizeof sz, "#%s#", dDate.ToIsoText().c_str());
    }
    return sz;
}

std::string CFavoritesFile::FormatRecord(const FavoriteRecord& oRecord) {
    return std::to_string(oRecord.DaysAccessed) + "," + FormatDate(oRecord.LastAccessed) + "," +
           Quoted(oRecord.File) + "," + Quoted(oRecord.TargetFileName) + "," +
           Quoted(oRecord.WorkingDirectory) + "," + Quoted(oRecord.TargetClass) + "," +
           Quoted(oRecord.IconFile) + "," + std::to_string(oRecord.IconIndex) + "\r\n";
}

std::vector<FavoriteRecord> CFavoritesFile::Parse(
    const std::string& sText,
    const std::function<void(int iLine, const std::string& sReason)>& OnDamagedLine) {
    std::vector<FavoriteRecord> vRecords;
    CReader oReader(sText);
    int iLine = 1;
    size_t nCounted = 0;
    oReader.SkipBlankLines();
    while (!oReader.AtEnd()) {
        const size_t nStart = oReader.Position();
        try {
            vRecords.push_back(oReader.ReadRecord());
        } catch (const SDamaged& oDamage) {
            // Line breaks are counted on from the last damaged line, never from the start:
            // a file of damaged lines is read in linear time.
            iLine += static_cast<int>(std::count(sText.begin() + static_cast<long>(nCounted),
                                                 sText.begin() + static_cast<long>(nStart), '\n'));
            nCounted = nStart;
            if (OnDamagedLine) {
                OnDamagedLine(iLine, oDamage.what());
            }
            oReader.SkipLine();
        }
        oReader.SkipBlankLines();
    }
    return vRecords;
}
