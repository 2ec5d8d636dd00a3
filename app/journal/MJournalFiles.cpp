#include "app/journal/MJournalFiles.h"

#include "app/core/MDayfold.h"
#include "app/journal/CJournalScan.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shelllink/CShellLink.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <set>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsDigits(const std::string& s, size_t nLength) {
    return s.size() == nLength && s.find_first_not_of("0123456789") == std::string::npos;
}

bool IsShortcutName(const std::string& sName) {
    return sName.size() > 4 && sName[0] != '.' &&
           strcasecmp(sName.c_str() + sName.size() - 4, ".lnk") == 0;
}

std::string Parent(const std::string& sPath) {
    return sPath.substr(0, sPath.rfind('/'));
}

// Whether every shortcut left in the day folder is a program shortcut (and there is one).
bool OnlyProgramShortcuts(const std::string& sDay, std::vector<std::string>& vPrograms) {
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(sDay.c_str()), closedir);
    if (!pDir) {
        return false;
    }
    while (const dirent* pEntry = readdir(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (!IsShortcutName(sName)) {
            continue;
        }
        try {
            const CShellLink oLink = CShellLink::Load(sDay + "/" + sName);
            if (!CJournalScan::IsProgramShortcut(
                    sName, MDayfold::Trim(oLink.TargetPath()), MDayfold::Trim(oLink.IconLocation()),
                    oLink.IconIndex(), MDayfold::Trim(oLink.Arguments()))) {
                return false;
            }
        } catch (const std::exception&) {
            return false; // what cannot be read is kept
        }
        vPrograms.push_back(sDay + "/" + sName);
    }
    return !vPrograms.empty();
}
} // namespace

namespace MJournalFiles {

bool IsRepositoryCopy(const std::string& sDailyPath, const std::string& sPath) {
    if (sDailyPath.empty() || sPath.size() <= sDailyPath.size() + 1 ||
        sPath.compare(0, sDailyPath.size(), sDailyPath) != 0 || sPath[sDailyPath.size()] != '/') {
        return false;
    }
    std::vector<std::string> vParts;
    size_t nFrom = sDailyPath.size() + 1;
    while (true) {
        const size_t nSlash = sPath.find('/', nFrom);
        vParts.push_back(
            sPath.substr(nFrom, nSlash == std::string::npos ? nSlash : nSlash - nFrom));
        if (nSlash == std::string::npos) {
            break;
        }
        nFrom = nSlash + 1;
    }
    if (vParts.size() != 4 || !IsDigits(vParts[0], 4) || !IsDigits(vParts[2], 2) ||
        !IsShortcutName(vParts[3])) {
        return false;
    }
    const int iMonth = CDateTime::MonthFromName(vParts[1]);
    return iMonth > 0 && vParts[1] == CDateTime::MonthNameOf(iMonth);
}

std::int32_t RemoveCopies(const std::string& sDailyPath, const std::vector<std::string>& vCopies,
                          const std::string& sSource) {
    std::int32_t lRemoved = 0;
    std::set<std::string> colDays;
    for (const std::string& sCopy : vCopies) {
        try {
            if (!IsRepositoryCopy(sDailyPath, sCopy)) {
                throw CRunTimeError(RunTimeErrors::InvalidProcedureCall,
                                    "Not a shortcut of the repository, so it is kept: " + sCopy);
            }
            struct stat oStat {};
            if (lstat(sCopy.c_str(), &oStat) != 0) {
                if (errno == ENOENT) {
                    continue; // gone already
                }
                throw CRunTimeError::FromErrno(errno, sCopy);
            }
            if (!S_ISREG(oStat.st_mode) && !S_ISLNK(oStat.st_mode)) {
                throw CRunTimeError(RunTimeErrors::PathFileAccessError,
                                    "Not a shortcut file, so it is kept: " + sCopy);
            }
            if (unlink(sCopy.c_str()) != 0) {
                throw CRunTimeError::FromErrno(errno, sCopy);
            }
            ++lRemoved;
            colDays.insert(Parent(sCopy));
        } catch (const std::exception& oError) {
            MDayfold::LogError(oError, sSource, false);
        }
    }
    for (const std::string& sDay : colDays) {
        try {
            std::vector<std::string> vPrograms;
            if (OnlyProgramShortcuts(sDay, vPrograms)) {
                // They were made beside documents that are gone: the day holds nothing now.
                for (const std::string& sProgram : vPrograms) {
                    if (unlink(sProgram.c_str()) != 0 && errno != ENOENT) {
                        throw CRunTimeError::FromErrno(errno, sProgram);
                    }
                }
            }
            // Each level goes only when empty; a folder that still holds anything stays.
            const std::string sMonth = Parent(sDay);
            if (rmdir(sDay.c_str()) == 0 && rmdir(sMonth.c_str()) == 0) {
                rmdir(Parent(sMonth).c_str());
            }
        } catch (const std::exception& oError) {
            MDayfold::LogError(oError, sSource, false);
        }
    }
    return lRemoved;
}

} // namespace MJournalFiles
