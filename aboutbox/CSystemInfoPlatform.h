#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qlAboutBox {

// Where the component looks for the machine's system information program and how it starts
// it. The component uses Current(): Default() unless a replacement was set for the process
// (tests build each case in a temporary folder; an unusual installation may point elsewhere).
class CSystemInfoPlatform {
public:
    // Starts a program detached from this process with an argument list (never through a
    // shell); whether it was started.
    using StartFunction = std::function<bool(const std::string& sProgram,
                                             const std::vector<std::string>& colArguments)>;

    // The machine-wide settings file read for the tool's registered location.
    static constexpr const char* DefaultMachineSettings = "/etc/xdg/Quillon/Machine.reg";

    // DefaultMachineSettings, the folders of $PATH, $XDG_CURRENT_DESKTOP as the environment is
    // now, and a detached start through Qt.
    static CSystemInfoPlatform Default();
    static CSystemInfoPlatform Current();
    static void SetCurrent(const CSystemInfoPlatform& oPlatform);
    static void ResetCurrent();

    // The machine settings file (see CMachineSettings).
    const std::string& MachineSettings() const { return m_sMachineSettings; }
    void SetMachineSettings(const std::string& sFile) { m_sMachineSettings = sFile; }
    // The folders searched for the desktops' system information programs, in order.
    const std::vector<std::string>& ProgramFolders() const { return m_colProgramFolders; }
    void SetProgramFolders(const std::vector<std::string>& colFolders) {
        m_colProgramFolders = colFolders;
    }
    // The desktops of the session, as $XDG_CURRENT_DESKTOP lists them ("ubuntu:GNOME").
    const std::string& CurrentDesktop() const { return m_sCurrentDesktop; }
    void SetCurrentDesktop(const std::string& sDesktop) { m_sCurrentDesktop = sDesktop; }
    const StartFunction& StartDetached() const { return m_fnStartDetached; }
    void SetStartDetached(StartFunction fnStart) { m_fnStartDetached = std::move(fnStart); }

private:
    std::string m_sMachineSettings;
    std::vector<std::string> m_colProgramFolders;
    std::string m_sCurrentDesktop;
    StartFunction m_fnStartDetached;
};

} // namespace qlAboutBox
