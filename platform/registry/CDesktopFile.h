#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A file in the key-file format of the desktop databases (desktop entries, mimeapps.list,
// mimeinfo.cache): "[Group]" lines, "Key=Value" lines, '#' comments. Values are kept as
// written; Unescape applies the string escapes of a desktop entry when a caller needs them.
class CDesktopFile {
public:
    // nullopt when the file cannot be read.
    static std::optional<CDesktopFile> Read(const std::string& sPath);
    static CDesktopFile FromText(const std::string& sText);

    // The value of sKey in sGroup (keys are case-sensitive, the first line of a key wins).
    std::optional<std::string> Value(const std::string& sGroup, const std::string& sKey) const;
    // The keys and values of a group in file order (none when the group is missing).
    const std::vector<std::pair<std::string, std::string>>&
    Entries(const std::string& sGroup) const;

    // "\s" space, "\n", "\t", "\r", "\\"; any other backslash is kept for the next reader.
    static std::string Unescape(const std::string& sValue);
    // "a;b;;c;" -> {"a", "b", "c"}
    static std::vector<std::string> SplitList(const std::string& sValue);

private:
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> m_colGroups;
};
