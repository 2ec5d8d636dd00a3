// FMain: the journal in the window. The search box lists the documents of every day that match
// its text, from the index read in the background at start-up and kept current by each filing;
// the year at a glance shades the last twelve months by the documents filed each day; the lists
// grey the documents that no longer exist, and "Remove Missing Links" clears them.
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/journal/CDayCounts.h"
#include "app/journal/CMissingDocuments.h"
#include "app/repository/CShortcut.h"
#include "app/resources/MResources.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/views/MListSettings.h"
#include "app/window/CCalendar.h"
#include "app/window/CStatusBarText.h"
#include "app/window/FMain.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CToolbarButton.h"
#include "platform/controls/CYearGrid.h"
#include "platform/controls/MInputCodes.h"
#include "platform/controls/MTwips.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CFileManager.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

namespace {
// The pause in the typing after which the box's text is searched.
constexpr int SearchPauseMilliseconds = 150;
constexpr int SearchBoxWidth = 240;

std::string TwoDigits(int iValue) {
    char szText[16];
    std::snprintf(szText, sizeof szText, "%02d", iValue);
    return szText;
}

// "yyyy/mm/dd hh:mm": sorts as text in time order.
std::string SortableDateTime(const CDateTime& dTime) {
    if (dTime.IsEmpty()) {
        return "";
    }
    return std::to_string(dTime.Year()) + "/" + TwoDigits(dTime.Month()) + "/" +
           TwoDigits(dTime.Day()) + " " + TwoDigits(dTime.Hour()) + ":" + TwoDigits(dTime.Minute());
}

// The count right-aligned in five characters, so the texts sort in number order.
std::string PaddedCount(std::int32_t lCount) {
    const std::string sPadded = "    " + std::to_string(lCount);
    return sPadded.substr(sPadded.size() - 5);
}

QDate ToDate(const CDateTime& dDay) {
    return {dDay.Year(), dDay.Month(), dDay.Day()};
}

// Escape in the search box empties it, which leaves the search.
class CEscapeClears : public QObject {
public:
    explicit CEscapeClears(QLineEdit* pBox) : QObject(pBox), m_pBox(pBox) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pWatched == m_pBox && pEvent->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape && !m_pBox->text().isEmpty()) {
            m_pBox->clear();
            return true;
        }
        return false;
    }

private:
    QLineEdit* m_pBox;
};

template <typename F>
void Reported(int iContext, const char* szSource, F&& fn) {
    try {
        fn();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, iContext, szSource);
    }
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

// --- Construction, start and stop ------------------------------------------------------------

