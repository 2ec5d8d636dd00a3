// One hour of polling: 3,600 ticks of one second called directly on the capture cycle, with a
// Recent folder of 2,000 shortcuts and one new document every 10 ticks. The memory in use
// (heap and resident set) may grow by what the new documents' records take, and not with the
// ticks; no file handle may be left open.
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/views/CFavorites.h"
#include "bench/CBenchWorld.h"
#include "commonlibrary/Library.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

namespace fs = std::filesystem;

namespace {
constexpr int Shortcuts = 2000;
constexpr int Ticks = 3600;
constexpr int NewEvery = 10;
constexpr int QuietTicks = 600;
// What one new document may add: its record, its identities in the store's index, and what
// the poll remembers of its name.
constexpr long GoalPerDocument = 4096;
// What an hour without new documents may add: nothing that grows with the ticks.
constexpr long GoalQuiet = 64 * 1024;

struct SMemory {
    long lHeap = 0;     // bytes in use by malloc
    long lResident = 0; // bytes resident
    long lHandles = 0;  // open file descriptors
};

SMemory Measure() {
    SMemory oMemory;
    malloc_trim(0);
    oMemory.lHeap = static_cast<long>(mallinfo2().uordblks);
    std::ifstream oStatus("/proc/self/status");
    for (std::string sLine; std::getline(oStatus, sLine);) {
        if (sLine.rfind("VmRSS:", 0) == 0) {
            oMemory.lResident = std::stol(sLine.substr(6)) * 1024;
        }
    }
    for (const auto& oEntry : fs::directory_iterator("/proc/self/fd")) {
        (void)oEntry;
        ++oMemory.lHandles;
    }
    return oMemory;
}

std::string MakeShortcut(const std::string& sRecent, const std::string& sName) {
    const std::string sLink = sRecent + "/" + sName + ".lnk";
    MDayfold::Library().CreateShellLink(sLink, "/home/ann/Docs/" + sName, "", "", "", 0,
                                        qlCommonLibrary::SHOWNORMAL);
    return sLink;
}
} // namespace

int main() {
    CBenchWorld oWorld;
    const std::string sRecent = oWorld.Root() + "/Recent";
    fs::create_directories(sRecent);
    for (int i = 0; i < Shortcuts; ++i) {
        const std::string sLink = MakeShortcut(sRecent, "Document " + std::to_string(i) + ".txt");
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
    int iFiled = 0;
    oCapture.ShortcutFiled = [&iFiled](const CShortcut&, bool) { ++iFiled; };
    const auto Tick = [&] {
        oWorld.Clock().SetNow(oWorld.Clock().Now().AddSeconds(1));
        oCapture.GetShortcuts();
    };
    // The start: everything filed, and a few ticks so that every cache has its steady size.
    Tick();
    for (int i = 0; i < 100; ++i) {
        Tick();
    }
    const int iStartRecords = oFavorites.Count();
    const SMemory oBefore = Measure();
    int iNew = 0;
    const double dSeconds = CBenchWorld::Seconds([&] {
        for (int iTick = 1; iTick <= Ticks; ++iTick) {
            if (iTick % NewEvery == 0) {
                const std::string sLink =
                    MakeShortcut(sRecent, "New document " + std::to_string(++iNew) + ".txt");
                CBenchWorld::SetModified(sLink, oWorld.Clock().Now());
            }
            Tick();
        }
    });
    const SMemory oAfter = Measure();
    for (int iTick = 0; iTick < QuietTicks; ++iTick) {
        Tick();
    }
    const SMemory oQuiet = Measure();

    const bool bFiled = oFavorites.Count() == iStartRecords + iNew;
    const long lHeapGrowth = oAfter.lHeap - oBefore.lHeap;
    const long lPerDocument = lHeapGrowth / std::max(iNew, 1);
    const long lQuietGrowth = oQuiet.lHeap - oAfter.lHeap;
    const bool bHandles =
        oAfter.lHandles == oBefore.lHandles && oQuiet.lHandles == oBefore.lHandles;
    const bool bPass =
        bFiled && bHandles && lPerDocument <= GoalPerDocument && lQuietGrowth <= GoalQuiet;
    std::printf(
        "one hour of polling: %d ticks, Recent folder of %d shortcuts, %d new documents (%d "
        "records, %s), %.1f s (%.2f ms a tick)\n"
        "  heap     %8.1f KiB -> %8.1f KiB: +%.1f KiB, %ld bytes per new document (goal: at "
        "most %ld)\n"
        "  resident %8.1f KiB -> %8.1f KiB: +%.1f KiB\n"
        "  then %d ticks without new documents: heap %+.1f KiB (goal: at most +%ld KiB), "
        "resident %+.1f KiB\n"
        "  open file handles %ld before, %ld after, %ld after the quiet ticks (goal: equal) %s\n",
        Ticks, Shortcuts, iNew, oFavorites.Count(), bFiled ? "each filed once" : "NOT ALL FILED",
        dSeconds, dSeconds * 1e3 / Ticks, oBefore.lHeap / 1024.0, oAfter.lHeap / 1024.0,
        lHeapGrowth / 1024.0, lPerDocument, GoalPerDocument, oBefore.lResident / 1024.0,
        oAfter.lResident / 1024.0, (oAfter.lResident - oBefore.lResident) / 1024.0, QuietTicks,
        lQuietGrowth / 1024.0, GoalQuiet / 1024, (oQuiet.lResident - oAfter.lResident) / 1024.0,
        oBefore.lHandles, oAfter.lHandles, oQuiet.lHandles, bPass ? "PASS" : "FAIL");
    return bPass ? 0 : 1;
}
