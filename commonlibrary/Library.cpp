#include "commonlibrary/Library.h"

#include "commonlibrary/MLibraryStrings.h"
#include "commonlibrary/MUtf8.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shelllink/CShellLink.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <dirent.h>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace qlCommonLibrary {

namespace {

using MLibraryStrings::LibraryError;

// Leading and trailing spaces removed (spaces only, as the classic Trim does).
std::string TrimSpaces(const std::string& sText) {
    const std::string::size_type iStart = sText.find_first_not_of(' ');
    if (iStart == std::string::npos) {
        return std::string();
    }
    return sText.substr(iStart, sText.find_last_not_of(' ') - iStart + 1);
}

std::string UpperAscii(std::string sText) {
    for (char& c : sText) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return sText;
}

// A 16-bit result, or Overflow.
std::int16_t ToInteger(std::int64_t llValue) {
    if (llValue < std::numeric_limits<std::int16_t>::min() ||
        llValue > std::numeric_limits<std::int16_t>::max()) {
        throw CRunTimeError::Standard(RunTimeErrors::Overflow);
    }
    return static_cast<std::int16_t>(llValue);
}

// The classic error of a failed file-system call: a missing path is "Path not found".
CRunTimeError FileSystemError(int iErrno, const std::string& sPath) {
    if (iErrno == ENOENT || iErrno == ENOTDIR) {
        return CRunTimeError(RunTimeErrors::PathNotFound,
                             CRunTimeError::StandardText(RunTimeErrors::PathNotFound) + ": " +
                                 sPath);
    }
    return CRunTimeError::FromErrno(iErrno, sPath);
}

bool EntryExists(const std::string& sPath) {
    struct stat oStat {};
    return ::lstat(sPath.c_str(), &oStat) == 0;
}

// The type codes whose values have no text form for a delimiter or pad character.
bool IsRefusedCharacterArgument(const Variant& oValue) {
    switch (oValue.VarType()) {
    case Variant::vbEmpty:
    case Variant::vbNull:
    case Variant::vbObject:
    case Variant::vbError:
    case Variant::vbDataObject:
    case Variant::vbArray:
        return true;
    default:
        return false;
    }
}

// Empties the folder sFolder (no trailing separator needed) and everything below it. Symbolic
// links are removed as entries, never followed.
void ClearFolder(const std::string& sFolder) {
    struct stat oFolderStat {};
    if (::lstat(sFolder.c_str(), &oFolderStat) != 0) {
        throw FileSystemError(errno, sFolder);
    }
    if (!S_ISDIR(oFolderStat.st_mode)) {
        throw FileSystemError(ENOTDIR, sFolder);
    }
    // A read-only folder cannot lose its entries: make it writable for its owner first.
    if ((oFolderStat.st_mode & (S_IWUSR | S_IXUSR | S_IRUSR)) != (S_IWUSR | S_IXUSR | S_IRUSR) &&
        ::chmod(sFolder.c_str(), oFolderStat.st_mode | S_IWUSR | S_IXUSR | S_IRUSR) != 0) {
        throw CRunTimeError::FromErrno(errno, sFolder);
    }
    std::vector<std::string> vNames;
    {
        DIR* pDir = ::opendir(sFolder.c_str());
        if (pDir == nullptr) {
            throw FileSystemError(errno, sFolder);
        }
        while (const dirent* pEntry = ::readdir(pDir)) {
            const std::string sName = pEntry->d_name;
            if (sName != "." && sName != "..") {
                vNames.push_back(sName);
            }
        }
        ::closedir(pDir);
    }
    const std::string sPrefix = sFolder.back() == '/' ? sFolder : sFolder + "/";
    for (const std::string& sName : vNames) {
        const std::string sPath = sPrefix + sName;
        struct stat oStat {};
        if (::lstat(sPath.c_str(), &oStat) != 0) {
            if (errno == ENOENT) {
                continue; // gone meanwhile
            }
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        if (S_ISDIR(oStat.st_mode)) {
            ClearFolder(sPath);
            if (::rmdir(sPath.c_str()) != 0) {
                throw CRunTimeError::FromErrno(errno, sPath);
            }
            continue;
        }
        if (S_ISREG(oStat.st_mode) && (oStat.st_mode & S_IWUSR) == 0) {
            ::chmod(sPath.c_str(), oStat.st_mode | S_IWUSR);
        }
        if (::unlink(sPath.c_str()) != 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
    }
}

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

Library::Library(std::shared_ptr<CErrorReporter> pReporter)
    : m_pErrorReporter(std::move(pReporter)) {}

Library::~Library() = default;

void Library::ReportError(const char* szOperation, std::exception_ptr pError) noexcept {
    try {
        if (!m_pErrorReporter) {
            return;
        }
        CRunTimeError oError = CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        try {
            std::rethrow_exception(pError);
        } catch (const std::exception& oException) {
            oError = CRunTimeError::FromException(oException);
        } catch (...) {
        }
        CErrorReporter& oReporter = *m_pErrorReporter;
        oReporter.SetDescription(oError.Description());
        oReporter.SetNumber(oError.Number());
        oReporter.SetFlag(true);
        oReporter.SetDetail("");
        oReporter.SetSource(std::string("qlCommonLibrary.Library.") + szOperation);
        oReporter.Log();
    } catch (...) {
        // The report itself failed: nothing may cross the component's boundary.
    }
}

template <class TBody>
void Library::Guard(const char* szOperation, TBody&& fBody) noexcept {
    try {
        fBody();
    } catch (...) {
        ReportError(szOperation, std::current_exception());
    }
}

std::string Library::ClassName() {
    std::string sResult;
    Guard("ClassName", [&] { sResult = "Library"; });
    return sResult;
}

std::string Library::BooleanToYesNo(bool Value) {
    std::string sResult;
    Guard("BooleanToYesNo", [&] { sResult = Value ? "Yes" : "No"; });
    return sResult;
}

void Library::ChangeDriveDir(const std::string& Path) {
    Guard("ChangeDriveDir", [&] {
        std::string sDrive;
        std::string sFolder;
        std::string sDocument;
        ParsePath(Path, sDrive, sFolder, sDocument);
        // The drive part has no meaning on this platform; the folder may use either separator.
        if (sFolder.empty()) {
            return;
        }
        for (char& c : sFolder) {
            if (c == '\\') {
                c = '/';
            }
        }
        if (::chdir(sFolder.c_str()) != 0) {
            throw FileSystemError(errno, sFolder);
        }
    });
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

void Library::CreateDirectory(const std::string& Directory) {
    Guard("CreateDirectory", [&] {
        if (EntryExists(Directory)) {
            return;
        }
        if (::mkdir(Directory.c_str(), 0777) != 0) {
            throw FileSystemError(errno, Directory);
        }
    });
}

void Library::DelTree(const std::string& Directory) {
    Guard("DelTree", [&] {
        const std::string sFolder = TrimSpaces(Directory);
        // Never the whole file system: an empty path or the root folder is refused.
        if (sFolder.find_first_not_of("/\\") == std::string::npos) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        char* szReal = ::realpath(sFolder.c_str(), nullptr);
        const bool bRoot = szReal != nullptr && std::string(szReal) == "/";
        std::free(szReal);
        if (bRoot) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        ClearFolder(sFolder);
        if (::rmdir(Directory.c_str()) != 0) {
            throw FileSystemError(errno, Directory);
        }
    });
}

std::string Library::DoubleCharacter(const std::string& Source, const std::string& Character) {
    std::string sResult;
    Guard("DoubleCharacter", [&] {
        const std::string sChar = MUtf8::FirstChar(Character);
        if (sChar.empty()) {
            sResult = Source;
            return;
        }
        std::string sText;
        std::string::size_type iFrom = 0;
        for (std::string::size_type iAt = Source.find(sChar); iAt != std::string::npos;
             iAt = Source.find(sChar, iFrom)) {
            sText.append(Source, iFrom, iAt - iFrom).append(sChar).append(sChar);
            iFrom = iAt + sChar.size();
        }
        sText.append(Source, iFrom, std::string::npos);
        sResult = std::move(sText);
    });
    return sResult;
}

std::string Library::DoubleQuoteString(const std::string& Source) {
    std::string sResult;
    Guard("DoubleQuoteString", [&] { sResult = "\"" + Source + "\""; });
    return sResult;
}

std::string Library::DoubleSingleQuotes(const std::string& Source) {
    std::string sResult;
    Guard("DoubleSingleQuotes", [&] { sResult = DoubleCharacter(Source, "'"); });
    return sResult;
}

std::string Library::GetToken(std::string& Source, const std::string& Delimiter) {
    std::string sResult;
    Guard("GetToken", [&] {
        // An empty text holds no delimiter; an empty delimiter is found at the first character.
        const std::string::size_type iAt =
            Source.empty() ? std::string::npos : Source.find(Delimiter);
        if (iAt == std::string::npos) {
            sResult = std::move(Source);
            Source.clear();
            return;
        }
        sResult = Source.substr(0, iAt);
        Source.erase(0, iAt + MUtf8::CharLength(Source, iAt));
    });
    return sResult;
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

std::int16_t Library::LengthLongestWord(const std::string& Source,
                                        const std::optional<Variant>& Delimiter) {
    std::int16_t iResult = 0;
    Guard("LengthLongestWord", [&] {
        iResult =
            ToInteger(static_cast<std::int64_t>(MUtf8::CharCount(LongestWord(Source, Delimiter))));
    });
    return iResult;
}

std::string Library::LongestWord(const std::string& Source,
                                 const std::optional<Variant>& Delimiter) {
    std::string sResult;
    Guard("LongestWord", [&] {
        std::string sDelimiter = " ";
        if (Delimiter) {
            if (IsRefusedCharacterArgument(*Delimiter)) {
                throw LibraryError(MLibraryStrings::ErrorDelimiter);
            }
            sDelimiter = MUtf8::FirstChar(Delimiter->ToString());
        }
        std::string sText = TrimSpaces(Source);
        std::string sLongest;
        std::size_t iLongest = 0;
        while (!sText.empty()) {
            const std::string sWord = GetToken(sText, sDelimiter);
            const std::size_t iLength = MUtf8::CharCount(sWord);
            if (iLength > iLongest) {
                sLongest = sWord;
                iLongest = iLength;
            }
        }
        sResult = std::move(sLongest);
    });
    return sResult;
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

std::string Library::NullTrim(const std::string& Source) {
    std::string sResult;
    Guard("NullTrim", [&] {
        std::string::size_type iEnd = Source.size();
        while (iEnd > 0 && Source[iEnd - 1] == '\0') {
            --iEnd;
        }
        sResult = Source.substr(0, iEnd);
    });
    return sResult;
}

std::string Library::Pad(const std::string& Source, std::int16_t Length,
                         const std::optional<Variant>& PadChar, bool bLeft) {
    const std::int16_t iWidth = ToInteger(std::abs(std::int64_t{Length}));
    const std::size_t iWanted = static_cast<std::size_t>(iWidth);
    const std::size_t iHave = MUtf8::CharCount(Source);
    if (iWanted <= iHave) {
        return MUtf8::LeftChars(Source, iWanted);
    }
    std::string sPadChar = " ";
    if (PadChar) {
        if (IsRefusedCharacterArgument(*PadChar)) {
            throw LibraryError(MLibraryStrings::ErrorPadChar);
        }
        sPadChar = MUtf8::FirstChar(PadChar->ToString());
    }
    std::string sPadding;
    for (std::size_t i = iHave; i < iWanted; ++i) {
        sPadding += sPadChar;
    }
    return bLeft ? sPadding + Source : Source + sPadding;
}

std::string Library::PadLeft(const std::string& Source, std::int16_t Length,
                             const std::optional<Variant>& PadChar) {
    std::string sResult;
    Guard("PadLeft", [&] { sResult = Pad(Source, Length, PadChar, true); });
    return sResult;
}

std::string Library::PadRight(const std::string& Source, std::int16_t Length,
                              const std::optional<Variant>& PadChar) {
    std::string sResult;
    Guard("PadRight", [&] { sResult = Pad(Source, Length, PadChar, false); });
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

void Library::ParseDelimitedString(std::string Source, std::string Delimiter, Variant& Tokens) {
    Guard("ParseDelimitedString", [&] {
        if (Source.empty()) {
            Tokens = Variant();
            return;
        }
        std::vector<Variant> vTokens;
        while (!Source.empty()) {
            vTokens.emplace_back(GetToken(Source, Delimiter));
        }
        Tokens = Variant::Array(std::move(vTokens), 0);
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

void Library::ParsePath(const std::string& Path, std::string& Drive, std::string& Folder,
                        std::string& Document) {
    Guard("ParsePath", [&] {
        const std::string sPath = TrimSpaces(Path);
        const std::string::size_type iFirst = sPath.find_first_of("\\/");
        if (iFirst == std::string::npos) {
            const std::string::size_type iColon = sPath.find(':');
            if (iColon == std::string::npos) {
                Drive.clear();
                Folder.clear();
                Document = sPath;
            } else {
                Drive = sPath.substr(0, iColon + 1);
                Folder.clear();
                Document = sPath.substr(iColon + 1);
            }
            return;
        }
        Drive = sPath.substr(0, iFirst);
        const std::string::size_type iLast = sPath.find_last_of("\\/");
        if (iLast > iFirst) {
            Folder = sPath.substr(iFirst, iLast - iFirst + 1);
            Document = sPath.substr(iLast + 1);
        } else {
            Folder = sPath.substr(iFirst, 1);
            Document = sPath.substr(iFirst + 1);
        }
    });
}

std::string Library::QuoteString(const std::string& Source) {
    std::string sResult;
    Guard("QuoteString", [&] { sResult = "'" + Source + "'"; });
    return sResult;
}

std::string Library::ReplaceString(const std::string& Source, const std::string& CurrentString,
                                   const std::string& NewString) {
    std::string sResult;
    Guard("ReplaceString", [&] {
        // An empty CurrentString would match everywhere and never end: leave Source as it is.
        if (CurrentString.empty()) {
            sResult = Source;
            return;
        }
        std::string sText;
        std::string::size_type iFrom = 0;
        for (std::string::size_type iAt = Source.find(CurrentString); iAt != std::string::npos;
             iAt = Source.find(CurrentString, iFrom)) {
            sText.append(Source, iFrom, iAt - iFrom).append(NewString);
            iFrom = iAt + CurrentString.size();
        }
        sText.append(Source, iFrom, std::string::npos);
        sResult = std::move(sText);
    });
    return sResult;
}

std::int16_t Library::RInstr(const std::string& String1, const std::string& String2,
                             const std::optional<Variant>& Start,
                             const std::optional<Variant>& Compare) {
    std::int16_t iResult = 0;
    Guard("RInstr", [&] {
        std::int64_t llStart = static_cast<std::int64_t>(String1.size());
        if (Start) {
            if (Start->VarType() != Variant::vbInteger) {
                throw LibraryError(MLibraryStrings::ErrorStart);
            }
            llStart = static_cast<std::int64_t>(Start->ToDouble());
            if (llStart <= 0 || llStart > static_cast<std::int64_t>(String1.size())) {
                throw LibraryError(MLibraryStrings::ErrorStart);
            }
        }
        bool bUpperCase = false;
        if (Compare) {
            const bool bNumber = !Compare->IsNull() && Compare->IsNumeric();
            const double dCompare = bNumber ? Compare->ToDouble() : -1.0;
            if (dCompare == 1.0) {
                bUpperCase = true;
            } else if (dCompare != 0.0) {
                throw LibraryError(MLibraryStrings::ErrorCompare);
            }
        }
        const std::string sText = bUpperCase ? UpperAscii(String1) : String1;
        const std::string sFind = bUpperCase ? UpperAscii(String2) : String2;
        if (sText.empty() || sText.find(sFind) == std::string::npos) {
            return;
        }
        for (std::int64_t i = llStart; i >= 1; --i) {
            if (sText.compare(static_cast<std::size_t>(i - 1), sFind.size(), sFind) == 0) {
                iResult = ToInteger(i);
                return;
            }
        }
    });
    return iResult;
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

std::string Library::SplitName(const std::string& Source) {
    std::string sResult;
    Guard("SplitName", [&] {
        const std::string sName = TrimSpaces(Source);
        std::string sText = MUtf8::FirstChar(sName);
        for (std::size_t iPos = sText.size(); iPos < sName.size();) {
            const std::size_t iLength = MUtf8::CharLength(sName, iPos);
            if (sName[iPos] >= 'A' && sName[iPos] <= 'Z') {
                sText += ' ';
            }
            sText.append(sName, iPos, iLength);
            iPos += iLength;
        }
        sResult = std::move(sText);
    });
    return sResult;
}

void Library::Swap(Variant& FirstValue, Variant& SecondValue) {
    Guard("Swap", [&] { std::swap(FirstValue, SecondValue); });
}

std::string Library::UniqueFileName(const std::string& Path, const std::string& Extention) {
    std::string sResult;
    Guard("UniqueFileName", [&] {
        std::string sFolder = TrimSpaces(NullTrim(Path));
        if (!sFolder.empty() && (sFolder.back() == '/' || sFolder.back() == '\\')) {
            sFolder.pop_back();
        }
        std::string sExtension = TrimSpaces(NullTrim(Extention));
        if (!sExtension.empty() && sExtension.front() == '.') {
            sExtension.erase(0, 1);
        }
        sExtension = MUtf8::LeftChars(sExtension, 3);

        constexpr int NameCount = 32767;
        std::mt19937 oGenerator(static_cast<std::mt19937::result_type>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        std::uniform_int_distribution<int> oNumbers(0, NameCount - 1);
        std::vector<bool> vTried(NameCount, false);
        int iTried = 0;
        while (iTried < NameCount) {
            const int iNumber = oNumbers(oGenerator);
            if (vTried[static_cast<std::size_t>(iNumber)]) {
                continue;
            }
            vTried[static_cast<std::size_t>(iNumber)] = true;
            ++iTried;
            const std::string sCandidate =
                sFolder + "/" + std::to_string(iNumber) + "." + sExtension;
            if (!EntryExists(sCandidate)) {
                sResult = sCandidate;
                return;
            }
        }
        // Every name is taken: there is no answer, rather than an endless search.
        throw CRunTimeError::Standard(RunTimeErrors::FileAlreadyExists);
    });
    return sResult;
}

std::string Library::WindowsPath() {
    std::string sResult;
    Guard("WindowsPath", [&] { sResult = CShellFolders::HomeFolder(); });
    return sResult;
}

std::string Library::WindowsSystemPath() {
    std::string sResult;
    Guard("WindowsSystemPath", [&] { sResult = CShellFolders::SystemProgramsFolder(); });
    return sResult;
}

bool Library::YesNoToBoolean(const std::string& Value) {
    bool bResult = false;
    Guard("YesNoToBoolean", [&] {
        const std::string sUpper = UpperAscii(Value);
        bResult = sUpper == "Y" || sUpper == "YES";
    });
    return bResult;
}

void Library::CreateShellLink(const std::string& LinkFile, const std::string& ExecutableFile,
                              const std::string& WorkingDirectory,
                              const std::string& ExecutableArguments, const std::string& IconFile,
                              std::int32_t IconIndex, SHOWCMDFLAGS ShowCommand) {
    Guard("CreateShellLink", [&] {
        if (LinkFile.empty() || ExecutableFile.empty()) {
            return;
        }
        CShellLink oLink;
        oLink.SetTargetPath(ExecutableFile);
        if (!WorkingDirectory.empty()) {
            oLink.SetWorkingDirectory(WorkingDirectory);
        }
        if (!ExecutableArguments.empty()) {
            oLink.SetArguments(ExecutableArguments);
        }
        if (!IconFile.empty()) {
            oLink.SetIconLocation(IconFile);
            oLink.SetIconIndex(IconIndex);
        }
        oLink.SetDescription("ShellLink Sample");
        oLink.SetShowCommand(static_cast<std::uint32_t>(ShowCommand));
        oLink.Save(LinkFile);
    });
}

void Library::GetShellLinkInfo(const std::string& LinkFile, std::string& ExecutableFile,
                               std::string& WorkingDirectory, std::string& ExecutableArguments,
                               std::string& IconFile, std::int32_t& IconIndex,
                               std::int32_t& ShowCommand) {
    Guard("GetShellLinkInfo", [&] {
        if (LinkFile.empty()) {
            return;
        }
        const CShellLink oLink = CShellLink::Load(LinkFile);
        ExecutableFile = oLink.TargetPath();
        WorkingDirectory = oLink.WorkingDirectory();
        ExecutableArguments = oLink.Arguments();
        IconFile = oLink.IconLocation();
        IconIndex = oLink.IconIndex();
        ShowCommand = static_cast<std::int32_t>(oLink.ShowCommand());
    });
}

void Library::GetSystemFolderPath(std::int32_t /*hwnd*/, std::int16_t SystemFolderID,
                                  std::string& SystemFolderPath) {
    Guard("GetSystemFolderPath", [&] {
        const std::optional<std::string> osPath = CShellFolders::Path(SystemFolderID);
        if (!osPath) {
            return; // a virtual folder: no path, and nothing to report
        }
        std::string sPath = TrimSpaces(*osPath);
        if (!sPath.empty() && sPath.back() == '\0') {
            sPath.pop_back();
        }
        if (!sPath.empty()) {
            SystemFolderPath = sPath;
        }
    });
}

} // namespace qlCommonLibrary
