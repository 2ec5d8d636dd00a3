#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qlCommonLibrary {

// A small tagged value for the helpers that take "any value": the tag is the classic variant
// type code (VarType), the value one of the kinds below. Arrays hold Variants, have one or two
// dimensions with their own lower bounds, and are read-only once built.
//
// Conversions raise CRunTimeError the classic way: 13 Type mismatch for a value that has no
// such form, 94 Invalid use of Null for a null.
class Variant {
public:
    enum VarTypes : std::int16_t {
        vbEmpty = 0,
        vbNull = 1,
        vbInteger = 2,
        vbLong = 3,
        vbSingle = 4,
        vbDouble = 5,
        vbCurrency = 6,
        vbDate = 7,
        vbString = 8,
        vbObject = 9,
        vbError = 10,
        vbBoolean = 11,
        vbVariant = 12,
        vbDataObject = 13,
        vbDecimal = 14,
        vbByte = 17,
        vbArray = 8192,
    };

    Variant() = default; // empty
    Variant(std::int16_t iValue);
    Variant(std::int32_t lValue);
    Variant(float fValue);
    Variant(double dValue);
    Variant(bool bValue);
    Variant(const CDateTime& dtValue);
    Variant(std::string sValue);
    Variant(const char* szValue);

    static Variant Null();
    // Currency keeps four decimal places exactly.
    static Variant Currency(double dValue);
    static Variant Decimal(double dValue);
    static Variant Byte(std::uint8_t yValue);
    static Variant Error(std::int32_t lCode);
    // An object reference; a null pointer is the reference to nothing.
    static Variant Object(std::shared_ptr<void> pObject);
    static Variant DataObject(std::shared_ptr<void> pObject);
    // A one-dimensional array of Variants.
    static Variant Array(std::vector<Variant> vElements, std::int32_t lLowerBound = 0);
    // A two-dimensional array in the layout of fetched record-set rows: the first index
    // selects the field, the second the row; both start at 0. vRows holds one vector per row.
    static Variant Rows(const std::vector<std::vector<Variant>>& vRows);

    // The type code; an array is vbArray + vbVariant.
    std::int16_t VarType() const { return m_iVarType; }
    bool IsEmpty() const { return m_iVarType == vbEmpty; }
    bool IsNull() const { return m_iVarType == vbNull; }
    bool IsArray() const { return (m_iVarType & vbArray) != 0; }
    bool IsObject() const { return m_iVarType == vbObject || m_iVarType == vbDataObject; }
    // A number, a Boolean, empty, or text that reads as a number (a date is not numeric).
    bool IsNumeric() const;

    // The numeric value (True is -1, a date its serial day number).
    double ToDouble() const;
    // The text form: numbers in decimal with "." as separator, True/False, a date in the short
    // form "m/d/yy" (with " h:mm:ss AM" when it has a time of day).
    std::string ToString() const;
    // The stored value of a date; raises 13 for any other kind.
    CDateTime ToDate() const;
    // The object reference of an object or data object; raises 13 for any other kind.
    std::shared_ptr<void> ToObject() const;

    // Array shape; raise 13 for a value that is not an array, 9 for a dimension it lacks.
    int Dimensions() const;
    std::int32_t LBound(int iDimension = 1) const;
    std::int32_t UBound(int iDimension = 1) const;
    // An element by its indices (one per dimension); raises 9 when out of range.
    const Variant& At(std::int32_t lIndex) const;
    const Variant& At(std::int32_t lIndex1, std::int32_t lIndex2) const;

    // Variant ordering: numbers (and dates, Booleans, empty) by value, strings by their bytes,
    // a number below a string, empty as 0 or "". No answer when a null is involved; raises 13
    // for objects, errors and arrays. Returns <0, 0 or >0.
    static std::optional<int> Compare(const Variant& oLeft, const Variant& oRight);

    // The same kind and the same value (arrays element by element).
    bool operator==(const Variant& oOther) const;

    // The serial day number of a date (0 is 30 December 1899) and back.
    static double DateToSerial(const CDateTime& dtValue);
    static CDateTime SerialToDate(double dSerial);
    // Reads text as a number: optional spaces and sign, digits, "." and an exponent.
    static std::optional<double> ParseNumber(const std::string& sText);

private:
    struct SArray;
    using Value = std::variant<std::monostate, std::int64_t, double, std::string, CDateTime,
                               std::shared_ptr<void>, std::shared_ptr<const SArray>>;

    Variant(std::int16_t iVarType, Value oValue);
    const SArray& ArrayData() const;

    std::int16_t m_iVarType = vbEmpty;
    Value m_oValue;
};

} // namespace qlCommonLibrary
