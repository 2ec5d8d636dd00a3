// The two document views over real controls: their columns and settings groups, the sort by
// header clicks, sizing, and the translation of raw list and tree input into their events.
#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <QWidget>

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

std::string Setting(const std::string& sGroup, const std::string& sName) {
    try {
        return MDayfold::Registry()
            .KeyFromPath(MSettings::GroupPath(sGroup))
            .Values()
            .Item(sName)
            .Value();
    } catch (const std::exception&) {
        return "<missing>";
    }
}

// A Daily view on its own controls, with recorded events.
class DailyView : public ::testing::Test {
protected:
    DailyView() {
        m_oContainer.resize(600, 400);
        m_pList = new CListView(&m_oContainer);
        m_pList->Move(2460, 0, 3000, 3000);
        m_pTree = new CTreeView(&m_oContainer);
        m_pTree->Move(0, 2400, 2415, 1000);
        m_oContainer.move(0, 28);
        m_oDaily.SetListView(m_pList);
        m_oDaily.SetTreeView(m_pTree);
        m_oDaily.SetContainer(&m_oContainer);
        m_oDaily.SetBeeper([this] { ++m_iBeeps; });
        m_oDaily.ListViewDblClick = [this](const std::string& sKey) {
            m_colOpened.push_back(sKey);
        };
        m_oDaily.ListViewPopupMenu = [this](float fX, float fY) {
            m_colPopups.emplace_back(fX, fY);
        };
        m_oDaily.TreeViewNodeClick = [this](const std::string& sKey) { m_sNode = sKey; };
    }

    void AddItems() {
        m_pList->AddItem("Kb", "b.txt", 0, 0, {"Text", "/home/ann", "09:00"});
        m_pList->AddItem("Ka", "a.doc", 0, 0, {"Word", "/home/bob", "10:00"});
    }

    CProgramWorld m_oWorld;
    QWidget m_oContainer;
    CListView* m_pList;
    CTreeView* m_pTree;
    CDaily m_oDaily;
    int m_iBeeps = 0;
    std::vector<std::string> m_colOpened;
    std::vector<std::pair<float, float>> m_colPopups;
    std::string m_sNode;
};

TEST_F(DailyView, FirstStartCreatesTheGroupAndSortsByType) {
    m_oDaily.RestoreSettings();
    EXPECT_EQ(m_pList->ColumnHeaderCount(), 4);
    EXPECT_EQ(m_pList->ColumnCaption(4), "Accessed");
    EXPECT_EQ(m_pList->ColumnAlignment(4), CListView::ColumnRight);
    for (const char* szName : {"Name Width", "Type Width", "Path Width", "Modified Width"}) {
        EXPECT_EQ(Setting("Daily", szName), "1440") << szName;
    }
    EXPECT_EQ(Setting("Daily", "Sort Column"), "1");
    EXPECT_EQ(Setting("Daily", "Sort Order"), "0");
    AddItems();
    EXPECT_EQ(m_pList->KeyAt(1), "Kb"); // "Text" before "Word"
}

TEST_F(DailyView, StoredWidthsApplyAndBadOnesAreSkipped) {
    MSettings::CreateRegistryKeys(MDayfold::Registry(), "Daily",
                                  {{"Name Width", "2000"},
                                   {"Type Width", "abc"},
                                   {"Path Width", "99999"},
                                   {"Modified Width", "-5"},
                                   {"Sort Column", "3"},
                                   {"Sort Order", "1"}});
    m_oDaily.RestoreSettings();
    EXPECT_EQ(m_pList->ColumnWidth(1), 2000);
    EXPECT_EQ(m_pList->ColumnWidth(2), 1440);
    EXPECT_EQ(m_pList->ColumnWidth(3), 1440);
    EXPECT_EQ(m_pList->ColumnWidth(4), 1440);
    EXPECT_EQ(m_pList->SortKey(), 3);
    EXPECT_EQ(m_pList->SortOrder(), 1);

    m_pList->SetColumnWidth(2, 1800);
    m_oDaily.SaveSettings();
    EXPECT_EQ(Setting("Daily", "Type Width"), "1800");
    EXPECT_EQ(Setting("Daily", "Name Width"), "2000");
}

