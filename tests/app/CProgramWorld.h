#pragma once

#include "app/core/MDayfold.h"
#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"
#include "support/CRecordingPresenter.h"
#include "support/CTempFolder.h"

#include <string>

// The program's world in a temporary folder: a program folder with its logs, a Recent folder,
// a settings file, Windows-like file types, a clock the test sets and a message-box answerer.
// The application-wide objects live as long as the world.
class CProgramWorld {
public:
    CProgramWorld();
    ~CProgramWorld();

    const std::string& AppPath() const { return m_sAppPath; }
    const std::string& RecentFolder() const { return m_sRecentFolder; }
    std::string DailyPath() const { return m_sAppPath + "/Daily"; }
    CFixedClock& Clock() { return m_oClock; }
    CRecordingPresenter& Presenter() { return m_oPresenter; }
    CFileTypeTable& FileTypes() { return m_oFileTypes; }
    const CTempFolder& Temp() const { return m_oTemp; }

    // A program that exists, registered as the opener of ".txt" files ("Notepad").
    const std::string& NotepadPath() const { return m_sNotepad; }

    // Makes a shortcut in the Recent folder to sTarget, last written at dWritten.
    std::string MakeRecentShortcut(const std::string& sName, const std::string& sTarget,
                                   const CDateTime& dWritten,
                                   const std::string& sWorkingDirectory = "");
    // Makes a shortcut file anywhere.
    static void MakeShortcut(const std::string& sPath, const std::string& sTarget,
                             const std::string& sWorkingDirectory = "");
    static void SetModified(const std::string& sPath, const CDateTime& dWritten);
    static CDateTime Modified(const std::string& sPath);

    std::string ErrorLog() const;
    std::string EventLog() const;

    // The settings file, and the application-wide objects made again on the same world, as a
    // new start of the program makes them (after the test changed the settings file).
    std::string SettingsFile() const { return m_oEnvironment.sSettingsFile; }
    void RestartGlobals();

private:
    CTempFolder m_oTemp;
    CFixedClock m_oClock{CDateTime::FromParts(1998, 3, 15, 10, 0, 0)};
    CRecordingPresenter m_oPresenter;
    CFileTypeTable m_oFileTypes;
    std::string m_sAppPath;
    std::string m_sRecentFolder;
    std::string m_sNotepad;
    MDayfold::SEnvironment m_oEnvironment;
};
