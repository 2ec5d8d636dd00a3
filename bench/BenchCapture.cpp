// The steady state of the capture cycle: a poll of a Recent folder whose shortcuts are all
// filed already, against a bare listing of the same folder with one stat per file.
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/views/CFavorites.h"
#include "bench/CBenchWorld.h"
#include "commonlibrary/Library.h"

#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

namespace {
constexpr int Shortcuts = 2000;

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
    CCapture oCapture;
    oCapture.SetRecentFolder(sRecent);
    oCapture.SetPurgeAge(30);
    oCapture.SetFavorites(&oFavorites);
    oCapture.GetShortcuts(); // files everything once
    if (oFavorites.Count() != Shortcuts) {
        std::fprintf(stderr, "filing failed: %d records\n", oFavorites.Count());
        return 1;
    }

    oCapture.SetDailyChanged(false);
    const double dBare = CBenchWorld::BestOf(20, [&] { BareListing(sRecent); });
    const double dPoll = CBenchWorld::BestOf(20, [&] { oCapture.GetShortcuts(); });
    if (oCapture.DailyChanged()) {
        std::fprintf(stderr, "a steady poll filed something\n");
        return 1;
    }
    const double dRatio = dPoll / dBare;
    std::printf("steady poll of %d filed shortcuts: %.2f ms; bare listing + stat: %.2f ms; "
                "ratio %.2f (goal: at most 3) %s\n",
                Shortcuts, dPoll * 1e3, dBare * 1e3, dRatio, dRatio <= 3.0 ? "PASS" : "FAIL");
    return dRatio <= 3.0 ? 0 : 1;
}