TEST_F(DailyView, HeaderClicksKeepTheOrderAcrossColumnsAndFlipOnTheSame) {
    AddItems();
    m_oDaily.RestoreSettings();
    emit m_pList->ColumnClick(3); // path, ascending
    EXPECT_EQ(m_pList->SortKey(), 2);
    EXPECT_EQ(m_pList->SortOrder(), 0);
    emit m_pList->ColumnClick(3); // path, descending
    EXPECT_EQ(m_pList->SortOrder(), 1);
    EXPECT_EQ(m_pList->KeyAt(1), "Ka");
    emit m_pList->ColumnClick(2); // type keeps descending
    EXPECT_EQ(m_pList->SortKey(), 1);
    EXPECT_EQ(m_pList->SortOrder(), 1);
    emit m_pList->ColumnClick(2);
    EXPECT_EQ(m_pList->SortOrder(), 0);
}

TEST_F(DailyView, KeysAndButtonsBecomeEventsOnlyWithASelection) {
    AddItems();
    emit m_pList->KeyUp(MInputCodes::KeyReturn, 0);
    emit m_pList->MouseUp(MInputCodes::RightButton, 0, 300, 150);
    emit m_pList->DblClick();
    EXPECT_TRUE(m_colOpened.empty());
    EXPECT_TRUE(m_colPopups.empty());

    m_pList->SetSelectedKey("Ka");
    emit m_pList->KeyUp(MInputCodes::KeyReturn, 0);
    emit m_pList->DblClick();
    EXPECT_EQ(m_colOpened, (std::vector<std::string>{"Ka", "Ka"}));

    emit m_pList->KeyUp(MInputCodes::KeyF10, MInputCodes::ShiftMask);
    EXPECT_TRUE(m_colPopups.empty());
    emit m_pList->KeyUp(MInputCodes::KeyF10, MInputCodes::AltMask);
    ASSERT_EQ(m_colPopups.size(), 1u);
    EXPECT_EQ(m_colPopups[0].first, static_cast<float>(0 + 2460 + m_pList->ItemLeft("Ka") + 600));
    EXPECT_EQ(m_colPopups[0].second,
              static_cast<float>(MTwips::FromPixels(28) + 0 + m_pList->ItemTop("Ka") + 200));

    emit m_pList->MouseUp(MInputCodes::RightButton, 0, 300, 150);
    ASSERT_EQ(m_colPopups.size(), 2u);
    EXPECT_EQ(m_colPopups[1], std::make_pair(2460.0F + 300.0F, 420.0F + 150.0F));
    emit m_pList->MouseUp(MInputCodes::LeftButton, 0, 300, 150);
    EXPECT_EQ(m_colPopups.size(), 2u);

    m_pTree->AddNode("", "Kroot", "Daily", 1);
    emit m_pTree->NodeClick("Kroot");
    EXPECT_EQ(m_sNode, "Kroot");
}

TEST_F(DailyView, FolderCommandsWithoutADocumentOnlyBeep) {
    AddItems();
    m_oDaily.Explore();
    m_oDaily.OpenFolder();
    EXPECT_EQ(m_iBeeps, 2);
    EXPECT_EQ(m_oWorld.ErrorLog(), "");
}

TEST_F(DailyView, TheContainerLaysOutTheTreeAndTheList) {
    m_oDaily.SetSize(9000, 6000);
    EXPECT_EQ(MTwips::Width(m_oContainer), 9000);
    EXPECT_EQ(MTwips::Top(m_oContainer), MTwips::FromPixels(28));
    EXPECT_EQ(m_pList->Left(), 2460);
    EXPECT_EQ(m_pList->Width(), 9000 - 2460 + 30);
    EXPECT_EQ(m_pList->Height(), 6000 + 30);
    EXPECT_EQ(m_pTree->Height(), 6000 - 2400 + 30);
    EXPECT_EQ(m_pTree->Width(), 2415);

    m_oDaily.SetView(CListView::StyleList);
    EXPECT_EQ(m_oDaily.View(), CListView::StyleList);
    m_oDaily.RemoveDocument("Kmissing");
    EXPECT_NE(m_oWorld.ErrorLog().find("CDaily.RemoveDocument"), std::string::npos);
}