void FMain::CreateJournalControls() {
    // The search box, at the right end of the toolbar strip (placed by LayoutJournalControls).
    m_txtSearch = new QLineEdit(m_picToolbar);
    m_txtSearch->setObjectName("txtSearch");
    m_txtSearch->setPlaceholderText(QString::fromStdString(MResources::LoadResString(164)));
    m_txtSearch->setClearButtonEnabled(true);
    m_txtSearch->setToolTip(QString::fromStdString(MResources::LoadResString(165)));
    m_txtSearch->installEventFilter(new CEscapeClears(m_txtSearch));
    connect(m_txtSearch, &QLineEdit::textChanged, this, [this] { txtSearch_Change(); });
    connect(m_txtSearch, &QLineEdit::returnPressed, this, [this] { txtSearch_Return(); });
    m_tmrSearch = new QTimer(this);
    m_tmrSearch->setObjectName("tmrSearch");
    m_tmrSearch->setSingleShot(true);
    m_tmrSearch->setInterval(SearchPauseMilliseconds);
    connect(m_tmrSearch, &QTimer::timeout, this, [this] { tmrSearch_Timer(); });

    // The results stand where the views stand, over them while the box has text.
    m_picSearch = new QWidget(m_pClient);
    m_picSearch->setObjectName("picSearch");
    m_lvwSearch = new CListView(m_picSearch);
    m_lvwSearch->setObjectName("lvwSearch");
    // Every column fits the list of a first start.
    m_lvwSearch->AddColumnHeader(tr("Document").toStdString(), CListView::ColumnLeft,
                                 MListSettings::WideColumnWidth);
    m_lvwSearch->AddColumnHeader(tr("Type").toStdString(), CListView::ColumnLeft, 1800);
    m_lvwSearch->AddColumnHeader(tr("Folder").toStdString(), CListView::ColumnLeft,
                                 MListSettings::WideColumnWidth);
    m_lvwSearch->AddColumnHeader(tr("Days Used").toStdString(), CListView::ColumnRight, 1100);
    m_lvwSearch->AddColumnHeader(tr("Last Use").toStdString(), CListView::ColumnRight,
                                 MListSettings::DateTimeColumnWidth);
    m_lvwSearch->SetView(CListView::StyleDetails);
    m_lvwSearch->SetSortKey(4);
    m_lvwSearch->SetSortOrder(CListView::Descending);
    m_lvwSearch->SetSorted(true);
    m_lvwSearch->SetIcons(m_imlMain[3]);
    m_lvwSearch->SetSmallIcons(m_imlMain[4]);
    m_lblSearchEmpty = new QLabel(m_lvwSearch);
    m_lblSearchEmpty->setObjectName("lblSearchEmpty");
    m_lblSearchEmpty->setAlignment(Qt::AlignCenter);
    m_lblSearchEmpty->setWordWrap(true);
    m_lblSearchEmpty->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lblSearchEmpty->setForegroundRole(QPalette::PlaceholderText);
    m_lblSearchEmpty->hide();
    m_picSearch->hide();
    connect(m_lvwSearch, &CListView::DblClick, this, [this] { lvwSearch_DblClick(); });
    connect(m_lvwSearch, &CListView::KeyUp, this,
            [this](int iKeyCode, int iShift) { lvwSearch_KeyUp(iKeyCode, iShift); });
    connect(m_lvwSearch, &CListView::MouseUp, this,
            [this](int iButton, int, std::int32_t lX, std::int32_t lY) {
                lvwSearch_MouseUp(iButton, lX, lY);
            });
    connect(m_lvwSearch, &CListView::ItemClick, this,
            [this](const std::string&) { SetExploreOpen(true); });

    // Rows of documents that are gone are drawn greyed, asked only for the rows on show.
    m_lvwDaily->SetGreyedItems(
        [this](const std::string& sKey) { return RowMissing(m_colDailyTargets, sKey); });
    m_lvwFavorites->SetGreyedItems(
        [this](const std::string& sKey) { return RowMissing(m_colFavoritesTargets, sKey); });
    m_lvwSearch->SetGreyedItems(
        [this](const std::string& sKey) { return RowMissing(m_colSearchTargets, sKey); });

    // The year at a glance: a window of its own beside the main window.
    m_frmYear = new QDialog(this);
    m_frmYear->setObjectName("frmYear");
    m_frmYear->setWindowTitle(
        QString::fromStdString(MDayfold::AppTitle() + " - " + MResources::LoadResString(168)));
    auto* pYearLayout = new QVBoxLayout(m_frmYear);
    pYearLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_lblYearTotal = new QLabel(m_frmYear);
    m_lblYearTotal->setObjectName("lblYearTotal");
    pYearLayout->addWidget(m_lblYearTotal);
    m_grdYear = new CYearGrid(m_frmYear);
    m_grdYear->setObjectName("grdYear");
    pYearLayout->addWidget(m_grdYear);
    CYearGrid::STexts oYearTexts;
    oYearTexts.sLess = QString::fromStdString(MResources::LoadResString(182));
    oYearTexts.sMore = QString::fromStdString(MResources::LoadResString(183));
    oYearTexts.sNoDocuments = QString::fromStdString(MResources::LoadResString(184));
    oYearTexts.sOneDocument = QString::fromStdString(MResources::LoadResString(185));
    oYearTexts.sDocuments = QString::fromStdString(MResources::LoadResString(186));
    m_grdYear->SetTexts(oYearTexts);
    connect(m_grdYear, &CYearGrid::DayClick, this,
            [this](const QDate& dDay) { grdYear_DayClick(dDay); });

    // The commands: the year in the View menu under the views, the removal in Tools.
    SActions& a = m_oActions;
    a.pYear = new QAction(tr("&Year at a Glance"), this);
    a.pYear->setObjectName("mnuViewYear");
    a.pRemoveMissing = new QAction(tr("Re&move Missing Links"), this);
    a.pRemoveMissing->setObjectName("mnuRemoveMissing");
    const QList<QAction*> colViewItems = m_mnuView->actions();
    m_mnuView->insertAction(colViewItems.size() > 2 ? colViewItems[2] : nullptr, a.pYear);
    m_mnuTools->addAction(a.pRemoveMissing);
    connect(a.pYear, &QAction::triggered, this,
            [this] { Reported(173, "FMain.mnuViewYear_Click", [&] { ShowYearAtAGlance(); }); });
    connect(a.pRemoveMissing, &QAction::triggered, this, [this] {
        Reported(177, "FMain.mnuToolsRemoveMissing_Click", [&] { RemoveMissingLinks(); });
    });
    // Choosing a view leaves the search.
    for (QAction* pView : {a.pViewDaily, a.pViewFavorites}) {
        connect(pView, &QAction::triggered, this, [this] { m_txtSearch->clear(); });
    }
}

