// The reader of the settings file, which a person may edit or import from elsewhere.
#include "MFuzzCheck.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CSettingsFile.h"
#include "platform/registry/CSettingsTree.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using MFuzzCheck::Expect;

namespace {

bool SameTree(const CSettingsTree& oFirst, const CSettingsTree& oSecond) {
    if (oFirst.Keys().size() != oSecond.Keys().size()) {
        return false;
    }
    for (std::size_t n = 0; n < oFirst.Keys().size(); ++n) {
        const CSettingsTree::SKey& oKey = oFirst.Keys()[n];
        const CSettingsTree::SKey& oOther = oSecond.Keys()[n];
        if (oKey.sPath != oOther.sPath || oKey.vValues.size() != oOther.vValues.size()) {
            return false;
        }
        for (std::size_t i = 0; i < oKey.vValues.size(); ++i) {
            if (oKey.vValues[i].sName != oOther.vValues[i].sName ||
                oKey.vValues[i].sValue != oOther.vValues[i].sValue) {
                return false;
            }
        }
    }
    return true;
}

std::vector<std::string> SplitAtNul(const std::string& sText) {
    std::vector<std::string> vParts;
    std::size_t nStart = 0;
    for (std::size_t nNul = sText.find('\0'); nNul != std::string::npos;
         nNul = sText.find('\0', nStart)) {
        vParts.push_back(sText.substr(nStart, nNul - nStart));
        nStart = nNul + 1;
    }
    vParts.push_back(sText.substr(nStart));
    return vParts;
}

// The same bytes read as a tree the program may write: the first text a key's path (the
// program names its keys itself, on one line), then names and texts of its values, any bytes.
CSettingsTree TreeOf(const std::string& sText) {
    const std::vector<std::string> vParts = SplitAtNul(sText);
    std::string sPath = vParts.front();
    std::replace(sPath.begin(), sPath.end(), '\n', ' ');
    CSettingsTree oTree;
    CSettingsTree::SKey& oKey = oTree.EnsureKey(sPath);
    for (std::size_t n = 1; n + 1 < vParts.size(); n += 2) {
        if (CSettingsTree::FindValue(oKey, vParts[n]) == nullptr) {
            oKey.vValues.push_back({vParts[n], vParts[n + 1]});
        }
    }
    return oTree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    if (sText.find('\0') != std::string::npos) {
        const CSettingsTree oWritten = TreeOf(sText);
        try {
            Expect(SameTree(CSettingsFile::Parse(CSettingsFile::Format(oWritten)), oWritten),
                   "any value written comes back unchanged");
        } catch (const CRunTimeError&) {
            Expect(false, "a settings file the writer made reads back");
        }
    }

    CSettingsTree oTree;
    try {
        oTree = CSettingsFile::Parse(sText);
    } catch (const CRunTimeError& oError) {
        Expect(oError.Number() == RunTimeErrors::TypeMismatch,
               "a settings file that cannot be read is a type mismatch");
        return 0;
    }
    // Every key is found by its path, below a key that exists.
    for (const CSettingsTree::SKey& oKey : oTree.Keys()) {
        Expect(oTree.FindKey(oKey.sPath) == &oKey, "every key is found by its own path");
        const std::size_t nSlash = oKey.sPath.rfind('\\');
        Expect(oTree.FindKey(nSlash == std::string::npos ? "" : oKey.sPath.substr(0, nSlash)) !=
                   nullptr,
               "the key above every key exists");
        oTree.SubKeyPaths(oKey.sPath);
    }

    // The tree is saved by the writer and read back the same, and saved the same again.
    const std::string sWritten = CSettingsFile::Format(oTree);
    CSettingsTree oAgain;
    try {
        oAgain = CSettingsFile::Parse(sWritten);
    } catch (const CRunTimeError&) {
        Expect(false, "a settings file the writer made reads back");
    }
    Expect(SameTree(oAgain, oTree), "keys and values written and read back are the same");
    Expect(CSettingsFile::Format(oAgain) == sWritten, "a tree read back is written the same");
    return 0;
}
