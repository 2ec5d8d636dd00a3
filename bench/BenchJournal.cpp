// The journal's services at scale, on a repository of three years with about 100,000 document
// copies (92 a day, of about 69,000 documents, some used again and again) and three program
// shortcuts a day:
//  - a query of the search index, against a plain scan of a vector of the same folded strings
//    (name, folder and type of each document), the two timed interleaved, for several texts;
//    goal: under 50 ms;
//  - the day counts of the three years from the listing, against listing the same day folders
//    bare, interleaved; goal: under 50 ms;
//  - the build of the index on its thread, for the record.
#include "app/journal/CDayCounts.h"
#include "app/journal/CJournalIndex.h"
#include "bench/CBenchWorld.h"
#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/MCaseFold.h"
#include "platform/shelllink/CShellLink.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int Days = 1096;
constexpr int CopiesPerDay = 92;
constexpr int Recurring = 2000; // documents used again and again
constexpr int RecurringPerDay = 30;
constexpr int Rounds = 21;
constexpr double GoalSeconds = 0.050;

const char* const Words[] = {"Report", "Budget",   "Plan",    "Études", "Größe",     "Minutes",
                             "Draft",  "Letter",   "Invoice", "Thesis", "Überblick", "Ångström",
                             "Photo",  "Schedule", "Summary", "Notes",  "Contract",  "Review",
                             "Σοφία",  "Offer",    "Agenda",  "Memo",   "Chapter",   "Figure",
                             "Data",   "Results",  "Slides",  "Poster", "Abstract"};
const char* const Extensions[] = {".txt", ".odt", ".ods", ".pdf", ".jpg", ".docx"};
const char* const Types[] = {"Text Document",
                             "Text Document (OpenDocument)",
                             "Spreadsheet (OpenDocument)",
                             "PDF document",
                             "JPEG image",
                             "Word Document"};
const char* const Programs[] = {"Gedit", "Libreoffice", "Evince"};

struct SDocument {
    std::string sName;
    std::string sFolder;
    int iType;
};

SDocument Document(int iId) {
    constexpr int WordCount = static_cast<int>(std::size(Words));
    SDocument oDocument;
    oDocument.iType = iId % static_cast<int>(std::size(Extensions));
    oDocument.sName = std::string(Words[iId % WordCount]) + " " +
                      Words[(iId / WordCount + 7) % WordCount] + " " + std::to_string(iId) +
                      Extensions[oDocument.iType];
    oDocument.sFolder = "/home/ann/Projects/" + std::string(Words[(iId / 3) % WordCount]) +
                        " project " + std::to_string(iId % 400) + "/" +
                        (iId % 2 == 0 ? "drafts" : "final");
    return oDocument;
}

void WriteShortcut(const std::string& sPath, const CShellLink& oLink, const CDateTime& dWritten) {
    const std::vector<std::uint8_t> vBytes = oLink.ToBytes();
    const int iFd = open(sPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (iFd < 0 ||
        write(iFd, vBytes.data(), vBytes.size()) != static_cast<ssize_t>(vBytes.size())) {
        std::perror(sPath.c_str());
        std::exit(1);
    }
    const struct timespec atsTimes[2] = {{dWritten.ToUnixTime(), 0}, {dWritten.ToUnixTime(), 0}};
    futimens(iFd, atsTimes);
    close(iFd);
}

// Lists each day folder and counts its entries: what no count from the listing can beat.
size_t BareListing(const std::vector<std::string>& vFolders) {
    size_t nEntries = 0;
    for (const std::string& sFolder : vFolders) {
        DIR* pDir = opendir(sFolder.c_str());
        if (pDir == nullptr) {
            continue;
        }
        while (readdir(pDir) != nullptr) {
            ++nEntries;
        }
        closedir(pDir);
    }
    return nEntries;
}

// The plain scan: every folded string searched for every word.
size_t PlainScan(const std::vector<std::string>& vTexts, const std::vector<std::string>& vWords) {
    size_t nMatches = 0;
    for (const std::string& sText : vTexts) {
        bool bAll = true;
        for (const std::string& sWord : vWords) {
            if (sText.find(sWord) == std::string::npos) {
                bAll = false;
                break;
            }
        }
        nMatches += bAll ? 1 : 0;
    }
    return nMatches;
}

std::vector<std::string> FoldedWords(const std::string& sText) {
    std::vector<std::string> vWords;
    const std::string sFolded = MCaseFold::Fold(sText);
    size_t nFrom = 0;
    while (nFrom < sFolded.size()) {
        const size_t nBlank = std::min(sFolded.find(' ', nFrom), sFolded.size());
        if (nBlank > nFrom) {
            vWords.push_back(sFolded.substr(nFrom, nBlank - nFrom));
        }
        nFrom = nBlank + 1;
    }
    return vWords;
}
} // namespace

