#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Walks a folder tree depth first, pre-order, and reports each matching file (or, with flag 2,
// each matching sub-folder) to its owner through ItemFound, which may cancel the whole walk.
class DirectoryWalker {
public:
    // Flags, combinable: 1 = search the starting folder only, 2 = report folders, not files.
    static constexpr std::int32_t StartingFolderOnly = 1;
    static constexpr std::int32_t ReportFolders = 2;

    std::string ClassName() const { return "DirectoryWalker"; }

    // sSourceDirectory ends with the separator; sSearchItem is a pattern with "*" and "?",
    // matched without regard to letter case ("*.lnk" finds Report.LNK).
    void WalkDirectoryTree(const std::string& sSourceDirectory, const std::string& sSearchItem,
                           std::int32_t lFlags = 0);

    // Event: Path (the folder searched, ending with the separator), FileName, Cancel.
    std::function<void(const std::string& sPath, const std::string& sFileName, bool& bCancel)>
        ItemFound;

    // Whether sName matches the pattern as the walker matches it.
    static bool Matches(const std::string& sPattern, const std::string& sName);

private:
    void Walk(const std::string& sSourceDirectory, const std::string& sSearchItem,
              std::int32_t lFlags);

    bool m_bCancel = false;
};