// The Favorites view over its list.
class FavoritesView : public ::testing::Test {
protected:
    FavoritesView() {
        m_oFavorites.SetAppPath(m_oWorld.AppPath());
        m_oContainer.move(0, 28);
        m_oFavorites.SetContainer(&m_oContainer);
        m_oFavorites.SetDailyFolder("Daily");
        m_pList = new CListView(&m_oContainer);
        m_oFavorites.SetListView(m_pList);
        m_oFavorites.DblClick = [this](const std::string& sKey) { m_colOpened.push_back(sKey); };
        m_oFavorites.ItemClick = [this] { ++m_iClicks; };
        m_oFavorites.PopupMenu = [this](float fX, float fY) { m_colPopups.emplace_back(fX, fY); };
    }

    CProgramWorld m_oWorld;
    QWidget m_oContainer;
    CListView* m_pList;
    CFavorites m_oFavorites;
    std::vector<std::string> m_colOpened;
    std::vector<std::pair<float, float>> m_colPopups;
    int m_iClicks = 0;
};

TEST_F(FavoritesView, FirstStartCreatesFiveWidthsAndSortsByType) {
    m_oFavorites.RestoreSettings();
    ASSERT_EQ(m_pList->ColumnHeaderCount(), 5);
    EXPECT_EQ(m_pList->ColumnCaption(4), "Days Accessed");
    EXPECT_EQ(m_pList->ColumnCaption(5), "Last Accessed");
    for (const char* szName :
         {"Name Width", "Type Width", "Path Width", "Days Accessed Width", "Last Accessed Width"}) {
        EXPECT_EQ(Setting("Favorites", szName), "1440") << szName;
    }
    EXPECT_EQ(Setting("Favorites", "Sort Column"), "1");
    EXPECT_TRUE(m_pList->Sorted());
    EXPECT_EQ(m_pList->SortKey(), 1);
}

TEST_F(FavoritesView, ItemsAreRemovedByKeyAndEventsNeedASelection) {
    m_pList->AddItem("Kx", "x.txt", 0, 0, {"Text", "/docs", "    3", "1998/03/17 09:30"});
    EXPECT_FALSE(m_oFavorites.RemoveDocument("Kmissing"));
    EXPECT_EQ(m_pList->Count(), 1);

    emit m_pList->KeyUp(MInputCodes::KeyF10, MInputCodes::AltMask);
    EXPECT_TRUE(m_colPopups.empty());
    m_pList->SetSelectedKey("Kx");
    emit m_pList->ItemClick("Kx");
    EXPECT_EQ(m_iClicks, 1);
    emit m_pList->KeyUp(MInputCodes::KeyReturn, 0);
    EXPECT_EQ(m_colOpened, std::vector<std::string>{"Kx"});
    emit m_pList->KeyUp(MInputCodes::KeyF10, MInputCodes::ShiftMask);
    EXPECT_TRUE(m_colPopups.empty());
    emit m_pList->MouseUp(MInputCodes::RightButton, 0, 15, 30);
    ASSERT_EQ(m_colPopups.size(), 1u);
    EXPECT_EQ(m_colPopups[0], std::make_pair(15.0F, 420.0F + 30.0F));

    EXPECT_TRUE(m_oFavorites.RemoveDocument("Kx"));
    EXPECT_EQ(m_pList->Count(), 0);
}

TEST_F(FavoritesView, TheListFillsItsContainerExactly) {
    m_oFavorites.SetSize(6000, 3000);
    EXPECT_EQ(m_pList->Width(), 6000);
    EXPECT_EQ(m_pList->Height(), 3000);
    // A width of 0 is noted in the event log and still applied.
    m_oFavorites.SetSize(0, 3000);
    EXPECT_EQ(MTwips::Width(m_oContainer), 0);
    EXPECT_NE(m_oWorld.EventLog().find("CFavorites.SetSize: Invalid width"), std::string::npos);
}

} // namespace
