// The Favorites store at scale: rebuilding from a repository of 100,000 shortcut files
// (1,000 days of 100) naming 20,000 distinct documents, and saving then reading 100,000 records.
#include "app/core/MDayfold.h"
#include "app/views/CFavorites.h"
#include "bench/CBenchWorld.h"
#include "commonlibrary/Library.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
constexpr int Days = 1000;
constexpr int PerDay = 100;
constexpr int Documents = 20000;
} // namespace

int main() {
    CBenchWorld oWorld;
    // One shortcut made once, copied into every day folder under its document's name: the
    // rebuild reads each file as a shortcut all the same.
    std::vector<std::string> vTemplates(Documents);
    const std::string sTemplates = oWorld.Root() + "/templates";
    std::filesystem::create_directories(sTemplates);
    for (int i = 0; i < Documents; ++i) {
        vTemplates[static_cast<size_t>(i)] = sTemplates + "/" + std::to_string(i) + ".lnk";
        MDayfold::Library().CreateShellLink(vTemplates[static_cast<size_t>(i)],
                                            "/home/ann/Project " + std::to_string(i % 97) +
                                                "/Document " + std::to_string(i) + ".txt",
                                            "", "", "", 0, qlCommonLibrary::SHOWNORMAL);
    }
    const CDateTime dFirst = CDateTime::FromParts(2024, 3, 14);
    for (int iDay = 0; iDay < Days; ++iDay) {
        const CDateTime dDay = dFirst.AddDays(iDay);
        const std::string sFolder = oWorld.AppPath() + "/Daily/" + dDay.YearText() + "/" +
                                    dDay.MonthName() + "/" + dDay.DayText();
        std::filesystem::create_directories(sFolder);
        for (int i = 0; i < PerDay; ++i) {
            const int iDocument = (iDay * PerDay + i) % Documents;
            std::filesystem::copy_file(vTemplates[static_cast<size_t>(iDocument)],
                                       sFolder + "/Document " + std::to_string(iDocument) +
                                           ".txt.lnk");
        }
    }

    CFavorites oFavorites;
    oFavorites.SetAppPath(oWorld.AppPath());
    oFavorites.SetDailyFolder("Daily");
    const double dRebuild = CBenchWorld::BestOf(3, [&] { oFavorites.RebuildFavorites(); });
    const bool bCounted = oFavorites.Count() == Documents &&
                          oFavorites.GetFavorites()[0].DaysAccessed == Days * PerDay / Documents;
    std::printf("RebuildFavorites over %d shortcut files, %d documents: %.3f s (goal: under 2 s) "
                "%s%s\n",
                Days * PerDay, Documents, dRebuild, dRebuild < 2.0 ? "PASS" : "FAIL",
                bCounted ? "" : " (WRONG COUNTS)");

    // 100,000 records: every document five times over, as distinct records.
    CFavorites oLarge;
    oLarge.SetAppPath(oWorld.AppPath());
    oLarge.SetDailyFolder("Daily");
    std::filesystem::remove(oWorld.AppPath() + "/Favorites.dat");
    std::string sText;
    for (int i = 0; i < Days * PerDay; ++i) {
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
    const bool bRead = oLarge.Count() == Days * PerDay;
    std::printf("Save then Read of %d records: %.3f s (goal: under 0.5 s) %s%s\n", Days * PerDay,
                dSaveRead, dSaveRead < 0.5 ? "PASS" : "FAIL", bRead ? "" : " (WRONG COUNT)");
    return (dRebuild < 2.0 && dSaveRead < 0.5 && bCounted && bRead) ? 0 : 1;
}
