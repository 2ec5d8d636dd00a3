#include "app/journal/CJournalScan.h"

#include "app/core/MDayfold.h"
#include "app/repository/CShortcutCache.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MCaseFold.h"
#include "platform/shelllink/CShellLink.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
using DirPointer = std::unique_ptr<DIR, int (*)(DIR*)>;

DirPointer OpenDir(const std::string& sPath) {
    return DirPointer(opendir(sPath.c_str()), closedir);
}

bool AllDigits(const char* psz, size_t nLength) {
    if (std::strlen(psz) != nLength) {
        return false;
    }
    for (size_t i = 0; i < nLength; ++i) {
        if (psz[i] < '0' || psz[i] > '9') {
            return false;
        }
    }
    return true;
}

bool IsShortcutName(const char* pszName) {
    const size_t nLength = std::strlen(pszName);
    return pszName[0] != '.' && nLength > 4 && strcasecmp(pszName + nLength - 4, ".lnk") == 0;
}

// The bytes of an open shortcut, up to one byte past the largest shortcut accepted, so that
// an oversized file is told apart.
std::vector<std::uint8_t> ReadBytes(int iFd, const struct stat& oStat, const std::string& sPath) {
    std::vector<std::uint8_t> vBytes(
        std::min<size_t>(static_cast<size_t>(std::max<off_t>(oStat.st_size, 0)),
                         CShellLink::MaxFileSize) +
        1);
    size_t nRead = 0;
    while (nRead < vBytes.size()) {
        const ssize_t nChunk = read(iFd, vBytes.data() + nRead, vBytes.size() - nRead);
        if (nChunk < 0 && errno == EINTR) {
            continue;
        }
        if (nChunk < 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        if (nChunk == 0) {
            break;
        }
        nRead += static_cast<size_t>(nChunk);
        if (nRead == vBytes.size() && vBytes.size() <= CShellLink::MaxFileSize) {
            vBytes.resize(std::min(vBytes.size() * 2, CShellLink::MaxFileSize + 1));
        }
    }
    vBytes.resize(nRead);
    return vBytes;
}

// What the shortcut record reads from a link, cleaned the same way, without the application's
// library (the scan may run on its own thread).
CShortcutCache::SLink ReadLink(const std::vector<std::uint8_t>& vBytes) {
    const CShellLink oShellLink = CShellLink::FromBytes(vBytes);
    const auto Clean = [](const std::string& s) {
        std::string sText = MDayfold::Trim(s);
        while (!sText.empty() && sText.back() == '\0') {
            sText.pop_back();
        }
        return MDayfold::Trim(sText);
    };
    CShortcutCache::SLink oLink;
    oLink.sTargetFile = Clean(oShellLink.TargetPath());
    oLink.sArguments = Clean(oShellLink.Arguments());
    oLink.sIconFile = Clean(oShellLink.IconLocation());
    oLink.sWorkingDirectory = Clean(oShellLink.WorkingDirectory());
    oLink.lIconIndex = oShellLink.IconIndex();
    oLink.lShowCommand = static_cast<std::int32_t>(oShellLink.ShowCommand());
    oLink.sTargetFileName = CJournalScan::RecordNameOf(oLink.sTargetFile);
    if (oLink.sWorkingDirectory.empty()) {
        // The target's drive and folder with its last separator, as the record has it.
        const size_t nLast = oLink.sTargetFile.find_last_of("\\/");
        if (nLast != std::string::npos) {
            oLink.sWorkingDirectory = oLink.sTargetFile.substr(0, nLast + 1);
        } else {
            const size_t nColon = oLink.sTargetFile.find(':');
            oLink.sWorkingDirectory =
                nColon == std::string::npos ? "" : oLink.sTargetFile.substr(0, nColon + 1);
        }
    }
    return oLink;
}
} // namespace

CJournalScan::CJournalScan(std::string sDailyPath) : m_sDailyPath(std::move(sDailyPath)) {}

void CJournalScan::SetRange(const CDateTime& dFrom, const CDateTime& dTo) {
    m_dFrom = dFrom.IsEmpty() ? dFrom : dFrom.DatePart();
    m_dTo = dTo.IsEmpty() ? dTo : dTo.DatePart();
}

std::string CJournalScan::ProgramName(const std::string& sFileName) {
    std::string sName = sFileName;
    std::transform(sName.begin(), sName.end(), sName.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    if (!sName.empty() && static_cast<unsigned char>(sName[0]) < 0x80) {
        sName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sName[0])));
    }
    return sName;
}

bool CJournalScan::IsProgramShortcut(const std::string& sShortcutName,
                                     const std::string& sTargetFile, const std::string& sIconFile,
                                     std::int32_t lIconIndex, const std::string& sArguments) {
    if (sTargetFile.empty() || lIconIndex != 1 || !sArguments.empty() || sIconFile != sTargetFile) {
        return false;
    }
    const std::string sTargetName = NameOf(sTargetFile);
    return !sTargetName.empty() && sShortcutName == ProgramName(sTargetName) + ".lnk";
}

