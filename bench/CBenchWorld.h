#pragma once

#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"

#include <chrono>
#include <string>

// A program folder in a temporary folder with the application-wide objects, as a run of the
// program has them, but with a clock the benchmark sets and Windows-like file types.
class CBenchWorld {
public:
    CBenchWorld();
    ~CBenchWorld();
    CBenchWorld(const CBenchWorld&) = delete;
    CBenchWorld& operator=(const CBenchWorld&) = delete;

    const std::string& Root() const { return m_sRoot; }
    const std::string& AppPath() const { return m_sAppPath; }
    CFixedClock& Clock() { return m_oClock; }

    static void SetModified(const std::string& sPath, const CDateTime& dWritten);

    // Seconds taken by fn, the best of iRuns runs.
    template <typename F>
    static double BestOf(int iRuns, F&& fn) {
        double dBest = 1e9;
        for (int i = 0; i < iRuns; ++i) {
            const auto tStart = std::chrono::steady_clock::now();
            fn();
            const std::chrono::duration<double> dElapsed =
                std::chrono::steady_clock::now() - tStart;
            dBest = std::min(dBest, dElapsed.count());
        }
        return dBest;
    }

private:
    std::string m_sRoot;
    std::string m_sAppPath;
    CFixedClock m_oClock{CDateTime::FromParts(2026, 12, 8, 12, 0, 0)};
    CFileTypeTable m_oFileTypes;
};
