#include "app/options/MOptionValues.h"

#include "commonlibrary/Variant.h"
#include "platform/errors/CRunTimeError.h"

#include <cmath>
#include <limits>

namespace MOptionValues {

std::int32_t ToLong(const std::string& sText) {
    const auto odValue = qlCommonLibrary::Variant::ParseNumber(sText);
    if (!odValue) {
        throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
    }
    // Round half to even, whatever rounding mode the process runs in.
    const double dFloor = std::floor(*odValue);
    const double dFraction = *odValue - dFloor;
    double dRounded = dFloor;
    if (dFraction > 0.5 || (dFraction == 0.5 && std::fmod(dFloor, 2.0) != 0.0)) {
        dRounded = dFloor + 1.0;
    }
    if (dRounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        dRounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        throw CRunTimeError::Standard(RunTimeErrors::Overflow);
    }
    return static_cast<std::int32_t>(dRounded);
}

} // namespace MOptionValues
