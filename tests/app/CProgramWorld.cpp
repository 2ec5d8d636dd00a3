#include "app/CProgramWorld.h"

#include "app/core/MDayfold.h"
#include "commonlibrary/Library.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

CProgramWorld::CProgramWorld()
    : m_sAppPath(m_oTemp / "Dayfold"), m_sRecentFolder(m_oTemp / "Recent"),
      m_sNotepad(m_oTemp / "bin/notepad") {
    std::filesystem::create_directories(m_sAppPath);
    std::filesystem::create_directories(m_sRecentFolder);
    m_oTemp.WriteFile("bin/notepad", "#!/bin/sh\n");
    m_oFileTypes.SetDefaultValue(".txt", "txtfile");
    m_oFileTypes.SetDefaultValue("txtfile", "Text Document");
    m_oFileTypes.SetDefaultValue("txtfile\\DefaultIcon", "/usr/share/icons/text.png,3");
    m_oFileTypes.SetDefaultValue("txtfile\\shell\\open\\command", m_sNotepad + " %1");

    m_oEnvironment.sAppPath = m_sAppPath;
    m_oEnvironment.sSettingsFile = m_oTemp / "config/Quillon/Dayfold.reg";
    m_oEnvironment.pFileTypes = &m_oFileTypes;
    m_oEnvironment.pClock = &m_oClock;
    m_oEnvironment.pPresenter = &m_oPresenter;
    MDayfold::CreateGlobals(m_oEnvironment);
}

void CProgramWorld::RestartGlobals() {
    MDayfold::ReleaseGlobals();
    MDayfold::CreateGlobals(m_oEnvironment);
}

CProgramWorld::~CProgramWorld() {
    MDayfold::ReleaseGlobals();
}

std::string CProgramWorld::MakeRecentShortcut(const std::string& sName, const std::string& sTarget,
                                              const CDateTime& dWritten,
                                              const std::string& sWorkingDirectory) {
    const std::string sPath = m_sRecentFolder + "/" + sName;
    MakeShortcut(sPath, sTarget, sWorkingDirectory);
    SetModified(sPath, dWritten);
    return sPath;
}

void CProgramWorld::MakeShortcut(const std::string& sPath, const std::string& sTarget,
                                 const std::string& sWorkingDirectory) {
    MDayfold::Library().CreateShellLink(sPath, sTarget, sWorkingDirectory, "", "", 0,
                                        qlCommonLibrary::SHOWNORMAL);
    if (!std::filesystem::exists(sPath)) {
        throw std::runtime_error("the shortcut was not made: " + sPath);
    }
}

void CProgramWorld::SetModified(const std::string& sPath, const CDateTime& dWritten) {
    const struct timespec atsTimes[2] = {{dWritten.ToUnixTime(), 0}, {dWritten.ToUnixTime(), 0}};
    utimensat(AT_FDCWD, sPath.c_str(), atsTimes, 0);
}

CDateTime CProgramWorld::Modified(const std::string& sPath) {
    struct stat oStat {};
    stat(sPath.c_str(), &oStat);
    return CDateTime::FromUnixTime(oStat.st_mtime);
}

std::string CProgramWorld::ErrorLog() const {
    return CTempFolder::ReadFile(m_sAppPath + "/ErrorLog.txt");
}
std::string CProgramWorld::EventLog() const {
    return CTempFolder::ReadFile(m_sAppPath + "/EventLog.txt");
}
