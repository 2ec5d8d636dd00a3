// FMain: the private folders the capture passes over, and "Suspend for 1 hour", which the
// timer's ticks end by themselves when the hour is over.
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/CSuspension.h"
#include "app/journal/MJournalText.h"
#include "app/resources/MIcons.h"
#include "app/window/FMain.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/errors/CMessagePresenter.h"

#include <QAction>

void FMain::ReadPrivateFolders() {
    try {
        if (!m_pSuspension) {
            m_pSuspension = std::make_unique<CSuspension>(MDayfold::Clock());
        }
        auto pFolders = std::make_unique<CPrivateFolders>();
        pFolders->ReadValues();
        m_pPrivateFolders = std::move(pFolders);
        // The capture asks the list in place; a new list also forgets what it passed over.
        const CPrivateFolders* pPrivate = m_pPrivateFolders.get();
        m_oCapture.SetPrivateFolders(
            [pPrivate](const std::string& sTarget) { return pPrivate->Contains(sTarget); });
        if (!m_pPrivateFolders->Known() && !m_bPrivacyUnknownTold) {
            // Every document counts as private meanwhile: nothing is journalled.
            m_bPrivacyUnknownTold = true;
            MDayfold::Presenter().Show(CPrivateFolders::UnknownMessage("\r\n\r\n"),
                                       MDayfold::AppTitle(),
                                       MessageBox::OkOnly + MessageBox::Exclamation);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.ReadPrivateFolders", false);
    }
}

void FMain::ApplyPrivacyChanges(const std::vector<std::string>& vFoldersToClear) {
    try {
        ReadPrivateFolders();
        if (vFoldersToClear.empty()) {
            return;
        }
        auto pWaitCursor = std::make_unique<CWaitCursor>();
        std::int32_t lRemoved = 0;
        for (const std::string& sFolder : vFoldersToClear) {
            lRemoved += m_pPrivateFolders->RemoveExisting(sFolder);
        }
        if (lRemoved > 0) {
            // The counts come from the repository, which no longer holds those documents.
            RebuildAndSaveFavorites();
            RefreshDaily();
            RefreshFavorites();
        }
        RefreshStatusBar(pWaitCursor);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 139, "FMain.ApplyPrivacyChanges");
    }
}

void FMain::SuspendForAnHour() {
    if (!m_pSuspension) {
        m_pSuspension = std::make_unique<CSuspension>(MDayfold::Clock());
    }
    m_pSuspension->Suspend(CSuspension::HourSeconds);
    m_bTimedSuspension = true;
    const std::string sUntil = MJournalText::IsoTime(m_pSuspension->ResumesAt()).substr(0, 5);
    m_tryMain->SetTrayIcon(QIcon(QString::fromLatin1(MIcons::TraySuspended)));
    m_tryMain->SetTrayTip(MDayfold::AppTitle() + " - suspended until " + sUntil);
    m_oActions.pSuspend->setVisible(false);
    m_oActions.pSuspendHour->setVisible(false);
    m_oActions.pResume->setVisible(true);
}

bool FMain::CaptureSuspended() {
    if (!m_bTimedSuspension) {
        return false;
    }
    if (m_pSuspension && m_pSuspension->Suspended()) {
        return true;
    }
    EndTimedSuspension();
    return false;
}

void FMain::EndTimedSuspension() {
    if (!m_bTimedSuspension) {
        return;
    }
    m_bTimedSuspension = false;
    if (m_pSuspension) {
        m_pSuspension->Resume();
    }
    m_tryMain->SetTrayTip(MDayfold::AppTitle());
    m_tryMain->SetTrayIcon(QIcon(QString::fromLatin1(MIcons::TrayIdle)));
    m_oActions.pSuspend->setVisible(true);
    m_oActions.pSuspendHour->setVisible(true);
    m_oActions.pResume->setVisible(false);
}
