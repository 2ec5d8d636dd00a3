// Reading the settings file in time and memory that grow with its size, whatever its shape:
// one key path nested far too deep, the deepest keys the registry allows, and one key with a
// great many values. Each shape is loaded at two sizes, interleaved with a file of ordinary
// shape and the same size (A, B, A, B ...): linear reading takes about 4 times as long for 4
// times the text (quadratic: 16 times) and stays near the ordinary file of its size.
// Run: bench_settings [rounds], 15 rounds by default; minimum and median of each are printed.
#include "platform/registry/CRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int g_iRounds = 15;                  // bench_settings [rounds]
constexpr double GrowthGoal = 1.5;   // times the growth of the text: linear is about 1
constexpr double BaselineGoal = 3.0; // against an ordinary file of the same size
constexpr long MemoryGoalKiB = 16 * 1024;

const std::string Header = "Windows Registry Editor Version 5.00\n\n";

// One key path of about nBytes, one level per two characters: far past the registry's depth.
// An ordinary key before it keeps the file from being set aside as unreadable.
std::string DeepPath(std::size_t nBytes) {
    std::string sText = Header + "[HKEY_CURRENT_USER\\Software\\Quillon]\n\"Name\"=\"value\"\n\n" +
                        "[HKEY_CURRENT_USER\\Software";
    while (sText.size() < nBytes) {
        sText += "\\a";
    }
    return sText + "]\n\"Name\"=\"value\"\n";
}

// nKeys paths at the registry's full depth of 512 levels, names of 60 characters.
std::string DeepestKeys(int nKeys) {
    std::string sText = Header;
    for (int k = 0; k < nKeys; ++k) {
        sText += "[HKEY_CURRENT_USER\\Software\\Key " + std::to_string(k);
        for (int n = 2; n < 512; ++n) {
            sText += "\\" + std::string(59, 'n') + std::to_string(n % 10);
        }
        sText += "]\n\"Name\"=\"value\"\n\n";
    }
    return sText;
}

// One key with nValues values.
std::string ManyValues(int nValues) {
    std::string sText = Header + "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Many]\n";
    for (int n = 0; n < nValues; ++n) {
        sText += "\"Value " + std::to_string(n) + "\"=\"" + std::to_string(n * 7) + "\"\n";
    }
    return sText;
}

// The ordinary shape at about nBytes: keys four levels deep with three values each.
std::string Ordinary(std::size_t nBytes) {
    std::string sText = Header;
    for (int k = 0; sText.size() < nBytes; ++k) {
        sText +=
            "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Group " + std::to_string(k) +
            "]\n\"Favorites Threshold\"=\"3\"\n\"Purge Age\"=\"30\"\n\"Timer Interval\"=\"60\"\n\n";
    }
    return sText;
}

