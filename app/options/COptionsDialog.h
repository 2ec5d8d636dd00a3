#pragma once

#include <cstdint>

// What the options store asks of the dialog that edits the options: the three values in and
// out, and showing it. The dialog of the program (FOptions) implements it; tests answer it.
class COptionsDialog {
public:
    virtual ~COptionsDialog() = default;

    virtual std::int32_t FavoritesThreshold() = 0;
    virtual void SetFavoritesThreshold(std::int32_t lValue) = 0;
    virtual std::int32_t PurgeAge() = 0;
    virtual void SetPurgeAge(std::int32_t lValue) = 0;
    virtual std::int32_t TimerInterval() = 0;
    virtual void SetTimerInterval(std::int32_t lValue) = 0;
    // Shows the dialog modally: true when the user confirmed with OK, false for Cancel.
    virtual bool GetValues() = 0;
    // Stores what the dialog's own pages hold (the private folders, in their settings group),
    // once the three values are saved after OK; true when stored. A dialog without such pages
    // has nothing to store.
    virtual bool SavePages() { return true; }
};
