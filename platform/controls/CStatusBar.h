#pragma once

#include <QStatusBar>

#include <cstdint>
#include <string>

class QLabel;

// The window's status bar with one simple text across its width (object counts, "Please
// wait..."). A long text is cut at the bar's end; it never widens the window.
class CStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CStatusBar(QWidget* pParent = nullptr);

    std::string SimpleText() const;
    // Sets the text and draws it at once, so it shows even while the caller keeps the event
    // loop busy.
    void SetSimpleText(const std::string& sText);
    // The bar's height in twips.
    std::int32_t Height() const;

private:
    QLabel* m_pText;
};
