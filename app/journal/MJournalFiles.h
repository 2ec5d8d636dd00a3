#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Removing document copies from the repository, for the commands that clear entries (a
// folder made private, missing documents). Only copies inside the repository are deleted, and
// folders only when empty, never recursively.
namespace MJournalFiles {

// Whether sPath names a shortcut in a day folder of the repository at sDailyPath:
// <Daily>/<yyyy>/<Month>/<dd>/<name>.lnk, with no "." or ".." on the way.
bool IsRepositoryCopy(const std::string& sDailyPath, const std::string& sPath);

// Deletes the copies; then, in each day folder they lay in, the program shortcuts when no
// document is left beside them, and the day, month and year folders left empty. A path that is
// not a repository copy is refused. Failures are logged with sSource; the rest goes on.
// Returns how many copies were deleted.
std::int32_t RemoveCopies(const std::string& sDailyPath, const std::vector<std::string>& vCopies,
                          const std::string& sSource);

} // namespace MJournalFiles
