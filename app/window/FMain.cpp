// FMain: construction, layout, start-up and shutdown, and the routines that switch the window's
// state and keep the menus and the toolbar in step with it.
#include "app/window/FMain.h"

#include "aboutbox/AboutBox.h"
#include "app/core/CAssert.h"
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/journal/CDayCounts.h"
#include "app/journal/CMissingDocuments.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/CSuspension.h"
#include "app/options/COptions.h"
#include "app/options/FOptions.h"
#include "app/repository/CRepository.h"
#include "app/resources/MIcons.h"
#include "app/resources/MResources.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/window/CCalendar.h"
#include "app/window/CIconCache.h"
#include "app/window/CMousePointerDisplay.h"
#include "app/window/CStatusBarText.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CMonthCalendar.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTimer.h"
#include "platform/controls/CToolbarButton.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/MTwips.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/shell/CFileManager.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CRecentFeed.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {
// Design layout in twips.
constexpr std::int32_t ToolbarHeight = 420;
constexpr std::int32_t CalendarWidth = 2415;
constexpr std::int32_t CalendarHeight = 2355;
constexpr std::int32_t TreeTop = 2400;
constexpr std::int32_t ListLeft = 2460;
// Wide enough for the calendar and the four day-list columns at their starting widths, so that
// a first start shows every column in the type of this desktop.
constexpr std::int32_t DesignClientWidth = 11400;
constexpr std::int32_t DesignClientHeight = 6600;

// Where the desktop has no tray: the note on the status bar and the question before exiting.
constexpr int NoTrayNote = 178;
constexpr int NoTrayQuestion = 179;

// The note over an empty list that says why it is empty: it lets the clicks through.
QLabel* NewEmptyNote(QWidget* pList, const char* szName) {
    auto* pNote = new QLabel(pList);
    pNote->setObjectName(szName);
    pNote->setAlignment(Qt::AlignCenter);
    pNote->setWordWrap(true);
    pNote->setAttribute(Qt::WA_TransparentForMouseEvents);
    pNote->setForegroundRole(QPalette::PlaceholderText);
    pNote->hide();
    return pNote;
}

std::string Caption(int iResource) {
    return MDayfold::AppTitle() + " - " + MResources::LoadResString(iResource);
}

QIcon Picture(const char* szPath) {
    return QIcon(QString::fromLatin1(szPath));
}
} // namespace

FMain::FMain(SStart oStart, QWidget* pParent)
    : QMainWindow(pParent), m_oStart(std::move(oStart)),
      m_bTrayAvailable(m_oStart.obTrayAvailable.value_or(CTrayIcon::TrayAvailable())) {
    MIcons::InitResources();
    setObjectName("FMain");
    CreateControls();
    CreateActions();
    CreateMenus();
    CreateToolbar();
    ConnectCommands();
    CreateJournalControls();
    resize(MTwips::ToPixels(DesignClientWidth),
           MTwips::ToPixels(DesignClientHeight) + menuBar()->sizeHint().height());
}

FMain::~FMain() {
    // The index's thread posts to the window: it ends first.
    StopJournal();
    // The views go before the controls they watch.
    m_oCalendar.reset();
    m_oDaily.reset();
    m_oFavorites.reset();
    if (CWaitCursor::PointerDisplay() == m_pPointerDisplay.get()) {
        CWaitCursor::SetPointerDisplay(nullptr);
    }
}

// --- Construction ---------------------------------------------------------------------------

