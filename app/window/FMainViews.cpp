// FMain: the day tree and the document lists, the calendar and tree handlers, the status bar
// count and the icon cache of the two lists.
#include "app/core/CAssert.h"
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/resources/MResources.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/window/CCalendar.h"
#include "app/window/CIconCache.h"
#include "app/window/CStatusBarText.h"
#include "app/window/FMain.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTreeView.h"
#include "platform/errors/CRunTimeError.h"

#include <QAction>
#include <QLabel>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <memory>

namespace {
const std::array<const char*, 12> MonthNames = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};

bool EndsWithLnk(const std::string& sName, bool bIgnoreCase) {
    if (sName.size() < 4) {
        return false;
    }
    std::string sEnd = sName.substr(sName.size() - 4);
    if (bIgnoreCase) {
        std::transform(sEnd.begin(), sEnd.end(), sEnd.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return sEnd == ".lnk";
}

// The names in a folder, "." and ".." left out; raises when the folder cannot be listed.
std::vector<std::string> ListFolder(const std::string& sFolder) {
    std::vector<std::string> colNames;
    std::unique_ptr<DIR, int (*)(DIR*)> pDir(opendir(sFolder.c_str()), closedir);
    if (!pDir) {
        throw CRunTimeError::FromErrno(errno, sFolder);
    }
    while (const dirent* pEntry = readdir(pDir.get())) {
        const std::string sName = pEntry->d_name;
        if (sName != "." && sName != "..") {
            colNames.push_back(sName);
        }
    }
    return colNames;
}

bool LessIgnoringCase(const std::string& sLeft, const std::string& sRight) {
    return std::lexicographical_compare(sLeft.begin(), sLeft.end(), sRight.begin(), sRight.end(),
                                        [](char a, char b) {
                                            return std::tolower(static_cast<unsigned char>(a)) <
                                                   std::tolower(static_cast<unsigned char>(b));
                                        });
}

std::string TwoDigits(int iValue) {
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02d", iValue);
    return szText;
}

// "Short Time": hours and minutes of the day, 24-hour.
std::string ShortTime(const CDateTime& dTime) {
    return TwoDigits(dTime.Hour()) + ":" + TwoDigits(dTime.Minute());
}

// "yyyy/mm/dd hh:mm": sorts as text in time order.
std::string SortableDateTime(const CDateTime& dTime) {
    return std::to_string(dTime.Year()) + "/" + TwoDigits(dTime.Month()) + "/" +
           TwoDigits(dTime.Day()) + " " + ShortTime(dTime);
}

// The count right-aligned in five characters, so the texts sort in number order.
std::string PaddedCount(std::int32_t lCount) {
    const std::string sPadded = "    " + std::to_string(lCount);
    return sPadded.substr(sPadded.size() - 5);
}

std::string JoinPath(const std::string& sFolder, const std::string& sName) {
    if (sFolder.empty()) {
        return sName;
    }
    const char cLast = sFolder.back();
    return sFolder + (cLast == '/' || cLast == '\\' ? "" : "/") + sName;
}

// Icons for one list pair: the large and the small list keep the same indexes. One image per
// document, as the lists key them; the pictures are shared by every document of a type.
std::int32_t CachedImageIndex(CImageList& oLarge, CImageList& oSmall, CIconCache& oIcons,
                              const std::string& sTarget) {
    const std::string sKey = "K" + sTarget;
    const std::int32_t lFound = oLarge.Find(sKey);
    if (lFound != 0) {
        return lFound;
    }
    const CIconCache::SIcons& oPair = oIcons.IconsFor(sTarget);
    if (oPair.oLarge.isNull() || oPair.oSmall.isNull()) {
        return 1;
    }
    const std::int32_t lIndex = oLarge.Add(oPair.oLarge, sKey);
    oSmall.Add(oPair.oSmall, sKey);
    return lIndex;
}
} // namespace

void FMain::LoadDailyTreeViewFolder(const std::string& sFolder, std::int16_t iLevel) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sFolder),
                              "FMain.LoadDailyTreeViewFolder: Folder is missing");
    MDayfold::Assert().Assert(iLevel > 0, "FMain.LoadDailyTreeViewFolder: Level is 0");
    try {
        std::vector<std::string> colNames;
        for (std::string& sName : ListFolder(sFolder)) {
            if (!EndsWithLnk(sName, false)) {
                colNames.push_back(std::move(sName));
            }
        }
        const std::string sParentKey = "K" + sFolder;
        std::error_code ec;
        if (iLevel == 3) {
            // Months in calendar order; a name that is not an English month gets no node.
            std::vector<std::pair<size_t, std::string>> colMonths;
            for (const std::string& sName : colNames) {
                const auto it = std::find(MonthNames.begin(), MonthNames.end(), sName);
                if (it != MonthNames.end()) {
                    colMonths.emplace_back(static_cast<size_t>(it - MonthNames.begin()), sName);
                }
            }
            std::sort(colMonths.begin(), colMonths.end());
            for (const auto& [iMonth, sMonth] : colMonths) {
                const std::string sPath = sFolder + "/" + sMonth;
                m_tvwMain->AddNode(sParentKey, "K" + sPath, sMonth, 3);
                if (std::filesystem::is_directory(sPath, ec)) {
                    LoadDailyTreeViewFolder(sPath, 4);
                }
            }
        } else if (iLevel == 4) {
            std::sort(colNames.begin(), colNames.end(), LessIgnoringCase);
            for (const std::string& sName : colNames) {
                m_tvwMain->AddNode(sParentKey, sParentKey + "/" + sName, sName, 4);
            }
        } else {
            // Years in name order, as the repository's own listing gives them elsewhere.
            std::sort(colNames.begin(), colNames.end(), LessIgnoringCase);
            for (const std::string& sName : colNames) {
                const std::string sPath = sFolder + "/" + sName;
                m_tvwMain->AddNode(sParentKey, "K" + sPath, sName, iLevel);
                // A file where a folder belongs gets its node, but nothing is listed in it.
                if (std::filesystem::is_directory(sPath, ec)) {
                    LoadDailyTreeViewFolder(sPath, static_cast<std::int16_t>(iLevel + 1));
                }
            }
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.LoadDailyTreeViewFolder", false);
    }
}

