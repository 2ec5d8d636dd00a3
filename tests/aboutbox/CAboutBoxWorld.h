#pragma once

#include "aboutbox/CSystemInfoPlatform.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/shell/CFixedClock.h"
#include "support/CRecordingPresenter.h"
#include "support/CTempFolder.h"

#include <string>
#include <vector>

// The About box's world in a temporary folder: the error log, a fixed clock, a message-box
// answerer, and the places where the system information program is looked for (a machine
// settings file and a program folder, both empty until the test fills them) with a starter
// that records what it is asked to start.
class CAboutBoxWorld {
public:
    struct SStart {
        std::string sProgram;
        std::vector<std::string> colArguments;
    };

    CAboutBoxWorld() : m_oClock(CDateTime::FromParts(2026, 3, 14, 9, 26, 53)) {
        CErrorComponent::SetLogFile(ErrorLogPath());
        CErrorComponent::SetClock(&m_oClock);
        CErrorComponent::SetPresenter(&m_oPresenter);
        std::filesystem::create_directories(ProgramFolder());
        m_oPlatform.SetMachineSettings(MachineSettingsPath());
        m_oPlatform.SetProgramFolders({ProgramFolder()});
        m_oPlatform.SetStartDetached(
            [this](const std::string& sProgram, const std::vector<std::string>& colArguments) {
                m_colStarts.push_back({sProgram, colArguments});
                return m_bStartSucceeds;
            });
        Apply();
    }
    ~CAboutBoxWorld() {
        qlAboutBox::CSystemInfoPlatform::ResetCurrent();
        CErrorComponent::Reset();
    }
    CAboutBoxWorld(const CAboutBoxWorld&) = delete;
    CAboutBoxWorld& operator=(const CAboutBoxWorld&) = delete;

    std::string ErrorLogPath() const { return m_oTemp / "ErrorLog.txt"; }
    std::string ErrorLog() const {
        return std::filesystem::exists(ErrorLogPath()) ? CTempFolder::ReadFile(ErrorLogPath())
                                                       : std::string();
    }
    std::string MachineSettingsPath() const { return m_oTemp / "etc/Machine.reg"; }
    std::string ProgramFolder() const { return m_oTemp / "bin"; }
    const CTempFolder& Temp() const { return m_oTemp; }
    CRecordingPresenter& Presenter() { return m_oPresenter; }
    qlAboutBox::CSystemInfoPlatform& Platform() { return m_oPlatform; }
    const std::vector<SStart>& Starts() const { return m_colStarts; }
    void SetStartSucceeds(bool bSucceeds) { m_bStartSucceeds = bSucceeds; }

    // Writes the machine settings file: the header and sBody.
    void WriteMachineSettings(const std::string& sBody) const {
        m_oTemp.WriteFile("etc/Machine.reg", "Windows Registry Editor Version 5.00\n\n" + sBody);
    }
    // Makes the file sRelativePath below the temporary folder ("bin/kinfocenter"), executable
    // or not.
    std::string MakeProgram(const std::string& sRelativePath, bool bExecutable = true) const {
        const std::string sPath = m_oTemp.WriteFile(sRelativePath, "#!/bin/sh\n");
        std::filesystem::permissions(sPath, bExecutable ? std::filesystem::perms(0755)
                                                        : std::filesystem::perms(0644));
        return sPath;
    }
    // Puts the platform as changed by the test into effect.
    void Apply() { qlAboutBox::CSystemInfoPlatform::SetCurrent(m_oPlatform); }

private:
    CTempFolder m_oTemp;
    CFixedClock m_oClock;
    CRecordingPresenter m_oPresenter;
    qlAboutBox::CSystemInfoPlatform m_oPlatform;
    std::vector<SStart> m_colStarts;
    bool m_bStartSucceeds = true;
};
