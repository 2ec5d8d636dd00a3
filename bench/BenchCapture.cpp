// The steady state of the capture cycle: a poll of a Recent folder whose shortcuts are all
// filed already, against a bare listing of the same folder with one stat per file, the two
// timed interleaved (listing, poll, listing, poll ...).
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/views/CFavorites.h"
#include "bench/CBenchWorld.h"
#include "commonlibrary/Library.h"

#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace {
constexpr int Shortcuts = 2000;
constexpr int Rounds = 41;
constexpr double Goal = 1.5;

size_t BareListing(const std::string& sFolder) {
    size_t nFiles = 0;
    DIR* pDir = opendir(sFolder.c_str());
    while (const dirent* pEntry = readdir(pDir)) {
        struct stat oStat {};
        if (fstatat(dirfd(pDir), pEntry->d_name, &oStat, 0) == 0 && S_ISREG(oStat.st_mode)) {
            ++nFiles;
        }
    }
    closedir(pDir);
    return nFiles;
}
} // namespace

int main() {
    CBenchWorld oWorld;
    const std::string sRecent = oWorld.Root() + "/Recent";
    std::filesystem::create_directories(sRecent);
    for (int i = 0; i < Shortcuts; ++i) {
        const std::string sName = "Document " + std::to_string(i) + ".txt";
        const std::string sLink = sRecent + "/" + sName + ".lnk";
        MDayfold::Library().CreateShellLink(sLink, "/home/ann/Docs/" + sName, "", "", "", 0,
                                            qlCommonLibrary::SHOWNORMAL);
        // Spread over the last 20 days, as a month of work leaves it.
        CBenchWorld::SetModified(sLink, oWorld.Clock().Now().AddSeconds(-(i % 20) * 86400 - i));
    }
    CFavorites oFavorites;
    oFavorites.SetAppPath(oWorld.AppPath());
    oFavorites.SetDailyFolder("Daily");
    oFavorites.Read();
    CCapture oCapture;
    oCapture.SetRecentFolder(sRecent);
    oCapture.SetPurgeAge(30);
    oCapture.SetFavorites(&oFavorites);
    oCapture.GetShortcuts(); // files everything once
    if (oFavorites.Count() != Shortcuts) {
        std::fprintf(stderr, "filing failed: %d records\n", oFavorites.Count());
        return 1;
    }
    // A day folder is trusted once it has not changed for a moment; the poll after the filing
    // checks every copy once more, as it would in the program a minute later.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    oCapture.GetShortcuts();

    oCapture.SetDailyChanged(false);
    const CBenchWorld::STimes oTimes = CBenchWorld::Interleaved(
        Rounds, [&] { BareListing(sRecent); }, [&] { oCapture.GetShortcuts(); });
    if (oCapture.DailyChanged()) {
        std::fprintf(stderr, "a steady poll filed something\n");
        return 1;
    }
    using T = CBenchWorld::STimes;
    const double dRatio = T::Median(oTimes.vB) / T::Median(oTimes.vA);
    std::printf("steady poll of %d filed shortcuts, %d rounds interleaved with a bare listing + "
                "stat:\n  poll    min %.3f ms, median %.3f ms\n  listing min %.3f ms, median "
                "%.3f ms\n  ratio of medians %.2f, of minima %.2f (goal: at most %.1f) %s\n",
                Shortcuts, Rounds, T::Min(oTimes.vB) * 1e3, T::Median(oTimes.vB) * 1e3,
                T::Min(oTimes.vA) * 1e3, T::Median(oTimes.vA) * 1e3, dRatio,
                T::Min(oTimes.vB) / T::Min(oTimes.vA), Goal, dRatio <= Goal ? "PASS" : "FAIL");
    return dRatio <= Goal ? 0 : 1;
}