void FMain::CreateControls() {
    m_pClient = new QWidget(this);
    m_pClient->setObjectName("picClient");
    setCentralWidget(m_pClient);

    m_picToolbar = new QWidget(m_pClient);
    m_picToolbar->setObjectName("picToolbar");

    m_picDaily = new QWidget(m_pClient);
    m_picDaily->setObjectName("picDaily");
    MTwips::Move(*m_picDaily, 0, ToolbarHeight, DesignClientWidth - 30, 4000);
    m_picCalendar = new QFrame(m_picDaily);
    m_picCalendar->setObjectName("picCalendar");
    m_picCalendar->setFrameShape(QFrame::StyledPanel);
    auto* pCalendarLayout = new QVBoxLayout(m_picCalendar);
    pCalendarLayout->setContentsMargins(1, 1, 1, 1);
    m_calMain = new CMonthCalendar(m_picCalendar);
    m_calMain->setObjectName("calMain");
    pCalendarLayout->addWidget(m_calMain);
    MTwips::Move(*m_picCalendar, 0, 0, CalendarWidth, CalendarHeight);
    m_tvwMain = new CTreeView(m_picDaily);
    m_tvwMain->setObjectName("tvwMain");
    m_tvwMain->Move(0, TreeTop, CalendarWidth, 1440);
    // A narrow indent keeps the month names of the narrow tree whole.
    if (auto* pTreeDisplay = m_tvwMain->findChild<QTreeView*>()) {
        pTreeDisplay->setIndentation(12);
    }
    m_lvwDaily = new CListView(m_picDaily);
    m_lvwDaily->setObjectName("lvwDaily");
    m_lvwDaily->Move(ListLeft, 0, 1440, 1440);
    m_lblDailyEmpty = NewEmptyNote(m_lvwDaily, "lblDailyEmpty");

    m_picFavorites = new QWidget(m_pClient);
    m_picFavorites->setObjectName("picFavorites");
    MTwips::Move(*m_picFavorites, 0, ToolbarHeight, DesignClientWidth - 30, 4000);
    m_lvwFavorites = new CListView(m_picFavorites);
    m_lvwFavorites->setObjectName("lvwFavorites");
    m_lvwFavorites->Move(0, 0, 1440, 1440);
    m_lblFavoritesEmpty = NewEmptyNote(m_lvwFavorites, "lblFavoritesEmpty");
    m_picFavorites->hide();

    m_sbrMain = new CStatusBar(this);
    m_sbrMain->setObjectName("sbrMain");
    setStatusBar(m_sbrMain);
    m_pStatusText = std::make_unique<CStatusBarText>(m_sbrMain);

    m_tmrMain = new CTimer(this);
    m_tmrMain->setObjectName("tmrMain");
    connect(m_tmrMain, &CTimer::Timer, this, [this] { tmrMain_Timer(); });
    m_tryMain = new CTrayIcon(this);
    m_tryMain->setObjectName("tryMain");

    // The tree's images by level, then the document icons of the two lists: each list starts
    // with the generic document, the fallback of the icon cache.
    m_imlMain[0] = new CImageList(CFileIcons::SmallSize, this);
    for (const char* szPath :
         {MIcons::TreeDaily, MIcons::TreeYear, MIcons::TreeMonth, MIcons::TreeDay}) {
        m_imlMain[0]->Add(Picture(szPath));
    }
    for (size_t i = 1; i < m_imlMain.size(); ++i) {
        const bool bLarge = i % 2 == 1;
        m_imlMain[i] = new CImageList(bLarge ? CFileIcons::LargeSize : CFileIcons::SmallSize, this);
        m_imlMain[i]->Add(Picture(bLarge ? MIcons::Document32 : MIcons::Document16));
    }
    m_lvwDaily->SetIcons(m_imlMain[1]);
    m_lvwDaily->SetSmallIcons(m_imlMain[2]);
    m_lvwFavorites->SetIcons(m_imlMain[3]);
    m_lvwFavorites->SetSmallIcons(m_imlMain[4]);

    m_pPointerDisplay = std::make_unique<CMousePointerDisplay>();
    CWaitCursor::SetPointerDisplay(m_pPointerDisplay.get());
    m_pFileManager = std::make_unique<CFileManager>(m_oStart.pFileTypes);
    m_pIconCache = std::make_unique<CIconCache>(m_oFileIcons);
}

void FMain::CreateToolbar() {
    struct SButton {
        const char* szPicture;
        const char* szToolTip;
    };
    static constexpr std::array<SButton, ToolbarButtons> colButtons = {{
        {MIcons::DailyView, QT_TR_NOOP("Daily View")},
        {MIcons::FavoritesView, QT_TR_NOOP("Favorites View")},
        {MIcons::ExploreFolder, QT_TR_NOOP("Explore Folder")},
        {MIcons::OpenFolder, QT_TR_NOOP("Open Folder")},
        {MIcons::LargeIconView, QT_TR_NOOP("Large Icon View")},
        {MIcons::SmallIconView, QT_TR_NOOP("Small Icon View")},
        {MIcons::ListView, QT_TR_NOOP("List View")},
        {MIcons::DetailView, QT_TR_NOOP("Detail View")},
        {MIcons::MainWindowHelp, QT_TR_NOOP("Main Window Help")},
        {MIcons::WhatsThisHelp, QT_TR_NOOP("What's This Help")},
    }};
    // Four groups (views, folder, list style, help), separated by etched lines.
    constexpr std::array<int, 3> colGroupEnds = {ButtonFavoritesView, ButtonOpenFolder,
                                                 ButtonDetailView};
    constexpr int iButtonSize = 24;
    constexpr int iGap = 2;
    int iX = 4;
    size_t iLine = 0;
    for (int i = 0; i < ToolbarButtons; ++i) {
        auto* pButton = new CToolbarButton(m_picToolbar);
        pButton->setObjectName(QString("sftToolbar%1").arg(i));
        pButton->SetIndex(i);
        pButton->SetPicture(Picture(colButtons[static_cast<size_t>(i)].szPicture));
        pButton->SetToolTipText(tr(colButtons[static_cast<size_t>(i)].szToolTip).toStdString());
        pButton->setIconSize(QSize(16, 16));
        pButton->setGeometry(iX, 2, iButtonSize, iButtonSize);
        connect(pButton, &CToolbarButton::Click, this, &FMain::sftToolbar_Click);
        m_sftToolbar[static_cast<size_t>(i)] = pButton;
        iX += iButtonSize + iGap;
        if (iLine < colGroupEnds.size() && i == colGroupEnds[iLine]) {
            auto* pLine = new QFrame(m_picToolbar);
            pLine->setObjectName(QString("linToolbar%1").arg(iLine));
            pLine->setFrameShape(QFrame::VLine);
            pLine->setFrameShadow(QFrame::Sunken);
            pLine->setGeometry(iX + 2, 4, 2, iButtonSize - 4);
            m_linToolbar[iLine++] = pLine;
            iX += 8;
        }
    }
    // The etched line under the strip runs across its full width (see Form_Resize).
    m_linToolbarBottom = new QFrame(m_picToolbar);
    m_linToolbarBottom->setObjectName("linToolbarBottom");
    m_linToolbarBottom->setFrameShape(QFrame::HLine);
    m_linToolbarBottom->setFrameShadow(QFrame::Sunken);
    // The folder buttons are the folder commands themselves: they are enabled with them.
    m_sftToolbar[ButtonExploreFolder]->setDefaultAction(m_oActions.pExplore);
    m_sftToolbar[ButtonOpenFolder]->setDefaultAction(m_oActions.pOpenFolder);
    m_sftToolbar[ButtonMainWindowHelp]->setDefaultAction(m_oActions.pMainWindowHelp);
    m_sftToolbar[ButtonWhatsThisHelp]->setDefaultAction(m_oActions.pWhatsThis);
}

