#include "commonlibrary/MLibraryStrings.h"

#include <array>
#include <utility>

namespace qlCommonLibrary::MLibraryStrings {

namespace {

struct SEntry {
    std::int32_t lCode;
    std::int16_t iId;
    const char* szText;
};

constexpr std::array<SEntry, 13> Table{{
    {ErrorControlsOrForms, 8, "The arguments must be Controls or Forms."},
    {ErrorWindowControlOrForm, 9, "The Window argument must be a Control or a Form."},
    {ErrorDelimiter, 10, "The Delimiter argument must be convertable to a String."},
    {ErrorStartIntegerOrLong, 11, "The Start argument must be Integer or Long."},
    {ErrorPadChar, 12, "The PadChar argument must be convertable to a String."},
    {ErrorStart, 13,
     "The Start argument must be a positive integer less than or equal to the length of "
     "String1."},
    {ErrorCompare, 14, "The Compare argument must be 0 or 1."},
    {ErrorControl, 15, "The argument must be a Control."},
    {ErrorWindowForm, 16, "The Window argument must be a Form."},
    {ErrorPrefixEmpty, 20, "The Prefix argument cannot be an empty string."},
    {ErrorPrefixNumeric, 21, "The Prefix argument cannot be a numeric character."},
    {ErrorChildForm, 22, "The Child argument must be a Form."},
    {ErrorParentForm, 23, "The Parent argument must be a Form."},
}};

} // namespace

std::string LoadResString(std::int16_t iId) {
    for (const SEntry& oEntry : Table) {
        if (oEntry.iId == iId) {
            return oEntry.szText;
        }
    }
    return std::string();
}

std::int16_t MessageIdOf(std::int32_t lCode) {
    for (const SEntry& oEntry : Table) {
        if (oEntry.lCode == lCode) {
            return oEntry.iId;
        }
    }
    return 0;
}

CRunTimeError LibraryError(ELibraryError eCode) {
    return CRunTimeError(eCode, LoadResString(MessageIdOf(eCode)));
}

} // namespace qlCommonLibrary::MLibraryStrings
