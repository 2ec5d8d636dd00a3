// The reader of the desktop's bookmark file of recently used documents, which any program of
// the session may write.
#include "MFuzzCheck.h"

#include "platform/shell/CXbelReader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using MFuzzCheck::Expect;

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A time the reader takes has digits where the format puts them: yyyy-mm-ddThh:mm:ss.
void ExpectTimeShape(const std::string& sText) {
    const std::optional<std::int64_t> ollTime = CXbelReader::ParseTime(sText);
    if (!ollTime) {
        return;
    }
    bool bDigits = sText.size() >= 19;
    for (const std::size_t n : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
        bDigits = bDigits && IsDigit(sText[n]);
    }
    Expect(bDigits, "a time is taken only with digits in its date and time fields");
    // Years 0000 to 9999, give or take a day of zone offset.
    constexpr std::int64_t llEarliest = (-62167219200LL - 86400) * 1000000;
    constexpr std::int64_t llLatest = (253402300799LL + 86400) * 1000000 + 999999;
    Expect(*ollTime >= llEarliest && *ollTime <= llLatest, "a time lies within years 0 to 9999");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    const CXbelReader::SResult oResult = CXbelReader::Read(sText);
    for (const SRecentDocument& oDocument : oResult.vDocuments) {
        Expect(!oDocument.sPath.empty() && oDocument.sPath[0] == '/',
               "a document of the bookmark file has an absolute path");
        Expect(oDocument.sPath.find('\0') == std::string::npos,
               "a document's path holds no NUL byte");
    }
    // Short inputs are times as the bookmark file writes them.
    if (nSize <= 64) {
        ExpectTimeShape(sText);
    }
    return 0;
}
