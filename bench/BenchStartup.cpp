// The program's start-up, from starting the process to its window shown (offscreen), in three
// data folders:
//   - empty (goal: under 300 ms);
//   - a repository of 10,000 shortcuts over a year and a Favorites.dat of 5,000 records
//     (goal: under 1 s, peak memory under 100 MiB);
//   - 100,000 shortcuts over three years and 20,000 records (goal: under 1 s, peak memory under
//     150 MiB).
// Every run is a new process: this program started again as the child, which runs the whole
// start of dayfold (command line, folders, the freedesktop file types, MDayfold::Main with the
// splash, the About box, the help, the load of the main window) and reports when the window is
// shown. Its baseline, in turns with it (A, B, A, B ...), is the same child showing a bare
// QMainWindow. Peak memory is the child's maximum resident size. Minimum and median of each.
#include "app/core/CCommandLine.h"
#include "app/core/MDayfold.h"
#include "app/views/CFavoritesFile.h"
#include "app/window/MWindowProgram.h"
#include "bench/CBenchWorld.h"
#include "commonlibrary/Library.h"
#include "platform/registry/CFreedesktopFileTypes.h"
#include "platform/shell/CShellFolders.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The child tells the parent on this descriptor that its window is shown.
constexpr int ReportDescriptor = 3;
constexpr const char* ChildOption = "--bench-child";

// --- The child ---------------------------------------------------------------------------

const char* g_szWindowName = "FMain";

// Watches for the window's Show; once the events that follow it have run (the first
// activation, the first paint), reports and ends at once.
class CShownWatch : public QObject {
public:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Show && pObject->isWidgetType() &&
            pObject->objectName() == g_szWindowName) {
            QTimer::singleShot(0, [] {
                (void)!write(ReportDescriptor, "1", 1);
                _exit(0);
            });
        }
        return false;
    }
};

void WatchForTheWindow() {
    static CShownWatch oWatch;
    qApp->installEventFilter(&oWatch);
}

// What main() of dayfold does without options.
int RunProgram(int iArgc, char** apArgv) {
    qAddPreRoutine(WatchForTheWindow);
    const CCommandLine oLine({});
    std::string sProblem;
    const auto oFolders = oLine.FindFolders(sProblem);
    if (!oFolders) {
        std::fprintf(stderr, "bench_startup: %s\n", sProblem.c_str());
        return 1;
    }
    CFreedesktopFileTypes oFileTypes;
    MDayfold::SEnvironment oEnvironment;
    oEnvironment.sAppPath = oFolders->sDataFolder;
    oEnvironment.sSettingsFile = CShellFolders::ConfigHome() + "/Quillon/Dayfold.reg";
    oEnvironment.pFileTypes = &oFileTypes;
    return MWindowProgram::Run(iArgc, apArgv, oEnvironment, oFolders->sRecentFolder,
                               oFolders->bFedFromDesktop);
}

int RunBaseline(int iArgc, char** apArgv) {
    g_szWindowName = "Baseline";
    QApplication oApplication(iArgc, apArgv);
    WatchForTheWindow();
    QMainWindow oWindow;
    oWindow.setObjectName("Baseline");
    oWindow.setCentralWidget(new QLabel("Dayfold"));
    oWindow.resize(584, 379);
    oWindow.show();
    return QApplication::exec();
}

// --- The worlds ----------------------------------------------------------------------------

struct SWorld {
    const char* szName;
    int iShortcuts;
    int iDays;
    int iRecords;
    double dGoalSeconds;
    double dGoalMiB; // 0: none
};

const std::vector<const char*> Extensions = {".txt", ".pdf", ".odt",  ".ods", ".png",
                                             ".md",  ".csv", ".html", ".jpg", ".py"};

std::string DocumentName(int iDocument) {
    return "Document " + std::to_string(iDocument) +
           Extensions[static_cast<size_t>(iDocument) % Extensions.size()];
}