namespace {
const char* Separators(const std::string& sPath) {
    return !sPath.empty() && sPath[0] == '/' ? "/" : "\\/";
}
} // namespace

std::string CJournalScan::FolderOf(const std::string& sPath) {
    const size_t nLast = sPath.find_last_of(Separators(sPath));
    if (nLast == std::string::npos) {
        return "";
    }
    if (nLast == 0) {
        return sPath.substr(0, 1);
    }
    if (sPath[nLast - 1] == ':') {
        return sPath.substr(0, nLast + 1); // a drive's root keeps its separator
    }
    return sPath.substr(0, nLast);
}

std::string CJournalScan::NameOf(const std::string& sPath) {
    const size_t nLast = sPath.find_last_of(Separators(sPath));
    if (nLast != std::string::npos) {
        return sPath.substr(nLast + 1);
    }
    const size_t nColon = sPath.find(':');
    return nColon == std::string::npos ? sPath : sPath.substr(nColon + 1);
}

std::string CJournalScan::RecordNameOf(const std::string& sPath) {
    const size_t nLast = sPath.find_last_of("\\/");
    if (nLast != std::string::npos) {
        return sPath.substr(nLast + 1);
    }
    const size_t nColon = sPath.find(':');
    return nColon == std::string::npos ? sPath : sPath.substr(nColon + 1);
}

std::string CJournalScan::DocumentName(const std::string& sTargetFile,
                                       const std::string& sShortcutName) {
    std::string sName = NameOf(sTargetFile);
    if (sName.empty()) {
        sName = sShortcutName.size() > 4 ? sShortcutName.substr(0, sShortcutName.size() - 4)
                                         : sShortcutName;
    }
    return sName;
}

std::int32_t CJournalScan::DayNumber(const CDateTime& dDate) {
    const std::int64_t ll = dDate.LocalSeconds();
    return static_cast<std::int32_t>(ll >= 0 ? ll / 86400 : -((-ll + 86399) / 86400));
}

std::string CJournalScan::ExtensionOf(const std::string& sFileName) {
    const size_t nDot = sFileName.rfind('.');
    if (nDot == std::string::npos || nDot + 1 == sFileName.size()) {
        return "";
    }
    return sFileName.substr(nDot);
}

std::string CJournalScan::TargetClass(const std::string& sExtension, CShortcutCache& oCache) {
    if (sExtension.empty()) {
        return "";
    }
    if (MCaseFold::Equal(sExtension, ".EXE")) {
        return "Application";
    }
    return oCache.FileType(sExtension).sTargetClass;
}

std::vector<CJournalScan::SDayFolder> CJournalScan::DayFolderList() const {
    std::vector<SDayFolder> vDays;
    const std::int32_t lFrom = m_dFrom.IsEmpty() ? INT32_MIN : DayNumber(m_dFrom);
    const std::int32_t lTo = m_dTo.IsEmpty() ? INT32_MAX : DayNumber(m_dTo);
    const int iFromYear = m_dFrom.IsEmpty() ? 0 : m_dFrom.Year();
    const int iToYear = m_dTo.IsEmpty() ? 9999 : m_dTo.Year();

    std::vector<int> vYears;
    if (DirPointer pDaily = OpenDir(m_sDailyPath)) {
        while (const dirent* pEntry = readdir(pDaily.get())) {
            if (AllDigits(pEntry->d_name, 4)) {
                const int iYear = std::atoi(pEntry->d_name);
                if (iYear >= iFromYear && iYear <= iToYear && iYear > 0) {
                    vYears.push_back(iYear);
                }
            }
        }
    }
    std::sort(vYears.begin(), vYears.end());
    for (const int iYear : vYears) {
        const std::string sYear = m_sDailyPath + "/" + std::to_string(iYear);
        std::vector<int> vMonths;
        if (DirPointer pYear = OpenDir(sYear)) {
            while (const dirent* pEntry = readdir(pYear.get())) {
                const int iMonth = CDateTime::MonthFromName(pEntry->d_name);
                if (iMonth > 0 &&
                    std::strcmp(CDateTime::MonthNameOf(iMonth), pEntry->d_name) == 0) {
                    vMonths.push_back(iMonth);
                }
            }
        }
        std::sort(vMonths.begin(), vMonths.end());
        for (const int iMonth : vMonths) {
            const std::string sMonth = sYear + "/" + CDateTime::MonthNameOf(iMonth);
            std::vector<std::pair<int, CDateTime>> vMonthDays;
            if (DirPointer pMonth = OpenDir(sMonth)) {
                while (const dirent* pEntry = readdir(pMonth.get())) {
                    if (!AllDigits(pEntry->d_name, 2)) {
                        continue;
                    }
                    const int iDay = std::atoi(pEntry->d_name);
                    const std::optional<CDateTime> odDay =
                        CDateTime::FromValidParts(iYear, iMonth, iDay);
                    if (odDay && DayNumber(*odDay) >= lFrom && DayNumber(*odDay) <= lTo) {
                        vMonthDays.emplace_back(iDay, *odDay);
                    }
                }
            }
            std::sort(vMonthDays.begin(), vMonthDays.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [iDay, dDay] : vMonthDays) {
                vDays.push_back({dDay, sMonth + "/" + dDay.DayText()});
            }
        }
    }
    return vDays;
}