void FMain::StartJournal() {
    const std::string sDailyPath = MDayfold::AppPath() + "/Daily";
    m_pDayCounts = std::make_unique<CDayCounts>(sDailyPath);
    m_pMissing = std::make_unique<CMissingDocuments>(MDayfold::Clock());
    // The building thread only posts; the index is taken over on the window's thread.
    m_oJournal.BuildFinished = [this] {
        QMetaObject::invokeMethod(
            this, [this] { m_oJournal_BuildFinished(); }, Qt::QueuedConnection);
    };
    m_oCapture.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
        m_oJournal.Add(oShortcut, bCounted);
    };
    m_oJournal.Build(sDailyPath);
    m_bJournalStarted = true;
}

void FMain::StopJournal() {
    m_oJournal.Cancel();
    m_oJournal.Wait();
    m_oCapture.ShortcutFiled = nullptr;
}

void FMain::LayoutJournalControls() {
    if (m_txtSearch == nullptr) {
        return;
    }
    // Right-aligned in the strip, never over the buttons.
    const int iButtonsEnd = m_sftToolbar[ButtonWhatsThisHelp]->geometry().right() + 12;
    const int iWidth =
        std::max(0, std::min(SearchBoxWidth, m_picToolbar->width() - iButtonsEnd - 6));
    const int iHeight = m_txtSearch->sizeHint().height();
    m_txtSearch->setGeometry(m_picToolbar->width() - iWidth - 6,
                             std::max(0, (m_picToolbar->height() - 2 - iHeight) / 2), iWidth,
                             iHeight);
    m_txtSearch->setVisible(iWidth >= 80);
    m_picSearch->setGeometry(m_picDaily->geometry());
    m_lvwSearch->setGeometry(0, 0, m_picSearch->width(), m_picSearch->height());
    m_lblSearchEmpty->setGeometry(12, 28, std::max(m_lvwSearch->width() - 24, 0), 60);
}

// --- Search ----------------------------------------------------------------------------------

void FMain::txtSearch_Change() {
    if (m_txtSearch->text().trimmed().isEmpty()) {
        m_tmrSearch->stop();
        RefreshSearch();
        return;
    }
    m_tmrSearch->start();
}

void FMain::tmrSearch_Timer() {
    m_tmrSearch->stop();
    RefreshSearch();
}

void FMain::txtSearch_Return() {
    Reported(125, "FMain.txtSearch_Return", [&] {
        if (m_tmrSearch->isActive()) {
            tmrSearch_Timer();
        }
        if (!SearchShown() || m_lvwSearch->Count() == 0) {
            return;
        }
        if (m_lvwSearch->SelectedKey().empty()) {
            m_lvwSearch->SetSelectedKey(m_lvwSearch->KeyAt(1));
        }
        lvwSearch_DblClick();
    });
}

