#pragma once

#include "commonlibrary/SHELLFOLDERS.h"
#include "commonlibrary/SHOWCMDFLAGS.h"
#include "commonlibrary/STGM.h"
#include "commonlibrary/Variant.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

class CErrorReporter;
class QObject;
class QWidget;

namespace qlCommonLibrary {

// The component's object of stateless helpers: folders and shell links, strings, numbers,
// dates and variants. Obtained from Application::Library().
//
// Error convention: every operation traps every error of its body (failed argument checks with
// the component's own codes, failed file-system calls, overflow 6, type mismatch 13, invalid
// procedure call 5, ...) and hands it to this object's error reporter: description, number,
// flag true, detail "", source "qlCommonLibrary.Library.<Operation>", then Log(). The operation
// then returns normally; its outputs keep what was assigned before the error and an unassigned
// result is its type's empty value. No exception leaves an operation. Without a reporter the
// error is dropped.
//
// Text is UTF-8. Positions that operations take or return are 1-based byte positions (0 is
// "not found"). Where an operation takes "the first character" of a text it takes one whole
// code point; lengths for padding and word lengths count code points, so PadLeft and PadRight
// never cut a character in two. Comparisons that ignore letter case (RInstr's text compare,
// YesNoToBoolean) fold every character through the Unicode tables (MCaseFold), so "É" matches
// "é" and "ſ" matches "S"; positions still count the bytes of the text as given.
//
// Paths: "\" and "/" are both separators for ParsePath (so paths from shortcuts made on
// Windows split correctly); the file-system operations work on the Linux paths they are given.
class Library {
public:
    // pReporter may be null.
    explicit Library(std::shared_ptr<CErrorReporter> pReporter);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const std::shared_ptr<CErrorReporter>& ErrorReporter() const { return m_pErrorReporter; }

    // The operations, in the component's published order.

    // Always "Library".
    std::string ClassName();
    // Window and control helpers. Windows and controls are passed as QObject*: a form is a
    // top-level QWidget (a window), a control is a QWidget inside a window. Operations that
    // check the kind of an argument raise their own code (32753-32765) for anything else,
    // null included; the others raise 91 for a null and 438 for an object that lacks what they
    // use. Positions and sizes are in twips, 15 to the pixel; a form's position and size are
    // those of its frame on the desktop, a control's those in its parent.