struct STimes {
    std::vector<double> vSeconds;
    double Min() const { return *std::min_element(vSeconds.begin(), vSeconds.end()); }
    double Median() const {
        std::vector<double> v = vSeconds;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
};

double Seconds(const std::function<void()>& fn) {
    const auto tStart = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
}

class CBench {
public:
    CBench() {
        std::string sTemplate =
            (std::filesystem::temp_directory_path() / "dayfold-bench-XXXXXX").string();
        if (mkdtemp(sTemplate.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_sFolder = sTemplate;
    }
    ~CBench() {
        std::error_code ec;
        std::filesystem::remove_all(m_sFolder, ec);
    }

    std::string Write(const std::string& sName, const std::string& sText) const {
        const std::string sPath = m_sFolder + "/" + sName;
        std::ofstream(sPath, std::ios::binary) << sText;
        return sPath;
    }

    // A load of the file as the program does it: read, parse, log what was skipped. Answers
    // the keys below "Software" and the values of those keys and of the Dayfold groups, as a
    // check that the file was read.
    static int Load(const std::string& sPath) {
        CRegistry oRegistry(sPath, nullptr);
        CRegistryKey oSoftware = oRegistry.KeyFromPath("HKCU\\Software");
        int iFound = oSoftware.SubKeys().Count();
        for (const std::string& sName : oSoftware.SubKeys().Names()) {
            iFound += oSoftware.OpenSubKey(sName).Values().Count();
        }
        try {
            CRegistryKey oDayfold = oRegistry.KeyFromPath("HKCU\\Software\\Quillon\\Dayfold");
            for (const std::string& sGroup : oDayfold.SubKeys().Names()) {
                iFound += oDayfold.OpenSubKey(sGroup).Values().Count();
            }
        } catch (const std::exception&) {
        }
        return iFound;
    }

    // The peak memory, in KiB, of a child process that loads the file.
    static long PeakMemory(const std::string& sPath) {
        const pid_t iChild = fork();
        if (iChild == 0) {
            Load(sPath);
            _exit(0);
        }
        int iStatus = 0;
        struct rusage oUsage {};
        if (iChild < 0 || wait4(iChild, &iStatus, 0, &oUsage) != iChild || iStatus != 0) {
            return -1;
        }
        return oUsage.ru_maxrss;
    }

    // Loads the shape and the ordinary file of each size in turn; prints and judges.
    // iFound: what a load of the large shape must find (see Load).
    bool Run(const char* szShape, const std::string& sSmall, const std::string& sLarge,
             int iFound) {
        const std::string sShapeSmall = Write("shape-small.reg", sSmall);
        const std::string sShapeLarge = Write("shape-large.reg", sLarge);
        const std::string sOrdinaryLarge = Write("ordinary-large.reg", Ordinary(sLarge.size()));
        if (const int iLoaded = Load(sShapeLarge); iLoaded != iFound) {
            std::printf("%s: WRONG CONTENT (%d found, not %d) FAIL\n", szShape, iLoaded, iFound);
            return false;
        }
        STimes oSmall;
        STimes oLarge;
        STimes oOrdinary;
        for (int i = 0; i < g_iRounds; ++i) {
            oSmall.vSeconds.push_back(Seconds([&] { Load(sShapeSmall); }));
            oOrdinary.vSeconds.push_back(Seconds([&] { Load(sOrdinaryLarge); }));
            oLarge.vSeconds.push_back(Seconds([&] { Load(sShapeLarge); }));
        }
        const double dSizes =
            static_cast<double>(sLarge.size()) / static_cast<double>(sSmall.size());
        const double dGrowth = oLarge.Median() / oSmall.Median();
        const double dBaseline = oLarge.Median() / oOrdinary.Median();
        const long lShapeMemory = PeakMemory(sShapeLarge);
        const long lOrdinaryMemory = PeakMemory(sOrdinaryLarge);
        // A file set aside or refused would be timed as no work at all.
        const bool bIntact = Load(sShapeSmall) > 0 && Load(sShapeLarge) == iFound;
        const bool bPass = bIntact && dGrowth <= GrowthGoal * dSizes && dBaseline <= BaselineGoal &&
                           lShapeMemory >= 0 && lShapeMemory - lOrdinaryMemory <= MemoryGoalKiB;
        std::printf("%s\n"
                    "  %zu bytes: min %.3f ms, median %.3f ms\n"
                    "  %zu bytes: min %.3f ms, median %.3f ms; %.1f times as long for %.1f "
                    "times the text (goal: at most %.1f)\n"
                    "  ordinary file of %zu bytes: min %.3f ms, median %.3f ms; ratio %.2f "
                    "(goal: at most %.0f)\n"
                    "  peak memory %ld KiB, ordinary file %ld KiB (goal: at most %ld KiB more) "
                    "%s\n",
                    szShape, sSmall.size(), oSmall.Min() * 1e3, oSmall.Median() * 1e3,
                    sLarge.size(), oLarge.Min() * 1e3, oLarge.Median() * 1e3, dGrowth, dSizes,
                    GrowthGoal * dSizes, Ordinary(sLarge.size()).size(), oOrdinary.Min() * 1e3,
                    oOrdinary.Median() * 1e3, dBaseline, BaselineGoal, lShapeMemory,
                    lOrdinaryMemory, MemoryGoalKiB, bPass ? "PASS" : "FAIL");
        return bPass;
    }

private:
    std::string m_sFolder;
};

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        g_iRounds = std::max(1, std::atoi(argv[1]));
    }
    CBench oBench;
    // Found: "Quillon" and its value; four keys; "Quillon" and 50,000 values.
    bool bPass = oBench.Run("one key path nested 20,000 levels deep (40 KB), refused as a line",
                            DeepPath(10 * 1024), DeepPath(40 * 1024), 2);
    bPass = oBench.Run("keys at the full depth of 512 levels", DeepestKeys(1), DeepestKeys(4), 4) &&
            bPass;
    bPass = oBench.Run("one key with 50,000 values", ManyValues(12500), ManyValues(50000), 50001) &&
            bPass;
    return bPass ? 0 : 1;
}
