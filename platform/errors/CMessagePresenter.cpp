#include "platform/errors/CMessagePresenter.h"

#include <cstdio>

namespace {
class CConsolePresenter : public CMessagePresenter {
public:
    int Show(const std::string& sText, const std::string& sCaption, int iStyle) override {
        std::fprintf(stderr, "%s: %s\n", sCaption.c_str(), sText.c_str());
        return (iStyle & 0x0F) == MessageBox::YesNo ? MessageBox::AnswerNo : MessageBox::AnswerOk;
    }
};
} // namespace

CMessagePresenter& CMessagePresenter::Console() {
    static CConsolePresenter oPresenter;
    return oPresenter;
}
