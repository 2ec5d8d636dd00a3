// The Favorites store at scale:
//  - RebuildFavorites over a repository of about 100,000 real Windows shortcuts (the corpus of
//    the tests, every shortcut filed on each of about 2,000 days) with the file types of the
//    freedesktop databases, against walking the same repository and reading every file's bytes
//    once, the two timed interleaved; the rebuild must keep one record per document;
//  - reading a Favorites.dat of damaged lines, 20,000 and 80,000 of them: linear, not quadratic;
//  - Save then Read of 100,000 records.
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "bench/CBenchWorld.h"
#include "platform/registry/CFreedesktopFileTypes.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <stdlib.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int Files = 100000;
constexpr int RebuildRounds = 9;
constexpr double RebuildGoal = 1.5;

// Walks the tree and reads every ".lnk" file's bytes once: what no rebuild can beat.
size_t WalkAndRead(const std::string& sFolder) {
    size_t nBytes = 0;
    DIR* pDir = opendir(sFolder.c_str());
    if (pDir == nullptr) {
        return 0;
    }
    std::vector<std::string> vFolders;
    char acBuffer[64 * 1024];
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string sName = pEntry->d_name;
        if (sName[0] == '.') {
            continue;
        }
        if (pEntry->d_type == DT_DIR) {
            vFolders.push_back(sFolder + sName + "/");
        } else if (sName.size() > 4 && sName.compare(sName.size() - 4, 4, ".lnk") == 0) {
            const int iFd = openat(dirfd(pDir), pEntry->d_name, O_RDONLY | O_CLOEXEC);
            ssize_t nRead = 0;
            while ((nRead = read(iFd, acBuffer, sizeof acBuffer)) > 0) {
                nBytes += static_cast<size_t>(nRead);
            }
            close(iFd);
        }
    }
    closedir(pDir);
    for (const std::string& sSub : vFolders) {
        nBytes += WalkAndRead(sSub);
    }
    return nBytes;
}

std::map<std::string, int> Days(const CFavorites& oFavorites) {
    std::map<std::string, int> colDays;
    for (const FavoriteRecord& oRecord : oFavorites.GetFavorites()) {
        colDays[fs::path(oRecord.File).filename().string()] = oRecord.DaysAccessed;
    }
    return colDays;
}

// Reads a Favorites.dat of iLines damaged lines (dates without their closing #); seconds.
double ReadDamaged(CBenchWorld& oWorld, int iLines) {
    std::string sText;
    for (int i = 0; i < iLines; ++i) {
        sText += "1,#2026-12-08 12:00:00,\"/x/Document " + std::to_string(i) +
                 ".txt.lnk\",\"Document.txt\",\"/home/ann\",\"Text Document\",\"\",0\r\n";
    }
    std::FILE* pFile = std::fopen((oWorld.AppPath() + "/Favorites.dat").c_str(), "wb");
    std::fwrite(sText.data(), 1, sText.size(), pFile);
    std::fclose(pFile);
    CFavorites oFavorites;
    oFavorites.SetAppPath(oWorld.AppPath());
    oFavorites.SetDailyFolder("Daily");
    return CBenchWorld::BestOf(3, [&] { oFavorites.Read(); });
}
} // namespace

