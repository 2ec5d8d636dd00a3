#include "app/resources/MResources.h"

#include <map>

namespace MResources {

std::string LoadResString(int iId) {
    static const std::map<int, std::string> oTable = {
        {101, "Warning: this computer program is protected by copyright law and international "
              "treaties."},
        {102, "There are shortcuts to programs and documents"},
        {103, "that you accessed prior to "},
        {104, "Do you want to remove these shortcuts from Dayfold?"},
        {105, "(The programs and documents will NOT be deleted.)"},
        {108, "Version "},
        {109, "An operating system error occurred."},
        {110, "The document "},
        {111, "was not found. Remove this link?"},
        {112, "The path "},
        {113, "was not found. Remove this link?"},
        {114, "Document of this file type"},
        {115, "are no longer associated with a program."},
        {116, "Daily"},
        {117, "Favorites"},
        {118, "An error occurred "},
        {119, "starting the program."},
        {120, "finding the latest day with documents."},
        {121, "exiting or hiding the main window."},
        {122, "resizing the main window."},
        {123, "saving the current settings."},
        {124, "selecting a date."},
        {125, "opening a document."},
        {126, "processing a document selection."},
        {127, "displaying a context menu."},
        {128, "arranging icons."},
        {129, "setting the document view."},
        {130, "hiding, suspending, or resuming."},
        {131, "displaying help."},
        {133, "loading a Web page."},
        {134, "displaying the About Box."},
        {135, "hiding, showing, suspending, or resuming."},
        {136, "Exploring the document's folder."},
        {137, "purging a day."},
        {138, "setting the active view."},
        {139, "setting options."},
        {140, "opening the document's folder."},
        {141, "checking for new documents."},
        {142, "changing the document sort order."},
        {143, "selecting text."},
        {144, "validating an entry."},
        {145, "entering a value."},
        {146, "The Favorites Threshhold must be 1 or more."},
        {147, "The Purge age must be 1 or more."},
        {148, "The Timer Interval must be between 1 and 60."},
        {149, "Welcome to Dayfold."},
        {150, "We suggest that you review the default settings"},
        {151, "by selecting the View|Options menu choice."},
        {152, "Would you like to view the help file?"},
        {153, "Dayfold is already loaded."},
        {154, "rebuilding the Favorites list."},
        {155, "Please wait..."},
        // The notes of empty lists.
        {156, "No documents have been filed yet.\nEvery document you open is filed here under "
              "the day you opened it."},
        {157, "Choose a day to see its documents."},
        {158, "No documents were opened on this day."},
        {159, "No documents were opened on %1 %2, %3."}, // month name, day, year
        {160, "No document has been used on %1 different days yet.\nDocuments are listed here "
              "once they reach the Favorites Threshold, now %1 days.\nTo change the threshold, "
              "choose Options on the View menu."},
        {161, "No document has been used yet.\nDocuments are listed here once they reach the "
              "Favorites Threshold, now 1 day.\nTo change the threshold, choose Options on the "
              "View menu."},
        // The status bar.
        {162, "%1 objects"},
        {163, "%1 objects so far: the journal is still being read"},
        // The search of the journal.
        {164, "Search the journal"},
        {165, "Search every day of the journal by name, folder or type"},
        {166, "No documents match \"%1\"."},
        {167, "Searching... the journal is still being read."},
        // The year at a glance.
        {168, "Year at a Glance"},
        {169, "No documents were filed in the last twelve months."},
        {170, "1 document filed on 1 day in the last twelve months."},
        {171, "%1 documents filed on 1 day in the last twelve months."},
        {172, "%1 documents filed on %2 days in the last twelve months."},
        {173, "showing the year at a glance."},
        // Remove Missing Links.
        {174, "No links to missing documents were found."},
        {175, "Remove the links of 1 document that no longer exists?"},
        {176, "Remove the links of %1 documents that no longer exist?"},
        {177, "removing the links of missing documents."},
        // A desktop without a tray.
        {178, "This desktop has no system tray: Dayfold stays in its window, and closing it "
              "exits Dayfold."},
        {179, "This desktop has no system tray to keep Dayfold in: without its window Dayfold "
              "ends, and the documents you open are no longer filed.\r\n\r\nDo you want to "
              "exit Dayfold?"},
        // The Privacy page of the options.
        {180, "Add a Private Folder"},
        {181, "Remove the documents of %1 that are already in the journal?"},
        // The year's grid: its legend and a day's tooltip.
        {182, "Less"},
        {183, "More"},
        {184, "No documents on %1"},
        {185, "1 document on %1"},
        {186, "%1 documents on %2"}, // count, day
        {190, "Dayfold cannot read its settings file, so it does not know which folders you "
              "keep private."},
        {191, "No document is journalled until you repair or remove the file, which Dayfold "
              "keeps as it is:"},
    };
    const auto it = oTable.find(iId);
    return it == oTable.end() ? std::string() : it->second;
}

std::string LoadResString(int iId, const std::vector<std::string>& colArguments) {
    const std::string sText = LoadResString(iId);
    std::string sResult;
    sResult.reserve(sText.size());
    for (size_t nPos = 0; nPos < sText.size(); ++nPos) {
        const char cNext = nPos + 1 < sText.size() ? sText[nPos + 1] : '\0';
        const size_t nArgument = static_cast<size_t>(cNext - '1');
        if (sText[nPos] == '%' && cNext >= '1' && cNext <= '9' && nArgument < colArguments.size()) {
            sResult += colArguments[nArgument];
            ++nPos;
        } else {
            sResult += sText[nPos];
        }
    }
    return sResult;
}

} // namespace MResources
