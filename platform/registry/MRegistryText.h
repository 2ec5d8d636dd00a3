#pragma once

#include <string>
#include <vector>

// Text rules shared by the settings tree and the file-type table: key and value names compare
// without regard to letter case but keep the case they were written with.
namespace MRegistryText {

// The case-folded form of a name: ASCII letters and the capitals of Latin-1, Greek and
// Cyrillic become lower case; every other byte stays as it is.
std::string Fold(const std::string& sName);
bool SameName(const std::string& sLeft, const std::string& sRight);

// The non-empty parts of a key path between backslashes ("a\\b\" -> {"a", "b"}).
std::vector<std::string> SplitPath(const std::string& sPath);
std::string JoinPath(const std::vector<std::string>& vParts);

} // namespace MRegistryText