// The captions of menus, buttons and columns are the window's design, as the labels of its
// dialogs are: they pass through tr() so that a translation of the forms reaches them too. The
// texts the program says (notes, questions, messages) come from the string table.
void FMain::CreateActions() {
    const auto Make = [this](const char* szName, const char* szCaption) {
        auto* pAction = new QAction(tr(szCaption), this);
        pAction->setObjectName(szName);
        return pAction;
    };
    SActions& a = m_oActions;
    a.pSuspend = Make("mnuSuspend", QT_TR_NOOP("S&uspend"));
    a.pSuspendHour = Make("mnuSuspendHour", QT_TR_NOOP("Suspend for 1 h&our"));
    a.pResume = Make("mnuResume", QT_TR_NOOP("&Resume"));
    a.pResume->setVisible(false);
    a.pHide = Make("mnuHide", QT_TR_NOOP("&Hide"));
    a.pShow = Make("mnuShow", QT_TR_NOOP("&Show"));
    a.pExit = Make("mnuExit", QT_TR_NOOP("E&xit"));
    a.pViewDaily = Make("mnuViewDaily", QT_TR_NOOP("D&aily"));
    a.pViewDaily->setCheckable(true);
    a.pViewDaily->setChecked(true);
    a.pViewFavorites = Make("mnuViewFavorites", QT_TR_NOOP("&Favorites"));
    a.pViewFavorites->setCheckable(true);
    static constexpr std::array<const char*, 4> colStyleCaptions = {
        QT_TR_NOOP("Lar&ge Icons"), QT_TR_NOOP("S&mall Icons"), QT_TR_NOOP("&List"),
        QT_TR_NOOP("&Details")};
    static constexpr std::array<const char*, 4> colStylePictures = {
        MIcons::LargeIconView, MIcons::SmallIconView, MIcons::ListView, MIcons::DetailView};
    for (size_t i = 0; i < a.colStyle.size(); ++i) {
        a.colStyle[i] = Make("mnuViewStyle", colStyleCaptions[i]);
        a.colStyle[i]->setObjectName(QString("mnuViewStyle%1").arg(i));
        a.colStyle[i]->setCheckable(true);
        a.colStyle[i]->setIcon(Picture(colStylePictures[i]));
    }
    a.colStyle[3]->setChecked(true);
    a.pViewDaily->setIcon(Picture(MIcons::DailyView));
    a.pViewFavorites->setIcon(Picture(MIcons::FavoritesView));
    a.pArrangeByName = Make("mnuArrangeByName", QT_TR_NOOP("by &Name"));
    a.pArrangeByType = Make("mnuArrangeByType", QT_TR_NOOP("by &Type"));
    a.pAutoArrange = Make("mnuAutoArrange", QT_TR_NOOP("&Auto Arrange"));
    a.pAutoArrange->setCheckable(true);
    a.pOptions = Make("mnuOptions", QT_TR_NOOP("&Options"));
    a.pExplore = Make("mnuExplore", QT_TR_NOOP("&Explore"));
    a.pExplore->setIcon(Picture(MIcons::ExploreFolder));
    a.pExplore->setToolTip(tr("Explore Folder"));
    a.pExplore->setEnabled(false);
    a.pOpenFolder = Make("mnuOpenFolder", QT_TR_NOOP("&Open"));
    a.pOpenFolder->setIcon(Picture(MIcons::OpenFolder));
    a.pOpenFolder->setToolTip(tr("Open Folder"));
    a.pOpenFolder->setEnabled(false);
    a.pRebuildFavorites = Make("mnuRebuildFavorites", QT_TR_NOOP("&Rebuild Favorites"));
    a.pHelpTopics = Make("mnuHelpTopics", QT_TR_NOOP("&Dayfold Help Topics"));
    a.pOnline = Make("mnuOnline", QT_TR_NOOP("&QuillonSoft Online"));
    a.pAbout = Make("mnuAbout", QT_TR_NOOP("&About Dayfold"));
    a.pListOpen = Make("mnuListOpen", QT_TR_NOOP("&Open"));
    a.pPurge = Make("mnuPurge", QT_TR_NOOP("&Purge"));
    a.pMainWindowHelp = Make("mnuMainWindowHelp", QT_TR_NOOP("Main Window Help"));
    a.pMainWindowHelp->setIcon(Picture(MIcons::MainWindowHelp));
    a.pWhatsThis = Make("mnuWhatsThis", QT_TR_NOOP("What's This Help"));
    a.pWhatsThis->setIcon(Picture(MIcons::WhatsThisHelp));
}

