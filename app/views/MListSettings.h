#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CListView;

// What the two document lists share: their settings group (column widths, sort column and
// order) and the translation of header clicks into a sort.
namespace MListSettings {

// Widths outside this range (twips) keep the design width: a hand-edited "-5" or "99999"
// must not hide a column or push the others off the screen.
constexpr int MinimumWidth = 1;
constexpr int MaximumWidth = 32767;

// The widths a list starts with (twips): the name and the folder of a document are wider than
// what a type or a time needs, so that a first start shows them whole.
constexpr int ColumnWidth = 1440;
constexpr int WideColumnWidth = 2880;
constexpr int DateTimeColumnWidth = 1800; // "yyyy/mm/dd hh:mm"
// The starting width of the column whose width value is named sWidthName ("Name Width").
std::int32_t DefaultWidth(const std::string& sWidthName);

// The group's values in creation order: one "<column> Width" per column, then "Sort Column"
// "1" and "Sort Order" "0".
std::vector<std::pair<std::string, std::string>>
GroupDefaults(const std::vector<std::string>& colWidthNames);

// Loads the widths and the sort into the list from group sGroup, creating the group with its
// defaults when it is missing. A value that is missing, not a number or out of range leaves
// that one setting as it is. Throws only when the group can be neither opened nor created.
void Restore(CListView& oList, const std::string& sGroup,
             const std::vector<std::string>& colWidthNames);
// Stores the widths and the sort; a value that cannot be written is skipped.
void Save(const CListView& oList, const std::string& sGroup,
          const std::vector<std::string>& colWidthNames);

// One column of a list's design: its caption (marked for translation in the caller's context),
// alignment and starting width.
struct SColumn {
    const char* szCaption;
    int iAlignment;
    std::int32_t lWidth;
};
// Adds the columns in order, each caption as the translation of context szContext gives it.
void AddColumns(CListView& oList, const char* szContext, const std::vector<SColumn>& colColumns);

// The number a stored text holds when it is a whole decimal number in [lMinimum, lMaximum].
std::optional<int> StoredNumber(const std::string& sText, int lMinimum, int lMaximum);

// A click on header iColumn (1-based): a new column keeps the remembered order, the same column
// again flips it; the list then sorts by that column.
void ColumnClick(CListView& oList, int iColumn, int& iLastColumn, int& iSortOrder);

} // namespace MListSettings
