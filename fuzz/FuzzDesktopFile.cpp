// The reader of the desktop databases' key files: desktop entries, mimeapps.list and
// mimeinfo.cache, which packages and the user's programs write.
#include "MFuzzCheck.h"

#include "platform/registry/CDesktopFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using MFuzzCheck::Expect;

namespace {

// The groups the program reads.
constexpr const char* Groups[] = {"Desktop Entry", "Default Applications", "Added Associations",
                                  "Removed Associations", "MIME Cache"};

// An argument quoted for an Exec line splits back into that one argument. Inside quotes a "%"
// is made literal text ("%%"), so a text with one is left to the field-code checks.
void ExpectQuotedArgumentSplitsBack(const std::string& sArgument) {
    if (sArgument.find('%') != std::string::npos) {
        return;
    }
    const std::optional<std::vector<std::string>> ovWords =
        CDesktopFile::SplitExec(CDesktopFile::QuoteExecArgument(sArgument));
    Expect(ovWords && ovWords->size() == 1 && ovWords->front() == sArgument,
           "a quoted Exec argument splits back into itself");
}

void ExpectExecLine(const std::string& sExec) {
    const std::optional<std::vector<std::string>> ovWords = CDesktopFile::SplitExec(sExec);
    if (!ovWords) {
        return;
    }
    // The words quoted and joined again give the same words.
    std::string sJoined;
    bool bHasPercent = false;
    for (const std::string& sWord : *ovWords) {
        sJoined += (sJoined.empty() ? "" : " ") + CDesktopFile::QuoteExecArgument(sWord);
        bHasPercent = bHasPercent || sWord.find('%') != std::string::npos;
        ExpectQuotedArgumentSplitsBack(sWord);
    }
    if (!bHasPercent) {
        Expect(CDesktopFile::SplitExec(sJoined) == ovWords,
               "Exec words quoted and joined split back into the same words");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    const CDesktopFile oFile = CDesktopFile::FromText(sText);
    for (const char* szGroup : Groups) {
        for (const auto& [sKey, sValue] : oFile.Entries(szGroup)) {
            Expect(oFile.Value(szGroup, sKey).has_value(), "every key of a group has a value");
            oFile.LocalizedValue(szGroup, sKey);
            const std::string sUnescaped = CDesktopFile::Unescape(sValue);
            for (const std::string& sItem : CDesktopFile::SplitList(sValue)) {
                Expect(!sItem.empty() && sItem.find(';') == std::string::npos,
                       "a list item is neither empty nor holds the separator");
            }
            ExpectExecLine(sUnescaped);
            ExpectQuotedArgumentSplitsBack(sUnescaped);
        }
    }
    return 0;
}
