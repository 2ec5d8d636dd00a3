#pragma once

#include "platform/errors/CMessagePresenter.h"

#include <QMessageBox>
#include <QPointer>

// Message boxes on the desktop: a modal QMessageBox over the owner window, built from the
// classic style value (buttons + icon + default button) and answering with the classic
// answer values. Escape and the close box give the Cancel answer where there is a Cancel
// button, else No, else OK. Without a QApplication it falls back to the console presenter.
class CMessageBoxPresenter : public CMessagePresenter {
public:
    // pOwner: the window the boxes belong to (nullptr: the active window).
    explicit CMessageBoxPresenter(QWidget* pOwner = nullptr);

    int Show(const std::string& sText, const std::string& sCaption, int iStyle) override;

    // The mapping of the classic values, in both directions.
    static QMessageBox::StandardButtons ButtonsOf(int iStyle);
    static QMessageBox::Icon IconOf(int iStyle);
    // The button that starts focused: the first, second or third of ButtonsOf (style bits
    // 0, 256, 512), or NoButton where there is no such button.
    static QMessageBox::StandardButton DefaultButtonOf(int iStyle);
    static int AnswerOf(QMessageBox::StandardButton eButton);

private:
    QPointer<QWidget> m_pOwner;
};