void FMain::LoadDailyListView(const std::string& sNodeKey) {
    try {
        const int iSortKey = m_lvwDaily->SortKey();
        const int iSortOrder = m_lvwDaily->SortOrder();
        // Filled unsorted and without image lists attached, then sorted and drawn once.
        m_lvwDaily->SetSorted(false);
        m_lvwDaily->ClearItems();
        m_colDailyTargets.clear();
        m_lvwDaily->SetIcons(nullptr);
        m_lvwDaily->SetSmallIcons(nullptr);
        for (std::int32_t lIndex = m_imlMain[1]->Count(); lIndex >= 2; --lIndex) {
            m_imlMain[1]->Remove(lIndex);
            m_imlMain[2]->Remove(lIndex);
        }
        if (!sNodeKey.empty()) {
            if (m_lActiveView == ViewDaily) {
                SetExploreOpen(false);
            }
            const std::string sFolder = sNodeKey.substr(1);
            std::vector<std::string> colFiles;
            for (std::string& sName : ListFolder(sFolder)) {
                if (EndsWithLnk(sName, true) && sName[0] != '.') {
                    colFiles.push_back(std::move(sName));
                }
            }
            CShortcut oShortcut;
            std::error_code ec;
            for (const std::string& sName : colFiles) {
                const std::string sPath = sFolder + "/" + sName;
                if (!std::filesystem::is_regular_file(sPath, ec)) {
                    continue;
                }
                oShortcut.SetFile(sPath);
                const std::string& sTarget = oShortcut.TargetFile();
                const std::int32_t lIcon =
                    MDayfold::IsBlank(sTarget) ? 1 : DailyImageListIndex(sPath, sTarget);
                m_colDailyTargets[sNodeKey + "/" + sName] = sTarget;
                m_lvwDaily->AddItem(
                    sNodeKey + "/" + sName, sName.substr(0, sName.size() - 4), lIcon, lIcon,
                    {oShortcut.TargetClass(), oShortcut.WorkingDirectory(),
                     oShortcut.Modified().IsEmpty() ? "" : ShortTime(oShortcut.Modified())});
            }
        }
        m_lvwDaily->SetIcons(m_imlMain[1]);
        m_lvwDaily->SetSmallIcons(m_imlMain[2]);
        m_lvwDaily->SetSortKey(iSortKey);
        m_lvwDaily->SetSortOrder(iSortOrder);
        m_lvwDaily->SetSorted(true);
    } catch (const std::exception& oError) {
        m_lvwDaily->SetIcons(m_imlMain[1]);
        m_lvwDaily->SetSmallIcons(m_imlMain[2]);
        m_lvwDaily->SetSorted(true);
        MDayfold::LogError(oError, "FMain.LoadDailyListView", false);
    }
    // An empty list says why it is empty.
    std::string sNote;
    if (m_lvwDaily->Count() == 0) {
        if (m_tvwMain->SelectedKey().empty()) {
            sNote = MResources::LoadResString(m_tvwMain->Count() <= 1 ? 156 : 157);
        } else if (m_tvwMain->Children(m_tvwMain->SelectedKey()) > 0) {
            sNote = MResources::LoadResString(157);
        } else {
            sNote = MResources::LoadResString(158);
        }
    }
    SetEmptyNote(*m_lblDailyEmpty, *m_lvwDaily, sNote);
}

