#include "commonlibrary/Variant.h"

#include "platform/errors/CRunTimeError.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace qlCommonLibrary {

namespace {

constexpr std::int32_t InvalidUseOfNull = 94;
constexpr std::int64_t SecondsToSerialZero = 2209161600LL; // 1899-12-30 before 1970-01-01

[[noreturn]] void RaiseTypeMismatch() {
    throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
}

[[noreturn]] void RaiseInvalidUseOfNull() {
    throw CRunTimeError(InvalidUseOfNull, "Invalid use of Null");
}

std::string FormatSignificant(double dValue, int iDigits) {
    if (dValue == 0.0) {
        return "0"; // also for -0
    }
    char szBuffer[64];
    const auto oResult = std::to_chars(szBuffer, szBuffer + sizeof szBuffer, dValue,
                                       std::chars_format::general, iDigits);
    std::string sText(szBuffer, oResult.ptr);
    for (char& c : sText) {
        if (c == 'e') {
            c = 'E';
        }
    }
    return sText;
}

std::string FormatCurrency(std::int64_t llTenThousandths) {
    const bool bNegative = llTenThousandths < 0;
    const std::uint64_t ullAbs = bNegative ? 0 - static_cast<std::uint64_t>(llTenThousandths)
                                           : static_cast<std::uint64_t>(llTenThousandths);
    std::string sText = std::to_string(ullAbs / 10000);
    std::string sFraction = std::to_string(10000 + ullAbs % 10000).substr(1);
    while (!sFraction.empty() && sFraction.back() == '0') {
        sFraction.pop_back();
    }
    if (!sFraction.empty()) {
        sText += "." + sFraction;
    }
    return bNegative ? "-" + sText : sText;
}

std::string FormatDate(const CDateTime& dtValue) {
    const bool bHasDate = !dtValue.DatePart().IsEmpty();
    std::string sText;
    if (bHasDate || dtValue.IsMidnight()) {
        char szDate[32];
        std::snprintf(szDate, sizeof szDate, "%d/%d/%02d", dtValue.Month(), dtValue.Day(),
                      ((dtValue.Year() % 100) + 100) % 100);
        sText = szDate;
    }
    if (!dtValue.IsMidnight()) {
        const int iHour12 = dtValue.Hour() % 12 == 0 ? 12 : dtValue.Hour() % 12;
        char szTime[32];
        std::snprintf(szTime, sizeof szTime, "%d:%02d:%02d %s", iHour12, dtValue.Minute(),
                      dtValue.Second(), dtValue.Hour() < 12 ? "AM" : "PM");
        sText += sText.empty() ? szTime : std::string(" ") + szTime;
    }
    return sText;
}

bool IsNumberKind(std::int16_t iVarType) {
    switch (iVarType) {
    case Variant::vbInteger:
    case Variant::vbLong:
    case Variant::vbSingle:
    case Variant::vbDouble:
    case Variant::vbCurrency:
    case Variant::vbDate:
    case Variant::vbBoolean:
    case Variant::vbDecimal:
    case Variant::vbByte:
        return true;
    default:
        return false;
    }
}

} // namespace

struct Variant::SArray {
    // Lower bound and element count of each dimension; the first index varies fastest.
    std::vector<std::pair<std::int32_t, std::int32_t>> vBounds;
    std::vector<Variant> vElements;
};

Variant::Variant(std::int16_t iVarType, Value oValue)
    : m_iVarType(iVarType), m_oValue(std::move(oValue)) {}

Variant::Variant(std::int16_t iValue) : m_iVarType(vbInteger), m_oValue(std::int64_t{iValue}) {}
Variant::Variant(std::int32_t lValue) : m_iVarType(vbLong), m_oValue(std::int64_t{lValue}) {}
Variant::Variant(float fValue) : m_iVarType(vbSingle), m_oValue(double{fValue}) {}
Variant::Variant(double dValue) : m_iVarType(vbDouble), m_oValue(dValue) {}
Variant::Variant(bool bValue) : m_iVarType(vbBoolean), m_oValue(std::int64_t{bValue ? -1 : 0}) {}
Variant::Variant(const CDateTime& dtValue) : m_iVarType(vbDate), m_oValue(dtValue) {}
Variant::Variant(std::string sValue) : m_iVarType(vbString), m_oValue(std::move(sValue)) {}
Variant::Variant(const char* szValue)
    : m_iVarType(vbString), m_oValue(std::string(szValue == nullptr ? "" : szValue)) {}