void CJournalScan::LogFailures(const std::vector<SFailure>& vFailures, std::int32_t lCount,
                               const std::string& sSource) {
    constexpr std::int32_t Logged = 10;
    for (size_t i = 0; i < vFailures.size() && i < static_cast<size_t>(Logged); ++i) {
        MDayfold::LogError(CRunTimeError(vFailures[i].lNumber, vFailures[i].sDescription), sSource,
                           false);
    }
    if (lCount > Logged) {
        MDayfold::LogError(CRunTimeError(RunTimeErrors::PathFileAccessError,
                                         std::to_string(lCount - Logged) +
                                             " more shortcuts of the repository could not be read"),
                           sSource, false);
    }
}

void CJournalScan::Fail(const std::string& sFile, std::int32_t lNumber,
                        const std::string& sDescription) {
    ++m_lFailures;
    if (m_vFailures.size() < FailuresKept) {
        m_vFailures.push_back({sFile, lNumber, sDescription});
    }
}

bool CJournalScan::Scan(const std::stop_token& oStop) {
    m_vFailures.clear();
    m_lFailures = 0;
    m_lDayFolders = 0;
    m_lCopies = 0;
    CShortcutCache oLinks; // its memory of link contents only: no registry is asked here
    for (const SDayFolder& oDay : DayFolderList()) {
        if (oStop.stop_requested()) {
            return false;
        }
        if (DayStarted) {
            DayStarted(oDay.dDay);
        }
        ScanDay(oDay, oLinks, oStop);
    }
    return !oStop.stop_requested();
}

void CJournalScan::ScanDay(const SDayFolder& oDay, CShortcutCache& oLinks,
                           const std::stop_token& oStop) {
    DirPointer pDir = OpenDir(oDay.sPath);
    if (!pDir) {
        const CRunTimeError oError = CRunTimeError::FromErrno(errno, oDay.sPath);
        Fail(oDay.sPath, oError.Number(), oError.Description());
        return;
    }
    ++m_lDayFolders;
    std::vector<std::string> vNames;
    while (const dirent* pEntry = readdir(pDir.get())) {
        if (pEntry->d_type != DT_DIR && IsShortcutName(pEntry->d_name)) {
            vNames.emplace_back(pEntry->d_name);
        }
    }
    std::sort(vNames.begin(), vNames.end());
    SJournalCopy oCopy;
    oCopy.dDay = oDay.dDay;
    size_t nRead = 0;
    for (const std::string& sName : vNames) {
        if (++nRead % 64 == 0 && oStop.stop_requested()) {
            return;
        }
        oCopy.sShortcutFile = oDay.sPath + "/" + sName;
        try {
            const int iFd =
                openat(dirfd(pDir.get()), sName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (iFd < 0) {
                throw CRunTimeError::FromErrno(errno, oCopy.sShortcutFile);
            }
            struct stat oStat {};
            std::vector<std::uint8_t> vBytes;
            try {
                if (fstat(iFd, &oStat) != 0) {
                    throw CRunTimeError::FromErrno(errno, oCopy.sShortcutFile);
                }
                if (!S_ISREG(oStat.st_mode)) {
                    throw CRunTimeError(CShellLink::DamagedLinkError,
                                        "The file is not a readable shortcut: " +
                                            oCopy.sShortcutFile);
                }
                vBytes = ReadBytes(iFd, oStat, oCopy.sShortcutFile);
            } catch (...) {
                close(iFd);
                throw;
            }
            close(iFd);
            const CShortcutCache::SLink& oLink = oLinks.Link(std::move(vBytes), &ReadLink);
            if (IsProgramShortcut(sName, oLink.sTargetFile, oLink.sIconFile, oLink.lIconIndex,
                                  oLink.sArguments)) {
                continue;
            }
            oCopy.sShortcutName = sName;
            oCopy.dModified = CDateTime::FromUnixTime(oStat.st_mtime);
            oCopy.sTargetFile = oLink.sTargetFile;
            oCopy.sName = DocumentName(oLink.sTargetFile, sName);
            oCopy.sTargetFileName = oLink.sTargetFileName;
            oCopy.sWorkingDirectory = oLink.sWorkingDirectory;
            oCopy.sFolder = FolderOf(oLink.sTargetFile);
            if (oCopy.sFolder.empty()) {
                oCopy.sFolder = oLink.sWorkingDirectory;
            }
        } catch (const CRunTimeError& oError) {
            // The link's own errors do not name the file.
            Fail(oCopy.sShortcutFile, oError.Number(),
                 oError.Description().find(oCopy.sShortcutFile) == std::string::npos
                     ? oError.Description() + ": " + oCopy.sShortcutFile
                     : oError.Description());
            continue;
        } catch (const std::exception& oError) {
            Fail(oCopy.sShortcutFile, CRunTimeError::FromException(oError).Number(), oError.what());
            continue;
        }
        ++m_lCopies;
        if (CopyFound) {
            CopyFound(oCopy);
        }
    }
}