std::vector<char> ReadBytes(const std::string& sPath) {
    std::ifstream oFile(sPath, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(oFile),
                             std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& sPath, const std::vector<char>& vBytes) {
    std::ofstream(sPath, std::ios::binary).write(vBytes.data(), static_cast<long>(vBytes.size()));
}

// A home folder: the settings of a second run (so no welcome box, and a purge age that keeps
// every day), and the data folder with its repository and Favorites.dat.
void MakeHome(const std::string& sHome, const SWorld& oWorld) {
    const std::string sData = sHome + "/.local/share/Dayfold";
    const std::string sDocuments = sHome + "/Documents";
    fs::create_directories(sData);
    fs::create_directories(sHome + "/.config/Quillon");
    fs::create_directories(sDocuments);
    fs::create_directories(sHome + "/runtime");
    chmod((sHome + "/runtime").c_str(), 0700);
    std::ofstream(sHome + "/.config/Quillon/Dayfold.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
           "\"Favorites Threshold\"=\"3\"\n\"Purge Age\"=\"2000\"\n\"Timer Interval\"=\"60\"\n";
    if (oWorld.iShortcuts == 0) {
        return;
    }

    // One shortcut per document, made once; the repository holds copies of them.
    const int iDocuments = oWorld.iRecords;
    std::vector<std::vector<char>> vLinks;
    {
        CBenchWorld oMaker;
        for (int i = 0; i < iDocuments; ++i) {
            const std::string sDocument = sDocuments + "/" + DocumentName(i);
            std::ofstream(sDocument) << "text";
            const std::string sLink = oMaker.Root() + "/link.lnk";
            MDayfold::Library().CreateShellLink(sLink, sDocument, sDocuments, "", "", 0,
                                                qlCommonLibrary::SHOWNORMAL);
            vLinks.push_back(ReadBytes(sLink));
        }
    }
    // The last iDays days up to today, the same number of documents on each.
    const CDateTime dToday = CDateTime::FromUnixTime(std::time(nullptr)).DatePart();
    const int iPerDay = oWorld.iShortcuts / oWorld.iDays;
    std::vector<std::string> vFirstCopy(static_cast<size_t>(iDocuments));
    std::vector<int> vDays(static_cast<size_t>(iDocuments), 0);
    std::vector<CDateTime> vLast(static_cast<size_t>(iDocuments));
    for (int iDay = 0; iDay < oWorld.iDays; ++iDay) {
        const CDateTime dDay = dToday.AddDays(iDay - oWorld.iDays + 1).AddSeconds(9 * 3600);
        const std::string sFolder =
            sData + "/Daily/" + dDay.YearText() + "/" + dDay.MonthName() + "/" + dDay.DayText();
        fs::create_directories(sFolder);
        for (int k = 0; k < iPerDay; ++k) {
            const int iDocument = (iDay * iPerDay + k) % iDocuments;
            const std::string sCopy = sFolder + "/" + DocumentName(iDocument) + ".lnk";
            WriteBytes(sCopy, vLinks[static_cast<size_t>(iDocument)]);
            CBenchWorld::SetModified(sCopy, dDay);
            auto& sFirst = vFirstCopy[static_cast<size_t>(iDocument)];
            if (sFirst.empty()) {
                sFirst = sCopy;
            }
            ++vDays[static_cast<size_t>(iDocument)];
            vLast[static_cast<size_t>(iDocument)] = dDay;
        }
    }
    std::string sText;
    for (int i = 0; i < iDocuments; ++i) {
        FavoriteRecord oRecord;
        // A mix of documents below and above the threshold of 3 days.
        oRecord.DaysAccessed = std::max(vDays[static_cast<size_t>(i)], 1) + i % 4;
        oRecord.LastAccessed =
            vLast[static_cast<size_t>(i)].IsEmpty() ? dToday : vLast[static_cast<size_t>(i)];
        oRecord.File = vFirstCopy[static_cast<size_t>(i)];
        oRecord.TargetFileName = DocumentName(i);
        oRecord.WorkingDirectory = sDocuments;
        oRecord.TargetClass = "Document";
        sText += CFavoritesFile::FormatRecord(oRecord);
    }
    std::ofstream(sData + "/Favorites.dat", std::ios::binary) << sText;
}

// --- The parent ----------------------------------------------------------------------------

struct SRun {
    double dSeconds = -1;
    double dPeakMiB = 0;
};

SRun RunChild(const std::string& sSelf, const char* szMode, const std::string& sHome) {
    int aiPipe[2];
    if (pipe(aiPipe) != 0) {
        return {};
    }
    std::vector<std::string> vEnvironment = {
        "HOME=" + sHome, "XDG_DATA_HOME=" + sHome + "/.local/share",
        "XDG_CONFIG_HOME=" + sHome + "/.config", "XDG_RUNTIME_DIR=" + sHome + "/runtime",
        "QT_QPA_PLATFORM=offscreen"};
    for (char** pp = environ; *pp != nullptr; ++pp) {
        const std::string sEntry = *pp;
        if (sEntry.rfind("PATH=", 0) == 0 || sEntry.rfind("XDG_DATA_DIRS=", 0) == 0 ||
            sEntry.rfind("LANG=", 0) == 0) {
            vEnvironment.push_back(sEntry);
        }
    }
    std::vector<char*> vEnvp;
    for (std::string& s : vEnvironment) {
        vEnvp.push_back(s.data());
    }
    vEnvp.push_back(nullptr);
    std::string sOption = ChildOption;
    std::string sMode = szMode;
    std::string sProgram = sSelf;
    char* apArgv[] = {sProgram.data(), sOption.data(), sMode.data(), nullptr};

    const auto tStart = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(aiPipe[0]);
        dup2(aiPipe[1], ReportDescriptor);
        const int iNull = open("/dev/null", O_WRONLY);
        dup2(iNull, 2);
        execve(apArgv[0], apArgv, vEnvp.data());
        _exit(127);
    }
    close(aiPipe[1]);
    char cReport = 0;
    const ssize_t nRead = read(aiPipe[0], &cReport, 1);
    const auto tShown = std::chrono::steady_clock::now();
    close(aiPipe[0]);
    int iStatus = 0;
    rusage oUsage{};
    wait4(pid, &iStatus, 0, &oUsage);
    SRun oRun;
    if (nRead == 1) {
        oRun.dSeconds = std::chrono::duration<double>(tShown - tStart).count();
    }
    oRun.dPeakMiB = static_cast<double>(oUsage.ru_maxrss) / 1024.0; // KiB
    return oRun;
}

double Min(std::vector<double> v) {
    return *std::min_element(v.begin(), v.end());
}
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], ChildOption) == 0) {
        return std::strcmp(argv[2], "program") == 0 ? RunProgram(1, argv) : RunBaseline(1, argv);
    }
    const std::string sSelf = fs::canonical("/proc/self/exe").string();
    static const std::vector<SWorld> vWorlds = {
        {"empty data folder", 0, 0, 0, 0.3, 0},
        {"10,000 shortcuts over a year, 5,000 records", 10000, 365, 5000, 1.0, 100},
        {"100,000 shortcuts over three years, 20,000 records", 100000, 1095, 20000, 1.0, 150},
    };
    if (argc == 4 && std::strcmp(argv[1], "--make-home") == 0) {
        // For a profiler: the home folder of one world, kept (HOME=DIR dayfold starts on it).
        MakeHome(argv[2], vWorlds.at(static_cast<size_t>(std::atoi(argv[3]))));
        return 0;
    }
    const int iRounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 9;
    bool bAllPass = true;
    for (const SWorld& oWorld : vWorlds) {
        std::string sRoot = (fs::temp_directory_path() / "dayfold-startup-XXXXXX").string();
        if (mkdtemp(sRoot.data()) == nullptr) {
            std::printf("cannot make a temporary folder\n");
            return 1;
        }
        const std::string sHome = sRoot + "/home";
        std::fprintf(stderr, "making the home folder: %s\n", oWorld.szName);
        MakeHome(sHome, oWorld);
        // One start first: it writes the settings groups of a first start and warms the caches.
        RunChild(sSelf, "program", sHome);
        std::vector<double> vProgram, vBaseline, vProgramMiB, vBaselineMiB;
        for (int i = 0; i < iRounds; ++i) {
            const SRun oBaseline = RunChild(sSelf, "baseline", sHome);
            const SRun oProgram = RunChild(sSelf, "program", sHome);
            if (oProgram.dSeconds < 0 || oBaseline.dSeconds < 0) {
                std::printf("%s: a child did not show its window\n", oWorld.szName);
                return 1;
            }
            vBaseline.push_back(oBaseline.dSeconds);
            vProgram.push_back(oProgram.dSeconds);
            vBaselineMiB.push_back(oBaseline.dPeakMiB);
            vProgramMiB.push_back(oProgram.dPeakMiB);
        }
        const bool bTime = Median(vProgram) < oWorld.dGoalSeconds;
        const bool bMemory = oWorld.dGoalMiB == 0 || Median(vProgramMiB) < oWorld.dGoalMiB;
        bAllPass = bAllPass && bTime && bMemory;
        std::printf("%s, %d rounds interleaved\n", oWorld.szName, iRounds);
        std::printf("  dayfold to its window:   min %6.0f ms, median %6.0f ms (goal: under %.0f "
                    "ms) %s\n",
                    Min(vProgram) * 1000, Median(vProgram) * 1000, oWorld.dGoalSeconds * 1000,
                    bTime ? "PASS" : "FAIL");
        std::printf("  bare QMainWindow:        min %6.0f ms, median %6.0f ms\n",
                    Min(vBaseline) * 1000, Median(vBaseline) * 1000);
        std::printf("  peak memory dayfold:     min %6.1f MiB, median %6.1f MiB", Min(vProgramMiB),
                    Median(vProgramMiB));
        if (oWorld.dGoalMiB > 0) {
            std::printf(" (goal: under %.0f MiB) %s", oWorld.dGoalMiB, bMemory ? "PASS" : "FAIL");
        }
        std::printf("\n  peak memory bare window: min %6.1f MiB, median %6.1f MiB\n",
                    Min(vBaselineMiB), Median(vBaselineMiB));
        std::fflush(stdout);
        std::error_code ec;
        fs::remove_all(sRoot, ec);
    }
    return bAllPass ? 0 : 1;
}