Variant Variant::Null() {
    return Variant(vbNull, std::monostate{});
}
Variant Variant::Currency(double dValue) {
    return Variant(vbCurrency, static_cast<std::int64_t>(std::llround(dValue * 10000.0)));
}
Variant Variant::Decimal(double dValue) {
    return Variant(vbDecimal, dValue);
}
Variant Variant::Byte(std::uint8_t yValue) {
    return Variant(vbByte, std::int64_t{yValue});
}
Variant Variant::Error(std::int32_t lCode) {
    return Variant(vbError, std::int64_t{lCode});
}
Variant Variant::Object(std::shared_ptr<void> pObject) {
    return Variant(vbObject, std::move(pObject));
}
Variant Variant::DataObject(std::shared_ptr<void> pObject) {
    return Variant(vbDataObject, std::move(pObject));
}

Variant Variant::Array(std::vector<Variant> vElements, std::int32_t lLowerBound) {
    auto pArray = std::make_shared<SArray>();
    pArray->vBounds.emplace_back(lLowerBound, static_cast<std::int32_t>(vElements.size()));
    pArray->vElements = std::move(vElements);
    return Variant(static_cast<std::int16_t>(vbArray | vbVariant),
                   std::shared_ptr<const SArray>(std::move(pArray)));
}

Variant Variant::Rows(const std::vector<std::vector<Variant>>& vRows) {
    std::size_t iFields = 0;
    for (const auto& vRow : vRows) {
        iFields = std::max(iFields, vRow.size());
    }
    auto pArray = std::make_shared<SArray>();
    pArray->vBounds.emplace_back(0, static_cast<std::int32_t>(iFields));
    pArray->vBounds.emplace_back(0, static_cast<std::int32_t>(vRows.size()));
    pArray->vElements.resize(iFields * vRows.size());
    for (std::size_t iRow = 0; iRow < vRows.size(); ++iRow) {
        for (std::size_t iField = 0; iField < vRows[iRow].size(); ++iField) {
            pArray->vElements[iRow * iFields + iField] = vRows[iRow][iField];
        }
    }
    return Variant(static_cast<std::int16_t>(vbArray | vbVariant),
                   std::shared_ptr<const SArray>(std::move(pArray)));
}

bool Variant::IsNumeric() const {
    // A date is not numeric, although it has a numeric value.
    if (m_iVarType == vbEmpty || (IsNumberKind(m_iVarType) && m_iVarType != vbDate)) {
        return true;
    }
    if (m_iVarType == vbString) {
        return ParseNumber(std::get<std::string>(m_oValue)).has_value();
    }
    return false;
}

double Variant::ToDouble() const {
    switch (m_iVarType) {
    case vbEmpty:
        return 0.0;
    case vbNull:
        RaiseInvalidUseOfNull();
    case vbInteger:
    case vbLong:
    case vbBoolean:
    case vbByte:
        return static_cast<double>(std::get<std::int64_t>(m_oValue));
    case vbCurrency:
        return static_cast<double>(std::get<std::int64_t>(m_oValue)) / 10000.0;
    case vbSingle:
    case vbDouble:
    case vbDecimal:
        return std::get<double>(m_oValue);
    case vbDate:
        return DateToSerial(std::get<CDateTime>(m_oValue));
    case vbString:
        if (const auto odValue = ParseNumber(std::get<std::string>(m_oValue))) {
            return *odValue;
        }
        RaiseTypeMismatch();
    default:
        RaiseTypeMismatch();
    }
}

