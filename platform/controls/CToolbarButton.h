#pragma once

#include <QToolButton>

#include <cstdint>
#include <string>

// A flat toolbar button: a picture without a frame, the frame showing while the pointer is
// over it; a tooltip; and Click with the button's index, so one handler serves a whole row.
// It takes no keyboard focus. A disabled button greys its picture.
class CToolbarButton : public QToolButton {
    Q_OBJECT

public:
    explicit CToolbarButton(QWidget* pParent = nullptr);

    QIcon Picture() const { return icon(); }
    void SetPicture(const QIcon& oPicture);
    std::string ToolTipText() const;
    void SetToolTipText(const std::string& sText);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool bEnabled) { setEnabled(bEnabled); }
    int Index() const { return m_iIndex; }
    void SetIndex(int iIndex) { m_iIndex = iIndex; }
    // The help the What's This mode shows for the button: its text, and its help topic
    // number (0 = none) for a window that opens topics instead.
    std::string WhatsThisText() const;
    void SetWhatsThisText(const std::string& sText);
    std::int32_t WhatsThisHelpID() const { return m_lWhatsThisHelpID; }
    void SetWhatsThisHelpID(std::int32_t lTopic) { m_lWhatsThisHelpID = lTopic; }

signals:
    void Click(int iIndex);

private:
    int m_iIndex = 0;
    std::int32_t m_lWhatsThisHelpID = 0;
};
