// The reader of the link entries of the desktop's RecentDocuments folder, which any program of
// the session may write.
#include "MFuzzCheck.h"

#include "platform/shell/CRecentLinkReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

using MFuzzCheck::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    const std::string sHome = "/home/fuzz";
    std::string sPath;
    std::string sProblem;
    switch (CRecentLinkReader::Read(sText, sHome, sPath, sProblem)) {
    case CRecentLinkReader::EResult::Document:
        Expect(!sPath.empty() && sPath[0] == '/', "a linked document has an absolute path");
        Expect(sPath.find('\0') == std::string::npos, "a linked document's path holds no NUL");
        break;
    case CRecentLinkReader::EResult::Damaged:
        Expect(!sProblem.empty(), "a damaged link entry is told with its reason");
        break;
    case CRecentLinkReader::EResult::NotLocal:
        break;
    }
    // The expansion of URL[$e] on its own, with every variable form the input brings.
    CRecentLinkReader::ExpandVariables(sText, sHome);
    return 0;
}