bool FMain::SearchShown() const {
    return m_picSearch != nullptr && !m_picSearch->isHidden();
}

void FMain::ShowSearch(bool bShow) {
    if (bShow == SearchShown() || !m_oDaily || !m_oFavorites) {
        return;
    }
    if (bShow) {
        m_oDaily->SetVisible(false);
        m_oFavorites->SetVisible(false);
        LayoutJournalControls();
        m_picSearch->show();
        m_picSearch->raise();
        SetExploreOpen(!m_lvwSearch->SelectedKey().empty());
    } else {
        m_picSearch->hide();
        m_lvwSearch->ClearItems();
        m_colSearchTargets.clear();
        // The view that was shown comes back as it was.
        SetActiveView(m_lActiveView);
    }
}

void FMain::RefreshSearch() {
    Logged("FMain.RefreshSearch", [&] {
        const std::string sText = m_txtSearch->text().trimmed().toStdString();
        ShowSearch(!sText.empty());
        if (!sText.empty()) {
            LoadSearchListView(sText);
        }
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
        // Results found before the whole journal was read may not be all: the status says so.
        if (!sText.empty() && !m_oJournal.Ready()) {
            m_sbrMain->SetSimpleText(
                MResources::LoadResString(163, {std::to_string(m_lvwSearch->Count())}));
        }
    });
}

void FMain::LoadSearchListView(const std::string& sText) {
    const bool bReady = m_oJournal.Ready();
    const std::vector<SJournalDocument> colFound = m_oJournal.Query(sText);
    const std::string sSelected = m_lvwSearch->SelectedKey();
    // Filled unsorted and without image lists attached, then sorted and drawn once.
    m_lvwSearch->SetSorted(false);
    m_lvwSearch->ClearItems();
    m_colSearchTargets.clear();
    m_lvwSearch->SetIcons(nullptr);
    m_lvwSearch->SetSmallIcons(nullptr);
    for (const SJournalDocument& oDocument : colFound) {
        const std::string sKey = "K" + oDocument.sShortcutFile;
        if (oDocument.sShortcutFile.empty() || m_lvwSearch->Contains(sKey)) {
            continue;
        }
        const std::int32_t lIcon =
            oDocument.sTargetFile.empty()
                ? 1
                : FavoritesImageListIndex(oDocument.sShortcutFile, oDocument.sTargetFile);
        m_lvwSearch->AddItem(sKey, oDocument.sName, lIcon, lIcon,
                             {oDocument.sType, oDocument.sFolder, PaddedCount(oDocument.lDaysUsed),
                              SortableDateTime(oDocument.dLastUsed)});
        m_colSearchTargets.emplace(sKey, oDocument.sTargetFile);
    }
    m_lvwSearch->SetIcons(m_imlMain[3]);
    m_lvwSearch->SetSmallIcons(m_imlMain[4]);
    m_lvwSearch->SetSortKey(4);
    m_lvwSearch->SetSortOrder(CListView::Descending);
    m_lvwSearch->SetSorted(true);
    if (!sSelected.empty() && m_lvwSearch->Contains(sSelected)) {
        m_lvwSearch->SetSelectedKey(sSelected);
    }
    SetExploreOpen(!m_lvwSearch->SelectedKey().empty());
    QString sNote;
    if (m_lvwSearch->Count() == 0) {
        sNote = QString::fromStdString(bReady ? MResources::LoadResString(166, {sText})
                                              : MResources::LoadResString(167));
    }
    m_lblSearchEmpty->setText(sNote);
    m_lblSearchEmpty->setVisible(!sNote.isEmpty());
}

void FMain::m_oJournal_BuildFinished() {
    Logged("FMain.m_oJournal_BuildFinished", [&] {
        m_oJournal.Ready();
        if (SearchShown()) {
            RefreshSearch();
        }
    });
}

void FMain::RebuildJournal() {
    if (m_bJournalStarted) {
        m_oJournal.Build(MDayfold::AppPath() + "/Daily");
        // Copies went: the year on show counts them again.
        RefreshYear();
    }
}

