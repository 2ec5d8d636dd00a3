#pragma once

#include <string>

// The component's own string table.
namespace qlAboutBox::MAboutBoxStrings {

constexpr int AboutPrefix = 100;       // "About "
constexpr int VersionPrefix = 101;     // "Version: "
constexpr int OkCaption = 103;         // "OK"
constexpr int SystemInfoCaption = 105; // "&System Info..."
constexpr int AutostartText = 106;     // "To start %1 with the desktop, run: %2"
constexpr int NotStarted = 108;        // "The system information program could not be started."

// The text of string iId; empty for an id the table does not hold.
std::string LoadResString(int iId);

} // namespace qlAboutBox::MAboutBoxStrings
