#include "commonlibrary/Library.h"

#include "commonlibrary/MLibraryHelpers.h"
#include "commonlibrary/MLibraryStrings.h"
#include "commonlibrary/MUtf8.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MCaseFold.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

// The Library's number, date, variant and key helpers.

namespace qlCommonLibrary {

namespace {

using MLibraryHelpers::ToInteger;
using MLibraryStrings::LibraryError;

// A decimal text ("-12.345", "1.5E-07") as sign, digits and the position of the decimal point
// among them.
struct SDecimal {
    bool bNegative = false;
    std::string sDigits;
    long lPoint = 0; // digits before the decimal point (may be negative or beyond sDigits)
};

SDecimal ParseDecimal(const std::string& sText) {
    SDecimal oDecimal;
    std::size_t iPos = 0;
    if (iPos < sText.size() && (sText[iPos] == '-' || sText[iPos] == '+')) {
        oDecimal.bNegative = sText[iPos] == '-';
        ++iPos;
    }
    bool bAfterPoint = false;
    for (; iPos < sText.size(); ++iPos) {
        const char c = sText[iPos];
        if (c >= '0' && c <= '9') {
            oDecimal.sDigits += c;
            if (!bAfterPoint) {
                ++oDecimal.lPoint;
            }
        } else if (c == '.') {
            bAfterPoint = true;
        } else if (c == 'E' || c == 'e') {
            oDecimal.lPoint += std::strtol(sText.c_str() + iPos + 1, nullptr, 10);
            break;
        }
    }
    return oDecimal;
}

// Rounds the decimal text half away from zero to iPlaces places, as formatting with "#.##"
// does, and reads the result back.
double RoundDecimalText(const std::string& sText, int iPlaces) {
    SDecimal oDecimal = ParseDecimal(sText);
    const long lKeep = oDecimal.lPoint + iPlaces; // digits that stay
    std::string sKept;
    long lExponent = 0; // the value is sKept * 10^lExponent
    if (lKeep >= static_cast<long>(oDecimal.sDigits.size())) {
        sKept = oDecimal.sDigits;
        lExponent = oDecimal.lPoint - static_cast<long>(oDecimal.sDigits.size());
    } else if (lKeep < 0) {
        return 0.0;
    } else {
        sKept = oDecimal.sDigits.substr(0, static_cast<std::size_t>(lKeep));
        lExponent = -iPlaces;
        if (oDecimal.sDigits[static_cast<std::size_t>(lKeep)] >= '5') {
            int i = static_cast<int>(sKept.size()) - 1;
            for (; i >= 0 && sKept[static_cast<std::size_t>(i)] == '9'; --i) {
                sKept[static_cast<std::size_t>(i)] = '0';
            }
            if (i < 0) {
                sKept.insert(sKept.begin(), '1');
            } else {
                ++sKept[static_cast<std::size_t>(i)];
            }
        }
    }
    if (sKept.empty()) {
        return 0.0;
    }
    const std::string sNumber = sKept + "e" + std::to_string(lExponent);
    double dValue = 0.0;
    std::from_chars(sNumber.data(), sNumber.data() + sNumber.size(), dValue);
    if (dValue == 0.0) {
        return 0.0;
    }
    return oDecimal.bNegative ? -dValue : dValue;
}

} // namespace

std::string Library::BooleanToYesNo(bool Value) {
    std::string sResult;
    Guard("BooleanToYesNo", [&] { sResult = Value ? "Yes" : "No"; });
    return sResult;
}

Variant Library::ConvertNull(Variant Value, std::int32_t DataType) {
    Variant oResult;
    Guard("ConvertNull", [&] {
        if (!Value.IsNull()) {
            oResult = std::move(Value);
            return;
        }
        switch (DataType) {
        case Variant::vbInteger:
        case Variant::vbLong:
        case Variant::vbSingle:
        case Variant::vbDouble:
        case Variant::vbCurrency:
        case Variant::vbDecimal:
        case Variant::vbByte:
            oResult = Variant(std::int16_t{0});
            break;
        case Variant::vbDate:
            oResult = Variant(CDateTime());
            break;
        case Variant::vbString:
            oResult = Variant(std::string());
            break;
        case Variant::vbBoolean:
            oResult = Variant(false);
            break;
        case Variant::vbObject:
        case Variant::vbError:
        case Variant::vbDataObject:
            oResult = Variant::Object(nullptr);
            break;
        default:
            oResult = Variant();
            break;
        }
    });
    return oResult;
}

void Library::ConvertSeconds(std::int32_t TotalSeconds, std::int16_t& Seconds,
                             std::int16_t& Minutes, Variant* Hours, Variant* Days) {
    Guard("ConvertSeconds", [&] {
        if (Days != nullptr) {
            *Days = Variant(static_cast<std::int32_t>(TotalSeconds / 86400));
        }
        std::int32_t lRest = TotalSeconds % 86400;
        if (Hours != nullptr) {
            *Hours = Variant(static_cast<std::int32_t>(lRest / 3600));
        }
        lRest %= 3600;
        Minutes = static_cast<std::int16_t>(lRest / 60);
        Seconds = static_cast<std::int16_t>(lRest % 60);
    });
}

std::int16_t Library::HiWord(std::int32_t DWord) {
    std::int16_t iResult = 0;
    Guard("HiWord", [&] { iResult = static_cast<std::int16_t>(DWord >> 16); });
    return iResult;
}

bool Library::IsLeapYear(std::int16_t Year) {
    bool bResult = false;
    Guard("IsLeapYear", [&] { bResult = (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; });
    return bResult;
}

std::int16_t Library::LoWord(std::int32_t DWord) {
    std::int16_t iResult = 0;
    Guard("LoWord",
          [&] { iResult = static_cast<std::int16_t>(static_cast<std::uint16_t>(DWord & 0xFFFF)); });
    return iResult;
}

std::int32_t Library::MakeDWord(std::int16_t LoWord, std::int16_t HiWord) {
    std::int32_t lResult = 0;
    Guard("MakeDWord", [&] {
        lResult = static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(static_cast<std::uint16_t>(HiWord)) << 16) |
            static_cast<std::uint16_t>(LoWord));
    });
    return lResult;
}

