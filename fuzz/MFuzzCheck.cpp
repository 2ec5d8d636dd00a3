#include "MFuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace {
std::string& CurrentInput() {
    static std::string sName;
    return sName;
}
} // namespace

namespace MFuzzCheck {

std::string Text(const std::uint8_t* pData, std::size_t nSize) {
    return nSize == 0 ? std::string() : std::string(reinterpret_cast<const char*>(pData), nSize);
}

void Expect(bool bCondition, const char* szPromise) {
    if (bCondition) {
        return;
    }
    std::fprintf(stderr, "broken promise: %s\n", szPromise);
    if (!CurrentInput().empty()) {
        std::fprintf(stderr, "input: %s\n", CurrentInput().c_str());
    }
    std::fflush(stderr);
    std::abort();
}

void SetCurrentInput(const std::string& sName) {
    CurrentInput() = sName;
}

} // namespace MFuzzCheck
