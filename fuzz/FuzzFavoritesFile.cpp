// The reader of Favorites.dat: a file the user may have edited or a crash may have cut short.
#include "MFuzzCheck.h"

#include "app/views/CFavoritesFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using MFuzzCheck::Expect;

namespace {

std::uint64_t LittleEndian(const std::uint8_t* pData, std::size_t nBytes) {
    std::uint64_t llValue = 0;
    for (std::size_t n = nBytes; n > 0; --n) {
        llValue = (llValue << 8) | pData[n - 1];
    }
    return llValue;
}

// The same bytes read as one record, as the store may hold it: four bytes of days, eight of
// date-time (seconds from the empty date, folded into the years 1 to 9999), four of icon
// index, then the five texts split at NUL bytes.
FavoriteRecord RecordOf(const std::uint8_t* pData, std::size_t nSize) {
    FavoriteRecord oRecord;
    oRecord.DaysAccessed = static_cast<std::int32_t>(LittleEndian(pData, 4));
    const std::int64_t llEmpty = CDateTime().LocalSeconds();
    const std::int64_t llFirst = CDateTime::FromParts(1, 1, 1).LocalSeconds();
    const std::int64_t llLast = CDateTime::FromParts(9999, 12, 31, 23, 59, 59).LocalSeconds();
    const auto llOffset = static_cast<std::int64_t>(LittleEndian(pData + 4, 8));
    const std::int64_t llSeconds = llOffset >= 0
                                       ? llEmpty + llOffset % (llLast - llEmpty + 1)
                                       : llEmpty - (-(llOffset + 1) % (llEmpty - llFirst)) - 1;
    oRecord.LastAccessed = CDateTime().AddSeconds(llSeconds - llEmpty);
    oRecord.IconIndex = static_cast<std::int32_t>(LittleEndian(pData + 12, 4));
    std::string* const aTexts[] = {&oRecord.File, &oRecord.TargetFileName,
                                   &oRecord.WorkingDirectory, &oRecord.TargetClass,
                                   &oRecord.IconFile};
    const std::string sRest = MFuzzCheck::Text(pData + 16, nSize - 16);
    std::size_t nStart = 0;
    for (std::string* pText : aTexts) {
        const std::size_t nEnd = std::min(sRest.find('\0', nStart), sRest.size());
        if (nStart < sRest.size()) {
            *pText = sRest.substr(nStart, nEnd - nStart);
        }
        nStart = nEnd + 1;
    }
    return oRecord;
}

// A record as the writer keeps it: one line, so line breaks in its texts become blanks.
FavoriteRecord OnOneLine(FavoriteRecord oRecord) {
    for (std::string* pText : {&oRecord.File, &oRecord.TargetFileName, &oRecord.WorkingDirectory,
                               &oRecord.TargetClass, &oRecord.IconFile}) {
        std::replace(pText->begin(), pText->end(), '\r', ' ');
        std::replace(pText->begin(), pText->end(), '\n', ' ');
    }
    return oRecord;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    // Lines are numbered at line feeds; a carriage return alone also ends a record.
    const int iLines = 1 + static_cast<int>(std::count(sText.begin(), sText.end(), '\n'));
    const int iRecordEnds = iLines + static_cast<int>(std::count(sText.begin(), sText.end(), '\r'));
    int iLastDamaged = 0;
    int iDamaged = 0;
    const std::vector<FavoriteRecord> vRecords =
        CFavoritesFile::Parse(sText, [&](int iLine, const std::string& sReason) {
            Expect(iLine >= iLastDamaged && iLine >= 1 && iLine <= iLines,
                   "damaged lines are told in order, by their number in the file");
            Expect(!sReason.empty(), "a damaged line is told with its reason");
            iLastDamaged = iLine;
            ++iDamaged;
        });
    Expect(static_cast<int>(vRecords.size()) + iDamaged <= iRecordEnds,
           "every record ends at a line end of its own");

    // What was read is saved by the writer and read back the same.
    std::string sWritten;
    for (const FavoriteRecord& oRecord : vRecords) {
        sWritten += CFavoritesFile::FormatRecord(oRecord);
    }
    const std::vector<FavoriteRecord> vAgain =
        CFavoritesFile::Parse(sWritten, [](int, const std::string&) {
            Expect(false, "a file the writer made has no damaged line");
        });
    Expect(vAgain == vRecords, "records written and read back are the records");

    if (nSize >= 16) {
        const FavoriteRecord oRecord = RecordOf(pData, nSize);
        const std::vector<FavoriteRecord> vRead = CFavoritesFile::Parse(
            CFavoritesFile::FormatRecord(oRecord), [](int, const std::string&) {
                Expect(false, "a record the writer made is not damaged");
            });
        Expect(vRead.size() == 1 && vRead.front() == OnOneLine(oRecord),
               "a record written and read back is the same record");
    }
    return 0;
}