void FMain::RefreshJournalViews() {
    Logged("FMain.RefreshJournalViews", [&] {
        if (SearchShown()) {
            RefreshSearch();
        }
        RefreshYear();
    });
}

void FMain::lvwSearch_DblClick() {
    Reported(125, "FMain.lvwSearch_DblClick", [&] {
        const std::string sKey = m_lvwSearch->SelectedKey();
        if (sKey.empty()) {
            return;
        }
        auto pWaitCursor = std::make_unique<CWaitCursor>();
        pWaitCursor->SetMessage(*m_pStatusText, MResources::LoadResString(155));
        OpenDocument(sKey);
        RefreshStatusBar(pWaitCursor);
    });
}

void FMain::lvwSearch_KeyUp(int iKeyCode, int iShift) {
    Reported(127, "FMain.lvwSearch_KeyUp", [&] {
        const std::string sKey = m_lvwSearch->SelectedKey();
        if (sKey.empty()) {
            return;
        }
        if (iKeyCode == MInputCodes::KeyReturn) {
            lvwSearch_DblClick();
        } else if (iKeyCode == MInputCodes::KeyF10 && (iShift & MInputCodes::AltMask) != 0) {
            lvwSearch_MouseUp(MInputCodes::RightButton, m_lvwSearch->ItemLeft(sKey) + 600,
                              m_lvwSearch->ItemTop(sKey) + 200);
        }
    });
}

void FMain::lvwSearch_MouseUp(int iButton, std::int32_t lX, std::int32_t lY) {
    Reported(127, "FMain.lvwSearch_MouseUp", [&] {
        if (iButton == MInputCodes::RightButton && !m_lvwSearch->SelectedKey().empty()) {
            PopupAt(*m_mnuListView, static_cast<float>(MTwips::Left(*m_picSearch) + lX),
                    static_cast<float>(MTwips::Top(*m_picSearch) + lY));
        }
    });
}

std::string FMain::SearchSelectedDocument() const {
    return m_lvwSearch->SelectedKey();
}

bool FMain::SearchFolderCommand(bool bExplore) {
    if (!SearchShown()) {
        return false;
    }
    const std::string sKey = m_lvwSearch->SelectedKey();
    if (sKey.empty()) {
        return true;
    }
    const std::string sFolder = m_lvwSearch->SubItem(sKey, 2);
    const auto it = m_colSearchTargets.find(sKey);
    const std::string sTarget = it != m_colSearchTargets.end() && !it->second.empty()
                                    ? it->second
                                    : sFolder + "/" + m_lvwSearch->ItemText(sKey);
    const bool bDone =
        bExplore ? m_pFileManager->ShowItem(sTarget) : m_pFileManager->OpenFolder(sFolder);
    if (!bDone) {
        throw CRunTimeError(RunTimeErrors::PathNotFound,
                            (bExplore ? "No file manager shows " : "No file manager opens ") +
                                (bExplore ? sTarget : sFolder));
    }
    return true;
}

// --- Missing documents -----------------------------------------------------------------------

bool FMain::RowMissing(const std::unordered_map<std::string, std::string>& colTargets,
                       const std::string& sKey) {
    if (!m_pMissing) {
        return false;
    }
    const auto it = colTargets.find(sKey);
    return it != colTargets.end() && !it->second.empty() && m_pMissing->Missing(it->second);
}