int main() {
    CFileTypeTable oTypes;
    for (size_t i = 0; i < std::size(Extensions); ++i) {
        const std::string sClass = "type" + std::to_string(i);
        oTypes.SetDefaultValue(Extensions[i], sClass);
        oTypes.SetDefaultValue(sClass, Types[i]);
    }
    CBenchWorld oWorld(&oTypes);
    bool bPass = true;

    // The repository: three years to the world's today.
    const CDateTime dLast = oWorld.Clock().Now().DatePart();
    const CDateTime dFirst = dLast.AddDays(-(Days - 1));
    std::vector<std::string> vDayFolders;
    std::vector<bool> vIndexed;
    int iCopies = 0;
    for (int iDay = 0; iDay < Days; ++iDay) {
        const CDateTime dDay = dFirst.AddDays(iDay);
        const std::string sFolder = oWorld.AppPath() + "/Daily/" + dDay.YearText() + "/" +
                                    dDay.MonthName() + "/" + dDay.DayText();
        std::filesystem::create_directories(sFolder);
        vDayFolders.push_back(sFolder);
        for (int j = 0; j < CopiesPerDay; ++j) {
            const int iId =
                j < RecurringPerDay
                    ? (iDay * 7 + j * 67) % Recurring
                    : Recurring + iDay * (CopiesPerDay - RecurringPerDay) + (j - RecurringPerDay);
            const SDocument oDocument = Document(iId);
            CShellLink oLink;
            oLink.SetTargetPath(oDocument.sFolder + "/" + oDocument.sName);
            oLink.SetWorkingDirectory(oDocument.sFolder);
            WriteShortcut(sFolder + "/" + oDocument.sName + ".lnk", oLink,
                          dDay.AddSeconds(8 * 3600 + j * 300));
            if (static_cast<size_t>(iId) >= vIndexed.size()) {
                vIndexed.resize(static_cast<size_t>(iId) + 1, false);
            }
            vIndexed[static_cast<size_t>(iId)] = true;
            ++iCopies;
        }
        for (const char* pszProgram : Programs) {
            const std::string sProgram = std::string("/usr/bin/") + pszProgram;
            CShellLink oLink;
            oLink.SetTargetPath(sProgram);
            oLink.SetIconLocation(sProgram);
            oLink.SetIconIndex(1);
            WriteShortcut(sFolder + "/" + pszProgram + ".lnk", oLink, dDay.AddSeconds(20 * 3600));
        }
    }
    // The plain scan's strings: the same documents, folded, name, folder and type.
    std::vector<std::string> vTexts;
    for (size_t i = 0; i < vIndexed.size(); ++i) {
        if (vIndexed[i]) {
            const SDocument oDocument = Document(static_cast<int>(i));
            vTexts.push_back(MCaseFold::Fold(oDocument.sName + " " + oDocument.sFolder + " " +
                                             Types[oDocument.iType]));
        }
    }

    // The build, on its own thread as the program starts it.
    CJournalIndex oIndex;
    const double dBuild = CBenchWorld::BestOf(3, [&] {
        oIndex.Build(oWorld.AppPath() + "/Daily");
        oIndex.Wait();
        oIndex.Ready();
    });
    const bool bBuilt = oIndex.Count() == static_cast<std::int32_t>(vTexts.size());
    std::printf("Index of %d copies (%d days, %zu documents, %d program shortcuts): built in "
                "%.3f s (best of 3)%s\n",
                iCopies, Days, vTexts.size(), Days * static_cast<int>(std::size(Programs)), dBuild,
                bBuilt ? "" : " (WRONG COUNT)");
    bPass = bPass && bBuilt;

    using T = CBenchWorld::STimes;
    for (const std::string& sQuery :
         {std::string("report"), std::string("études final"), std::string("PLAN project 7"),
          std::string("pdf"), std::string("zzzz"), std::string("Σοφία 12345"), std::string("")}) {
        const std::vector<std::string> vWords = FoldedWords(sQuery);
        size_t nPlain = 0;
        const T oTimes = CBenchWorld::Interleaved(
            Rounds, [&] { nPlain = PlainScan(vTexts, vWords); }, [&] { oIndex.Query(sQuery); });
        const bool bSame = oIndex.Matches() == nPlain;
        const double dMedian = T::Median(oTimes.vB);
        std::printf("Query \"%s\", %zu matches, %d rounds interleaved:\n"
                    "  index       min %6.2f ms, median %6.2f ms (goal: under %.0f ms) %s%s\n"
                    "  plain scan  min %6.2f ms, median %6.2f ms\n",
                    sQuery.c_str(), oIndex.Matches(), Rounds, T::Min(oTimes.vB) * 1e3,
                    dMedian * 1e3, GoalSeconds * 1e3, dMedian < GoalSeconds ? "PASS" : "FAIL",
                    bSame ? "" : " (MATCHES DIFFER FROM THE PLAIN SCAN)", T::Min(oTimes.vA) * 1e3,
                    T::Median(oTimes.vA) * 1e3);
        bPass = bPass && bSame && dMedian < GoalSeconds;
    }

    // The year view's counts over all three years, each round by a new object (nothing
    // remembered), then counted again by the same object after a poll filed one copy.
    BareListing(vDayFolders); // both start from a warm cache
    CDayCounts oCounts(oWorld.AppPath() + "/Daily");
    const T oCountTimes = CBenchWorld::Interleaved(
        Rounds, [&] { BareListing(vDayFolders); },
        [&] {
            oCounts = CDayCounts(oWorld.AppPath() + "/Daily");
            oCounts.Count(dFirst, dLast);
        });
    const bool bCounted = oCounts.Total() == iCopies && oCounts.Maximum() == CopiesPerDay;
    const double dCountMedian = T::Median(oCountTimes.vB);
    std::printf("Day counts of %d days (%d documents counted), %d rounds interleaved:\n"
                "  counts        min %6.2f ms, median %6.2f ms (goal: under %.0f ms) %s%s\n"
                "  bare listing  min %6.2f ms, median %6.2f ms\n",
                Days, oCounts.Total(), Rounds, T::Min(oCountTimes.vB) * 1e3, dCountMedian * 1e3,
                GoalSeconds * 1e3, dCountMedian < GoalSeconds ? "PASS" : "FAIL",
                bCounted ? "" : " (WRONG COUNTS)", T::Min(oCountTimes.vA) * 1e3,
                T::Median(oCountTimes.vA) * 1e3);
    bPass = bPass && bCounted && dCountMedian < GoalSeconds;
    CShellLink oNew;
    oNew.SetTargetPath("/home/ann/New.txt");
    WriteShortcut(vDayFolders.back() + "/New.txt.lnk", oNew, dLast.AddSeconds(23 * 3600));
    const double dAgain = CBenchWorld::BestOf(1, [&] { oCounts.Count(dFirst, dLast); });
    const bool bAgain = oCounts.Total() == iCopies + 1;
    std::printf("  counted again after one filing: %.2f ms%s\n", dAgain * 1e3,
                bAgain ? "" : " (WRONG COUNTS)");
    bPass = bPass && bAgain;
    return bPass ? 0 : 1;
}
