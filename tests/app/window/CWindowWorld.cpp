#include "app/window/CWindowWorld.h"

#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "platform/controls/CListView.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <filesystem>

CWindowWorld::CWindowWorld() {
    std::filesystem::create_directories(m_oWorld.Temp() / "docs");
}

CWindowWorld::~CWindowWorld() {
    m_pMain.reset();
}

FMain& CWindowWorld::Load(bool bTrayAvailable) {
    m_pMain.reset();
    FMain::SStart oStart;
    oStart.sRecentFolder = m_oWorld.RecentFolder();
    oStart.pFileTypes = &m_oWorld.FileTypes();
    oStart.obTrayAvailable = bTrayAvailable;
    m_pMain = std::make_unique<FMain>(oStart);
    m_pMain->Form_Load();
    return *m_pMain;
}

FMain& CWindowWorld::Restart(bool bTrayAvailable) {
    Unload();
    return Load(bTrayAvailable);
}

void CWindowWorld::Unload() {
    if (m_pMain) {
        m_pMain->SetExiting(true);
        m_pMain->close();
        m_pMain.reset();
    }
}

void CWindowWorld::Tick(const CDateTime& dNow) {
    m_oWorld.Clock().SetNow(dNow);
    m_pMain->tmrMain_Timer();
}

std::string CWindowWorld::OpenDocument(const std::string& sName, const CDateTime& dWritten,
                                       const std::string& sTarget) {
    const std::string sDocument = sTarget.empty() ? m_oWorld.Temp() / ("docs/" + sName) : sTarget;
    return m_oWorld.MakeRecentShortcut(sName + ".lnk", sDocument, dWritten,
                                       std::filesystem::path(sDocument).parent_path().string());
}

std::string CWindowWorld::FolderKey(const std::string& sBelowDaily) const {
    return "K" + m_oWorld.DailyPath() + (sBelowDaily.empty() ? "" : "/" + sBelowDaily);
}

std::string CWindowWorld::Setting(const std::string& sGroup, const std::string& sName) const {
    try {
        return MDayfold::Registry()
            .KeyFromPath(MSettings::GroupPath(sGroup))
            .Values()
            .Item(sName)
            .Value();
    } catch (const std::exception&) {
        return "";
    }
}

void CWindowWorld::SetSetting(const std::string& sGroup, const std::string& sName,
                              const std::string& sValue) {
    MSettings::CreateRegistryKeys(MDayfold::Registry(), sGroup, {});
    CRegistryValues oValues =
        MDayfold::Registry().KeyFromPath(MSettings::GroupPath(sGroup)).Values();
    try {
        oValues.Item(sName).SetValue(sValue);
    } catch (const std::exception&) {
        oValues.Add(sName, sValue, CRegistryValues::StringType);
    }
}

std::vector<std::string> CWindowWorld::Keys(const CListView& oList) {
    std::vector<std::string> colKeys;
    for (std::int32_t i = 1; i <= oList.Count(); ++i) {
        colKeys.push_back(oList.KeyAt(i));
    }
    return colKeys;
}

std::vector<std::string> CWindowWorld::Column(const CListView& oList, int iColumn) {
    std::vector<std::string> colTexts;
    for (const std::string& sKey : Keys(oList)) {
        colTexts.push_back(iColumn == 0 ? oList.ItemText(sKey) : oList.SubItem(sKey, iColumn));
    }
    return colTexts;
}
