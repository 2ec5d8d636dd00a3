#pragma once

#include "app/options/COptions.h"
#include "app/options/COptionsDialog.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
namespace Ui {
class FOptions;
}

// The options dialog "Dayfold Options": one row per option (label, entry, up/down steps), and
// OK, Cancel and Help. The entries take only what a number may hold while typing, the steps
// keep their bounds, and OK checks the rows in order before the dialog closes.
class FOptions : public QDialog, public COptionsDialog {
    Q_OBJECT
public:
    // The rows and their What's This help topics.
    enum ERow { RowFavoritesThreshold = 0, RowPurgeAge = 1, RowTimerInterval = 2 };
    static constexpr std::array<int, 3> WhatsThisTopics = {2, 22, 6};
    static constexpr int HelpTopic = 11;

    // Opens help at a topic for the dialog; the default opens the program's help window.
    using HelpHandler = std::function<void(int iTopic, QWidget* pOwner)>;

    explicit FOptions(QWidget* pParent = nullptr);
    ~FOptions() override;

    // What the options store uses: the dialog, new for each change, above pOwner.
    static COptions::DialogLoader Loader(QWidget* pOwner);

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

    void SetHelpHandler(HelpHandler fHandler) { m_fHelpHandler = std::move(fHandler); }
    // The computer's beep; tests count it.
    void SetBeeper(std::function<void()> fBeep) { m_fBeep = std::move(fBeep); }

    // The dialog's event handlers, by control index.
    void cmdOptions_Click(int iIndex);
    // Sets iKeyAscii to 0 to swallow a key the entry does not take.
    void txtOptions_KeyPress(int iRow, std::int16_t& iKeyAscii);
    void txtOptions_GotFocus(int iRow);
    void udOptions_UpClick(int iRow);
    void udOptions_DownClick(int iRow);
    // iKeyCode: the classic key code (112 for F1); iShift: 1 Shift, 2 Ctrl, 4 Alt.
    void Form_KeyUp(int iKeyCode, int iShift);
    void DisplayHelp(int iTopic);
    // Checks the rows in order; the first that fails beeps, says its range and takes the focus.
    bool Validate();

    QLineEdit* txtOptions(int iRow) const { return m_colEntries.at(static_cast<size_t>(iRow)); }

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

    std::unique_ptr<Ui::FOptions> m_pUi;
    std::array<QLabel*, 3> m_colLabels{};
    std::array<QLineEdit*, 3> m_colEntries{};
    std::array<QToolButton*, 3> m_colUp{};
    std::array<QToolButton*, 3> m_colDown{};
    std::array<QPushButton*, 3> m_colButtons{};
    bool m_bConfirmed = false;
    HelpHandler m_fHelpHandler;
    std::function<void()> m_fBeep;
};
