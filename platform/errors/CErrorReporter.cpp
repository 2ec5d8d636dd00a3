#include "platform/errors/CErrorReporter.h"

#include "platform/errors/CMessagePresenter.h"
#include "platform/shell/CClock.h"

CErrorReporter::CErrorReporter()
    : m_pClock(&CClock::System()), m_pPresenter(&CMessagePresenter::Console()) {}

std::string CErrorReporter::LogLine() const {
    return m_pClock->Now().ToIsoText() + "\t" + std::to_string(m_lNumber) + "\t" +
           CLogFile::Field(m_sDescription) + "\t" + CLogFile::Field(m_sSource) + "\t" +
           CLogFile::Field(m_sMessage);
}

int CErrorReporter::Show() {
    const std::string sText =
        m_sDescription.empty() ? m_sMessage : m_sMessage + "\n\n" + m_sDescription;
    m_oLog.AppendLine(LogLine());
    if (Reported) {
        Reported(*this);
    }
    return m_pPresenter->Show(sText, m_sTitle, m_iStyle);
}

void CErrorReporter::Log() {
    m_oLog.AppendLine(LogLine());
    if (Reported) {
        Reported(*this);
    }
}

void CErrorReporter::Clear() {
    m_iStyle = 0;
    m_sDescription.clear();
    m_lNumber = 0;
    m_bFlag = false;
    m_sDetail.clear();
    m_sMessage.clear();
    m_sSource.clear();
    m_sTitle.clear();
}
