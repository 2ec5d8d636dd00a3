#pragma once

#include "platform/errors/CRunTimeError.h"

#include <cstdint>
#include <string>

namespace qlCommonLibrary {

// The component's string table: the messages of its own argument-check errors, each under its
// message id, and the error codes that carry them.
namespace MLibraryStrings {

enum ELibraryError : std::int32_t {
    ErrorControlsOrForms = 32765,
    ErrorWindowControlOrForm = 32764,
    ErrorDelimiter = 32763,
    ErrorStartIntegerOrLong = 32762,
    ErrorPadChar = 32761,
    ErrorStart = 32760,
    ErrorCompare = 32759,
    ErrorControl = 32758,
    ErrorWindowForm = 32757,
    ErrorPrefixEmpty = 32756,
    ErrorPrefixNumeric = 32755,
    ErrorChildForm = 32754,
    ErrorParentForm = 32753,
};

// The text under a message id; empty for an id the table does not hold.
std::string LoadResString(std::int16_t iId);
// The message id of one of the component's error codes; 0 for any other code.
std::int16_t MessageIdOf(std::int32_t lCode);
// The run-time error a failed argument check raises: only a number and a description.
CRunTimeError LibraryError(ELibraryError eCode);

} // namespace MLibraryStrings
} // namespace qlCommonLibrary
