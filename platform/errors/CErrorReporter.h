#pragma once

#include "platform/errors/CLogFile.h"

#include <cstdint>
#include <functional>
#include <string>

class CClock;
class CMessagePresenter;

// Receives one error report at a time: the caller sets the properties, then calls Show (a
// message box and a line in the error log) or Log (the line only).
// Log line: "<yyyy-mm-dd hh:mm:ss>\t<number>\t<description>\t<source>\t<message>".
class CErrorReporter {
public:
    CErrorReporter();

    // Report properties.
    std::int16_t Style() const { return m_iStyle; }
    void SetStyle(std::int16_t iStyle) { m_iStyle = iStyle; }
    const std::string& Description() const { return m_sDescription; }
    void SetDescription(const std::string& sDescription) { m_sDescription = sDescription; }
    std::int32_t Number() const { return m_lNumber; }
    void SetNumber(std::int32_t lNumber) { m_lNumber = lNumber; }
    bool Flag() const { return m_bFlag; }
    void SetFlag(bool bFlag) { m_bFlag = bFlag; }
    const std::string& Detail() const { return m_sDetail; }
    void SetDetail(const std::string& sDetail) { m_sDetail = sDetail; }
    const std::string& Message() const { return m_sMessage; }
    void SetMessage(const std::string& sMessage) { m_sMessage = sMessage; }
    const std::string& Source() const { return m_sSource; }
    void SetSource(const std::string& sSource) { m_sSource = sSource; }
    const std::string& Title() const { return m_sTitle; }
    void SetTitle(const std::string& sTitle) { m_sTitle = sTitle; }

    // Settings given once at start.
    const std::string& LogFile() const { return m_oLog.Path(); }
    void SetLogFile(const std::string& sPath) { m_oLog.SetPath(sPath); }
    void SetClock(const CClock* pClock) { m_pClock = pClock; }
    CMessagePresenter* Presenter() const { return m_pPresenter; }
    void SetPresenter(CMessagePresenter* pPresenter) { m_pPresenter = pPresenter; }

    // Shows the report (message, title, style) and logs it; returns the presenter's answer.
    int Show();
    // Logs the report only.
    void Log();

    // Event: raised with every report after it was logged (for observers such as tests).
    std::function<void(const CErrorReporter&)> Reported;

    // Clears the report properties (not the settings).
    void Clear();

private:
    std::string LogLine() const;

    std::int16_t m_iStyle = 0;
    std::string m_sDescription;
    std::int32_t m_lNumber = 0;
    bool m_bFlag = false;
    std::string m_sDetail;
    std::string m_sMessage;
    std::string m_sSource;
    std::string m_sTitle;

    CLogFile m_oLog;
    const CClock* m_pClock;
    CMessagePresenter* m_pPresenter;
};