void FMain::CreateMenus() {
    SActions& a = m_oActions;
    m_mnuDayfold = menuBar()->addMenu(tr("&Dayfold"));
    m_mnuDayfold->setObjectName("mnuDayfold");
    m_mnuDayfold->addActions({a.pSuspend, a.pSuspendHour, a.pResume, a.pHide});
    m_mnuDayfold->addSeparator();
    m_mnuDayfold->addAction(a.pExit);

    m_mnuView = menuBar()->addMenu(tr("&View"));
    m_mnuView->setObjectName("mnuView");
    m_mnuView->addActions({a.pViewDaily, a.pViewFavorites});
    m_mnuView->addSeparator();
    for (QAction* pStyle : a.colStyle) {
        m_mnuView->addAction(pStyle);
    }
    m_mnuView->addSeparator();
    m_mnuViewArrange = m_mnuView->addMenu(tr("Arrange &Icons"));
    m_mnuViewArrange->setObjectName("mnuViewArrange");
    m_mnuViewArrange->addActions({a.pArrangeByName, a.pArrangeByType});
    m_mnuViewArrange->addSeparator();
    m_mnuViewArrange->addAction(a.pAutoArrange);
    m_mnuView->addSeparator();
    m_mnuView->addAction(a.pOptions);

    m_mnuTools = menuBar()->addMenu(tr("&Tools"));
    m_mnuTools->setObjectName("mnuTools");
    m_mnuTools->addActions({a.pExplore, a.pOpenFolder});
    m_mnuTools->addSeparator();
    m_mnuTools->addAction(a.pRebuildFavorites);

    m_mnuHelp = menuBar()->addMenu(tr("&Help"));
    m_mnuHelp->setObjectName("mnuHelp");
    m_mnuHelp->addAction(a.pHelpTopics);
    m_mnuHelp->addSeparator();
    m_mnuHelp->addAction(a.pOnline);
    m_mnuHelp->addSeparator();
    m_mnuHelp->addAction(a.pAbout);

    // The context menus: not on the menu bar.
    m_mnuListView = new QMenu(this);
    m_mnuListView->setObjectName("mnuListView");
    m_mnuListView->addAction(a.pListOpen);
    m_mnuListView->addSeparator();
    m_mnuListViewStyle = m_mnuListView->addMenu(tr("&View"));
    m_mnuListViewStyle->setObjectName("mnuListViewStyle");
    for (QAction* pStyle : a.colStyle) {
        m_mnuListViewStyle->addAction(pStyle);
    }
    m_mnuListView->addSeparator();
    m_mnuListArrange = m_mnuListView->addMenu(tr("Arrange &Icons"));
    m_mnuListArrange->setObjectName("mnuListArrange");
    m_mnuListArrange->addActions({a.pArrangeByName, a.pArrangeByType});
    m_mnuListArrange->addSeparator();
    m_mnuListArrange->addAction(a.pAutoArrange);

    m_mnuTray = new QMenu(this);
    m_mnuTray->setObjectName("mnuTray");
    m_mnuTray->addActions({a.pShow, a.pHide, a.pSuspend, a.pSuspendHour, a.pResume});
    m_mnuTray->addSeparator();
    m_mnuTray->addAction(a.pAbout);
    m_mnuTray->addSeparator();
    m_mnuTray->addAction(a.pExit);

    m_mnuTree = new QMenu(this);
    m_mnuTree->setObjectName("mnuTree");
    m_mnuTree->addAction(a.pPurge);
}

