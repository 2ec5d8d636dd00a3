#pragma once

#include <string>
#include <vector>

// The program's string table: every text shown to the user, by id.
namespace MResources {
// The text of string id iId; empty for an id the table does not hold.
std::string LoadResString(int iId);
// The text of iId with its places "%1" to "%9" filled from colArguments (the first for "%1"),
// in one pass: an argument is never searched for places itself, and a place without an
// argument stays as it is. A translation may put the places in any order.
std::string LoadResString(int iId, const std::vector<std::string>& colArguments);
} // namespace MResources
