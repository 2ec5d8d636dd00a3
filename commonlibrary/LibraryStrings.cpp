#include "commonlibrary/Library.h"

#include "commonlibrary/MLibraryHelpers.h"
#include "commonlibrary/MLibraryStrings.h"
#include "commonlibrary/MUtf8.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MCaseFold.h"

#include <cstdlib>
#include <vector>

// The Library's string helpers.

namespace qlCommonLibrary {

namespace {

using MLibraryHelpers::ToInteger;
using MLibraryHelpers::TrimSpaces;
using MLibraryStrings::LibraryError;

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

// The 1-based byte position in sText of the last occurrence of sFind that begins at or before
// byte llStart, letter case folded on both sides; 0 when there is none. Folding can change a
// character's byte length ("ı" folds to "I"), so each character of sText is folded on its own
// and the start of its fold is remembered beside its own position: a match found in the folded
// text then maps back to the text as given.
std::size_t LastFoldedMatch(const std::string& sText, const std::string& sFind,
                            std::int64_t llStart) {
    const std::string sFoldedFind = MCaseFold::Fold(sFind);
    std::string sFolded;
    std::vector<std::size_t> vOriginal; // byte offset of each character in sText
    std::vector<std::size_t> vFolded;   // byte offset of its fold in sFolded
    for (std::size_t iPos = 0; iPos < sText.size();) {
        const std::size_t iLength = MUtf8::CharLength(sText, iPos);
        vOriginal.push_back(iPos);
        vFolded.push_back(sFolded.size());
        sFolded += MCaseFold::Fold(sText.substr(iPos, iLength));
        iPos += iLength;
    }
    for (std::size_t i = vOriginal.size(); i-- > 0;) {
        if (static_cast<std::int64_t>(vOriginal[i]) < llStart &&
            sFolded.compare(vFolded[i], sFoldedFind.size(), sFoldedFind) == 0) {
            return vOriginal[i] + 1;
        }
    }
    return 0;
}

} // namespace

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
        bool bTextCompare = false;
        if (Compare) {
            const bool bNumber = !Compare->IsNull() && Compare->IsNumeric();
            const double dCompare = bNumber ? Compare->ToDouble() : -1.0;
            if (dCompare == 1.0) {
                bTextCompare = true;
            } else if (dCompare != 0.0) {
                throw LibraryError(MLibraryStrings::ErrorCompare);
            }
        }
        if (String1.empty()) {
            return;
        }
        // An empty String2 is found at Start whichever the comparison.
        if (!bTextCompare || String2.empty()) {
            if (String1.find(String2) == std::string::npos) {
                return;
            }
            for (std::int64_t i = llStart; i >= 1; --i) {
                if (String1.compare(static_cast<std::size_t>(i - 1), String2.size(), String2) ==
                    0) {
                    iResult = ToInteger(i);
                    return;
                }
            }
            return;
        }
        iResult = ToInteger(static_cast<std::int64_t>(LastFoldedMatch(String1, String2, llStart)));
    });
    return iResult;
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

} // namespace qlCommonLibrary