void FMain::ConnectCommands() {
    SActions& a = m_oActions;
    connect(a.pSuspend, &QAction::triggered, this, &FMain::mnuDayfoldSuspend_Click);
    connect(a.pSuspendHour, &QAction::triggered, this, &FMain::mnuDayfoldSuspendHour_Click);
    connect(a.pResume, &QAction::triggered, this, &FMain::mnuDayfoldResume_Click);
    connect(a.pHide, &QAction::triggered, this, &FMain::mnuDayfoldHide_Click);
    connect(a.pShow, &QAction::triggered, this, &FMain::mnuTrayShow_Click);
    connect(a.pExit, &QAction::triggered, this, &FMain::mnuDayfoldExit_Click);
    connect(a.pViewDaily, &QAction::triggered, this, &FMain::mnuViewDaily_Click);
    connect(a.pViewFavorites, &QAction::triggered, this, &FMain::mnuViewFavorites_Click);
    for (int i = 0; i < static_cast<int>(a.colStyle.size()); ++i) {
        connect(a.colStyle[static_cast<size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuViewStyle_Click(i); });
    }
    connect(a.pArrangeByName, &QAction::triggered, this, [this] { mnuViewArrange_Click(0); });
    connect(a.pArrangeByType, &QAction::triggered, this, [this] { mnuViewArrange_Click(1); });
    connect(a.pAutoArrange, &QAction::triggered, this, [this] { mnuViewArrange_Click(3); });
    connect(a.pOptions, &QAction::triggered, this, &FMain::mnuViewOptions_Click);
    connect(a.pExplore, &QAction::triggered, this, &FMain::mnuToolsExplore_Click);
    connect(a.pOpenFolder, &QAction::triggered, this, &FMain::mnuToolsOpen_Click);
    connect(a.pRebuildFavorites, &QAction::triggered, this, &FMain::mnuToolsRebuildFavorites_Click);
    connect(a.pHelpTopics, &QAction::triggered, this, &FMain::mnuHelpTopics_Click);
    connect(a.pOnline, &QAction::triggered, this, &FMain::mnuHelpOnline_Click);
    connect(a.pAbout, &QAction::triggered, this, &FMain::mnuHelpAbout_Click);
    connect(a.pListOpen, &QAction::triggered, this, &FMain::mnuListOpen_Click);
    connect(a.pPurge, &QAction::triggered, this, &FMain::mnuTreePurge_Click);
    connect(a.pMainWindowHelp, &QAction::triggered, this, &FMain::mnuMainWindowHelp_Click);
    connect(a.pWhatsThis, &QAction::triggered, this, &FMain::mnuWhatsThis_Click);
    connect(m_tryMain, &CTrayIcon::MouseUp, this, &FMain::tryMain_MouseUp);
    // The program and tray menus share their commands; an error names the menu last shown.
    connect(m_mnuDayfold, &QMenu::aboutToShow, this, [this] { m_iMenuContext = 130; });
    connect(m_mnuTray, &QMenu::aboutToShow, this, [this] { m_iMenuContext = 135; });
}

void FMain::ConnectViews() {
    m_oCalendar->DateChange = [this](const CDateTime& dDate) { m_oCalendar_DateChange(dDate); };
    m_oDaily->TreeViewNodeClick = [this](const std::string& sKey) {
        m_oDaily_TreeViewNodeClick(sKey);
    };
    m_oDaily->ListViewDblClick = [this](const std::string& sKey) {
        m_oDaily_ListViewDblClick(sKey);
    };
    m_oDaily->ListViewItemClick = [this] { m_oDaily_ListViewItemClick(); };
    m_oDaily->ListViewPopupMenu = [this](float fX, float fY) {
        m_oDaily_ListViewPopupMenu(fX, fY);
    };
    m_oFavorites->DblClick = [this](const std::string& sKey) { m_oFavorites_DblClick(sKey); };
    m_oFavorites->ItemClick = [this] { m_oFavorites_ItemClick(); };
    m_oFavorites->PopupMenu = [this](float fX, float fY) { m_oFavorites_PopupMenu(fX, fY); };
    m_oDaily->TreeViewPopupMenu = [this](float fX, float fY, const std::string& sKey) {
        m_oDaily_TreeViewPopupMenu(fX, fY, sKey);
    };
}

// --- Start-up and shutdown -----------------------------------------------------------------

