#pragma once

#include <string>
#include <utility>
#include <vector>

class CRegistry;

// The program's settings tree: one group key per owner below
// \HKEY_CURRENT_USER\Software\Quillon\Dayfold, created with its defaults on first use.
namespace MSettings {

// "\HKEY_CURRENT_USER\Software\Quillon\Dayfold\" + group
std::string GroupPath(const std::string& sGroup);

// Creates Software\Quillon\Dayfold\<group> and its default values: each key level is added,
// or opened when it exists already (35004); any other failure stops the creation silently.
// The values are then added in order until the first one that cannot be added (because it
// exists), which ends the creation silently: a value the user set is never reset. Nothing
// escapes; a later read of a missing value fails in its owner and is reported there.
void CreateRegistryKeys(CRegistry& oRegistry, const std::string& sGroup,
                        const std::vector<std::pair<std::string, std::string>>& vDefaults);

} // namespace MSettings
