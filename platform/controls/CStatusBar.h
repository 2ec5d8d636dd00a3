#pragma once

#include <QStatusBar>

#include <cstdint>
#include <string>

class QLabel;

// The window's status bar with one simple text across its width (object counts, "Please
// wait..."). A long text is cut at the bar's end; it never widens the window.
//
// A note may stand in a panel of its own at the right end (for example a lasting hint about the
// desktop): it never takes the simple text's place. Where the bar is too narrow for both, the
// note is shortened ("...") and shows whole as its tooltip; the simple text keeps its room.
class CStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CStatusBar(QWidget* pParent = nullptr);

    std::string SimpleText() const;
    // Sets the text and draws it at once, so it shows even while the caller keeps the event
    // loop busy.
    void SetSimpleText(const std::string& sText);
    // The note's panel; an empty note hides it.
    std::string NoteText() const;
    void SetNoteText(const std::string& sText);
    // The note as drawn now: whole, or shortened to the room the bar leaves it.
    QString ShownNoteText() const;
    // The bar's height in twips.
    std::int32_t Height() const;

private:
    QLabel* m_pText;
    QLabel* m_pNote;
};