int main() {
    // The freedesktop databases of the machine, but no user's own settings.
    const std::string sRoot = CBenchWorld::MakeRoot();
    setenv("XDG_CONFIG_HOME", (sRoot + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (sRoot + "/data").c_str(), 1);
    CFreedesktopFileTypes oFileTypes;
    CBenchWorld oWorld(&oFileTypes);
    bool bPass = true;

    // The corpus shortcuts that load, each filed under its own name on every day.
    std::vector<std::string> vCorpus;
    for (const auto& oEntry : fs::directory_iterator(DAYFOLD_CORPUS)) {
        if (oEntry.path().extension() == ".lnk") {
            CShortcut oShortcut;
            oShortcut.SetFile(oEntry.path().string());
            if (oShortcut.Loaded()) {
                vCorpus.push_back(oEntry.path().string());
            }
        }
    }
    const int iDays =
        (Files + static_cast<int>(vCorpus.size()) - 1) / static_cast<int>(vCorpus.size());
    const CDateTime dFirst = CDateTime::FromParts(2020, 1, 1);
    int iDocuments = 0;
    for (int iDay = 0; iDay < iDays; ++iDay) {
        const CDateTime dDay = dFirst.AddDays(iDay);
        const std::string sFolder = oWorld.AppPath() + "/Daily/" + dDay.YearText() + "/" +
                                    dDay.MonthName() + "/" + dDay.DayText();
        fs::create_directories(sFolder);
        for (const std::string& sShortcut : vCorpus) {
            fs::copy_file(sShortcut, sFolder + "/" + fs::path(sShortcut).filename().string());
        }
        if (iDay == 0) {
            // The documents, as the rebuild of one day counts them.
            CFavorites oOneDay;
            oOneDay.SetAppPath(oWorld.AppPath());
            oOneDay.SetDailyFolder("Daily");
            oOneDay.RebuildFavorites();
            iDocuments = oOneDay.Count();
        }
    }

    CFavorites oFavorites;
    oFavorites.SetAppPath(oWorld.AppPath());
    oFavorites.SetDailyFolder("Daily");
    const std::string sDaily = oWorld.AppPath() + "/Daily/";
    WalkAndRead(sDaily); // both start from a warm cache
    const CBenchWorld::STimes oTimes = CBenchWorld::Interleaved(
        RebuildRounds, [&] { WalkAndRead(sDaily); }, [&] { oFavorites.RebuildFavorites(); });
    // One record per document: as many records as one day has documents, each counted on
    // every day (twice a day where two shortcuts name it).
    int iTotal = 0;
    bool bEvenly = true;
    for (const auto& [sName, iDaysAccessed] : Days(oFavorites)) {
        iTotal += iDaysAccessed;
        bEvenly = bEvenly && iDaysAccessed % iDays == 0;
    }
    const int iFiles = iDays * static_cast<int>(vCorpus.size());
    const bool bCounted = oFavorites.Count() == iDocuments && iTotal == iFiles && bEvenly;
    using T = CBenchWorld::STimes;
    const double dRatio = T::Median(oTimes.vB) / T::Median(oTimes.vA);
    std::printf("RebuildFavorites over %d corpus shortcut files (%d days), freedesktop file "
                "types, %d rounds interleaved with walking and reading the same files:\n"
                "  rebuild        min %.3f s, median %.3f s; %d records for %zu shortcuts naming "
                "%d documents, %d days counted%s\n"
                "  walk and read  min %.3f s, median %.3f s\n"
                "  ratio of medians %.2f, of minima %.2f (goal: at most %.1f) %s\n",
                iFiles, iDays, RebuildRounds, T::Min(oTimes.vB), T::Median(oTimes.vB),
                oFavorites.Count(), vCorpus.size(), iDocuments, iTotal,
                bCounted ? "" : " (WRONG COUNTS)", T::Min(oTimes.vA), T::Median(oTimes.vA), dRatio,
                T::Min(oTimes.vB) / T::Min(oTimes.vA), RebuildGoal,
                dRatio <= RebuildGoal ? "PASS" : "FAIL");
    bPass = bPass && bCounted && dRatio <= RebuildGoal;

    // Damaged lines: four times the lines, about four times the time.
    const double dQuarter = ReadDamaged(oWorld, 20000);
    const double dWhole = ReadDamaged(oWorld, 80000);
    const double dGrowth = dWhole / dQuarter;
    std::printf("Read of Favorites.dat with 20,000 damaged lines: %.3f s; with 80,000: %.3f s; "
                "growth %.1f (linear 4, quadratic 16; goal: at most 6 and under 1 s) %s\n",
                dQuarter, dWhole, dGrowth, dGrowth <= 6 && dWhole < 1.0 ? "PASS" : "FAIL");
    bPass = bPass && dGrowth <= 6 && dWhole < 1.0;

    // 100,000 records, as distinct documents.
    CFavorites oLarge;
    oLarge.SetAppPath(oWorld.AppPath());
    oLarge.SetDailyFolder("Daily");
    std::string sText;
    for (int i = 0; i < Files; ++i) {
        sText += std::to_string(i % 50 + 1) + ",#2026-12-08 12:00:00#,\"" + oWorld.AppPath() +
                 "/Daily/2026/December/08/Document " + std::to_string(i) +
                 ".txt.lnk\",\"Document " + std::to_string(i) +
                 ".txt\",\"/home/ann/Project\",\"Text Document\",\"text-x-generic\",0\r\n";
    }
    {
        std::FILE* pFile = std::fopen((oWorld.AppPath() + "/Favorites.dat").c_str(), "wb");
        std::fwrite(sText.data(), 1, sText.size(), pFile);
        std::fclose(pFile);
    }
    oLarge.Read();
    const double dSaveRead = CBenchWorld::BestOf(5, [&] {
        oLarge.Save();
        oLarge.Read();
    });
    const bool bRead = oLarge.Count() == Files;
    std::printf("Save then Read of %d records: %.3f s (goal: under 0.5 s) %s%s\n", Files, dSaveRead,
                dSaveRead < 0.5 ? "PASS" : "FAIL", bRead ? "" : " (WRONG COUNT)");
    bPass = bPass && dSaveRead < 0.5 && bRead;
    return bPass ? 0 : 1;
}