void FMain::RefreshFavorites() {
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.RefreshFavorites: Favorites object is nothing");
    try {
        if (!m_oFavorites) {
            return;
        }
        const std::vector<FavoriteRecord> colRecords = m_oFavorites->GetFavorites();
        ++m_iFavoritesRebuilds;
        if (m_lActiveView == ViewFavorites) {
            SetExploreOpen(false);
        }
        const std::string sSelected = m_lvwFavorites->SelectedKey();
        const int iSortKey = m_lvwFavorites->SortKey();
        const int iSortOrder = m_lvwFavorites->SortOrder();
        // Filled unsorted and without image lists attached, then sorted and drawn once: every
        // image added to an attached list would lay the whole list out again.
        m_lvwFavorites->SetSorted(false);
        m_lvwFavorites->ClearItems();
        m_colFavoritesTargets.clear();
        m_lvwFavorites->SetIcons(nullptr);
        m_lvwFavorites->SetSmallIcons(nullptr);
        for (const FavoriteRecord& oRecord : colRecords) {
            const std::string sKey = "K" + oRecord.File;
            if (oRecord.DaysAccessed < m_lFavoritesThreshold || m_lvwFavorites->Contains(sKey)) {
                continue;
            }
            const std::string sTarget = JoinPath(oRecord.WorkingDirectory, oRecord.TargetFileName);
            const std::int32_t lIcon = MDayfold::IsBlank(oRecord.TargetFileName)
                                           ? 1
                                           : FavoritesImageListIndex(oRecord.File, sTarget);
            m_colFavoritesTargets[sKey] = sTarget;
            // The folder keeps its letter case: on this system it is part of the name.
            m_lvwFavorites->AddItem(sKey, oRecord.TargetFileName, lIcon, lIcon,
                                    {oRecord.TargetClass, oRecord.WorkingDirectory,
                                     PaddedCount(oRecord.DaysAccessed),
                                     SortableDateTime(oRecord.LastAccessed)});
        }
        m_lvwFavorites->SetIcons(m_imlMain[3]);
        m_lvwFavorites->SetSmallIcons(m_imlMain[4]);
        m_lvwFavorites->SetSortKey(iSortKey);
        m_lvwFavorites->SetSortOrder(iSortOrder);
        m_lvwFavorites->SetSorted(true);
        if (!sSelected.empty() && m_lvwFavorites->Contains(sSelected)) {
            m_lvwFavorites->SetSelectedKey(sSelected);
        }
    } catch (const std::exception& oError) {
        m_lvwFavorites->SetIcons(m_imlMain[3]);
        m_lvwFavorites->SetSmallIcons(m_imlMain[4]);
        m_lvwFavorites->SetSorted(true);
        MDayfold::LogError(oError, "FMain.RefreshFavorites", false);
    }
    UpdateFavoritesEmptyNote();
}

void FMain::UpdateFavoritesEmptyNote() {
    // An empty list says what it waits for, and where the threshold is changed.
    std::string sNote;
    if (m_lvwFavorites->Count() == 0) {
        sNote = m_lFavoritesThreshold <= 1
                    ? MResources::LoadResString(161)
                    : MResources::LoadResString(160, {std::to_string(m_lFavoritesThreshold)});
    }
    SetEmptyNote(*m_lblFavoritesEmpty, *m_lvwFavorites, sNote);
}

void FMain::SetEmptyNote(QLabel& oNote, const CListView& oList, const std::string& sNote) {
    oNote.setText(QString::fromStdString(sNote));
    oNote.setVisible(!sNote.empty());
    PlaceEmptyNote(oNote, oList);
}

void FMain::PlaceEmptyNote(QLabel& oNote, const CListView& oList) {
    // Over the list's items whatever their style: below the column headers in details; as high
    // as its wrapped lines need.
    const int iTop = oList.View() == CListView::StyleDetails ? 28 : 8;
    const int iWidth = std::max(oList.width() - 24, 0);
    const int iHeight =
        std::max(oNote.heightForWidth(iWidth), oNote.fontMetrics().lineSpacing() * 3);
    oNote.setGeometry(12, iTop, iWidth, iHeight);
}

