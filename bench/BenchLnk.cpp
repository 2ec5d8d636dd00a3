// The .lnk reader against the C library liblnk on the same real shortcut files in the same run:
// each reads every file of the corpus from disk and gives its target path, working folder,
// arguments and icon location. The two take turns (liblnk, reader, liblnk, reader ...), so
// that both meet the same state of the machine; the figures are per file.
#include "bench/CBenchWorld.h"
#include "platform/shelllink/CShellLink.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <liblnk.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int Rounds = 31;
constexpr int PassesPerRound = 40; // every file this many times in one timed round

// liblnk's answer for one text field: its length, 0 when the file has none.
size_t LibraryText(int (*fnGet)(liblnk_file_t*, uint8_t*, size_t, liblnk_error_t**),
                   liblnk_file_t* pFile, uint8_t* pBuffer, size_t nSize) {
    liblnk_error_t* pError = nullptr;
    const int iResult = fnGet(pFile, pBuffer, nSize, &pError);
    if (pError != nullptr) {
        liblnk_error_free(&pError);
    }
    return iResult == 1 ? std::char_traits<char>::length(reinterpret_cast<char*>(pBuffer)) : 0;
}

// Reads one file with liblnk; the total length of the texts, or -1 when it does not open.
long ReadWithLibrary(const std::string& sPath) {
    liblnk_file_t* pFile = nullptr;
    liblnk_error_t* pError = nullptr;
    if (liblnk_file_initialize(&pFile, &pError) != 1) {
        liblnk_error_free(&pError);
        return -1;
    }
    long lLength = -1;
    if (liblnk_file_open(pFile, sPath.c_str(), LIBLNK_OPEN_READ, &pError) == 1) {
        uint8_t acBuffer[4096];
        lLength = static_cast<long>(
            LibraryText(liblnk_file_get_utf8_local_path, pFile, acBuffer, sizeof acBuffer) +
            LibraryText(liblnk_file_get_utf8_network_path, pFile, acBuffer, sizeof acBuffer) +
            LibraryText(liblnk_file_get_utf8_working_directory, pFile, acBuffer, sizeof acBuffer) +
            LibraryText(liblnk_file_get_utf8_command_line_arguments, pFile, acBuffer,
                        sizeof acBuffer) +
            LibraryText(liblnk_file_get_utf8_icon_location, pFile, acBuffer, sizeof acBuffer));
        liblnk_file_close(pFile, &pError);
    }
    if (pError != nullptr) {
        liblnk_error_free(&pError);
    }
    liblnk_file_free(&pFile, nullptr);
    return lLength;
}

// Reads one file with the program's reader; the same measure, or -1 when it does not load.
long ReadWithReader(const std::string& sPath) {
    try {
        const CShellLink oLink = CShellLink::Load(sPath);
        return static_cast<long>(oLink.TargetPath().size() + oLink.WorkingDirectory().size() +
                                 oLink.Arguments().size() + oLink.IconLocation().size());
    } catch (const std::exception&) {
        return -1;
    }
}
} // namespace

int main() {
    // The files that both read, so that each reads the same files.
    std::vector<std::string> vFiles;
    int iCorpus = 0;
    for (const auto& oEntry : fs::directory_iterator(DAYFOLD_CORPUS)) {
        if (oEntry.path().extension() != ".lnk") {
            continue;
        }
        ++iCorpus;
        const std::string sPath = oEntry.path().string();
        if (ReadWithLibrary(sPath) >= 0 && ReadWithReader(sPath) >= 0) {
            vFiles.push_back(sPath);
        }
    }
    std::sort(vFiles.begin(), vFiles.end());
    if (vFiles.empty()) {
        std::fprintf(stderr, "no shortcut of %s read by both\n", DAYFOLD_CORPUS);
        return 1;
    }
    long lSink = 0;
    const auto Pass = [&](long (*fnRead)(const std::string&)) {
        for (int i = 0; i < PassesPerRound; ++i) {
            for (const std::string& sPath : vFiles) {
                lSink += fnRead(sPath);
            }
        }
    };
    const CBenchWorld::STimes oTimes = CBenchWorld::Interleaved(
        Rounds, [&] { Pass(&ReadWithLibrary); }, [&] { Pass(&ReadWithReader); });
    using T = CBenchWorld::STimes;
    const double dPerFile = 1e6 / (static_cast<double>(vFiles.size()) * PassesPerRound);
    const double dRatio = T::Median(oTimes.vB) / T::Median(oTimes.vA);
    std::printf("%zu of %d corpus shortcuts read by both, %d passes a round, %d rounds "
                "interleaved:\n  liblnk %s  min %.2f us, median %.2f us per file\n  reader      "
                "      min %.2f us, median %.2f us per file\n  ratio of medians %.2f, of minima "
                "%.2f (goal: at most 1.0) %s\n",
                vFiles.size(), iCorpus, PassesPerRound, Rounds, liblnk_get_version(),
                T::Min(oTimes.vA) * dPerFile, T::Median(oTimes.vA) * dPerFile,
                T::Min(oTimes.vB) * dPerFile, T::Median(oTimes.vB) * dPerFile, dRatio,
                T::Min(oTimes.vB) / T::Min(oTimes.vA), dRatio <= 1.0 ? "PASS" : "FAIL");
    return (dRatio <= 1.0 && lSink != 0) ? 0 : 1;
}
