#pragma once

#include <string>

// A status bar's one simple text, as a wait cursor sees it: the window layer implements it over
// its status bar; tests record what is written.
class CStatusText {
public:
    virtual ~CStatusText() = default;
    virtual std::string SimpleText() const = 0;
    // Sets the text and draws it at once.
    virtual void SetSimpleText(const std::string& sText) = 0;
};
