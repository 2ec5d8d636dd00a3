// The reader of the settings file, which a person may edit or import from elsewhere.
#include "MFuzzCheck.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CSettingsFile.h"
#include "platform/registry/CSettingsTree.h"
#include "platform/registry/MRegistryText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using MFuzzCheck::Expect;

namespace {

bool SameTree(const CSettingsTree& oFirst, const CSettingsTree& oSecond) {
    if (oFirst.KeyCount() != oSecond.KeyCount()) {
        return false;
    }
    for (CSettingsTree::KeyId nKey = 0; nKey < oFirst.KeyCount(); ++nKey) {
        const std::vector<CSettingsTree::SValue>& vValues = oFirst.Values(nKey);
        const std::vector<CSettingsTree::SValue>& vOthers = oSecond.Values(nKey);
        if (oFirst.Path(nKey) != oSecond.Path(nKey) || vValues.size() != vOthers.size()) {
            return false;
        }
        for (std::size_t n = 0; n < vValues.size(); ++n) {
            if (vValues[n].sName != vOthers[n].sName || vValues[n].sValue != vOthers[n].sValue) {
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
// program names its keys itself, on one line and within the registry's limits), then names
// and texts of its values, any bytes.
std::optional<CSettingsTree> TreeOf(const std::string& sText) {
    const std::vector<std::string> vParts = SplitAtNul(sText);
    std::string sPath = vParts.front();
    std::replace(sPath.begin(), sPath.end(), '\n', ' ');
    if (!CSettingsTree::Fits(MRegistryText::SplitPath(sPath))) {
        return std::nullopt;
    }
    CSettingsTree oTree;
    const CSettingsTree::KeyId nKey = oTree.EnsureKey(sPath);
    for (std::size_t n = 1; n + 1 < vParts.size(); n += 2) {
        oTree.SetValue(nKey, vParts[n], vParts[n + 1]);
    }
    return oTree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string sText = MFuzzCheck::Text(pData, nSize);
    if (sText.find('\0') != std::string::npos) {
        if (const std::optional<CSettingsTree> ooWritten = TreeOf(sText)) {
            try {
                Expect(
                    SameTree(CSettingsFile::Parse(CSettingsFile::Format(*ooWritten)), *ooWritten),
                    "any value written comes back unchanged");
            } catch (const CRunTimeError&) {
                Expect(false, "a settings file the writer made reads back");
            }
        }
    }

    CSettingsTree oTree;
    std::vector<std::string> vSkipped;
    try {
        oTree = CSettingsFile::Parse(sText, &vSkipped);
    } catch (const CRunTimeError& oError) {
        Expect(oError.Number() == RunTimeErrors::TypeMismatch,
               "a settings file that cannot be read is a type mismatch");
        return 0;
    }
    for (const std::string& sSkipped : vSkipped) {
        Expect(sSkipped.rfind("line ", 0) == 0, "a skipped line is told by its number");
    }
    // Every key is found by its own path, within the registry's limits.
    for (CSettingsTree::KeyId nKey = 0; nKey < oTree.KeyCount(); ++nKey) {
        Expect(oTree.FindKey(oTree.Path(nKey)) == nKey, "every key is found by its own path");
        Expect(nKey == CSettingsTree::Root ||
                   CSettingsTree::Fits(oTree.Name(nKey), oTree.Depth(nKey)),
               "no key read lies beyond the registry's limits");
        for (const CSettingsTree::KeyId nSubKey : oTree.SubKeys(nKey)) {
            Expect(oTree.Depth(nSubKey) == oTree.Depth(nKey) + 1, "a sub-key lies one level down");
        }
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
