#include "app/views/CDaily.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/views/CResizeWatcher.h"
#include "app/views/MListSettings.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CFileManager.h"

#include <QApplication>
#include <QWidget>

namespace {
const std::vector<std::string>& WidthNames() {
    static const std::vector<std::string> colNames = {"Name Width", "Type Width", "Path Width",
                                                      "Modified Width"};
    return colNames;
}

// Runs fn under the view's error convention: a failure is logged with the routine's source.
template <typename F>
void Logged(const char* szSource, F&& fn) {
    try {
        fn();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, szSource, false);
    }
}
} // namespace

CDaily::CDaily() = default;
CDaily::~CDaily() = default;

void CDaily::SetListView(CListView* pListView) {
    m_pListConnections.reset();
    m_pListView = pListView;
    if (pListView == nullptr) {
        return;
    }
    if (pListView->ColumnHeaderCount() == 0) {
        MListSettings::AddColumns(
            *pListView, "CDaily",
            {{QT_TRANSLATE_NOOP("CDaily", "Name"), CListView::ColumnLeft,
              MListSettings::WideColumnWidth},
             {QT_TRANSLATE_NOOP("CDaily", "Type"), CListView::ColumnLeft, 1440},
             {QT_TRANSLATE_NOOP("CDaily", "Path"), CListView::ColumnLeft,
              MListSettings::WideColumnWidth},
             {QT_TRANSLATE_NOOP("CDaily", "Accessed"), CListView::ColumnRight, 1440}});
    }
    m_pListConnections = std::make_unique<QObject>();
    QObject* pContext = m_pListConnections.get();
    QObject::connect(pListView, &CListView::ColumnClick, pContext,
                     [this](int iColumn) { lvwDaily_ColumnClick(iColumn); });
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

void CDaily::SetTreeView(CTreeView* pTreeView) {
    m_pTreeConnections.reset();
    m_pTreeView = pTreeView;
    if (pTreeView == nullptr) {
        return;
    }
    m_pTreeConnections = std::make_unique<QObject>();
    QObject::connect(pTreeView, &CTreeView::NodeClick, m_pTreeConnections.get(),
                     [this](const std::string& sKey) { TreeView_NodeClick(sKey); });
    QObject::connect(pTreeView, &CTreeView::MouseUp, m_pTreeConnections.get(),
                     [this](int iButton, int, std::int32_t lX, std::int32_t lY,
                            const std::string& sKey) { TreeView_MouseUp(iButton, lX, lY, sKey); });
}

void CDaily::SetContainer(QWidget* pContainer) {
    m_pContainer = pContainer;
    if (!m_pContainerWatcher) {
        m_pContainerWatcher = std::make_unique<CResizeWatcher>(nullptr);
        m_pContainerWatcher->Resized = [this] { Daily_Resize(); };
    }
    m_pContainerWatcher->Watch(pContainer);
}

std::string CDaily::SelectedDocument() const {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CDaily.SelectedDocument: ListView is Nothing");
    return m_pListView != nullptr ? m_pListView->SelectedKey() : std::string();
}

std::string CDaily::SelectedDay() const {
    MDayfold::Assert().Assert(m_pTreeView != nullptr, "CDaily.SelectedDay: TreeView is Nothing");
    return m_pTreeView != nullptr ? m_pTreeView->SelectedKey() : std::string();
}

std::int32_t CDaily::View() const {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CDaily.View: ListView is Nothing");
    return m_pListView != nullptr ? m_pListView->View() : 0;
}

void CDaily::SetView(std::int32_t lView) {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CDaily.View: ListView is Nothing");
    Logged("CDaily.View", [&] { m_pListView->SetView(lView); });
}

bool CDaily::Visible() const {
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CDaily.Visible: Container is Nothing");
    return m_pContainer != nullptr && !m_pContainer->isHidden();
}

void CDaily::SetVisible(bool bVisible) {
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CDaily.Visible: Container is Nothing");
    if (m_pContainer != nullptr) {
        m_pContainer->setVisible(bVisible);
    }
}

void CDaily::ArrangeIcons(std::int32_t lOrder) {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CDaily.ArrangeIcons: ListView is Nothing");
    Logged("CDaily.ArrangeIcons", [&] {
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

bool CDaily::SelectedTarget(std::string& sTarget, std::string& sFolder, const char* szSource) {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              std::string(szSource) + ": ListView is Nothing");
    const std::string sKey = m_pListView != nullptr ? m_pListView->SelectedKey() : std::string();
    if (sKey.empty()) {
        Beep();
        return false;
    }
    sFolder = m_pListView->SubItem(sKey, 2);
    CShortcut oShortcut;
    oShortcut.SetFile(sKey.substr(1));
    sTarget = oShortcut.TargetFile();
    if (sTarget.empty()) {
        sTarget = sFolder + "/" + m_pListView->ItemText(sKey);
    }
    return true;
}

void CDaily::Explore() {
    Logged("CDaily.Explore", [&] {
        std::string sTarget;
        std::string sFolder;
        if (!SelectedTarget(sTarget, sFolder, "CDaily.Explore")) {
            return;
        }
        if (m_pFileManager == nullptr || !m_pFileManager->ShowItem(sTarget)) {
            throw CRunTimeError(RunTimeErrors::PathNotFound, "No file manager shows " + sTarget);
        }
    });
}

void CDaily::OpenFolder() {
    Logged("CDaily.OpenFolder", [&] {
        std::string sTarget;
        std::string sFolder;
        if (!SelectedTarget(sTarget, sFolder, "CDaily.OpenFolder")) {
            return;
        }
        if (m_pFileManager == nullptr || !m_pFileManager->OpenFolder(sFolder)) {
            throw CRunTimeError(RunTimeErrors::PathNotFound, "No file manager opens " + sFolder);
        }
    });
}

void CDaily::RemoveDocument(const std::string& sKey) {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CDaily.RemoveDocument: ListView is Nothing");
    Logged("CDaily.RemoveDocument", [&] { m_pListView->RemoveItem(sKey); });
}

void CDaily::RestoreSettings() {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CDaily.RestoreSettings: ListView is Nothing");
    Logged("CDaily.RestoreSettings",
           [&] { MListSettings::Restore(*m_pListView, GroupName, WidthNames()); });
}

void CDaily::SaveSettings() {
    MDayfold::Assert().Assert(m_pListView != nullptr, "CDaily.SaveSettings: ListView is Nothing");
    if (m_pListView != nullptr) {
        MListSettings::Save(*m_pListView, GroupName, WidthNames());
    }
}

void CDaily::SetSize(std::int32_t lWidth, std::int32_t lHeight) {
    MDayfold::Assert().Assert(m_pContainer != nullptr, "CDaily.SetSize: Container is Nothing");
    Logged("CDaily.SetSize", [&] {
        MTwips::Move(*m_pContainer, MTwips::Left(*m_pContainer), MTwips::Top(*m_pContainer), lWidth,
                     lHeight);
    });
    // A hidden container gets its resize event only when shown: lay out now all the same.
    Daily_Resize();
}

void CDaily::Daily_Resize() {
    MDayfold::Assert().Assert(m_pListView != nullptr,
                              "CDaily.Container_Resize: ListView is Nothing");
    MDayfold::Assert().Assert(m_pTreeView != nullptr,
                              "CDaily.Container_Resize: TreeView is Nothing");
    if (m_pListView == nullptr || m_pTreeView == nullptr || m_pContainer == nullptr) {
        return;
    }
    try {
        const std::int32_t lInnerWidth = MTwips::Width(*m_pContainer);
        const std::int32_t lInnerHeight = MTwips::Height(*m_pContainer);
        // The tree and the list reach 30 twips past the container's edges, so their own
        // borders do not double the window's.
        m_pTreeView->Move(m_pTreeView->Left(), m_pTreeView->Top(), m_pTreeView->Width(),
                          std::max(lInnerHeight - m_pTreeView->Top() + 30, 0));
        m_pListView->Move(m_pListView->Left(), m_pListView->Top(),
                          std::max(lInnerWidth - m_pListView->Left() + 30, 0),
                          std::max(lInnerHeight + 30, 0));
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 122, "CDaily.Daily_Resize");
    }
}

void CDaily::lvwDaily_ColumnClick(int iColumn) {
    try {
        MListSettings::ColumnClick(*m_pListView, iColumn, m_iLastColumn, m_iSortOrder);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 142, "CDaily.lvwDaily_ColumnClick");
    }
}

void CDaily::ListView_KeyUp(int iKeyCode, int iShift) {
    MDayfold::Assert().Assert(m_pContainer != nullptr,
                              "CDaily.ListView_KeyUp: Container is Nothing");
    Logged("CDaily.ListView_KeyUp", [&] {
        const std::string sKey = m_pListView->SelectedKey();
        if (sKey.empty()) {
            return;
        }
        if (iKeyCode == MInputCodes::KeyReturn) {
            if (ListViewDblClick) {
                ListViewDblClick(sKey);
            }
        } else if (iKeyCode == MInputCodes::KeyF10 && (iShift & MInputCodes::AltMask) != 0) {
            if (ListViewPopupMenu) {
                ListViewPopupMenu(
                    static_cast<float>(MTwips::Left(*m_pContainer) + m_pListView->Left() +
                                       m_pListView->ItemLeft(sKey) + 600),
                    static_cast<float>(MTwips::Top(*m_pContainer) + m_pListView->Top() +
                                       m_pListView->ItemTop(sKey) + 200));
            }
        }
    });
}

void CDaily::ListView_MouseUp(int iButton, int, std::int32_t lX, std::int32_t lY) {
    MDayfold::Assert().Assert(m_pContainer != nullptr,
                              "CDaily.ListView_MouseUp: Container is Nothing");
    Logged("CDaily.ListView_MouseUp", [&] {
        if (iButton == MInputCodes::RightButton && !m_pListView->SelectedKey().empty() &&
            ListViewPopupMenu) {
            ListViewPopupMenu(
                static_cast<float>(MTwips::Left(*m_pContainer) + m_pListView->Left() + lX),
                static_cast<float>(MTwips::Top(*m_pContainer) + m_pListView->Top() + lY));
        }
    });
}

void CDaily::ListView_DblClick() {
    Logged("CDaily.ListView_DblClick", [&] {
        const std::string sKey = m_pListView->SelectedKey();
        if (!sKey.empty() && ListViewDblClick) {
            ListViewDblClick(sKey);
        }
    });
}

void CDaily::ListView_ItemClick() {
    Logged("CDaily.ListView_ItemClick", [&] {
        if (ListViewItemClick) {
            ListViewItemClick();
        }
    });
}

void CDaily::TreeView_NodeClick(const std::string& sKey) {
    Logged("CDaily.TreeView_NodeClick", [&] {
        if (TreeViewNodeClick) {
            TreeViewNodeClick(sKey);
        }
    });
}

void CDaily::TreeView_MouseUp(int iButton, std::int32_t lX, std::int32_t lY,
                              const std::string& sNodeKey) {
    Logged("CDaily.TreeView_MouseUp", [&] {
        if (iButton == MInputCodes::RightButton && !sNodeKey.empty() && TreeViewPopupMenu &&
            m_pContainer != nullptr) {
            TreeViewPopupMenu(
                static_cast<float>(MTwips::Left(*m_pContainer) + m_pTreeView->Left() + lX),
                static_cast<float>(MTwips::Top(*m_pContainer) + m_pTreeView->Top() + lY), sNodeKey);
        }
    });
}

void CDaily::Beep() {
    if (m_fBeep) {
        m_fBeep();
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
}
