// The Favorites view: the list side of CFavorites.
#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/views/CFavorites.h"
#include "app/views/CResizeWatcher.h"
#include "app/views/MListSettings.h"
#include "platform/controls/CListView.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CFileManager.h"

#include <QApplication>
#include <QWidget>

namespace {
const std::vector<std::string>& WidthNames() {
    static const std::vector<std::string> colNames = {"Name Width", "Type Width", "Path Width",
                                                      "Days Accessed Width", "Last Accessed Width"};
    return colNames;
}

template <typename F>
void Logged(const char* szSource, F&& fn) {
    try {
        fn();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, szSource, false);
    }
}
} // namespace

void CFavorites::SetContainer(QWidget* pContainer) {
    m_pContainer = pContainer;
    if (!m_pContainerWatcher) {
        auto pWatcher = std::make_shared<CResizeWatcher>(nullptr);
        pWatcher->Resized = [this] { Favorites_Resize(); };
        m_pContainerWatcher = pWatcher;
    }
    static_cast<CResizeWatcher*>(m_pContainerWatcher.get())->Watch(pContainer);
}

void CFavorites::SetListView(CListView* pListView) {
    m_pListConnections.reset();
    m_pListView = pListView;
    if (pListView == nullptr) {
        return;
    }
    if (pListView->ColumnHeaderCount() == 0) {
        MListSettings::AddColumns(
            *pListView, "CFavorites",
            {{QT_TRANSLATE_NOOP("CFavorites", "Name"), CListView::ColumnLeft,
              MListSettings::WideColumnWidth},
             {QT_TRANSLATE_NOOP("CFavorites", "Type"), CListView::ColumnLeft, 1440},
             {QT_TRANSLATE_NOOP("CFavorites", "Path"), CListView::ColumnLeft,
              MListSettings::WideColumnWidth},
             {QT_TRANSLATE_NOOP("CFavorites", "Days Accessed"), CListView::ColumnRight, 1440},
             {QT_TRANSLATE_NOOP("CFavorites", "Last Accessed"), CListView::ColumnRight,
              MListSettings::DateTimeColumnWidth}});
    }
    m_pListConnections = std::make_shared<QObject>();
    QObject* pContext = m_pListConnections.get();
    QObject::connect(pListView, &CListView::ColumnClick, pContext,
                     [this](int iColumn) { lvwFavorites_ColumnClick(iColumn); });
    QObject::connect(pListView, &CListView::KeyUp, pContext,
                     [this](int iKeyCode, int iShift) { ListView_KeyUp(iKeyCode, iShift); });
    QObject::connect(pListView, &CListView::MouseUp, pContext,
                     [this](int iButton, int iShift, std::int32_t lX, std::int32_t lY) {
                         ListView_MouseUp(iButton, iShift, lX, lY);
                     });
    QObject::connect(pListView, &CListView::DblClick, pContext, [this] { ListView_DblClick(); });
    QObject::connect(pListView, &CListView::ItemClick, pContext,
                     [this](const std::string&) { ListView_ItemClick(); });
}

std::string CFavorites::SelectedDocument() const {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.SelectedDocument: ListView is Nothing");
    return m_pListView != nullptr ? m_pListView->SelectedKey() : std::string();
}

std::int32_t CFavorites::View() const {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CFavorites.View: ListView is Nothing");
    return m_pListView != nullptr ? m_pListView->View() : 0;
}

void CFavorites::SetView(std::int32_t lView) {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CFavorites.View: ListView is Nothing");
    Logged("CFavorites.View", [&] { m_pListView->SetView(lView); });
}

bool CFavorites::Visible() const {
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CFavorites.Visible: Container is Nothing");
    return m_pContainer != nullptr && !m_pContainer->isHidden();
}

void CFavorites::SetVisible(bool bVisible) {
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CFavorites.Visible: Container is Nothing");
    if (m_pContainer != nullptr) {
        m_pContainer->setVisible(bVisible);
    }
}

void CFavorites::ArrangeIcons(std::int32_t lOrder) {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.ArrangeIcons: ListView is Nothing");
    Logged("CFavorites.ArrangeIcons", [&] {
        switch (lOrder) {
        case 0:
        case 1:
            m_pListView->SetSortKey(lOrder);
            m_pListView->SetSortOrder(CListView::Ascending);
            m_pListView->SetSorted(true);
            break;
        case 2:
            m_pListView->SetArrange(CListView::ArrangeTop);
            break;
        case 3:
            m_pListView->SetArrange(CListView::ArrangeNone);
            break;
        default:
            break;
        }
    });
}

bool CFavorites::SelectedTarget(std::string& sTarget, std::string& sFolder, const char* szSource) {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              std::string(szSource) + ": ListView is Nothing");
    const std::string sKey = m_pListView != nullptr ? m_pListView->SelectedKey() : std::string();
    if (sKey.empty()) {
        if (m_fBeep) {
            m_fBeep();
        } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
            QApplication::beep();
        }
        return false;
    }
    // The item holds the document's folder and name as the store keeps them.
    sFolder = m_pListView->SubItem(sKey, 2);
    const std::string& sName = m_pListView->ItemText(sKey);
    sTarget = sFolder.empty() || sFolder.back() == '/' ? sFolder + sName : sFolder + "/" + sName;
    return true;
}

