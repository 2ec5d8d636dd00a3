// The Recent feed's parse of a full bookmark file: 1,000 entries as the desktop writes them,
// read and parsed, against reading the same file's bytes alone. The two are timed in turns
// (A, B, A, B ...) so that both see the same machine; the figures are the minimum and the
// median of each.
#include "platform/shell/CXbelReader.h"
#include "platform/shell/MFileRead.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
constexpr int Entries = 1000;
constexpr int Rounds = 41;
constexpr double GoalMs = 20.0;

// A bookmark as the desktop's toolkit writes it: times with microseconds, a MIME type, one or
// two applications, now and then a group.
std::string Bookmark(int i) {
    const std::string sDay = std::to_string(10 + i % 18);
    const std::string sTime = "2024-03-" + sDay + "T" + std::to_string(10 + i % 12) + ":" +
                              std::to_string(10 + i % 50) + ":05." + std::to_string(100000 + i) +
                              "Z";
    std::string sText =
        "  <bookmark href=\"file:///home/ann/Documents/Project%20" + std::to_string(i % 37) +
        "/Report%20" + std::to_string(i) + "%20%C3%A9t%C3%A9.odt\" added=\"" + sTime +
        "\" modified=\"" + sTime + "\" visited=\"" + sTime +
        "\">\n    <info>\n"
        "      <metadata owner=\"http://freedesktop.org\">\n"
        "        <mime:mime-type type=\"application/vnd.oasis.opendocument.text\"/>\n";
    if (i % 5 == 0) {
        sText += "        <bookmark:groups>\n          <bookmark:group>Office</bookmark:group>\n"
                 "        </bookmark:groups>\n";
    }
    sText += "        <bookmark:applications>\n"
             "          <bookmark:application name=\"Writer\" exec=\"&apos;writer %u&apos;\" "
             "modified=\"" +
             sTime + "\" count=\"" + std::to_string(1 + i % 9) + "\"/>\n";
    if (i % 3 == 0) {
        sText += "          <bookmark:application name=\"Files\" exec=\"&apos;files %u&apos;\" "
                 "modified=\"" +
                 sTime + "\" count=\"1\"/>\n";
    }
    return sText + "        </bookmark:applications>\n      </metadata>\n    </info>\n"
                   "  </bookmark>\n";
}

double Milliseconds(std::chrono::steady_clock::duration dElapsed) {
    return std::chrono::duration<double, std::milli>(dElapsed).count();
}

double Median(std::vector<double> vValues) {
    std::sort(vValues.begin(), vValues.end());
    return vValues[vValues.size() / 2];
}
} // namespace

int main() {
    std::string sFolder =
        (std::filesystem::temp_directory_path() / "dayfold-bench-XXXXXX").string();
    if (mkdtemp(sFolder.data()) == nullptr) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const std::string sFile = sFolder + "/recently-used.xbel";
    {
        std::ofstream oFile(sFile, std::ios::binary);
        oFile << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
                 "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
                 "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n";
        for (int i = 0; i < Entries; ++i) {
            oFile << Bookmark(i);
        }
        oFile << "</xbel>";
    }
    const std::size_t nBytes = std::filesystem::file_size(sFile);

    std::vector<double> vRead;
    std::vector<double> vParse;
    std::size_t nFound = 0;
    for (int iRound = 0; iRound < Rounds; ++iRound) {
        auto tStart = std::chrono::steady_clock::now();
        const std::string sBytes = MFileRead::ReadRegularFile(sFile, 64u << 20);
        vRead.push_back(Milliseconds(std::chrono::steady_clock::now() - tStart));

        tStart = std::chrono::steady_clock::now();
        const CXbelReader::SResult oResult =
            CXbelReader::Read(MFileRead::ReadRegularFile(sFile, 64u << 20));
        vParse.push_back(Milliseconds(std::chrono::steady_clock::now() - tStart));
        nFound = oResult.vDocuments.size();
        if (!oResult.sProblem.empty() || sBytes.size() != nBytes) {
            std::fprintf(stderr, "the bookmark file did not read back: %s\n",
                         oResult.sProblem.c_str());
            return 1;
        }
    }
    std::filesystem::remove_all(sFolder);
    if (nFound != Entries) {
        std::fprintf(stderr, "%zu of %d entries found\n", nFound, Entries);
        return 1;
    }
    const double dMedian = Median(vParse);
    const bool bPass = dMedian < GoalMs;
    std::printf("bookmark file of %d entries (%zu KiB), %d rounds interleaved\n", Entries,
                nBytes / 1024, Rounds);
    std::printf("  read the bytes:        min %.3f ms, median %.3f ms\n",
                *std::min_element(vRead.begin(), vRead.end()), Median(vRead));
    std::printf("  read and parse:        min %.3f ms, median %.3f ms (goal: under %.0f ms) %s\n",
                *std::min_element(vParse.begin(), vParse.end()), dMedian, GoalMs,
                bPass ? "PASS" : "FAIL");
    return bPass ? 0 : 1;
}
