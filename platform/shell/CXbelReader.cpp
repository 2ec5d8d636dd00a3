#include "platform/shell/CXbelReader.h"

#include "platform/shell/MFileUri.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>

namespace {
const QString BookmarkNamespace =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");

bool IsBookmarkElement(const QXmlStreamReader& oXml, QStringView sName) {
    return oXml.name() == sName && (oXml.namespaceUri() == BookmarkNamespace ||
                                    oXml.qualifiedName().startsWith(u"bookmark:"));
}

bool IsFileScheme(const std::string& sUri) {
    return sUri.size() >= 5 && (sUri[0] | 0x20) == 'f' && (sUri[1] | 0x20) == 'i' &&
           (sUri[2] | 0x20) == 'l' && (sUri[3] | 0x20) == 'e' && sUri[4] == ':';
}

// Reads a fixed number of digits at nPos; a sign is no digit.
bool Digits(const std::string& sText, std::size_t& nPos, std::size_t nCount, int& iValue) {
    if (nPos + nCount > sText.size()) {
        return false;
    }
    const char* pBegin = sText.data() + nPos;
    if (!std::all_of(pBegin, pBegin + nCount, [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto oResult = std::from_chars(pBegin, pBegin + nCount, iValue);
    if (oResult.ec != std::errc() || oResult.ptr != pBegin + nCount) {
        return false;
    }
    nPos += nCount;
    return true;
}

bool Expect(const std::string& sText, std::size_t& nPos, char c) {
    if (nPos < sText.size() && sText[nPos] == c) {
        ++nPos;
        return true;
    }
    return false;
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t llYear, int iMonth, int iDay) {
    llYear -= iMonth <= 2 ? 1 : 0;
    const std::int64_t llEra = (llYear >= 0 ? llYear : llYear - 399) / 400;
    const std::int64_t llYearOfEra = llYear - llEra * 400;
    const std::int64_t llDayOfYear = (153 * (iMonth + (iMonth > 2 ? -3 : 9)) + 2) / 5 + iDay - 1;
    const std::int64_t llDayOfEra =
        llYearOfEra * 365 + llYearOfEra / 4 - llYearOfEra / 100 + llDayOfYear;
    return llEra * 146097 + llDayOfEra - 719468;
}

int DaysInMonth(int iYear, int iMonth) {
    static const int aiDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (iYear % 4 == 0 && iYear % 100 != 0) || iYear % 400 == 0;
    return iMonth == 2 && bLeap ? 29 : aiDays[iMonth - 1];
}

// The bookmark being read.
struct SBookmark {
    std::string sHref;
    std::int64_t llLastUse = 0;
    bool bDated = false;
    bool bPrivate = false;
    int iBadTimes = 0;

    // A time attribute, if it is there and not empty.
    void Time(const QXmlStreamAttributes& oAttributes, QLatin1String sName,
              std::optional<std::int64_t> (*fParse)(QStringView)) {
        const QStringView sValue = oAttributes.value(sName);
        if (sValue.isEmpty()) {
            return;
        }
        const std::optional<std::int64_t> ollTime = fParse(sValue);
        if (ollTime) {
            llLastUse = bDated ? std::max(llLastUse, *ollTime) : *ollTime;
            bDated = true;
        } else {
            ++iBadTimes;
        }
    }
};

// The problems of one read, told in one line.
struct SProblems {
    int iNoHref = 0;
    int iBadHref = 0;
    int iUndated = 0;
    int iBadTimes = 0;
    std::string sXmlError;

    std::string Text() const {
        std::string sText;
        const auto Add = [&sText](int iCount, const char* szWhat) {
            if (iCount > 0) {
                sText += (sText.empty() ? "" : "; ") + std::to_string(iCount) + " " + szWhat;
            }
        };
        Add(iNoHref, "bookmarks without an address skipped");
        Add(iBadHref, "bookmarks with a malformed file address skipped");
        Add(iUndated, "bookmarks without a valid time skipped");
        Add(iBadTimes, "malformed times ignored");
        if (!sXmlError.empty()) {
            sText += (sText.empty() ? "" : "; ") + sXmlError;
        }
        return sText;
    }
};

std::optional<std::int64_t> IsoTime(QStringView sValue) {
    return CXbelReader::ParseTime(sValue.toString().toStdString());
}

std::optional<std::int64_t> UnixTimestamp(QStringView sValue) {
    bool bOk = false;
    const qlonglong llSeconds = sValue.toLongLong(&bOk);
    if (!bOk || llSeconds < 0 || llSeconds > 253402300799LL) { // up to the year 9999
        return std::nullopt;
    }
    return static_cast<std::int64_t>(llSeconds) * 1000000;
}
} // namespace

std::optional<std::int64_t> CXbelReader::ParseTime(const std::string& sText) {
    std::size_t nPos = 0;
    int iYear = 0, iMonth = 0, iDay = 0, iHour = 0, iMinute = 0, iSecond = 0;
    if (!Digits(sText, nPos, 4, iYear) || !Expect(sText, nPos, '-') ||
        !Digits(sText, nPos, 2, iMonth) || !Expect(sText, nPos, '-') ||
        !Digits(sText, nPos, 2, iDay) || !(Expect(sText, nPos, 'T') || Expect(sText, nPos, 't')) ||
        !Digits(sText, nPos, 2, iHour) || !Expect(sText, nPos, ':') ||
        !Digits(sText, nPos, 2, iMinute) || !Expect(sText, nPos, ':') ||
        !Digits(sText, nPos, 2, iSecond)) {
        return std::nullopt;
    }
    if (iMonth < 1 || iMonth > 12 || iDay < 1 || iDay > DaysInMonth(iYear, iMonth) || iHour > 23 ||
        iMinute > 59 || iSecond > 60) {
        return std::nullopt;
    }
    std::int64_t llMicroseconds = 0;
    if (Expect(sText, nPos, '.') || Expect(sText, nPos, ',')) {
        std::int64_t llScale = 100000;
        const std::size_t nStart = nPos;
        for (; nPos < sText.size() && sText[nPos] >= '0' && sText[nPos] <= '9'; ++nPos) {
            llMicroseconds += (sText[nPos] - '0') * llScale; // digits past the sixth add nothing
            llScale /= 10;
        }
        if (nPos == nStart) {
            return std::nullopt;
        }
    }
    std::int64_t llOffsetSeconds = 0;
    if (nPos < sText.size() && (sText[nPos] == 'Z' || sText[nPos] == 'z')) {
        ++nPos;
    } else if (nPos < sText.size() && (sText[nPos] == '+' || sText[nPos] == '-')) {
        const int iSign = sText[nPos++] == '-' ? -1 : 1;
        int iOffsetHours = 0, iOffsetMinutes = 0;
        if (!Digits(sText, nPos, 2, iOffsetHours)) {
            return std::nullopt;
        }
        Expect(sText, nPos, ':');
        if (nPos < sText.size() && !Digits(sText, nPos, 2, iOffsetMinutes)) {
            return std::nullopt;
        }
        if (iOffsetHours > 23 || iOffsetMinutes > 59) {
            return std::nullopt;
        }
        llOffsetSeconds = iSign * (iOffsetHours * 3600 + iOffsetMinutes * 60);
    }
    if (nPos != sText.size()) {
        return std::nullopt;
    }
    const std::int64_t llSeconds = DaysFromCivil(iYear, iMonth, iDay) * 86400 + iHour * 3600 +
                                   iMinute * 60 + iSecond - llOffsetSeconds;
    return llSeconds * 1000000 + llMicroseconds;
}

CXbelReader::SResult CXbelReader::Read(const std::string& sText) {
    SResult oResult;
    SProblems oProblems;
    QXmlStreamReader oXml(
        QByteArray::fromRawData(sText.data(), static_cast<qsizetype>(sText.size())));
    int iDepth = 0;
    bool bInBookmark = false;
    bool bRootSeen = false;
    SBookmark oBookmark;
    while (!oXml.atEnd()) {
        const QXmlStreamReader::TokenType eToken = oXml.readNext();
        if (eToken == QXmlStreamReader::StartElement) {
            ++iDepth;
            if (iDepth == 1) {
                if (oXml.name() != u"xbel") {
                    oProblems.sXmlError = "the file is not a bookmark file";
                    break;
                }
                bRootSeen = true;
            } else if (iDepth == 2) {
                if (oXml.name() == u"bookmark" && oXml.namespaceUri().isEmpty()) {
                    bInBookmark = true;
                    oBookmark = SBookmark();
                    const QXmlStreamAttributes oAttributes = oXml.attributes();
                    oBookmark.sHref =
                        oAttributes.value(QLatin1String("href")).toString().toStdString();
                    oBookmark.Time(oAttributes, QLatin1String("added"), IsoTime);
                    oBookmark.Time(oAttributes, QLatin1String("modified"), IsoTime);
                    oBookmark.Time(oAttributes, QLatin1String("visited"), IsoTime);
                } else {
                    // folder, alias, separator, title, info of the file itself: not documents
                    oXml.skipCurrentElement();
                    --iDepth;
                }
            } else if (bInBookmark && IsBookmarkElement(oXml, u"private")) {
                oBookmark.bPrivate = true;
            } else if (bInBookmark && IsBookmarkElement(oXml, u"application")) {
                const QXmlStreamAttributes oAttributes = oXml.attributes();
                oBookmark.Time(oAttributes, QLatin1String("modified"), IsoTime);
                oBookmark.Time(oAttributes, QLatin1String("timestamp"), UnixTimestamp);
            }
        } else if (eToken == QXmlStreamReader::EndElement) {
            if (iDepth == 2 && bInBookmark) {
                bInBookmark = false;
                oProblems.iBadTimes += oBookmark.iBadTimes;
                if (oBookmark.bPrivate) {
                    // The user's desktop keeps it from other programs: so do we.
                } else if (oBookmark.sHref.empty()) {
                    ++oProblems.iNoHref;
                } else if (!oBookmark.bDated) {
                    ++oProblems.iUndated;
                } else if (auto osPath = MFileUri::ToPath(oBookmark.sHref)) {
                    if (*osPath != "/") {
                        oResult.vDocuments.push_back({std::move(*osPath), oBookmark.llLastUse});
                    }
                } else if (IsFileScheme(oBookmark.sHref) &&
                           !MFileUri::PercentDecode(oBookmark.sHref)) {
                    ++oProblems.iBadHref; // another host's file is no fault, a bad escape is
                }
            }
            --iDepth;
        }
    }
    if (oXml.hasError()) {
        oProblems.sXmlError = "line " + std::to_string(oXml.lineNumber()) + ": " +
                              oXml.errorString().toStdString() +
                              (bInBookmark ? " (the bookmark there was skipped)" : "");
    } else if (!bRootSeen && oProblems.sXmlError.empty()) {
        oProblems.sXmlError = "the file holds no bookmark list";
    }
    oResult.sProblem = oProblems.Text();
    return oResult;
}
