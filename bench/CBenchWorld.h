#pragma once

#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

class CFileTypeProvider;

// A program folder in a temporary folder with the application-wide objects, as a run of the
// program has them, but with a clock the benchmark sets and Windows-like file types (or the
// provider given).
class CBenchWorld {
public:
    explicit CBenchWorld(CFileTypeProvider* pFileTypes = nullptr);
    ~CBenchWorld();
    CBenchWorld(const CBenchWorld&) = delete;
    CBenchWorld& operator=(const CBenchWorld&) = delete;

    // The temporary folder, made before the world so that a provider can be pointed at it.
    static std::string MakeRoot();

    const std::string& Root() const { return m_sRoot; }
    const std::string& AppPath() const { return m_sAppPath; }
    CFixedClock& Clock() { return m_oClock; }

    static void SetModified(const std::string& sPath, const CDateTime& dWritten);

    // Seconds taken by fn.
    template <typename F>
    static double Seconds(F&& fn) {
        const auto tStart = std::chrono::steady_clock::now();
        fn();
        const std::chrono::duration<double> dElapsed = std::chrono::steady_clock::now() - tStart;
        return dElapsed.count();
    }

    // The times of a program (B) and its baseline (A), taken interleaved: A, B, A, B ... so
    // that both meet the same state of the machine.
    struct STimes {
        std::vector<double> vA;
        std::vector<double> vB;
        static double Min(const std::vector<double>& v) {
            return *std::min_element(v.begin(), v.end());
        }
        static double Median(std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        }
    };
    template <typename FA, typename FB>
    static STimes Interleaved(int iRounds, FA&& fnA, FB&& fnB) {
        STimes oTimes;
        for (int i = 0; i < iRounds; ++i) {
            oTimes.vA.push_back(Seconds(fnA));
            oTimes.vB.push_back(Seconds(fnB));
        }
        return oTimes;
    }

    // The best of iRuns runs.
    template <typename F>
    static double BestOf(int iRuns, F&& fn) {
        double dBest = 1e9;
        for (int i = 0; i < iRuns; ++i) {
            dBest = std::min(dBest, Seconds(fn));
        }
        return dBest;
    }

private:
    std::string m_sRoot;
    std::string m_sAppPath;
    CFixedClock m_oClock{CDateTime::FromParts(2026, 12, 8, 12, 0, 0)};
    CFileTypeTable m_oFileTypes;
};
