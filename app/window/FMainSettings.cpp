// FMain: the settings groups "Window" (bounds, state, visibility) and "View" (active view and
// list style), restored at start-up and saved when the window really closes.
#include "app/core/MDayfold.h"
#include "app/core/MSettings.h"
#include "app/views/CDaily.h"
#include "app/views/MListSettings.h"
#include "app/window/FMain.h"
#include "commonlibrary/Library.h"
#include "platform/controls/MTwips.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"

#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {
constexpr const char* WindowGroup = "Window";
constexpr const char* ViewGroup = "View";
// A stored size below this (pixels) leaves the design size: the window must stay usable.
constexpr int MinimumWidthPixels = 200;
constexpr int MinimumHeightPixels = 150;
// Twips of any position on any screen set-up the program can meet.
constexpr int PositionLimit = 2000000;

CRegistryValues OpenGroup(const char* szGroup) {
    CRegistryValues oValues =
        MDayfold::Registry().KeyFromPath(MSettings::GroupPath(szGroup)).Values();
    oValues.Count(); // a missing group raises here
    return oValues;
}

std::optional<int> ReadNumber(const CRegistryValues& oValues, const char* szName, int lMinimum,
                              int lMaximum) {
    try {
        return MListSettings::StoredNumber(oValues.Item(szName).Value(), lMinimum, lMaximum);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void WriteValue(CRegistryValues& oValues, const char* szName, const std::string& sValue) {
    try {
        try {
            oValues.Item(szName).SetValue(sValue);
        } catch (const std::exception&) {
            oValues.Add(szName, sValue, CRegistryValues::StringType);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.Form_Unload", false);
    }
}

int WindowStateCode(Qt::WindowStates eState) {
    if ((eState & Qt::WindowMinimized) != 0) {
        return 1;
    }
    return (eState & Qt::WindowMaximized) != 0 ? 2 : 0;
}
} // namespace

void FMain::CreateWindowRegistryKeys() {
    try {
        MSettings::CreateRegistryKeys(
            MDayfold::Registry(), WindowGroup,
            {{"Visible", "True"},
             {"Window State", std::to_string(WindowStateCode(windowState()))},
             {"Left", std::to_string(MTwips::FromPixels(x()))},
             {"Top", std::to_string(MTwips::FromPixels(y()))},
             {"Width", std::to_string(MTwips::FromPixels(width()))},
             {"Height", std::to_string(MTwips::FromPixels(height()))}});
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.CreateWindowRegistryKeys", false);
    }
}

void FMain::CreateViewRegistryKeys() {
    try {
        MSettings::CreateRegistryKeys(MDayfold::Registry(), ViewGroup,
                                      {{"Data", "0"}, {"ListViews", "3"}});
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.CreateViewRegistryKeys", false);
    }
}

void FMain::RestoreWindowSettings() {
    std::optional<CRegistryValues> oValues;
    try {
        oValues = OpenGroup(WindowGroup);
    } catch (const std::exception&) {
        // First run: the design size, centred on the screen, becomes the stored one.
        MDayfold::Library().CenterWindow(this);
        CreateWindowRegistryKeys();
    }
    try {
        if (!oValues) {
            oValues = OpenGroup(WindowGroup);
        }
        // Each value that is missing, not a number or out of range keeps what the window has.
        const auto oiLeft = ReadNumber(*oValues, "Left", -PositionLimit, PositionLimit);
        const auto oiTop = ReadNumber(*oValues, "Top", -PositionLimit, PositionLimit);
        const auto oiWidth =
            ReadNumber(*oValues, "Width", MTwips::FromPixels(MinimumWidthPixels), PositionLimit);
        const auto oiHeight =
            ReadNumber(*oValues, "Height", MTwips::FromPixels(MinimumHeightPixels), PositionLimit);
        const int iX = oiLeft ? MTwips::ToPixels(*oiLeft) : x();
        const int iY = oiTop ? MTwips::ToPixels(*oiTop) : y();
        const int iWidth = oiWidth ? MTwips::ToPixels(*oiWidth) : width();
        const int iHeight = oiHeight ? MTwips::ToPixels(*oiHeight) : height();
        // Left and Top are the frame's corner, Width and Height the inside's size, as they are
        // saved.
        resize(iWidth, iHeight);
        move(iX, iY);
        BringOntoScreen();
        if (ReadNumber(*oValues, "Window State", 0, 2).value_or(0) == 2) {
            setWindowState(Qt::WindowMaximized);
        }
        std::string sVisible = "True";
        try {
            sVisible = oValues->Item("Visible").Value();
        } catch (const std::exception&) {
        }
        m_bStoredVisible = sVisible != "False" && sVisible != "false" && sVisible != "0";
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.RestoreWindowSettings", false);
    }
}

void FMain::BringOntoScreen() {
    // A window stored on a screen that is gone (or edited by hand) comes back onto the screen:
    // at least a corner of its title bar must be on one, else it is centred on the primary.
    const QRect oBounds(pos(), size());
    const QRect oGrip(oBounds.x(), oBounds.y(), std::min(oBounds.width(), 100), 30);
    for (const QScreen* pScreen : QGuiApplication::screens()) {
        const QRect oShared = pScreen->availableGeometry().intersected(oGrip);
        if (oShared.width() >= 40 && oShared.height() >= 20) {
            return;
        }
    }
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    if (pPrimary == nullptr) {
        return;
    }
    const QRect oScreen = pPrimary->availableGeometry();
    const int iWidth = std::min(oBounds.width(), oScreen.width());
    const int iHeight = std::min(oBounds.height(), oScreen.height());
    resize(iWidth, iHeight);
    move(oScreen.x() + (oScreen.width() - iWidth) / 2,
         oScreen.y() + (oScreen.height() - iHeight) / 2);
}

void FMain::RestoreViewSettings() {
    std::optional<CRegistryValues> oValues;
    try {
        oValues = OpenGroup(ViewGroup);
    } catch (const std::exception&) {
        CreateViewRegistryKeys();
    }
    std::int32_t lView = ViewDaily;
    std::int32_t lStyle = 3;
    try {
        if (!oValues) {
            oValues = OpenGroup(ViewGroup);
        }
        // A view or style that does not exist would leave the window empty: the design
        // values stand in.
        lView = ReadNumber(*oValues, "Data", ViewDaily, ViewFavorites).value_or(ViewDaily);
        lStyle = ReadNumber(*oValues, "ListViews", 0, 3).value_or(3);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.RestoreViewSettings", false);
    }
    SetActiveView(lView);
    SetListView(lStyle);
}

void FMain::SaveWindowSettings() {
    try {
        CRegistryValues oValues = [this] {
            try {
                return OpenGroup(WindowGroup);
            } catch (const std::exception&) {
                CreateWindowRegistryKeys();
                return OpenGroup(WindowGroup);
            }
        }();
        WriteValue(oValues, "Visible", isVisible() ? "True" : "False");
        const int iState = WindowStateCode(windowState());
        WriteValue(oValues, "Window State", std::to_string(iState));
        if (iState == 0) {
            WriteValue(oValues, "Left", std::to_string(MTwips::FromPixels(x())));
            WriteValue(oValues, "Top", std::to_string(MTwips::FromPixels(y())));
            WriteValue(oValues, "Width", std::to_string(MTwips::FromPixels(width())));
            WriteValue(oValues, "Height", std::to_string(MTwips::FromPixels(height())));
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.Form_Unload", false);
    }
}

void FMain::SaveViewSettings() {
    try {
        CRegistryValues oValues = [this] {
            try {
                return OpenGroup(ViewGroup);
            } catch (const std::exception&) {
                CreateViewRegistryKeys();
                return OpenGroup(ViewGroup);
            }
        }();
        WriteValue(oValues, "Data", std::to_string(m_lActiveView));
        WriteValue(oValues, "ListViews", std::to_string(m_oDaily ? m_oDaily->View() : 3));
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.Form_Unload", false);
    }
}