std::string Variant::ToString() const {
    switch (m_iVarType) {
    case vbEmpty:
        return std::string();
    case vbNull:
        RaiseInvalidUseOfNull();
    case vbInteger:
    case vbLong:
    case vbByte:
        return std::to_string(std::get<std::int64_t>(m_oValue));
    case vbBoolean:
        return std::get<std::int64_t>(m_oValue) != 0 ? "True" : "False";
    case vbCurrency:
        return FormatCurrency(std::get<std::int64_t>(m_oValue));
    case vbSingle:
        return FormatSignificant(std::get<double>(m_oValue), 7);
    case vbDouble:
        return FormatSignificant(std::get<double>(m_oValue), 15);
    case vbDecimal:
        return FormatSignificant(std::get<double>(m_oValue), 17);
    case vbDate:
        return FormatDate(std::get<CDateTime>(m_oValue));
    case vbString:
        return std::get<std::string>(m_oValue);
    case vbError:
        return "Error " + std::to_string(std::get<std::int64_t>(m_oValue));
    default:
        RaiseTypeMismatch();
    }
}

CDateTime Variant::ToDate() const {
    if (m_iVarType != vbDate) {
        RaiseTypeMismatch();
    }
    return std::get<CDateTime>(m_oValue);
}

std::shared_ptr<void> Variant::ToObject() const {
    if (!IsObject()) {
        RaiseTypeMismatch();
    }
    return std::get<std::shared_ptr<void>>(m_oValue);
}

const Variant::SArray& Variant::ArrayData() const {
    if (!IsArray()) {
        RaiseTypeMismatch();
    }
    return *std::get<std::shared_ptr<const SArray>>(m_oValue);
}

int Variant::Dimensions() const {
    return static_cast<int>(ArrayData().vBounds.size());
}

std::int32_t Variant::LBound(int iDimension) const {
    const SArray& oArray = ArrayData();
    if (iDimension < 1 || iDimension > static_cast<int>(oArray.vBounds.size())) {
        throw CRunTimeError::Standard(RunTimeErrors::SubscriptOutOfRange);
    }
    return oArray.vBounds[static_cast<std::size_t>(iDimension - 1)].first;
}

std::int32_t Variant::UBound(int iDimension) const {
    const SArray& oArray = ArrayData();
    if (iDimension < 1 || iDimension > static_cast<int>(oArray.vBounds.size())) {
        throw CRunTimeError::Standard(RunTimeErrors::SubscriptOutOfRange);
    }
    const auto& oBound = oArray.vBounds[static_cast<std::size_t>(iDimension - 1)];
    return static_cast<std::int32_t>(std::int64_t{oBound.first} + oBound.second - 1);
}

namespace {
// The offset of an index within one dimension, or -1 when outside it.
std::int64_t OffsetIn(const std::pair<std::int32_t, std::int32_t>& oBound, std::int32_t lIndex) {
    const std::int64_t llOffset = std::int64_t{lIndex} - oBound.first;
    return llOffset >= 0 && llOffset < oBound.second ? llOffset : -1;
}
} // namespace

const Variant& Variant::At(std::int32_t lIndex) const {
    const SArray& oArray = ArrayData();
    const std::int64_t llOffset =
        oArray.vBounds.size() == 1 ? OffsetIn(oArray.vBounds[0], lIndex) : -1;
    if (llOffset < 0) {
        throw CRunTimeError::Standard(RunTimeErrors::SubscriptOutOfRange);
    }
    return oArray.vElements[static_cast<std::size_t>(llOffset)];
}

const Variant& Variant::At(std::int32_t lIndex1, std::int32_t lIndex2) const {
    const SArray& oArray = ArrayData();
    if (oArray.vBounds.size() != 2) {
        throw CRunTimeError::Standard(RunTimeErrors::SubscriptOutOfRange);
    }
    const std::int64_t llOffset1 = OffsetIn(oArray.vBounds[0], lIndex1);
    const std::int64_t llOffset2 = OffsetIn(oArray.vBounds[1], lIndex2);
    if (llOffset1 < 0 || llOffset2 < 0) {
        throw CRunTimeError::Standard(RunTimeErrors::SubscriptOutOfRange);
    }
    return oArray
        .vElements[static_cast<std::size_t>(llOffset2 * oArray.vBounds[0].second + llOffset1)];
}