void FMain::RemoveMissingLinks() {
    if (!m_pMissing) {
        return;
    }
    auto pWaitCursor = std::make_unique<CWaitCursor>();
    pWaitCursor->SetMessage(*m_pStatusText, MResources::LoadResString(155));
    const std::vector<std::string> colCopies = m_pMissing->FindMissing();
    // The question counts documents, not the days they were used on.
    std::set<std::string> colTargets;
    for (const std::string& sCopy : colCopies) {
        CShortcut oShortcut;
        oShortcut.SetFile(sCopy);
        colTargets.insert(oShortcut.TargetFile().empty() ? sCopy : oShortcut.TargetFile());
    }
    pWaitCursor.reset();
    if (colCopies.empty()) {
        MDayfold::Presenter().Show(MResources::LoadResString(174), MDayfold::AppTitle(),
                                   MessageBox::OkOnly + MessageBox::Information);
        return;
    }
    const std::string sQuestion =
        colTargets.size() == 1
            ? MResources::LoadResString(175)
            : MResources::LoadResString(176, {std::to_string(colTargets.size())});
    if (MDayfold::Presenter().Show(sQuestion, MDayfold::AppTitle(),
                                   MessageBox::YesNo + MessageBox::Question) !=
        MessageBox::AnswerYes) {
        return;
    }
    pWaitCursor = std::make_unique<CWaitCursor>();
    pWaitCursor->SetMessage(*m_pStatusText, MResources::LoadResString(155));
    m_pMissing->RemoveMissing(colCopies);
    // The Recent folder's shortcut of a removed copy would be filed again by the next poll.
    std::error_code ec;
    for (const std::string& sCopy : colCopies) {
        const std::string sRecent =
            m_sRecentFolder + "/" + std::filesystem::path(sCopy).filename().string();
        if (std::filesystem::exists(sCopy, ec) || !std::filesystem::exists(sRecent, ec)) {
            continue;
        }
        CShortcut oRecent;
        oRecent.SetFile(sRecent);
        if (!oRecent.TargetFile().empty() &&
            m_pMissing->Check(oRecent.TargetFile()) == CMissingDocuments::EState::Missing) {
            std::filesystem::remove(sRecent, ec);
        }
    }
    // The results stop showing them now; the index read anew follows.
    m_oJournal.RemoveDocuments([this, &colTargets](const std::string& sTarget) {
        return colTargets.count(sTarget) != 0 &&
               m_pMissing->Check(sTarget) == CMissingDocuments::EState::Missing;
    });
    RebuildAndSaveFavorites();
    RefreshDaily();
    RefreshFavorites();
    RefreshJournalViews();
    RefreshStatusBar(pWaitCursor);
}

// --- The year at a glance --------------------------------------------------------------------

void FMain::ShowYearAtAGlance() {
    RefreshYear(false);
    m_frmYear->show();
    m_frmYear->raise();
    m_frmYear->activateWindow();
}

void FMain::RefreshYear(bool bOnlyIfShown) {
    if (!m_pDayCounts || (bOnlyIfShown && !m_frmYear->isVisible())) {
        return;
    }
    const CDateTime dToday = MDayfold::Clock().Now().DatePart();
    const CDateTime dFrom = dToday.AddDays(-364);
    m_pDayCounts->Count(dFrom, dToday);
    m_grdYear->SetDays(ToDate(dFrom), m_pDayCounts->Counts());
    const std::int32_t lTotal = m_pDayCounts->Total();
    std::int32_t lDays = 0;
    for (std::int32_t lCount : m_pDayCounts->Counts()) {
        lDays += lCount > 0 ? 1 : 0;
    }
    // One document is filed on one day; more may be filed on one day or on more.
    const std::string sTotal = std::to_string(lTotal);
    m_lblYearTotal->setText(QString::fromStdString(
        lTotal == 0   ? MResources::LoadResString(169)
        : lTotal == 1 ? MResources::LoadResString(170)
        : lDays == 1  ? MResources::LoadResString(171, {sTotal})
                      : MResources::LoadResString(172, {sTotal, std::to_string(lDays)})));
}

void FMain::grdYear_DayClick(const QDate& dDay) {
    Reported(124, "FMain.grdYear_DayClick", [&] {
        const CDateTime dDate = CDateTime::FromParts(dDay.year(), dDay.month(), dDay.day());
        m_txtSearch->clear();
        if (m_lActiveView != ViewDaily) {
            SetActiveView(ViewDaily);
        }
        // The calendar moves, and its date change selects the day in the tree and the list.
        if (m_oCalendar && m_oCalendar->Value().DatePart() != dDate) {
            m_oCalendar->SetValue(dDate);
        } else {
            SelectDate(dDate);
        }
        std::unique_ptr<CWaitCursor> pNoWaitCursor;
        RefreshStatusBar(pNoWaitCursor);
    });
}
