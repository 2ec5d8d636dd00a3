#include "CorpusSupport.h"

#include "CJsonValue.h"
#include "support/CTempFolder.h"

#include <fstream>
#include <iterator>

namespace CorpusSupport {

std::string Folder() {
    return DAYFOLD_TEST_DATA "/lnk-corpus";
}

std::vector<std::uint8_t> ReadBytes(const std::string& sPath) {
    std::ifstream oFile(sPath, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(oFile),
                                     std::istreambuf_iterator<char>());
}

std::vector<std::string> FileNames() {
    const CJsonValue oManifest =
        CJsonValue::Parse(CTempFolder::ReadFile(Folder() + "/manifest.json"));
    std::vector<std::string> vNames;
    for (const CJsonValue& oEntry : oManifest.Items()) {
        vNames.push_back(oEntry["file"].AsString());
    }
    return vNames;
}

} // namespace CorpusSupport