    // The character code of the upper-cased character after the first "&" of Caption (a
    // Unicode code point), or 0 when Caption has no "&" or ends with it.
    std::int16_t AccessKeyFromCaption(const std::string& Caption);
    // A false Condition shows Message in a modal box titled "Assertion Failed" with the
    // exclamation icon, through the message presenter of this object's error reporter.
    void Assert(bool Condition, const std::string& Message);
    // "Yes" or "No".
    std::string BooleanToYesNo(bool Value);
    // Centres ChildWindow on the screen that shows it, or on ParentWindow's rectangle, then
    // keeps it on that screen: it never starts left of or above the screen's corner, and its
    // right and lower edges stay on the screen when it fits. Both must be forms or controls.
    void CenterWindow(QObject* ChildWindow, QObject* ParentWindow = nullptr);
    // Changes the process's current directory to the folder part of Path (split as ParsePath
    // does; the drive part has no meaning here). A folder path must end with a separator.
    void ChangeDriveDir(const std::string& Path);
    // Empties a masked edit box (a QLineEdit with an input mask) and keeps its mask.
    void ClearMaskedText(QObject* MaskedEditBox);
    // Moves the mouse pointer to the centre of Window's client area (a form or control). The
    // desktop cannot confine the pointer to a rectangle without grabbing it from every other
    // program, so it is not confined; without a Window (the release of a confinement) nothing
    // happens.
    void ClipCursor(QObject* Window = nullptr);
    // Value unless it is null; a null becomes the empty value of DataType (a type code).
    Variant ConvertNull(Variant Value, std::int32_t DataType);
    // Splits TotalSeconds into days, hours (0-23), minutes and seconds. Hours and Days are
    // optional outputs: pass nullptr to leave them out.
    void ConvertSeconds(std::int32_t TotalSeconds, std::int16_t& Seconds, std::int16_t& Minutes,
                        Variant* Hours = nullptr, Variant* Days = nullptr);
    // Creates the folder Directory (its last level only) unless an entry of that name exists.
    void CreateDirectory(const std::string& Directory);
    // Removes Directory with everything in it. Read-only entries are made writable first;
    // symbolic links are removed themselves, never followed. Refuses the root folder.
    void DelTree(const std::string& Directory);
    // Source with every occurrence of the first character of Character doubled.
    std::string DoubleCharacter(const std::string& Source, const std::string& Character);
    // Source between double quotes.
    std::string DoubleQuoteString(const std::string& Source);
    // Source with every single quote doubled.
    std::string DoubleSingleQuotes(const std::string& Source);
    // The text of Source before the first Delimiter; Source keeps the text after it (one
    // character of the delimiter is skipped). Without a delimiter the whole text is returned
    // and Source becomes empty.
    std::string GetToken(std::string& Source, const std::string& Delimiter);
    // The signed upper 16 bits.
    std::int16_t HiWord(std::int32_t DWord);
    // Whether a typed character belongs in a date: a digit, "/", Escape, Enter or Backspace.
    bool IsDateEntry(std::int16_t KeyAscii);
    bool IsLeapYear(std::int16_t Year);
    // Whether a typed character belongs in a number: a digit, "-", ".", "+", Escape, Enter or
    // Backspace.
    bool IsNumericEntry(std::int16_t KeyAscii);
    // The length, in characters, of LongestWord(Source, Delimiter).
    std::int16_t LengthLongestWord(const std::string& Source,
                                   const std::optional<Variant>& Delimiter = std::nullopt);
    // The first index of a list or combo box whose item data (Qt::UserRole) equals Value, or
    // -1.
    std::int16_t ListComboIndexByItemData(QObject* ListCombo, std::int32_t Value);
    // The index of the first item after Start (an Integer or Long variant; -1 or missing: from
    // the top) whose text equals Text regardless of case; the search wraps round to the top
    // and ends at Start. -1 when no item matches.
    std::int16_t ListIndexByText(QObject* ListBox, const std::string& Text,
                                 const std::optional<Variant>& Start = std::nullopt);
    // Puts Text into a masked edit box, laid into the places of its mask.
    void LoadMaskedText(QObject* MaskEdBox, std::string Text);
    // The first word strictly longer than every word before it; words are separated by the
    // first character of Delimiter (a space when missing).
    std::string LongestWord(const std::string& Source,
                            const std::optional<Variant>& Delimiter = std::nullopt);
    // The lower 16 bits as a signed integer.
    std::int16_t LoWord(std::int32_t DWord);
    // HiWord * 65536 + LoWord taken unsigned.
    std::int32_t MakeDWord(std::int16_t LoWord, std::int16_t HiWord);
    // The first character of Prefix followed by Key in decimal ("D42").
    std::string MakeListItemNodeKey(const std::string& Prefix, std::int32_t Key);
    // FirstValue if it orders above SecondValue, else SecondValue (also when equal or null).
    Variant Max(const Variant& FirstValue, const Variant& SecondValue);
    // FirstValue if it orders below SecondValue, else SecondValue (also when equal or null).
    Variant Min(const Variant& FirstValue, const Variant& SecondValue);
    // Multi-select lists (item views): whether any row is selected; removing the selected
    // rows; selecting and unselecting every row without repainting in between (the scroll
    // position stays).
    bool MultiListAnySelected(QObject* MultiSelectControl);
    void MultiListRemoveSelected(QObject* MultiSelectControl);
    void MultiListSelectAll(QObject* MultiSelectControl);
    void MultiListUnselectAll(QObject* MultiSelectControl);
    // Source when it is numeric and not null, else the integer 0.
    Variant NullToNumeric(const Variant& Source);
    // "" for a null, else the text form of Source.
    std::string NullToString(const Variant& Source);
    // Source without its trailing NUL characters.
    std::string NullTrim(const std::string& Source);
    // The index, counted over every item of an outline (a tree view, items in outline order),
    // of the first item from Start (an Integer variant of 0 or more; missing: 0) whose text is
    // exactly Text; -1 when none is.
    std::int16_t OutlineItemByText(QObject* Outline, const std::string& Text,
                                   const std::optional<Variant>& Start = std::nullopt);
    // Source cut or left-padded to |Length| characters with the first character of PadChar
    // (a space when missing).
    std::string PadLeft(const std::string& Source, std::int16_t Length,
                        const std::optional<Variant>& PadChar = std::nullopt);
    // Source cut or right-padded to |Length| characters.
    std::string PadRight(const std::string& Source, std::int16_t Length,
                         const std::optional<Variant>& PadChar = std::nullopt);
    // Month, day and year parts ("01", "05", "98") of a date or of text "m/d/y...".
    void ParseDate(const Variant& Source, std::string& Month, std::string& Day, std::string& Year);
    // Tokens becomes an array (lower bound 0) of the fields of Source, or empty for an empty
    // Source; a trailing delimiter adds no empty last field.
    void ParseDelimitedString(std::string Source, std::string Delimiter, Variant& Tokens);
    // The number after the first character of Key.
    std::int32_t ParseListItemNodeKey(const std::string& Key);
    // Splits a path at "\" or "/" into drive ("C:" or empty), folder (from the first separator
    // through the last) and document.
    void ParsePath(const std::string& Path, std::string& Drive, std::string& Folder,
                   std::string& Document);
    // Source between single quotes.
    std::string QuoteString(const std::string& Source);
    // Source with every CurrentString replaced by NewString; inserted text is not searched
    // again. An empty CurrentString leaves Source unchanged.
    std::string ReplaceString(const std::string& Source, const std::string& CurrentString,
                              const std::string& NewString);
    // The position of the last String2 in String1 that begins at or before Start (an Integer
    // variant, default: the length of String1); Compare 0 binary (default), 1 text (letter
    // case ignored).
    std::int16_t RInstr(const std::string& String1, const std::string& String2,
                        const std::optional<Variant>& Start = std::nullopt,
                        const std::optional<Variant>& Compare = std::nullopt);
    // A number rounded to DecimalPlaces places, half away from zero, as a Double.
    Variant Round(const Variant& Value, std::int16_t DecimalPlaces);
    // Binary search of DataArray (field, row), sorted by field KeyIndex, for KeyValue: the row
    // index, or -1.
    std::int32_t SearchGetRowsArray(const Variant& DataArray, Variant KeyValue,
                                    std::int16_t KeyIndex);
    // Selects the whole text of a text control (line edit, text edit, spin box, editable
    // combo box).
    void SelectText(QObject* Control);
    // Makes Parent the owner of the form Child: Child becomes a dialog window of Parent, stays
    // above it and is deleted with it. Without a Parent the owner is cleared and Child belongs
    // to its caller again. Visibility and position are kept.
    void SetModelessDialog(QObject* Child, QObject* Parent = nullptr);
    // Switches the painting of a form or control off and on again.
    void SetRedraw(QObject* Window, bool Redraw);
    // Puts a form into the band of windows that stay on top, or back, without moving it.
    void SetTopMost(QObject* Window, bool TopMost);
    // Sounds the desktop's beep. SoundType is a message-box style (16, 32, 48, 64 name a kind
    // of sound); the desktop has one beep for every kind.
    void SmartBeep(std::int16_t SoundType);
    // A run-together name with a space before each capital A-Z after the first character.
    std::string SplitName(const std::string& Source);
    void Swap(Variant& FirstValue, Variant& SecondValue);
    // Path + "/" + a random number 0-32766 + "." + the first three characters of Extention,
    // naming no existing entry. Nothing is created.
    std::string UniqueFileName(const std::string& Path, const std::string& Extention);
    // Closes the forms of FormsCollection (in the order they were opened) one at a time, the
    // last first; each may refuse. False when one refused: it and the forms before it stay open.
    bool UnloadAllForms(const std::vector<QWidget*>& FormsCollection);
    // The user's home folder.
    std::string WindowsPath();
    // The folder of the system's programs, "/usr/bin".
    std::string WindowsSystemPath();
    // True for "Y" or "YES" in any letter case.
    bool YesNoToBoolean(const std::string& Value);
    // Writes a shell link (.lnk) to LinkFile; nothing when LinkFile or ExecutableFile is empty.
    void CreateShellLink(const std::string& LinkFile, const std::string& ExecutableFile,
                         const std::string& WorkingDirectory,
                         const std::string& ExecutableArguments, const std::string& IconFile,
                         std::int32_t IconIndex, SHOWCMDFLAGS ShowCommand);
    // Reads the fields of a shell link, each exactly as stored; nothing is assigned when the
    // file cannot be read as a link, or when LinkFile is empty.
    void GetShellLinkInfo(const std::string& LinkFile, std::string& ExecutableFile,
                          std::string& WorkingDirectory, std::string& ExecutableArguments,
                          std::string& IconFile, std::int32_t& IconIndex,
                          std::int32_t& ShowCommand);
    // The path of a special folder, without a trailing separator; left unchanged for a folder
    // with no file-system path. hwnd is not used here.
    void GetSystemFolderPath(std::int32_t hwnd, std::int16_t SystemFolderID,
                             std::string& SystemFolderPath);

private:
    // Runs fBody under the error convention of the operation szOperation.
    template <class TBody>
    void Guard(const char* szOperation, TBody&& fBody) noexcept;
    void ReportError(const char* szOperation, std::exception_ptr pError) noexcept;

    std::string Pad(const std::string& Source, std::int16_t Length,
                    const std::optional<Variant>& PadChar, bool bLeft);

    std::shared_ptr<CErrorReporter> m_pErrorReporter;
};

// Defined here so that every source of the Library's operations can use it.
template <class TBody>
void Library::Guard(const char* szOperation, TBody&& fBody) noexcept {
    try {
        fBody();
    } catch (...) {
        ReportError(szOperation, std::current_exception());
    }
}

} // namespace qlCommonLibrary