void CFavorites::Explore() {
    Logged("CFavorites.Explore", [&] {
        std::string sTarget;
        std::string sFolder;
        if (!SelectedTarget(sTarget, sFolder, "CFavorites.Explore")) {
            return;
        }
        if (m_pFileManager == nullptr || !m_pFileManager->ShowItem(sTarget)) {
            throw CRunTimeError(RunTimeErrors::PathNotFound, "No file manager shows " + sTarget);
        }
    });
}

void CFavorites::OpenFolder() {
    Logged("CFavorites.OpenFolder", [&] {
        std::string sTarget;
        std::string sFolder;
        if (!SelectedTarget(sTarget, sFolder, "CFavorites.OpenFolder")) {
            return;
        }
        if (m_pFileManager == nullptr || !m_pFileManager->OpenFolder(sFolder)) {
            throw CRunTimeError(RunTimeErrors::PathNotFound, "No file manager opens " + sFolder);
        }
    });
}

bool CFavorites::RemoveDocument(const std::string& sKey) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sKey),
                              "CFavorites.RemoveDocument: Key is missing");
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.RemoveDocument: ListView is Nothing");
    try {
        m_pListView->RemoveItem(sKey);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void CFavorites::RestoreSettings() {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.RestoreSettings: ListView is Nothing");
    Logged("CFavorites.RestoreSettings",
           [&] { MListSettings::Restore(*m_pListView, GroupName, WidthNames()); });
}

void CFavorites::SaveSettings() {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.SaveSettings: ListView is Nothing");
    if (m_pListView != nullptr) {
        MListSettings::Save(*m_pListView, GroupName, WidthNames());
    }
}

void CFavorites::SetSize(std::int32_t lWidth, std::int32_t lHeight) {
    MDayfold::Assert().Assert(lWidth >= 1, "CFavorites.SetSize: Invalid width");
    MDayfold::Assert().Assert(lHeight >= 1, "CFavorites.SetSize: Invalid height");
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CFavorites.SetSize: Container is Nothing");
    Logged("CFavorites.SetSize", [&] {
        MTwips::Move(*m_pContainer, MTwips::Left(*m_pContainer), MTwips::Top(*m_pContainer), lWidth,
                     lHeight);
    });
    // A hidden container gets its resize event only when shown: lay out now all the same.
    Favorites_Resize();
}

void CFavorites::Favorites_Resize() {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CFavorites.Container_Resize: ListView is Nothing");
    if (m_pListView == nullptr || m_pContainer == nullptr) {
        return;
    }
    try {
        m_pListView->Move(m_pListView->Left(), m_pListView->Top(), MTwips::Width(*m_pContainer),
                          MTwips::Height(*m_pContainer));
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 122, "CFavorites.Favorites_Resize");
    }
}

void CFavorites::lvwFavorites_ColumnClick(int iColumn) {
    try {
        MListSettings::ColumnClick(*m_pListView, iColumn, m_iLastColumn, m_iSortOrder);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 142, "CFavorites.lvwFavorites_ColumnClick");
    }
}

void CFavorites::ListView_KeyUp(int iKeyCode, int iShift) {
    MDayfold::Assert().Assert(m_pContainer != nullptr,
                              "CFavorites.ListView_KeyUp: Container is Nothing");
    Logged("CFavorites.ListView_KeyUp", [&] {
        const std::string sKey = m_pListView->SelectedKey();
        if (sKey.empty()) {
            return;
        }
        if (iKeyCode == MInputCodes::KeyReturn) {
            if (DblClick) {
                DblClick(sKey);
            }
        } else if (iKeyCode == MInputCodes::KeyF10 && (iShift & MInputCodes::AltMask) != 0) {
            if (PopupMenu) {
                PopupMenu(static_cast<float>(MTwips::Left(*m_pContainer) + m_pListView->Left() +
                                             m_pListView->ItemLeft(sKey) + 600),
                          static_cast<float>(MTwips::Top(*m_pContainer) + m_pListView->Top() +
                                             m_pListView->ItemTop(sKey) + 200));
            }
        }
    });
}

void CFavorites::ListView_MouseUp(int iButton, int, std::int32_t lX, std::int32_t lY) {
    MDayfold::Assert().Assert(m_pContainer != nullptr,
                              "CFavorites.ListView_MouseUp: Container is Nothing");
    Logged("CFavorites.ListView_MouseUp", [&] {
        if (iButton == MInputCodes::RightButton && !m_pListView->SelectedKey().empty() &&
            PopupMenu) {
            PopupMenu(static_cast<float>(MTwips::Left(*m_pContainer) + m_pListView->Left() + lX),
                      static_cast<float>(MTwips::Top(*m_pContainer) + m_pListView->Top() + lY));
        }
    });
}

void CFavorites::ListView_DblClick() {
    Logged("CFavorites.ListView_DblClick", [&] {
        const std::string sKey = m_pListView->SelectedKey();
        if (!sKey.empty() && DblClick) {
            DblClick(sKey);
        }
    });
}

void CFavorites::ListView_ItemClick() {
    Logged("CFavorites.ListView_ItemClick", [&] {
        if (ItemClick) {
            ItemClick();
        }
    });
}
