#pragma once

#include <string>

// The program's string table: every text shown to the user, by id (101-155).
namespace MResources {
// The text of string id iId; empty for an id the table does not hold.
std::string LoadResString(int iId);
} // namespace MResources