std::string Library::MakeListItemNodeKey(const std::string& Prefix, std::int32_t Key) {
    std::string sResult;
    Guard("MakeListItemNodeKey", [&] {
        if (Prefix.empty()) {
            throw LibraryError(MLibraryStrings::ErrorPrefixEmpty);
        }
        const std::string sFirst = MUtf8::FirstChar(Prefix);
        if (sFirst[0] >= '0' && sFirst[0] <= '9') {
            throw LibraryError(MLibraryStrings::ErrorPrefixNumeric);
        }
        sResult = sFirst + std::to_string(Key);
    });
    return sResult;
}

Variant Library::Max(const Variant& FirstValue, const Variant& SecondValue) {
    Variant oResult;
    Guard("Max", [&] {
        const std::optional<int> oiOrder = Variant::Compare(FirstValue, SecondValue);
        oResult = oiOrder && *oiOrder > 0 ? FirstValue : SecondValue;
    });
    return oResult;
}

Variant Library::Min(const Variant& FirstValue, const Variant& SecondValue) {
    Variant oResult;
    Guard("Min", [&] {
        const std::optional<int> oiOrder = Variant::Compare(FirstValue, SecondValue);
        oResult = oiOrder && *oiOrder < 0 ? FirstValue : SecondValue;
    });
    return oResult;
}

Variant Library::NullToNumeric(const Variant& Source) {
    Variant oResult;
    Guard("NullToNumeric", [&] {
        oResult = !Source.IsNull() && Source.IsNumeric() ? Source : Variant(std::int16_t{0});
    });
    return oResult;
}

std::string Library::NullToString(const Variant& Source) {
    std::string sResult;
    Guard("NullToString", [&] { sResult = Source.IsNull() ? std::string() : Source.ToString(); });
    return sResult;
}

