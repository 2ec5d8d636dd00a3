#pragma once

#include "platform/errors/CRunTimeError.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CErrorReporter;

namespace qlAboutBox {

// Finds and starts the machine's system information program for the About dialog's
// "System Info" button. Where it looks, in order (the places come from
// CSystemInfoPlatform::Current()):
//   1. the machine settings: key SOFTWARE\Microsoft\Shared Tools\MSINFO, value "PATH", the
//      program itself;
//   2. the machine settings: key SOFTWARE\Microsoft\Shared Tools Location, value "MSINFO", a
//      folder, when it holds the file MSINFO32.EXE;
//   3. a desktop's own program in the program folders: the one of the current desktop first
//      (KDE kinfocenter, GNOME gnome-control-center, Cinnamon cinnamon-settings info, MATE
//      mate-system-monitor --show-system-tab, Xfce xfce4-about), then any that runs on every
//      desktop (kinfocenter, cinnamon-settings, mate-system-monitor, xfce4-about, hardinfo2,
//      hardinfo). GNOME's settings program refuses to run under other desktops.
class SystemInformation {
public:
    SystemInformation() = default;

    // The reporter that receives this object's errors (may be null).
    const std::shared_ptr<CErrorReporter>& Error() const { return m_pError; }
    void SetError(std::shared_ptr<CErrorReporter> pError) { m_pError = std::move(pError); }

    // Whether a system information program is available; looked up again on every read, and
    // the program found is kept for Display.
    bool Enabled();

    // Starts the program found by the last Enabled, detached. Nothing to start is no failure;
    // a program that could not be started is returned as the error for the caller to show
    // the user (errors of its own are reported as every procedure's are).
    std::optional<CRunTimeError> Display();

    // The program found by the last Enabled and its arguments; empty when none.
    const std::string& Path() const { return m_sPath; }
    const std::vector<std::string>& Arguments() const { return m_colArguments; }

private:
    std::shared_ptr<CErrorReporter> m_pError;
    std::string m_sPath;
    std::vector<std::string> m_colArguments;
    bool m_bEnabled = false;
};

} // namespace qlAboutBox
