#pragma once

#include "app/journal/CPrivateFolders.h"
#include "app/options/COptions.h"
#include "app/options/COptionsDialog.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
namespace Ui {
class FOptions;
}

// The options dialog "Dayfold Options": on the "General" page one row per option (label, entry,
// up/down steps), on the "Privacy" page the list of private folders; OK, Cancel and Help. The
// entries take only what a number may hold while typing, the steps keep their bounds, and OK
// checks the rows in order before the dialog closes.
class FOptions : public QDialog, public COptionsDialog {
    Q_OBJECT
public:
    // The rows and their What's This help topics.
    enum ERow { RowFavoritesThreshold = 0, RowPurgeAge = 1, RowTimerInterval = 2 };
    static constexpr std::array<int, 3> WhatsThisTopics = {2, 22, 6};
    static constexpr int HelpTopic = 11;
    static constexpr int PrivacyTopic = 40;
    // The Privacy page's buttons.
    enum EPrivacyButton { PrivacyAdd = 0, PrivacyRemove = 1, PrivacyDefaults = 2 };

    // Opens help at a topic for the dialog; the default opens the program's help window.
    using HelpHandler = std::function<void(int iTopic, QWidget* pOwner)>;

    explicit FOptions(QWidget* pParent = nullptr);
    ~FOptions() override;

    // Chooses a folder for the private list; "" when the user cancelled.
    using FolderChooser = std::function<std::string(QWidget* pOwner)>;
    // Told, once the private folders are stored after OK, the folders added in the dialog
    // whose documents already in the journal the user chose to remove.
    using PrivacySaved = std::function<void(const std::vector<std::string>& vFoldersToClear)>;

    // What the options store uses: the dialog, new for each change, above pOwner.
    static COptions::DialogLoader Loader(QWidget* pOwner, PrivacySaved fPrivacySaved = {});

    // The entries of rows 0, 1 and 2 as numbers (0, logged, for an entry that is not one), and
    // written as decimal text.
    std::int32_t FavoritesThreshold() override;
    void SetFavoritesThreshold(std::int32_t lValue) override;
    std::int32_t PurgeAge() override;
    void SetPurgeAge(std::int32_t lValue) override;
    std::int32_t TimerInterval() override;
    void SetTimerInterval(std::int32_t lValue) override;
    // Shows the dialog modally; true when it was closed with OK.
    bool GetValues() override;
    // Stores the private folders in their settings group.
    bool SavePages() override;

    // The private folders as the list shows them.
    std::vector<std::string> PrivateFolders() const;
    void SetPrivateFolders(const std::vector<std::string>& vFolders);
    // The folders added whose existing documents are to be removed once the list is stored.
    const std::vector<std::string>& FoldersToClear() const { return m_vFoldersToClear; }
    void SetFolderChooser(FolderChooser fChoose) { m_fChooseFolder = std::move(fChoose); }
    void SetPrivacySaved(PrivacySaved fSaved) { m_fPrivacySaved = std::move(fSaved); }

    void SetHelpHandler(HelpHandler fHandler) { m_fHelpHandler = std::move(fHandler); }
    // The computer's beep; tests count it.
    void SetBeeper(std::function<void()> fBeep) { m_fBeep = std::move(fBeep); }

    // The dialog's event handlers, by control index.
    void cmdOptions_Click(int iIndex);
    // Sets iKeyAscii to 0 to swallow a key the entry does not take.
    void txtOptions_KeyPress(int iRow, std::int16_t& iKeyAscii);
    void txtOptions_GotFocus(int iRow);
    void cmdPrivacy_Click(int iIndex);
    void udOptions_UpClick(int iRow);
    void udOptions_DownClick(int iRow);
    // iKeyCode: the classic key code (112 for F1); iShift: 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyUp(int iKeyCode, int iShift);
    void DisplayHelp(int iTopic);
    // Checks the rows in order; the first that fails beeps, says its range and takes the focus.
    bool Validate();

    QLineEdit* txtOptions(int iRow) const { return m_colEntries.at(static_cast<size_t>(iRow)); }
    QListWidget* lstPrivacy() const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // Escape and the close box cancel.
    void reject() override;

private:
    void Beep();
    void RefuseRow(int iRow);
    std::int32_t Entry(int iRow, const char* szSource);
    void SetEntry(int iRow, std::int32_t lValue);
    void SetHelpContextIDs();
    void AddPrivateFolder();
    // The topic of the page on show.
    int PageTopic() const;

    std::unique_ptr<Ui::FOptions> m_pUi;
    std::array<QLabel*, 3> m_colLabels{};
    std::array<QLineEdit*, 3> m_colEntries{};
    std::array<QToolButton*, 3> m_colUp{};
    std::array<QToolButton*, 3> m_colDown{};
    std::array<QPushButton*, 3> m_colButtons{};
    bool m_bConfirmed = false;
    HelpHandler m_fHelpHandler;
    std::function<void()> m_fBeep;
    CPrivateFolders m_oPrivacy;
    std::vector<std::string> m_vFoldersToClear;
    FolderChooser m_fChooseFolder;
    PrivacySaved m_fPrivacySaved;
};
