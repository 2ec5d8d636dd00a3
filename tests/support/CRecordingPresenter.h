#pragma once

#include "platform/errors/CMessagePresenter.h"

#include <deque>
#include <string>
#include <vector>

// Answers message boxes from a queue the test fills and records every box shown.
class CRecordingPresenter : public CMessagePresenter {
public:
    struct SShown {
        std::string sText;
        std::string sCaption;
        int iStyle;
    };

    int Show(const std::string& sText, const std::string& sCaption, int iStyle) override {
        m_vShown.push_back({sText, sCaption, iStyle});
        if (m_dqAnswers.empty()) {
            return (iStyle & 0x0F) == MessageBox::YesNo ? MessageBox::AnswerNo
                                                        : MessageBox::AnswerOk;
        }
        const int iAnswer = m_dqAnswers.front();
        m_dqAnswers.pop_front();
        return iAnswer;
    }
    void SetNextAnswer(int iAnswer) { m_dqAnswers.push_back(iAnswer); }
    const std::vector<SShown>& Shown() const { return m_vShown; }

private:
    std::deque<int> m_dqAnswers;
    std::vector<SShown> m_vShown;
};
