// The fuzz targets without libFuzzer: every file of each target's corpus and regressions
// folders is run through its target once, so that the normal test run keeps every input that
// ever found a fault, and every seed, working.
//
//   dayfold_fuzz_replay [<target> [<file>...]]
//
// Without arguments every target replays its folders; with a target only that one; with files,
// only those files through that target.
#include "MFuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// The targets' entry points, renamed from LLVMFuzzerTestOneInput for this program.
#define DAYFOLD_FUZZ_TARGET(Name)                                                                  \
    extern "C" int Fuzz##Name##OneInput(const std::uint8_t* pData, std::size_t nSize);
#include "FuzzTargets.inc"
#undef DAYFOLD_FUZZ_TARGET

namespace {

struct STarget {
    const char* szName;
    int (*fOneInput)(const std::uint8_t*, std::size_t);
};

const STarget Targets[] = {
#define DAYFOLD_FUZZ_TARGET(Name) {#Name, Fuzz##Name##OneInput},
#include "FuzzTargets.inc"
#undef DAYFOLD_FUZZ_TARGET
};

std::vector<std::uint8_t> ReadBytes(const fs::path& oPath) {
    std::ifstream oFile(oPath, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(oFile),
                                     std::istreambuf_iterator<char>());
}

void Replay(const STarget& oTarget, const fs::path& oPath) {
    const std::vector<std::uint8_t> vBytes = ReadBytes(oPath);
    MFuzzCheck::SetCurrentInput(oPath.string());
    // libFuzzer hands an empty input as a valid pointer too.
    static const std::uint8_t bNone = 0;
    oTarget.fOneInput(vBytes.empty() ? &bNone : vBytes.data(), vBytes.size());
}

// The files of a folder in name order (none when it is missing).
std::vector<fs::path> FilesIn(const fs::path& oFolder) {
    std::vector<fs::path> vFiles;
    std::error_code ec;
    for (auto it = fs::directory_iterator(oFolder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (it->is_regular_file()) {
            vFiles.push_back(it->path());
        }
    }
    std::sort(vFiles.begin(), vFiles.end());
    return vFiles;
}

// Replays the target's folders; false when its corpus is missing or empty.
bool ReplayFolders(const STarget& oTarget) {
    const fs::path oFuzz(DAYFOLD_FUZZ_FOLDER);
    const std::vector<fs::path> vCorpus = FilesIn(oFuzz / "corpus" / oTarget.szName);
    const std::vector<fs::path> vRegressions = FilesIn(oFuzz / "regressions" / oTarget.szName);
    for (const fs::path& oPath : vCorpus) {
        Replay(oTarget, oPath);
    }
    for (const fs::path& oPath : vRegressions) {
        Replay(oTarget, oPath);
    }
    std::printf("%s: %zu corpus and %zu regression files replayed\n", oTarget.szName,
                vCorpus.size(), vRegressions.size());
    if (vCorpus.empty()) {
        std::fprintf(stderr, "%s: the corpus folder is missing or empty\n", oTarget.szName);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        bool bAll = true;
        for (const STarget& oTarget : Targets) {
            bAll = ReplayFolders(oTarget) && bAll;
        }
        return bAll ? 0 : 1;
    }
    const std::string sName = argv[1];
    const auto it = std::find_if(std::begin(Targets), std::end(Targets),
                                 [&sName](const STarget& o) { return sName == o.szName; });
    if (it == std::end(Targets)) {
        std::fprintf(stderr, "no fuzz target %s\n", sName.c_str());
        return 2;
    }
    if (argc == 2) {
        return ReplayFolders(*it) ? 0 : 1;
    }
    for (int i = 2; i < argc; ++i) {
        Replay(*it, argv[i]);
    }
    std::printf("%s: %d files replayed\n", it->szName, argc - 2);
    return 0;
}
