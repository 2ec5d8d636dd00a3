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
        {190, "Dayfold cannot read its settings file, so it does not know which folders you "
              "keep private."},
        {191, "No document is journalled until you repair or remove the file, which Dayfold "
              "keeps as it is:"},
    };
    const auto it = oTable.find(iId);
    return it == oTable.end() ? std::string() : it->second;
}

} // namespace MResources