void FMain::Form_Load() {
    m_bLoading = true;
    try {
        // 1. The tray shows the busy icon while the program loads.
        m_tryMain->SetTrayIcon(Picture(MIcons::TrayBusy));
        m_tryMain->SetTrayTip(MDayfold::AppTitle());
        m_tryMain->SetInTray(true);
        // 2.
        LoadResources();
        SetHelpContextIDs();
        // 3.
        if (m_oStart.pAboutBox != nullptr) {
            m_oStart.pAboutBox->SetIcon(windowIcon());
        }
        // 4. The calendar.
        m_oCalendar = std::make_unique<CCalendar>();
        m_oCalendar->SetDailyPath(MDayfold::AppPath() + "/Daily");
        m_oCalendar->SetCalendar(m_calMain);
        // 5. The Daily view.
        m_oDaily = std::make_unique<CDaily>();
        m_oDaily->SetListView(m_lvwDaily);
        m_oDaily->SetTreeView(m_tvwMain);
        m_oDaily->SetContainer(m_picDaily);
        m_oDaily->SetFileManager(m_pFileManager.get());
        m_oDaily->RestoreSettings();
        // 6. The Favorites store and view.
        m_oFavorites = std::make_unique<CFavorites>();
        m_oFavorites->SetAppPath(MDayfold::AppPath());
        m_oFavorites->SetContainer(m_picFavorites);
        m_oFavorites->SetDailyFolder("Daily");
        m_oFavorites->SetListView(m_lvwFavorites);
        m_oFavorites->SetFileManager(m_pFileManager.get());
        m_oFavorites->RestoreSettings();
        ConnectViews();
        Form_Resize();
        // 7. The Recent folder; the program's own is kept filled from the desktop's records.
        m_sRecentFolder = m_oStart.sRecentFolder;
        if (m_oStart.bFeedRecentFolder) {
            m_pRecentFeed = std::make_unique<CRecentFeed>(m_sRecentFolder);
            m_pRecentFeed->SetErrorReporter(&MDayfold::ErrorReporter());
        }
        // 8. and 9. The options.
        {
            COptions oOptions(FOptions::Loader(this));
            oOptions.ReadValues();
            if (oOptions.DefaultOptionsUsed()) {
                ShowWelcome();
            }
            m_lFavoritesThreshold = oOptions.FavoritesThreshold();
            m_lPurgeAge = oOptions.PurgeAge();
            m_lTimerInterval = oOptions.TimerInterval();
        }
        m_oCapture.SetRecentFolder(m_sRecentFolder);
        m_oCapture.SetPurgeAge(m_lPurgeAge);
        m_oCapture.SetFavorites(m_oFavorites.get());
        ReadPrivateFolders();
        // 10.
        PurgeAtStart();
        // 11. File what the Recent folder holds now.
        if (m_pRecentFeed) {
            m_pRecentFeed->Update();
        }
        GetShortcuts();
        RefreshDaily();
        // 12.
        m_oFavorites->Read();
        RefreshFavorites();
        // The journal's index is read in the background from here on.
        StartJournal();
        // The views are current: the first tick rebuilds them only if it files something.
        m_oCapture.SetDailyChanged(false);
        // 13. and 14.
        RestoreWindowSettings();
        RestoreViewSettings();
        // 15.
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
        // 16. and 17.
        m_tryMain->SetTrayIcon(Picture(MIcons::TrayIdle));
        SetTimerInterval(m_lTimerInterval);
        m_tmrMain->SetEnabled(true);
        m_bLoaded = true;
        // 18.
        if (m_oStart.UnloadSplash) {
            m_oStart.UnloadSplash();
        }
        QCoreApplication::processEvents();
        // 19. Without a tray a window stored hidden could never be shown again.
        SetVisible(m_bStoredVisible || !m_bTrayAvailable);
        if (!m_bTrayAvailable) {
            // In a panel of its own: the count stays in view.
            m_sbrMain->SetNoteText(MResources::LoadResString(NoTrayNote));
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.Form_Load", false);
    }
    m_bLoading = false;
}

void FMain::ShowWelcome() {
    const std::string sMessage =
        MResources::LoadResString(149) + "\r\n\r\n" + MResources::LoadResString(150) + "\r\n" +
        MResources::LoadResString(151) + "\r\n\r\n" + MResources::LoadResString(152);
    if (MDayfold::Presenter().Show(sMessage, MDayfold::AppTitle(),
                                   MessageBox::YesNo + MessageBox::Information) ==
        MessageBox::AnswerYes) {
        DisplayHelp(27);
    }
}

void FMain::PurgeAtStart() {
    CRepository& oRepository = MDayfold::Repository();
    if (oRepository.PurgeOldShortcuts(m_lPurgeAge)) {
        RebuildAndSaveFavorites();
    }
    oRepository.PurgeEmptyFolders();
}

void FMain::Form_Activate() {
    if (m_bActivated) {
        return;
    }
    m_bActivated = true;
    try {
        FindLatestDay();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 120, "FMain.Form_Activate");
    }
}

bool FMain::Form_QueryUnload(int iUnloadMode) {
    try {
        if (iUnloadMode != UnloadAppWindows && iUnloadMode != UnloadTaskManager && !m_bExiting) {
            // Without a tray a hidden window could not be reached again: closing it ends the
            // program, if the user agrees.
            if (!m_bTrayAvailable) {
                if (!AskToExit()) {
                    return true;
                }
                m_bExiting = true;
                return false;
            }
            SetVisible(false);
            return true;
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 121, "FMain.Form_QueryUnload");
    }
    return false;
}

void FMain::Form_Unload() {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.Form_Unload: Daily object is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.Form_Unload: Favorites object is nothing");
    if (m_bUnloaded) {
        return;
    }
    m_bUnloaded = true;
    if (!m_oDaily || !m_oFavorites) {
        // A load that failed early has nothing to save; the program still ends.
        emit Unloaded();
        return;
    }
    try {
        m_tmrMain->SetEnabled(false);
        StopJournal();
        SaveWindowSettings();
        SaveViewSettings();
        m_oDaily->SaveSettings();
        m_oFavorites->Save();
        m_oFavorites->SaveSettings();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 123, "FMain.Form_Unload");
    }
    emit Unloaded();
}

void FMain::Form_Resize() {
    try {
        if (isMinimized()) {
            // Minimising hides the window to the tray; without a tray it stays minimised.
            if (m_bTrayAvailable) {
                if (isVisible()) {
                    SetVisible(false);
                }
                // Back to normal for the next show, but not the native window yet: on X11 a
                // window taken out of the minimised state is mapped again, an empty frame on
                // the screen and in the task bar. It follows when shown (setVisible).
                overrideWindowState(windowState() & ~Qt::WindowMinimized);
            }
            return;
        }
        const std::int32_t lWidth = ClientWidth();
        MTwips::Move(*m_picToolbar, 0, 0, lWidth, ToolbarHeight);
        if (m_linToolbarBottom != nullptr) {
            m_linToolbarBottom->setGeometry(0, m_picToolbar->height() - 2, m_picToolbar->width(),
                                            2);
        }
        const std::int32_t lContainerWidth = std::max(lWidth - 30, 0);
        const std::int32_t lContainerHeight = std::max(ClientHeight() - ToolbarHeight - 15, 0);
        if (m_oDaily) {
            m_oDaily->SetSize(lContainerWidth, lContainerHeight);
        } else {
            MTwips::Move(*m_picDaily, 0, ToolbarHeight, lContainerWidth, lContainerHeight);
        }
        if (m_oFavorites) {
            m_oFavorites->SetSize(std::max(lContainerWidth, 1), std::max(lContainerHeight, 1));
        } else {
            MTwips::Move(*m_picFavorites, 0, ToolbarHeight, lContainerWidth, lContainerHeight);
        }
        PlaceEmptyNotes();
        LayoutJournalControls();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 122, "FMain.Form_Resize");
    }
}

