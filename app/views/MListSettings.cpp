#include "app/views/MListSettings.h"

#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "platform/controls/CListView.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>

namespace MListSettings {

namespace {
constexpr const char* SortColumnName = "Sort Column";
constexpr const char* SortOrderName = "Sort Order";

std::optional<std::string> ReadValue(const CRegistryValues& oValues, const std::string& sName) {
    try {
        return oValues.Item(sName).Value();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

CRegistryValues OpenGroup(const std::string& sGroup) {
    return MDayfold::Registry().KeyFromPath(MSettings::GroupPath(sGroup)).Values();
}
} // namespace

std::int32_t DefaultWidth(const std::string& sWidthName) {
    if (sWidthName == "Name Width" || sWidthName == "Path Width") {
        return WideColumnWidth;
    }
    return sWidthName == "Last Accessed Width" ? DateTimeColumnWidth : ColumnWidth;
}

std::vector<std::pair<std::string, std::string>>
GroupDefaults(const std::vector<std::string>& colWidthNames) {
    std::vector<std::pair<std::string, std::string>> colDefaults;
    for (const std::string& sName : colWidthNames) {
        colDefaults.emplace_back(sName, std::to_string(DefaultWidth(sName)));
    }
    colDefaults.emplace_back(SortColumnName, "1");
    colDefaults.emplace_back(SortOrderName, "0");
    return colDefaults;
}

std::optional<int> StoredNumber(const std::string& sText, int lMinimum, int lMaximum) {
    int iValue = 0;
    const char* pEnd = sText.data() + sText.size();
    const auto oResult = std::from_chars(sText.data(), pEnd, iValue);
    if (sText.empty() || oResult.ec != std::errc() || oResult.ptr != pEnd || iValue < lMinimum ||
        iValue > lMaximum) {
        return std::nullopt;
    }
    return iValue;
}

void Restore(CListView& oList, const std::string& sGroup,
             const std::vector<std::string>& colWidthNames) {
    std::optional<CRegistryValues> oValues;
    try {
        oValues = OpenGroup(sGroup);
        oValues->Count(); // a group that is gone raises here
    } catch (const std::exception&) {
        MSettings::CreateRegistryKeys(MDayfold::Registry(), sGroup, GroupDefaults(colWidthNames));
        oValues = OpenGroup(sGroup);
        oValues->Count();
    }
    const int iColumns = oList.ColumnHeaderCount();
    for (int i = 1; i <= iColumns && i <= static_cast<int>(colWidthNames.size()); ++i) {
        const auto osText = ReadValue(*oValues, colWidthNames[static_cast<size_t>(i - 1)]);
        const auto olWidth =
            osText ? StoredNumber(*osText, MinimumWidth, MaximumWidth) : std::nullopt;
        if (olWidth) {
            oList.SetColumnWidth(i, *olWidth);
        }
    }
    const auto osColumn = ReadValue(*oValues, SortColumnName);
    const auto oiColumn = osColumn ? StoredNumber(*osColumn, 0, iColumns - 1) : std::nullopt;
    // A sort column the list does not have leaves the design's: by type.
    oList.SetSortKey(oiColumn.value_or(std::min(1, iColumns - 1)));
    const auto osOrder = ReadValue(*oValues, SortOrderName);
    const auto oiOrder = osOrder ? StoredNumber(*osOrder, 0, 1) : std::nullopt;
    oList.SetSortOrder(oiOrder.value_or(0));
    oList.SetSorted(true);
}

void Save(const CListView& oList, const std::string& sGroup,
          const std::vector<std::string>& colWidthNames) {
    std::optional<CRegistryValues> oValues;
    try {
        oValues = OpenGroup(sGroup);
    } catch (const std::exception&) {
        MSettings::CreateRegistryKeys(MDayfold::Registry(), sGroup, GroupDefaults(colWidthNames));
        try {
            oValues = OpenGroup(sGroup);
        } catch (const std::exception&) {
            return;
        }
    }
    const auto Write = [&oValues](const std::string& sName, const std::string& sValue) {
        try {
            try {
                oValues->Item(sName).SetValue(sValue);
            } catch (const std::exception&) {
                // Removed by hand since the start: it comes back.
                oValues->Add(sName, sValue, CRegistryValues::StringType);
            }
        } catch (const std::exception&) {
        }
    };
    for (int i = 1; i <= oList.ColumnHeaderCount() && i <= static_cast<int>(colWidthNames.size());
         ++i) {
        Write(colWidthNames[static_cast<size_t>(i - 1)], std::to_string(oList.ColumnWidth(i)));
    }
    Write(SortColumnName, std::to_string(oList.SortKey()));
    Write(SortOrderName, std::to_string(oList.SortOrder()));
}

void AddColumns(CListView& oList, const char* szContext, const std::vector<SColumn>& colColumns) {
    for (const SColumn& oColumn : colColumns) {
        oList.AddColumnHeader(
            QCoreApplication::translate(szContext, oColumn.szCaption).toStdString(),
            oColumn.iAlignment, oColumn.lWidth);
    }
}

void ColumnClick(CListView& oList, int iColumn, int& iLastColumn, int& iSortOrder) {
    if (iColumn != iLastColumn) {
        iLastColumn = iColumn;
    } else {
        iSortOrder = iSortOrder == 0 ? 1 : 0;
    }
    oList.SetSortKey(iColumn - 1);
    oList.SetSortOrder(iSortOrder);
    oList.SetSorted(true);
}

} // namespace MListSettings
