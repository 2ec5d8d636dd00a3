#include "app/journal/CDayCounts.h"

#include "app/journal/CJournalScan.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <strings.h>
#include <unistd.h>

namespace {
using DirPointer = std::unique_ptr<DIR, int (*)(DIR*)>;

// The folder sName below the open folder iParent, as an open listing; null when missing.
DirPointer OpenBelow(int iParent, const char* pszName) {
    const int iFd = openat(iParent, pszName, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFd < 0) {
        return DirPointer(nullptr, closedir);
    }
    DIR* pDir = fdopendir(iFd);
    if (pDir == nullptr) {
        close(iFd);
    }
    return DirPointer(pDir, closedir);
}
} // namespace

CDayCounts::CDayCounts(std::string sDailyPath) : m_sDailyPath(std::move(sDailyPath)) {}

bool CDayCounts::IsProgramShortcutName(std::string_view sName) {
    if (sName.size() <= 4) {
        return false;
    }
    const std::string_view sStem = sName.substr(0, sName.size() - 4);
    const auto uFirst = static_cast<unsigned char>(sStem[0]);
    if (uFirst >= 'a' && uFirst <= 'z') {
        return false;
    }
    for (size_t i = 1; i < sStem.size(); ++i) {
        if (sStem[i] >= 'A' && sStem[i] <= 'Z') {
            return false;
        }
    }
    const size_t nDot = sStem.rfind('.');
    return nDot == std::string_view::npos ||
           (sStem.size() - nDot == 4 && strncasecmp(sStem.data() + nDot, ".exe", 4) == 0);
}

// The folder's entries in large blocks straight from the system: a day folder of a hundred
// shortcuts is read in one call.
std::int32_t CDayCounts::CountDay(int iDayFd) {
    std::int32_t lDocuments = 0;
    std::int32_t lPrograms = 0;
    m_vBuffer.resize(64 * 1024);
    while (true) {
        const ssize_t nRead = getdents64(iDayFd, m_vBuffer.data(), m_vBuffer.size());
        if (nRead <= 0) {
            break;
        }
        for (ssize_t nOffset = 0; nOffset < nRead;) {
            const auto* pEntry =
                reinterpret_cast<const struct dirent64*>(m_vBuffer.data() + nOffset);
            nOffset += pEntry->d_reclen;
            const char* pszName = pEntry->d_name;
            const size_t nLength = std::strlen(pszName);
            if (pszName[0] == '.' || nLength <= 4 || pEntry->d_type == DT_DIR ||
                strcasecmp(pszName + nLength - 4, ".lnk") != 0) {
                continue;
            }
            if (IsProgramShortcutName(std::string_view(pszName, nLength))) {
                ++lPrograms;
            } else {
                ++lDocuments;
            }
        }
    }
    return lDocuments == 0 && lPrograms > 0 ? 1 : lDocuments;
}

void CDayCounts::Count(const CDateTime& dFrom, const CDateTime& dTo) {
    m_dFrom = dFrom.DatePart();
    m_dTo = dTo.DatePart();
    m_vCounts.clear();
    m_lMaximum = 0;
    m_lTotal = 0;
    const std::int32_t lFrom = CJournalScan::DayNumber(m_dFrom);
    const std::int32_t lTo = CJournalScan::DayNumber(m_dTo);
    if (lTo < lFrom) {
        return;
    }
    m_vCounts.assign(static_cast<size_t>(lTo - lFrom + 1), 0);
    const int iDaily = open(m_sDailyPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iDaily < 0) {
        return;
    }
    for (int iYear = m_dFrom.Year(); iYear <= m_dTo.Year(); ++iYear) {
        const int iYearFd =
            openat(iDaily, std::to_string(iYear).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (iYearFd < 0) {
            continue;
        }
        for (int iMonth = 1; iMonth <= 12; ++iMonth) {
            const CDateTime dFirst = CDateTime::FromParts(iYear, iMonth, 1);
            const CDateTime dLast = CDateTime::FromParts(iMonth == 12 ? iYear + 1 : iYear,
                                                         iMonth == 12 ? 1 : iMonth + 1, 1)
                                        .AddDays(-1);
            if (dLast < m_dFrom || dFirst > m_dTo) {
                continue;
            }
            DirPointer pMonth = OpenBelow(iYearFd, CDateTime::MonthNameOf(iMonth));
            if (!pMonth) {
                continue;
            }
            // The month's listing names its days: only those are opened.
            std::vector<int> vDays;
            while (const dirent* pEntry = readdir(pMonth.get())) {
                const char* psz = pEntry->d_name;
                if (psz[0] >= '0' && psz[0] <= '9' && psz[1] >= '0' && psz[1] <= '9' &&
                    psz[2] == '\0') {
                    vDays.push_back((psz[0] - '0') * 10 + (psz[1] - '0'));
                }
            }
            for (const int iDay : vDays) {
                const std::optional<CDateTime> odDay =
                    CDateTime::FromValidParts(iYear, iMonth, iDay);
                if (!odDay) {
                    continue;
                }
                const std::int32_t lDay = CJournalScan::DayNumber(*odDay);
                if (lDay < lFrom || lDay > lTo) {
                    continue;
                }
                const char szDay[3] = {static_cast<char>('0' + iDay / 10),
                                       static_cast<char>('0' + iDay % 10), '\0'};
                const int iDayFd =
                    openat(dirfd(pMonth.get()), szDay, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (iDayFd < 0) {
                    continue;
                }
                // A folder's last change moves with every name added, removed or renamed.
                struct stat oStat {};
                fstat(iDayFd, &oStat);
                const auto itListed = m_colListed.find(lDay);
                std::int32_t lCount = 0;
                if (itListed != m_colListed.end() && itListed->second.iInode == oStat.st_ino &&
                    itListed->second.tsChanged.tv_sec == oStat.st_mtim.tv_sec &&
                    itListed->second.tsChanged.tv_nsec == oStat.st_mtim.tv_nsec) {
                    lCount = itListed->second.lCount;
                } else {
                    lCount = CountDay(iDayFd);
                    m_colListed[lDay] = {oStat.st_mtim, oStat.st_ino, lCount};
                }
                close(iDayFd);
                m_vCounts[static_cast<size_t>(lDay - lFrom)] = lCount;
                m_lTotal += lCount;
                m_lMaximum = std::max(m_lMaximum, lCount);
            }
        }
        close(iYearFd);
    }
    close(iDaily);
}

std::int32_t CDayCounts::Item(const CDateTime& dDay) const {
    if (m_vCounts.empty()) {
        return 0;
    }
    const std::int32_t lOffset = CJournalScan::DayNumber(dDay) - CJournalScan::DayNumber(m_dFrom);
    if (lOffset < 0 || static_cast<size_t>(lOffset) >= m_vCounts.size()) {
        return 0;
    }
    return m_vCounts[static_cast<size_t>(lOffset)];
}
