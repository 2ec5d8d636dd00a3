#include "platform/controls/MControlErrors.h"

#include "platform/errors/CRunTimeError.h"

namespace MControlErrors {

void Raise(std::int32_t lNumber) {
    switch (lNumber) {
    case InvalidPropertyValue:
        throw CRunTimeError(lNumber, "Invalid property value");
    case IndexOutOfBounds:
        throw CRunTimeError(lNumber, "Index out of bounds");
    case KeyNotUnique:
        throw CRunTimeError(lNumber, "Key is not unique in collection");
    default:
        throw CRunTimeError::Standard(lNumber);
    }
}

} // namespace MControlErrors
