// The dayfold executable: reads the command line, finds the data and Recent folders, builds the
// application-wide objects and runs the mode asked for.
#include "app/core/CCommandLine.h"
#include "app/core/MDayfold.h"
#include "app/journal/CJournalExport.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/MJournalText.h"
#include "app/window/MWindowProgram.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/registry/CFreedesktopFileTypes.h"
#include "platform/shell/CAutostart.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CRecentFeed.h"
#include "platform/shell/CShellFolders.h"

#include <exception>
#include <iostream>

namespace {
// dayfold --autostart on|off: the desktop session's entry that starts the program.
int SetAutostart(bool bOn) {
    try {
        CAutostart::SetOn(bOn, bOn ? CAutostart::RunningProgram() : "");
        std::cout << (bOn ? "Dayfold now starts with the desktop (" + CAutostart::EntryPath() + ")"
                          : std::string("Dayfold no longer starts with the desktop"))
                  << "\n";
        return 0;
    } catch (const std::exception& oError) {
        std::cerr << "dayfold: the autostart entry " << CAutostart::EntryPath()
                  << " cannot be changed: " << oError.what() << "\n";
        return 1;
    }
}
// dayfold --list / --export: the journal read and written to standard output, without a window
// and beside a running instance.
int WriteJournal(const CCommandLine& oLine, const std::string& sDataFolder) {
    CJournalExport oExport(sDataFolder + "/Daily");
    if (oLine.List()) {
        const CDateTime dDay =
            oLine.ListDay().IsEmpty() ? MDayfold::Clock().Now().DatePart() : oLine.ListDay();
        return oExport.List(dDay, std::cout, std::cerr);
    }
    const auto oFormat = CJournalExport::ParseFormat(oLine.ExportFormat());
    return oExport.Export(oFormat.value_or(CJournalExport::EFormat::Csv), oLine.From(), oLine.To(),
                          std::cout, std::cerr);
}
} // namespace

int main(int argc, char** argv) {
    const CCommandLine oLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!oLine.Valid()) {
        std::cerr << "dayfold: " << oLine.Error() << " (dayfold --help lists the options)\n";
        return 2;
    }
    if (oLine.Help()) {
        std::cout << CCommandLine::Usage();
        return 0;
    }
    if (oLine.Version()) {
        std::cout << "Dayfold " << DAYFOLD_VERSION << "\n";
        return 0;
    }
    if (!oLine.Autostart().empty()) {
        return SetAutostart(oLine.Autostart() == "on");
    }

    try {
        std::string sProblem;
        const auto oFolders = oLine.FindFolders(sProblem);
        if (!oFolders) {
            std::cerr << "dayfold: " << sProblem << "\n";
            return 1;
        }
        CFreedesktopFileTypes oFileTypes;
        MDayfold::SEnvironment oEnvironment;
        oEnvironment.sAppPath = oFolders->sDataFolder;
        oEnvironment.sSettingsFile = CShellFolders::ConfigHome() + "/Quillon/Dayfold.reg";
        oEnvironment.pFileTypes = &oFileTypes;
        const bool bJournal = oLine.List() || !oLine.ExportFormat().empty();
        if (!oLine.CaptureOnce() && !bJournal) {
            return MWindowProgram::Run(argc, argv, oEnvironment, oFolders->sRecentFolder,
                                       oFolders->bFedFromDesktop);
        }
        oEnvironment.bReadOnly = bJournal;
        MDayfold::CreateGlobals(oEnvironment);
        if (bJournal) {
            const int iResult = WriteJournal(oLine, oFolders->sDataFolder);
            MDayfold::ReleaseGlobals();
            return iResult;
        }
        // The private folders as the window keeps them: their documents are passed over. When
        // they are not known, nothing is journalled.
        CPrivateFolders oPrivate;
        oPrivate.ReadValues();
        if (!oPrivate.Known()) {
            std::cerr << "dayfold: " << MJournalText::TabField(CPrivateFolders::UnknownMessage(" "))
                      << "\n";
            MDayfold::ReleaseGlobals();
            return 1;
        }
        if (oFolders->bFedFromDesktop) {
            // What the desktop recorded since the last run reaches the Recent folder first.
            CRecentFeed oFeed(oFolders->sRecentFolder);
            oFeed.SetErrorReporter(&MDayfold::ErrorReporter());
            oFeed.Update();
        }
        const int iResult = MDayfold::CaptureOnce(
            oFolders->sRecentFolder, std::cout,
            [&oPrivate](const std::string& sTarget) { return oPrivate.Contains(sTarget); });
        MDayfold::ReleaseGlobals();
        return iResult;
    } catch (const std::exception& oError) {
        // The last guard: whatever a routine let through ends the run with its reason.
        std::cerr << "dayfold: " << oError.what() << "\n";
        return 1;
    }
}
