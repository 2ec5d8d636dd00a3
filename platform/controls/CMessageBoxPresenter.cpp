#include "platform/controls/CMessageBoxPresenter.h"

#include <QApplication>

#include <vector>

namespace {

// The classic button sets (style & 0x0F), icons (style & 0x70), default buttons
// (style & 0x300) and answers beyond the ones the program names.
constexpr int OkCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int RetryCancel = 5;
constexpr int AnswerCancel = 2;
constexpr int AnswerAbort = 3;
constexpr int AnswerRetry = 4;
constexpr int AnswerIgnore = 5;

// The buttons in the order the classic box shows them.
std::vector<QMessageBox::StandardButton> ButtonOrder(int iStyle) {
    switch (iStyle & 0x0F) {
    case OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case AbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MessageBox::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case RetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
    }
}

} // namespace

CMessageBoxPresenter::CMessageBoxPresenter(QWidget* pOwner) : m_pOwner(pOwner) {}

int CMessageBoxPresenter::Show(const std::string& sText, const std::string& sCaption, int iStyle) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        // No desktop to show a box on (a run without a window).
        return CMessagePresenter::Console().Show(sText, sCaption, iStyle);
    }
    QWidget* pOwner = m_pOwner != nullptr ? m_pOwner.data() : QApplication::activeWindow();
    QMessageBox oBox(IconOf(iStyle), QString::fromStdString(sCaption),
                     QString::fromStdString(sText), ButtonsOf(iStyle), pOwner);
    oBox.setTextFormat(Qt::PlainText);
    const QMessageBox::StandardButton eDefault = DefaultButtonOf(iStyle);
    if (eDefault != QMessageBox::NoButton) {
        oBox.setDefaultButton(eDefault);
    }
    for (const QMessageBox::StandardButton eEscape :
         {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (ButtonsOf(iStyle).testFlag(eEscape)) {
            oBox.setEscapeButton(eEscape);
            break;
        }
    }
    oBox.exec();
    QAbstractButton* pClicked = oBox.clickedButton();
    QMessageBox::StandardButton eAnswer =
        pClicked == nullptr ? QMessageBox::NoButton : oBox.standardButton(pClicked);
    if (eAnswer == QMessageBox::NoButton && oBox.escapeButton() != nullptr) {
        eAnswer = oBox.standardButton(oBox.escapeButton());
    }
    return AnswerOf(eAnswer);
}

QMessageBox::StandardButtons CMessageBoxPresenter::ButtonsOf(int iStyle) {
    QMessageBox::StandardButtons eButtons;
    for (const QMessageBox::StandardButton eButton : ButtonOrder(iStyle)) {
        eButtons |= eButton;
    }
    return eButtons;
}

QMessageBox::Icon CMessageBoxPresenter::IconOf(int iStyle) {
    switch (iStyle & 0x70) {
    case MessageBox::Critical:
        return QMessageBox::Critical;
    case MessageBox::Question:
        return QMessageBox::Question;
    case MessageBox::Exclamation:
        return QMessageBox::Warning;
    case MessageBox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton CMessageBoxPresenter::DefaultButtonOf(int iStyle) {
    const std::vector<QMessageBox::StandardButton> colButtons = ButtonOrder(iStyle);
    const auto uPosition = static_cast<std::size_t>((iStyle & 0x300) >> 8);
    return uPosition < colButtons.size() ? colButtons[uPosition] : QMessageBox::NoButton;
}

int CMessageBoxPresenter::AnswerOf(QMessageBox::StandardButton eButton) {
    switch (eButton) {
    case QMessageBox::Ok:
        return MessageBox::AnswerOk;
    case QMessageBox::Cancel:
        return AnswerCancel;
    case QMessageBox::Abort:
        return AnswerAbort;
    case QMessageBox::Retry:
        return AnswerRetry;
    case QMessageBox::Ignore:
        return AnswerIgnore;
    case QMessageBox::Yes:
        return MessageBox::AnswerYes;
    case QMessageBox::No:
        return MessageBox::AnswerNo;
    default:
        return AnswerCancel;
    }
}