std::optional<int> Variant::Compare(const Variant& oLeft, const Variant& oRight) {
    if (oLeft.IsNull() || oRight.IsNull()) {
        return std::nullopt;
    }
    const auto IsComparable = [](const Variant& oValue) {
        return oValue.IsEmpty() || oValue.m_iVarType == vbString || IsNumberKind(oValue.m_iVarType);
    };
    if (!IsComparable(oLeft) || !IsComparable(oRight)) {
        RaiseTypeMismatch();
    }
    const bool bLeftText = oLeft.m_iVarType == vbString;
    const bool bRightText = oRight.m_iVarType == vbString;
    if (bLeftText || bRightText) {
        if (bLeftText && bRightText) {
            const int iOrder = std::get<std::string>(oLeft.m_oValue)
                                   .compare(std::get<std::string>(oRight.m_oValue));
            return iOrder < 0 ? -1 : (iOrder > 0 ? 1 : 0);
        }
        // Empty against text compares as the empty string; a number is below any text.
        if (oLeft.IsEmpty()) {
            return std::get<std::string>(oRight.m_oValue).empty() ? 0 : -1;
        }
        if (oRight.IsEmpty()) {
            return std::get<std::string>(oLeft.m_oValue).empty() ? 0 : 1;
        }
        return bLeftText ? 1 : -1;
    }
    const double dLeft = oLeft.ToDouble();
    const double dRight = oRight.ToDouble();
    return dLeft < dRight ? -1 : (dLeft > dRight ? 1 : 0);
}

bool Variant::operator==(const Variant& oOther) const {
    if (m_iVarType != oOther.m_iVarType) {
        return false;
    }
    if (IsArray()) {
        const SArray& oLeft = ArrayData();
        const SArray& oRight = oOther.ArrayData();
        return oLeft.vBounds == oRight.vBounds && oLeft.vElements == oRight.vElements;
    }
    return m_oValue == oOther.m_oValue;
}

double Variant::DateToSerial(const CDateTime& dtValue) {
    return static_cast<double>(dtValue.LocalSeconds() + SecondsToSerialZero) / 86400.0;
}

CDateTime Variant::SerialToDate(double dSerial) {
    return CDateTime::FromLocalSeconds(static_cast<std::int64_t>(std::llround(dSerial * 86400.0)) -
                                       SecondsToSerialZero);
}

std::optional<double> Variant::ParseNumber(const std::string& sText) {
    std::string::size_type iStart = sText.find_first_not_of(" \t");
    if (iStart == std::string::npos) {
        return std::nullopt;
    }
    std::string::size_type iEnd = sText.find_last_not_of(" \t");
    const std::string sCore = sText.substr(iStart, iEnd - iStart + 1);
    // Only plain decimal notation: no hexadecimal, infinity or not-a-number spellings.
    bool bDigit = false;
    for (char c : sCore) {
        if (c >= '0' && c <= '9') {
            bDigit = true;
        } else if (c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E') {
            return std::nullopt;
        }
    }
    if (!bDigit) {
        return std::nullopt;
    }
    // The characters are plain decimal notation; now check the shape and read the value the
    // same way whatever the process's locale: '.' is the only separator.
    std::size_t iPos = (sCore[0] == '+' || sCore[0] == '-') ? 1 : 0;
    const bool bNegative = sCore[0] == '-';
    const std::string sUnsigned = sCore.substr(iPos);
    if (sUnsigned.empty() || sUnsigned[0] == '+' || sUnsigned[0] == '-') {
        return std::nullopt;
    }
    double dValue = 0.0;
    const char* pFirst = sUnsigned.data();
    const char* pLast = sUnsigned.data() + sUnsigned.size();
    const auto oResult = std::from_chars(pFirst, pLast, dValue, std::chars_format::general);
    if (oResult.ec != std::errc() || oResult.ptr != pLast || !std::isfinite(dValue)) {
        return std::nullopt;
    }
    return bNegative ? -dValue : dValue;
}

} // namespace qlCommonLibrary