std::int32_t FMain::ClientWidth() const {
    return MTwips::FromPixels(m_pClient->width());
}

std::int32_t FMain::ClientHeight() const {
    return MTwips::FromPixels(m_pClient->height());
}

void FMain::resizeEvent(QResizeEvent* pEvent) {
    QMainWindow::resizeEvent(pEvent);
    Form_Resize();
}

void FMain::showEvent(QShowEvent* pEvent) {
    QMainWindow::showEvent(pEvent);
    Form_Resize();
    if (m_bLoaded) {
        Form_Activate();
    }
}

void FMain::changeEvent(QEvent* pEvent) {
    QMainWindow::changeEvent(pEvent);
    if (pEvent->type() == QEvent::WindowStateChange) {
        Form_Resize();
    }
}

void FMain::setVisible(bool bVisible) {
    // The native window still minimised from being hidden to the tray leaves that state as it
    // is shown, else it would come back minimised.
    QWindow* pWindow = windowHandle();
    if (bVisible && pWindow != nullptr && !isMinimized() &&
        (pWindow->windowStates() & Qt::WindowMinimized) != 0) {
        pWindow->setWindowStates(windowState() & ~Qt::WindowActive);
    }
    QMainWindow::setVisible(bVisible);
}

void FMain::closeEvent(QCloseEvent* pEvent) {
    if (m_bUnloaded || !Form_QueryUnload(m_iCloseMode)) {
        Form_Unload();
        pEvent->accept();
        return;
    }
    pEvent->ignore();
}

void FMain::UnloadFor(int iUnloadMode) {
    if (m_bUnloaded) {
        return;
    }
    // A dialog's or a menu's own loop runs: it ends first (as if cancelled), and so does a
    // load under way; then the window unloads from the main loop.
    QWidget* pModal = QApplication::activeModalWidget();
    QWidget* pPopup = QApplication::activePopupWidget();
    if (m_bLoading || pModal != nullptr || pPopup != nullptr) {
        if (pPopup != nullptr) {
            pPopup->close();
        }
        if (pModal != nullptr) {
            pModal->close();
        }
        QTimer::singleShot(0, this, [this, iUnloadMode] { UnloadFor(iUnloadMode); });
        return;
    }
    m_iCloseMode = iUnloadMode;
    close();
    m_iCloseMode = UnloadFormControlMenu;
}

bool FMain::AskToExit() {
    return MDayfold::Presenter().Show(
               MResources::LoadResString(NoTrayQuestion), MDayfold::AppTitle(),
               MessageBox::YesNo + MessageBox::Question) == MessageBox::AnswerYes;
}

// --- State routines ------------------------------------------------------------------------

void FMain::SetActiveView(std::int32_t lView) {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.SetActiveView: Daily object is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.SetActiveView: Favorites object is nothing");
    try {
        m_lActiveView = lView;
        if (lView == ViewDaily) {
            setWindowTitle(QString::fromStdString(Caption(116)));
            m_oDaily->SetVisible(true);
            m_oFavorites->SetVisible(false);
            SetExploreOpen(!m_oDaily->SelectedDocument().empty());
        } else if (lView == ViewFavorites) {
            setWindowTitle(QString::fromStdString(Caption(117)));
            m_oFavorites->SetVisible(true);
            m_oDaily->SetVisible(false);
            SetExploreOpen(!m_oFavorites->SelectedDocument().empty());
        }
        m_oActions.pViewDaily->setChecked(lView == ViewDaily);
        m_oActions.pViewFavorites->setChecked(lView == ViewFavorites);
        m_sftToolbar[ButtonDailyView]->SetEnabled(lView != ViewDaily);
        m_sftToolbar[ButtonFavoritesView]->SetEnabled(lView != ViewFavorites);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 138, "FMain.SetActiveView");
    }
}

void FMain::SetListView(std::int32_t lStyle) {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.SetListView: Daily object is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.SetListView: Favorites object is nothing");
    try {
        m_oDaily->SetView(lStyle);
        m_oFavorites->SetView(lStyle);
        for (size_t i = 0; i < m_oActions.colStyle.size(); ++i) {
            const bool bCurrent = static_cast<std::int32_t>(i) == lStyle;
            m_oActions.colStyle[i]->setChecked(bCurrent);
            m_sftToolbar[ButtonLargeIconView + i]->SetEnabled(!bCurrent);
        }
        PlaceEmptyNotes();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 129, "FMain.SetListView");
    }
}

