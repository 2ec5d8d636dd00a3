#pragma once

#include "app/CProgramWorld.h"
#include "app/window/FMain.h"

#include <memory>
#include <string>
#include <vector>

class CListView;

// The main window in a temporary world: program folder, Recent folder, settings file, clock
// and message-box answerer of a CProgramWorld, and an FMain loaded on them with a tray (unless
// the test says otherwise). Timer ticks are the test's own calls of tmrMain_Timer; nothing
// waits on a real timer.
class CWindowWorld {
public:
    CWindowWorld();
    ~CWindowWorld();

    CProgramWorld& World() { return m_oWorld; }
    FMain& Main() { return *m_pMain; }

    // Creates the window and runs its load sequence (the current one is unloaded first).
    FMain& Load(bool bTrayAvailable = true);
    // Unloads the window as the Exit command does (saving everything) and loads a new one.
    FMain& Restart(bool bTrayAvailable = true);
    // Unloads and drops the window.
    void Unload();

    // One timer tick at the given moment.
    void Tick(const CDateTime& dNow);

    // A shortcut in the Recent folder to the document sName (a .txt in the world's "docs"
    // folder unless sTarget is given), last written at dWritten.
    std::string OpenDocument(const std::string& sName, const CDateTime& dWritten,
                             const std::string& sTarget = "");

    // The key of a folder below Daily ("1998/March/15"), or of Daily itself ("").
    std::string FolderKey(const std::string& sBelowDaily) const;

    // Settings values, read and written in the settings tree; "" for a missing one.
    std::string Setting(const std::string& sGroup, const std::string& sName) const;
    void SetSetting(const std::string& sGroup, const std::string& sName, const std::string& sValue);

    // The list's item keys in display order, and the texts of one column (0 = the item text).
    static std::vector<std::string> Keys(const CListView& oList);
    static std::vector<std::string> Column(const CListView& oList, int iColumn);

private:
    CProgramWorld m_oWorld;
    std::unique_ptr<FMain> m_pMain;
};