void FMain::RefreshStatusBar(std::unique_ptr<CWaitCursor>& pWaitCursor) {
    try {
        pWaitCursor.reset();
        std::int32_t lCount = 0;
        if (SearchShown()) {
            lCount = m_lvwSearch->Count();
        } else if (m_lActiveView == ViewDaily) {
            lCount = m_lvwDaily->Count();
        } else if (m_lActiveView == ViewFavorites) {
            lCount = m_lvwFavorites->Count();
        } else {
            return;
        }
        m_sbrMain->SetSimpleText(MResources::LoadResString(162, {std::to_string(lCount)}));
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.RefreshStatusBar", false);
    }
}

void FMain::SelectDate(const CDateTime& dDate) {
    MDayfold::Assert().Assert(!dDate.IsEmpty(), "FMain.SelectDate: Selected date is missing");
    try {
        const std::string sKey = "K" + MDayfold::AppPath() + "/Daily/" + dDate.YearText() + "/" +
                                 dDate.MonthName() + "/" + dDate.DayText();
        if (m_tvwMain->Contains(sKey)) {
            m_tvwMain->SetSelectedKey(sKey);
            LoadDailyListView(m_tvwMain->SelectedKey());
        } else {
            m_tvwMain->ClearSelection();
            LoadDailyListView("");
            m_lblDailyEmpty->setText(QString::fromStdString(
                MResources::LoadResString(159, {dDate.MonthName(), std::to_string(dDate.Day()),
                                                std::to_string(dDate.Year())})));
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.SelectDate", false);
    }
}

void FMain::SetExploreOpen(bool bEnabled) {
    try {
        // The toolbar's folder buttons show these actions: they follow.
        m_oActions.pExplore->setEnabled(bEnabled);
        m_oActions.pOpenFolder->setEnabled(bEnabled);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.SetExploreOpen", false);
    }
}

void FMain::FindLatestDay() {
    MDayfold::Assert().Assert(m_oCalendar != nullptr,
                              "FMain.FindLatestDay: Calendar object is nothing");
    try {
        const CDateTime dLatest = MDayfold::Repository().FindLatestDay();
        if (!dLatest.IsEmpty() && m_oCalendar) {
            m_oCalendar->SetValue(dLatest);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.FindLatestDay", false);
    }
}

std::int32_t FMain::DailyImageListIndex(const std::string& sFile, const std::string& sTarget) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sFile),
                              "FMain.DailyImageListIndex: Shortcut file name is missing");
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sTarget),
                              "FMain.DailyImageListIndex: Target file name is missing");
    try {
        return CachedImageIndex(*m_imlMain[1], *m_imlMain[2], *m_pIconCache, sTarget);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.DailyImageListIndex", false);
        return 1;
    }
}

std::int32_t FMain::FavoritesImageListIndex(const std::string& sFile, const std::string& sTarget) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sFile),
                              "FMain.FavoritesImageListIndex: Shortcut file name is missing");
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sTarget),
                              "FMain.FavoritesImageListIndex: Target file name is missing");
    try {
        return CachedImageIndex(*m_imlMain[3], *m_imlMain[4], *m_pIconCache, sTarget);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.FavoritesImageListIndex", false);
        return 1;
    }
}

void FMain::m_oCalendar_DateChange(const CDateTime& dNewDate) {
    try {
        if (!m_bSyncingCalendar) {
            SelectDate(dNewDate);
            auto pWaitCursor = std::make_unique<CWaitCursor>();
            RefreshStatusBar(pWaitCursor);
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 124, "FMain.m_oCalendar_DateChange");
    }
}

void FMain::m_oDaily_TreeViewNodeClick(const std::string& sNodeKey) {
    MDayfold::Assert().Assert(m_oCalendar != nullptr,
                              "FMain.m_oDaily_TreeViewNodeClick: Calendar object is nothing");
    try {
        if (m_tvwMain->Children(sNodeKey) > 0) {
            LoadDailyListView("");
            std::unique_ptr<CWaitCursor> pNoWaitCursor;
            RefreshStatusBar(pNoWaitCursor);
            return;
        }
        auto pWaitCursor = std::make_unique<CWaitCursor>();
        pWaitCursor->SetMessage(*m_pStatusText, MResources::LoadResString(155));
        LoadDailyListView(sNodeKey);
        const CDateTime dDay = MDayfold::PathToDate(sNodeKey);
        if (!dDay.IsEmpty() && m_oCalendar) {
            // The calendar's own date change must not load the list a second time.
            struct SSyncing {
                bool& bFlag;
                explicit SSyncing(bool& bSyncing) : bFlag(bSyncing) { bFlag = true; }
                ~SSyncing() { bFlag = false; }
            } oSyncing(m_bSyncingCalendar);
            m_oCalendar->SetValue(dDay);
        }
        RefreshStatusBar(pWaitCursor);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 124, "FMain.m_oDaily_TreeViewNodeClick");
    }
}
