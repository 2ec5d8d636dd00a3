#pragma once

#include <string>

// Message-box buttons, icons and answers, with the platform's classic values.
namespace MessageBox {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
} // namespace MessageBox

// Shows a message box and returns the user's answer. The window layer puts real dialogs
// behind it; tests answer and record it; a run without a desktop prints to standard error.
class CMessagePresenter {
public:
    virtual ~CMessagePresenter() = default;
    // iStyle: buttons + icon (MessageBox constants); returns MessageBox::Answer...
    virtual int Show(const std::string& sText, const std::string& sCaption, int iStyle) = 0;

    // Prints the message to standard error and answers No (or OK): nobody is there to agree.
    static CMessagePresenter& Console();
};
