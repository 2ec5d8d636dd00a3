#include "app/options/FOptions.h"

#include "app/core/MDayfold.h"
#include "app/options/MOptionValues.h"
#include "app/resources/MResources.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CHelp.h"
#include "ui_FOptions.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace {

// The range messages of the rows: 146, 147, 148.
constexpr int FirstRangeMessage = 146;

// The classic key code of a released key: F1 to F12 are 112 to 123, letters and digits their
// capital character; 0 for the others.
int ClassicKeyCode(int iKey) {
    if (iKey >= Qt::Key_F1 && iKey <= Qt::Key_F12) {
        return 112 + (iKey - Qt::Key_F1);
    }
    if ((iKey >= Qt::Key_0 && iKey <= Qt::Key_9) || (iKey >= Qt::Key_A && iKey <= Qt::Key_Z)) {
        return iKey;
    }
    return 0;
}

int ShiftState(Qt::KeyboardModifiers eModifiers) {
    return (eModifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (eModifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (eModifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// Whether a key press types a character into an entry. Keys that move the focus or edit
// (Tab, Delete) and shortcuts with Ctrl, Alt or Meta (copy, paste, access keys) do not.
bool TypesCharacter(const QKeyEvent& oKey) {
    if (oKey.text().isEmpty() ||
        (oKey.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return false;
    }
    switch (oKey.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return true;
    }
}

} // namespace

FOptions::FOptions(QWidget* pParent) : QDialog(pParent), m_pUi(std::make_unique<Ui::FOptions>()) {
    m_pUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    m_colLabels = {m_pUi->lblOptions0, m_pUi->lblOptions1, m_pUi->lblOptions2};
    m_colEntries = {m_pUi->txtOptions0, m_pUi->txtOptions1, m_pUi->txtOptions2};
    m_colUp = {m_pUi->udOptionsUp0, m_pUi->udOptionsUp1, m_pUi->udOptionsUp2};
    m_colDown = {m_pUi->udOptionsDown0, m_pUi->udOptionsDown1, m_pUi->udOptionsDown2};
    m_colButtons = {m_pUi->cmdOptions0, m_pUi->cmdOptions1, m_pUi->cmdOptions2};
    m_fBeep = [] { QApplication::beep(); };

    for (int iRow = 0; iRow < 3; ++iRow) {
        m_colEntries[iRow]->installEventFilter(this);
        m_colUp[iRow]->setFixedSize(18, 12);
        m_colDown[iRow]->setFixedSize(18, 12);
        connect(m_colUp[iRow], &QToolButton::clicked, this,
                [this, iRow] { udOptions_UpClick(iRow); });
        connect(m_colDown[iRow], &QToolButton::clicked, this,
                [this, iRow] { udOptions_DownClick(iRow); });
    }
    for (int iIndex = 0; iIndex < 3; ++iIndex) {
        connect(m_colButtons[iIndex], &QPushButton::clicked, this,
                [this, iIndex] { cmdOptions_Click(iIndex); });
    }
    const std::array<QPushButton*, 3> colPrivacy = {m_pUi->cmdPrivacy0, m_pUi->cmdPrivacy1,
                                                    m_pUi->cmdPrivacy2};
    for (int iIndex = 0; iIndex < 3; ++iIndex) {
        connect(colPrivacy[static_cast<size_t>(iIndex)], &QPushButton::clicked, this,
                [this, iIndex] { cmdPrivacy_Click(iIndex); });
    }
    m_fChooseFolder = [](QWidget* pOwner) {
        return QFileDialog::getExistingDirectory(
                   pOwner, QString::fromStdString(MResources::LoadResString(180)))
            .toStdString();
    };
    // The list as stored; a dialog that cannot read it starts from the defaults.
    try {
        m_oPrivacy.ReadValues();
        SetPrivateFolders(m_oPrivacy.Folders());
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FOptions.Form_Load", false);
        SetPrivateFolders(CPrivateFolders::DefaultFolders());
    }
    // Keys released anywhere in the dialog reach Form_KeyUp, whichever control has the focus.
    installEventFilter(this);
    for (QWidget* pChild : findChildren<QWidget*>()) {
        pChild->installEventFilter(this);
    }
    SetHelpContextIDs();
}

FOptions::~FOptions() = default;

COptions::DialogLoader FOptions::Loader(QWidget* pOwner, PrivacySaved fPrivacySaved) {
    return [pOwner, fPrivacySaved]() -> std::unique_ptr<COptionsDialog> {
        auto pDialog = std::make_unique<FOptions>(pOwner);
        pDialog->SetPrivacySaved(fPrivacySaved);
        return pDialog;
    };
}

QListWidget* FOptions::lstPrivacy() const {
    return m_pUi->lstPrivacy;
}

int FOptions::PageTopic() const {
    return m_pUi->tabOptions->currentWidget() == m_pUi->pagPrivacy ? PrivacyTopic : HelpTopic;
}

std::vector<std::string> FOptions::PrivateFolders() const {
    std::vector<std::string> vFolders;
    for (int i = 0; i < m_pUi->lstPrivacy->count(); ++i) {
        vFolders.push_back(m_pUi->lstPrivacy->item(i)->text().toStdString());
    }
    return vFolders;
}

void FOptions::SetPrivateFolders(const std::vector<std::string>& vFolders) {
    CPrivateFolders oFolders;
    oFolders.SetFolders(vFolders);
    m_pUi->lstPrivacy->clear();
    for (const std::string& sFolder : oFolders.Folders()) {
        m_pUi->lstPrivacy->addItem(QString::fromStdString(sFolder));
    }
    // A folder no longer listed keeps its documents.
    const std::vector<std::string> vListed = oFolders.Folders();
    std::erase_if(m_vFoldersToClear, [&vListed](const std::string& sFolder) {
        return std::find(vListed.begin(), vListed.end(), sFolder) == vListed.end();
    });
}

void FOptions::cmdPrivacy_Click(int iIndex) {
    try {
        switch (iIndex) {
        case PrivacyAdd:
            AddPrivateFolder();
            break;
        case PrivacyRemove: {
            const int iRow = m_pUi->lstPrivacy->currentRow();
            if (iRow < 0) {
                Beep();
                break;
            }
            std::vector<std::string> vFolders = PrivateFolders();
            vFolders.erase(vFolders.begin() + iRow);
            SetPrivateFolders(vFolders);
            m_pUi->lstPrivacy->setCurrentRow(std::min(iRow, m_pUi->lstPrivacy->count() - 1));
            break;
        }
        case PrivacyDefaults:
            SetPrivateFolders(CPrivateFolders::DefaultFolders());
            break;
        default:
            break;
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 139, "FOptions.cmdPrivacy_Click");
    }
}

void FOptions::AddPrivateFolder() {
    const std::string sChosen = m_fChooseFolder ? m_fChooseFolder(this) : std::string();
    if (MDayfold::IsBlank(sChosen)) {
        return;
    }
    // The folder as the list keeps it (no trailing separator, "~" expanded); one named twice
    // is only selected.
    CPrivateFolders oNew;
    oNew.SetFolders({sChosen});
    if (oNew.Folders().empty()) {
        Beep();
        return;
    }
    const std::string sFolder = oNew.Folders().front();
    std::vector<std::string> vFolders = PrivateFolders();
    const auto itFound = std::find(vFolders.begin(), vFolders.end(), sFolder);
    if (itFound == vFolders.end()) {
        vFolders.push_back(sFolder);
        SetPrivateFolders(vFolders);
        // Its documents filed before now stay unless the user asks: they are removed after OK.
        if (!oNew.FindExisting(sFolder).empty() &&
            MDayfold::Presenter().Show(
                MResources::LoadResString(181, {sFolder}), MDayfold::AppTitle(),
                MessageBox::YesNo + MessageBox::Question) == MessageBox::AnswerYes) {
            m_vFoldersToClear.push_back(sFolder);
        }
    }
    const auto oItems =
        m_pUi->lstPrivacy->findItems(QString::fromStdString(sFolder), Qt::MatchExactly);
    if (!oItems.isEmpty()) {
        m_pUi->lstPrivacy->setCurrentItem(oItems.front());
    }
}

bool FOptions::SavePages() {
    try {
        m_oPrivacy.SetFolders(PrivateFolders());
        if (!m_oPrivacy.SaveValues()) {
            return false;
        }
        if (m_fPrivacySaved) {
            m_fPrivacySaved(m_vFoldersToClear);
        }
        return true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FOptions.SavePages", false);
        return false;
    }
}

void FOptions::SetHelpContextIDs() {
    const CHelp* pHelp = CHelp::Application();
    if (pHelp == nullptr) {
        return;
    }
    for (int iRow = 0; iRow < 3; ++iRow) {
        const QString sText = pHelp->WhatsThisText(WhatsThisTopics[iRow]);
        for (QWidget* pControl :
             {static_cast<QWidget*>(m_colLabels[iRow]), static_cast<QWidget*>(m_colEntries[iRow]),
              static_cast<QWidget*>(m_colUp[iRow]), static_cast<QWidget*>(m_colDown[iRow])}) {
            pControl->setWhatsThis(sText);
        }
    }
    const QString sPrivacy = pHelp->WhatsThisText(PrivacyTopic);
    for (QWidget* pControl :
         {static_cast<QWidget*>(m_pUi->lblPrivacy), static_cast<QWidget*>(m_pUi->lstPrivacy),
          static_cast<QWidget*>(m_pUi->cmdPrivacy0), static_cast<QWidget*>(m_pUi->cmdPrivacy1),
          static_cast<QWidget*>(m_pUi->cmdPrivacy2)}) {
        pControl->setWhatsThis(sPrivacy);
    }
}

void FOptions::Beep() {
    if (m_fBeep) {
        m_fBeep();
    }
}

std::int32_t FOptions::Entry(int iRow, const char* szSource) {
    try {
        return MOptionValues::ToLong(txtOptions(iRow)->text().toStdString());
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, szSource, false);
        return 0;
    }
}

void FOptions::SetEntry(int iRow, std::int32_t lValue) {
    txtOptions(iRow)->setText(QString::number(lValue));
}

std::int32_t FOptions::FavoritesThreshold() {
    return Entry(RowFavoritesThreshold, "FOptions.FavoritesThreshold");
}
void FOptions::SetFavoritesThreshold(std::int32_t lValue) {
    SetEntry(RowFavoritesThreshold, lValue);
}
std::int32_t FOptions::PurgeAge() {
    return Entry(RowPurgeAge, "FOptions.PurgeAge");
}
void FOptions::SetPurgeAge(std::int32_t lValue) {
    SetEntry(RowPurgeAge, lValue);
}
std::int32_t FOptions::TimerInterval() {
    return Entry(RowTimerInterval, "FOptions.TimerInterval");
}
void FOptions::SetTimerInterval(std::int32_t lValue) {
    SetEntry(RowTimerInterval, lValue);
}

bool FOptions::GetValues() {
    try {
        m_bConfirmed = false;
        exec();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FOptions.GetValues", false);
    }
    return m_bConfirmed;
}

void FOptions::cmdOptions_Click(int iIndex) {
    try {
        switch (iIndex) {
        case 0: // OK
            if (Validate()) {
                m_bConfirmed = true;
                done(Accepted);
            }
            break;
        case 1: // Cancel
            m_bConfirmed = false;
            done(Rejected);
            break;
        case 2: // Help
            DisplayHelp(PageTopic());
            break;
        default:
            break;
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 139, "FOptions.cmdOptions_Click");
    }
}

void FOptions::reject() {
    cmdOptions_Click(1);
}

void FOptions::txtOptions_KeyPress(int iRow, std::int16_t& iKeyAscii) {
    try {
        if (!MDayfold::Library().IsNumericEntry(iKeyAscii)) {
            iKeyAscii = 0;
            Beep();
            MDayfold::Presenter().Show(MResources::LoadResString(FirstRangeMessage + iRow),
                                       MDayfold::AppTitle(), MessageBox::Information);
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 144, "FOptions.txtOptions_KeyPress");
    }
}

void FOptions::txtOptions_GotFocus(int iRow) {
    try {
        MDayfold::Library().SelectText(txtOptions(iRow));
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 143, "FOptions.txtOptions_GotFocus");
    }
}

void FOptions::udOptions_UpClick(int iRow) {
    try {
        const std::int32_t lValue = MOptionValues::ToLong(txtOptions(iRow)->text().toStdString());
        if (iRow == RowTimerInterval && lValue >= 60) {
            Beep();
            return;
        }
        if (lValue == std::numeric_limits<std::int32_t>::max()) {
            throw CRunTimeError::Standard(RunTimeErrors::Overflow);
        }
        SetEntry(iRow, lValue + 1);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 145, "FOptions.udOptions_UpClick");
    }
}

void FOptions::udOptions_DownClick(int iRow) {
    try {
        const std::int32_t lValue = MOptionValues::ToLong(txtOptions(iRow)->text().toStdString());
        if (lValue >= 2) {
            SetEntry(iRow, lValue - 1);
        } else {
            Beep();
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 145, "FOptions.udOptions_DownClick");
    }
}

void FOptions::Form_KeyUp(int iKeyCode, int /*iShift*/) {
    try {
        if (iKeyCode == 112) { // F1
            DisplayHelp(PageTopic());
        }
    } catch (...) {
        // Help from the keyboard is a convenience: a failure here is not worth a message.
    }
}

void FOptions::DisplayHelp(int iTopic) {
    try {
        if (m_fHelpHandler) {
            m_fHelpHandler(iTopic, this);
        } else if (CHelp* pHelp = CHelp::Application()) {
            pHelp->Display(iTopic, this);
        } else {
            throw CRunTimeError(RunTimeErrors::FileNotFound, "The help file is not available");
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 131, "FOptions.DisplayHelp");
    }
}

void FOptions::RefuseRow(int iRow) {
    Beep();
    MDayfold::Presenter().Show(MResources::LoadResString(FirstRangeMessage + iRow),
                               MDayfold::AppTitle(), MessageBox::Information);
    txtOptions(iRow)->setFocus();
}

bool FOptions::Validate() {
    for (int iRow = 0; iRow < 3; ++iRow) {
        std::int32_t lValue = 0;
        try {
            lValue = MOptionValues::ToLong(txtOptions(iRow)->text().toStdString());
        } catch (const std::exception& oError) {
            // An entry that is not a number is refused like one out of range, so the user
            // learns which entry is wrong.
            MDayfold::LogError(oError, "FOptions.Validate", false);
            RefuseRow(iRow);
            return false;
        }
        const bool bInRange =
            iRow == RowTimerInterval ? (lValue >= 1 && lValue <= 60) : lValue >= 1;
        if (!bInRange) {
            RefuseRow(iRow);
            return false;
        }
    }
    return true;
}

bool FOptions::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyRelease) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        // The dialog acts on F1 only; it is handled once, not again by the control's parents.
        if (pKey->key() == Qt::Key_F1 && !pKey->isAutoRepeat()) {
            Form_KeyUp(ClassicKeyCode(pKey->key()), ShiftState(pKey->modifiers()));
            return true;
        }
        return false;
    }
    for (int iRow = 0; iRow < 3; ++iRow) {
        if (pWatched != m_colEntries[iRow]) {
            continue;
        }
        if (pEvent->type() == QEvent::FocusIn) {
            txtOptions_GotFocus(iRow);
        } else if (pEvent->type() == QEvent::KeyPress) {
            const auto* pKey = static_cast<QKeyEvent*>(pEvent);
            if (!TypesCharacter(*pKey)) {
                return false;
            }
            for (const char32_t cCode : pKey->text().toUcs4()) {
                std::int16_t iKeyAscii =
                    cCode > 0x7FFF ? std::int16_t{0x7FFF} : static_cast<std::int16_t>(cCode);
                txtOptions_KeyPress(iRow, iKeyAscii);
                if (iKeyAscii == 0) {
                    return true; // swallowed
                }
            }
        }
        return false;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}
