#include "app/repository/DirectoryWalker.h"

#include "app/core/MDayfold.h"
#include "platform/errors/CRunTimeError.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fnmatch.h>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {
enum class EKind { Other, File, Folder };

// A folder is never followed through a symbolic link, so a link loop cannot trap the walk;
// a link to a file counts as that file.
EKind KindOf(const std::string& sPath, unsigned char ucType) {
    if (ucType == DT_DIR) {
        return EKind::Folder;
    }
    if (ucType == DT_REG) {
        return EKind::File;
    }
    struct stat oStat {};
    if (ucType == DT_UNKNOWN) {
        if (lstat(sPath.c_str(), &oStat) != 0) {
            return EKind::Other;
        }
        if (S_ISDIR(oStat.st_mode)) {
            return EKind::Folder;
        }
        if (S_ISREG(oStat.st_mode)) {
            return EKind::File;
        }
    }
    if (ucType == DT_LNK || (ucType == DT_UNKNOWN && S_ISLNK(oStat.st_mode))) {
        if (stat(sPath.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode)) {
            return EKind::File;
        }
    }
    return EKind::Other;
}

struct SEntry {
    std::string sName;
    EKind eKind;
};

// The folder's entries in name order (a listing order that does not depend on the file
// system), without "." and "..".
std::vector<SEntry> ListFolder(const std::string& sFolder) {
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(sFolder.c_str()), closedir);
    if (!pDir) {
        throw CRunTimeError::FromErrno(errno == ENOENT ? ENOTDIR : errno, sFolder);
    }
    std::vector<SEntry> vEntries;
    while (const dirent* pEntry = readdir(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (sName == "." || sName == "..") {
            continue;
        }
        // The path is made only when the listing does not tell the kind itself.
        const EKind eKind = pEntry->d_type == DT_REG   ? EKind::File
                            : pEntry->d_type == DT_DIR ? EKind::Folder
                                                       : KindOf(sFolder + sName, pEntry->d_type);
        vEntries.push_back({sName, eKind});
    }
    std::sort(vEntries.begin(), vEntries.end(),
              [](const SEntry& a, const SEntry& b) { return a.sName < b.sName; });
    return vEntries;
}
} // namespace

bool DirectoryWalker::Matches(const std::string& sPattern, const std::string& sName) {
    if (sPattern == "*.*" || sPattern == "*") {
        return true;
    }
    // "*.lnk" and its kind: a suffix compare, without the general matcher.
    if (sPattern.size() > 1 && sPattern[0] == '*' &&
        sPattern.find_first_of("*?[", 1) == std::string::npos) {
        return sName.size() >= sPattern.size() - 1 &&
               strcasecmp(sName.c_str() + sName.size() - (sPattern.size() - 1),
                          sPattern.c_str() + 1) == 0;
    }
    return fnmatch(sPattern.c_str(), sName.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0;
}

void DirectoryWalker::WalkDirectoryTree(const std::string& sSourceDirectory,
                                        const std::string& sSearchItem, std::int32_t lFlags) {
    m_bCancel = false;
    Walk(sSourceDirectory, sSearchItem, lFlags);
}

void DirectoryWalker::Walk(const std::string& sSourceDirectory, const std::string& sSearchItem,
                           std::int32_t lFlags) {
    std::vector<std::string> vSubFolders;
    try {
        const std::vector<SEntry> vEntries = ListFolder(sSourceDirectory);
        const bool bFolders = (lFlags & ReportFolders) != 0;
        for (const SEntry& oEntry : vEntries) {
            if (m_bCancel) {
                break;
            }
            // Names beginning with "." are hidden: neither reported nor entered.
            if (oEntry.sName[0] == '.') {
                continue;
            }
            const EKind eWanted = bFolders ? EKind::Folder : EKind::File;
            if (oEntry.eKind == eWanted && Matches(sSearchItem, oEntry.sName) && ItemFound) {
                ItemFound(sSourceDirectory, oEntry.sName, m_bCancel);
            }
        }
        if ((lFlags & StartingFolderOnly) != 0 || m_bCancel) {
            return;
        }
        // Listed again in effect: the owner may have removed a folder while it was reported.
        for (const SEntry& oEntry : vEntries) {
            if (oEntry.eKind == EKind::Folder && oEntry.sName[0] != '.' &&
                KindOf(sSourceDirectory + oEntry.sName, DT_UNKNOWN) == EKind::Folder) {
                vSubFolders.push_back(oEntry.sName);
            }
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "DirectoryWalker.WalkDirectoryTree", true);
        return;
    }
    for (const std::string& sName : vSubFolders) {
        Walk(sSourceDirectory + sName + "/", sSearchItem, lFlags);
        if (m_bCancel) {
            return;
        }
    }
}
