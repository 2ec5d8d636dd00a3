#include "support/CFolderSnapshot.h"

#include "support/CTempFolder.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
long long Nanoseconds(const struct timespec& ts) {
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

std::string ReplacedOnce(std::string sText, const std::string& sFrom, const std::string& sTo) {
    for (size_t nPos = sText.find(sFrom); nPos != std::string::npos;
         nPos = sText.find(sFrom, nPos + sTo.size())) {
        sText.replace(nPos, sFrom.size(), sTo);
    }
    return sText;
}

// As UTF-16LE, the way shortcut files hold paths (an ASCII path: a zero after each byte).
std::string Wide(const std::string& sText) {
    std::string sWide;
    for (const char c : sText) {
        sWide += c;
        sWide += '\0';
    }
    return sWide;
}

std::string Replaced(const std::string& sText, const std::string& sRoot) {
    if (sRoot.empty()) {
        return sText;
    }
    return ReplacedOnce(ReplacedOnce(sText, sRoot, "<root>"), Wide(sRoot), Wide("<root>"));
}
} // namespace

CFolderSnapshot CFolderSnapshot::Take(const std::string& sFolder, const std::string& sRoot,
                                      const std::set<std::string>& colIgnored, bool bChangeTimes,
                                      long long llTimesBefore) {
    CFolderSnapshot oSnapshot;
    oSnapshot.m_bChangeTimes = bChangeTimes;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(sFolder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string sName = it->path().filename().string();
        if (colIgnored.count(sName) != 0) {
            if (it->is_directory()) {
                it.disable_recursion_pending();
            }
            continue;
        }
        struct stat oStat {};
        if (lstat(it->path().c_str(), &oStat) != 0) {
            continue;
        }
        SItem oItem;
        oItem.bFolder = S_ISDIR(oStat.st_mode);
        if (S_ISREG(oStat.st_mode)) {
            oItem.sBytes = Replaced(CTempFolder::ReadFile(it->path().string()), sRoot);
        }
        oItem.llModified =
            oItem.bFolder || (llTimesBefore >= 0 && oStat.st_mtim.tv_sec >= llTimesBefore)
                ? 0
                : Nanoseconds(oStat.st_mtim);
        oItem.llChanged = bChangeTimes ? Nanoseconds(oStat.st_ctim) : 0;
        oItem.lMode = oStat.st_mode;
        oSnapshot.m_colItems[fs::relative(it->path(), sFolder).string()] = oItem;
    }
    return oSnapshot;
}

std::string CFolderSnapshot::Difference(const CFolderSnapshot& o) const {
    std::string sDifference;
    int iListed = 0;
    const auto Note = [&](const std::string& sLine) {
        if (++iListed <= 8) {
            sDifference += sLine + "\n";
        }
    };
    for (const auto& [sPath, oItem] : m_colItems) {
        const auto it = o.m_colItems.find(sPath);
        if (it == o.m_colItems.end()) {
            Note("only in the first: " + sPath);
            continue;
        }
        const SItem& oOther = it->second;
        if (oItem.bFolder != oOther.bFolder || oItem.lMode != oOther.lMode) {
            Note("kind or mode differs: " + sPath);
        } else if (oItem.sBytes != oOther.sBytes) {
            Note("bytes differ: " + sPath + "\n  " + oItem.sBytes + "\n  " + oOther.sBytes);
        } else if (oItem.llModified != oOther.llModified) {
            Note("last-write time differs: " + sPath);
        } else if (m_bChangeTimes && oItem.llChanged != oOther.llChanged) {
            Note("change time differs: " + sPath);
        }
    }
    for (const auto& [sPath, oItem] : o.m_colItems) {
        if (m_colItems.count(sPath) == 0) {
            Note("only in the second: " + sPath);
        }
    }
    return sDifference;
}
