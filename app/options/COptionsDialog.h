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
};