void FMain::ArrangeIcons(std::int16_t iOrder) {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.ArrangeIcons: Daily object is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.ArrangeIcons: Favorites object is nothing");
    try {
        if (iOrder == 0 || iOrder == 1) {
            m_oDaily->ArrangeIcons(iOrder);
            m_oFavorites->ArrangeIcons(iOrder);
        } else if (iOrder == 3) {
            // The lists' own arrangement is switched, not the check mark: the menu item has
            // turned its mark over already when its command runs.
            const bool bAuto = m_lvwDaily->Arrange() == CListView::ArrangeNone;
            m_oDaily->ArrangeIcons(bAuto ? 2 : 3);
            m_oFavorites->ArrangeIcons(bAuto ? 2 : 3);
            // One action in both arrange submenus: one check mark.
            m_oActions.pAutoArrange->setChecked(bAuto);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.ArrangeIcons", false);
    }
}

void FMain::SetActive(bool bActive) {
    try {
        if (bActive) {
            PollRecentFolder();
        } else {
            m_tmrMain->SetEnabled(false);
            m_tryMain->SetTrayIcon(Picture(MIcons::TraySuspended));
        }
        m_oActions.pSuspend->setVisible(bActive);
        m_oActions.pSuspendHour->setVisible(bActive);
        m_oActions.pResume->setVisible(!bActive);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.SetActive", false);
    }
}

void FMain::SetVisible(bool bVisible) {
    try {
        if (bVisible) {
            // A window hidden by minimising comes back as it was before (normal or maximised).
            if (isMinimized()) {
                setWindowState(windowState() & ~Qt::WindowMinimized);
            }
            show();
            raise();
            activateWindow();
        } else if (m_bTrayAvailable) {
            hide();
        } else {
            // Nowhere to hide to: the window stays reachable on the task bar.
            showMinimized();
        }
        const bool bShown = bVisible || !m_bTrayAvailable;
        m_oActions.pHide->setVisible(bShown);
        m_oActions.pShow->setVisible(!bShown);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.SetVisible", false);
    }
}

void FMain::SetOptions() {
    try {
        const std::int32_t lOldThreshold = m_lFavoritesThreshold;
        const std::int32_t lOldInterval = m_lTimerInterval;
        std::optional<std::vector<std::string>> oFoldersToClear;
        COptions oOptions(
            FOptions::Loader(this, [&oFoldersToClear](const std::vector<std::string>& vFolders) {
                oFoldersToClear = vFolders;
            }));
        if (!oOptions.ChangeValues()) {
            return;
        }
        if (oFoldersToClear) {
            ApplyPrivacyChanges(*oFoldersToClear);
        }
        m_lFavoritesThreshold = oOptions.FavoritesThreshold();
        m_lPurgeAge = oOptions.PurgeAge();
        m_lTimerInterval = oOptions.TimerInterval();
        m_oCapture.SetPurgeAge(m_lPurgeAge);
        if (m_lFavoritesThreshold != lOldThreshold) {
            RefreshFavorites();
            std::unique_ptr<CWaitCursor> pNoWaitCursor;
            RefreshStatusBar(pNoWaitCursor);
        }
        if (m_lTimerInterval != lOldInterval) {
            SetTimerInterval(m_lTimerInterval);
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 139, "FMain.SetOptions");
    }
}

void FMain::LoadResources() {
    try {
        setWindowTitle(QString::fromStdString(Caption(116)));
        setWindowIcon(Picture(MIcons::Program));
        m_tvwMain->SetImageList(m_imlMain[0]);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.LoadResources", false);
    }
}

void FMain::SetHelpContextIDs() {
    try {
        const CHelp* pHelp = CHelp::Application();
        const auto WhatsThis = [pHelp](int iTopic) {
            return pHelp != nullptr ? pHelp->WhatsThisText(iTopic) : QString();
        };
        m_calMain->setWhatsThis(WhatsThis(26));
        m_tvwMain->setWhatsThis(WhatsThis(25));
        m_lvwDaily->setWhatsThis(WhatsThis(24));
        m_lvwFavorites->setWhatsThis(WhatsThis(23));
        static constexpr std::array<int, ToolbarButtons> colTopics = {21, 18, 19, 20, 16,
                                                                      17, 14, 15, 4,  0};
        for (size_t i = 0; i < colTopics.size(); ++i) {
            if (colTopics[i] != 0) {
                CToolbarButton& oButton = *m_sftToolbar[i];
                oButton.SetWhatsThisHelpID(colTopics[i]);
                // A button that shows an action takes the action's texts again at each of its
                // changes (enabling the folder commands): the action carries the help too.
                if (QAction* pAction = oButton.defaultAction()) {
                    pAction->setWhatsThis(WhatsThis(colTopics[i]));
                }
                oButton.SetWhatsThisText(WhatsThis(colTopics[i]).toStdString());
            }
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.SetHelpContextIDs", false);
    }
}

void FMain::PlaceEmptyNotes() {
    // Shown by the list loaders; placed again when the lists change size or style.
    if (m_lblDailyEmpty != nullptr) {
        PlaceEmptyNote(*m_lblDailyEmpty, *m_lvwDaily);
    }
    if (m_lblFavoritesEmpty != nullptr) {
        PlaceEmptyNote(*m_lblFavoritesEmpty, *m_lvwFavorites);
    }
}
