#include "commonlibrary/MLibraryHelpers.h"

#include "platform/errors/CRunTimeError.h"

#include <limits>

namespace qlCommonLibrary::MLibraryHelpers {

std::string TrimSpaces(const std::string& sText) {
    const std::string::size_type iStart = sText.find_first_not_of(' ');
    if (iStart == std::string::npos) {
        return std::string();
    }
    return sText.substr(iStart, sText.find_last_not_of(' ') - iStart + 1);
}

std::int16_t ToInteger(std::int64_t llValue) {
    if (llValue < std::numeric_limits<std::int16_t>::min() ||
        llValue > std::numeric_limits<std::int16_t>::max()) {
        throw CRunTimeError::Standard(RunTimeErrors::Overflow);
    }
    return static_cast<std::int16_t>(llValue);
}

} // namespace qlCommonLibrary::MLibraryHelpers
