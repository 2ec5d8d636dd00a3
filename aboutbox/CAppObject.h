#pragma once

#include <cstdint>
#include <string>

namespace qlAboutBox {

// The client program's own application object. An AboutBox that has one shows these values
// and ignores its own ProductName, version parts, CompanyName and LegalCopyright. The client
// implements it; the AboutBox keeps a reference for as long as it is set.
class CAppObject {
public:
    virtual ~CAppObject() = default;

    virtual std::string ProductName() const = 0;
    virtual std::int16_t Major() const = 0;
    virtual std::int16_t Minor() const = 0;
    virtual std::int16_t Revision() const = 0;
    virtual std::string CompanyName() const = 0;
    virtual std::string LegalCopyright() const = 0;
    // The command that makes the program start with the desktop ("dayfold --autostart on"),
    // shown in a line of its own; empty when the program has none to tell.
    virtual std::string AutostartCommand() const { return ""; }
};

} // namespace qlAboutBox