void Library::ParseDate(const Variant& Source, std::string& Month, std::string& Day,
                        std::string& Year) {
    Guard("ParseDate", [&] {
        const std::string sText = Source.ToString();
        const auto WithLeadingZero = [](std::string sPart) {
            return MUtf8::CharCount(sPart) == 1 ? "0" + sPart : sPart;
        };
        const std::string::size_type iFirst = sText.find('/');
        if (iFirst == std::string::npos) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        Month = WithLeadingZero(sText.substr(0, iFirst));
        const std::string::size_type iSecond = sText.find('/', iFirst + 1);
        if (iSecond == std::string::npos) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        Day = WithLeadingZero(sText.substr(iFirst + 1, iSecond - iFirst - 1));
        Year = WithLeadingZero(MUtf8::LeftChars(sText.substr(iSecond + 1), 2));
    });
}

std::int32_t Library::ParseListItemNodeKey(const std::string& Key) {
    std::int32_t lResult = 0;
    Guard("ParseListItemNodeKey", [&] {
        const std::string sNumber = Key.substr(MUtf8::CharLength(Key, 0));
        const std::optional<double> odValue = Variant::ParseNumber(sNumber);
        if (!odValue) {
            throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
        }
        // Converting to a long rounds half to even, as the classic conversion does.
        const double dRounded = std::nearbyint(*odValue);
        if (dRounded < -2147483648.0 || dRounded > 2147483647.0) {
            throw CRunTimeError::Standard(RunTimeErrors::Overflow);
        }
        lResult = static_cast<std::int32_t>(dRounded);
    });
    return lResult;
}

Variant Library::Round(const Variant& Value, std::int16_t DecimalPlaces) {
    Variant oResult;
    Guard("Round", [&] {
        switch (Value.VarType()) {
        case Variant::vbInteger:
        case Variant::vbLong:
        case Variant::vbSingle:
        case Variant::vbDouble:
        case Variant::vbCurrency: {
            const int iPlaces = ToInteger(std::abs(std::int64_t{DecimalPlaces}));
            oResult = Variant(RoundDecimalText(Value.ToString(), iPlaces));
            break;
        }
        case Variant::vbNull:
        case Variant::vbEmpty:
        case Variant::vbDate:
        case Variant::vbString:
            oResult = Value;
            break;
        default:
            oResult = Variant();
            break;
        }
    });
    return oResult;
}

std::int32_t Library::SearchGetRowsArray(const Variant& DataArray, Variant KeyValue,
                                         std::int16_t KeyIndex) {
    std::int32_t lResult = -1;
    Guard("SearchGetRowsArray", [&] {
        std::int64_t llLow = DataArray.LBound(2);
        std::int64_t llHigh = DataArray.UBound(2);
        const auto KeyAt = [&](std::int64_t llRow) -> const Variant& {
            return DataArray.At(KeyIndex, static_cast<std::int32_t>(llRow));
        };
        const auto oiAboveFirst = Variant::Compare(KeyAt(llLow), KeyValue);
        const auto oiBelowLast = Variant::Compare(KeyValue, KeyAt(llHigh));
        if (!oiAboveFirst || *oiAboveFirst > 0 || !oiBelowLast || *oiBelowLast > 0) {
            return;
        }
        std::int64_t llMiddle = llLow;
        std::optional<int> oiOrder;
        do {
            llMiddle = (llLow + llHigh) / 2;
            oiOrder = Variant::Compare(KeyValue, KeyAt(llMiddle));
            // A null key in the rows has no order: the search cannot go on.
            if (!oiOrder) {
                return;
            }
            if (*oiOrder < 0) {
                llHigh = llMiddle - 1;
            } else if (*oiOrder > 0) {
                llLow = llMiddle + 1;
            }
        } while (llLow <= llHigh && *oiOrder != 0);
        if (*oiOrder == 0) {
            lResult = static_cast<std::int32_t>(llMiddle);
        }
    });
    return lResult;
}

void Library::Swap(Variant& FirstValue, Variant& SecondValue) {
    Guard("Swap", [&] { std::swap(FirstValue, SecondValue); });
}

bool Library::YesNoToBoolean(const std::string& Value) {
    bool bResult = false;
    Guard("YesNoToBoolean", [&] {
        const std::string sFolded = MCaseFold::Fold(Value);
        bResult = sFolded == "Y" || sFolded == "YES";
    });
    return bResult;
}

} // namespace qlCommonLibrary
