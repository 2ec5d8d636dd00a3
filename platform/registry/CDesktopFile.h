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
    // Reads a regular file of at most MFileRead::DesktopFileCap bytes. Throws CRunTimeError:
    // 53 or 76 when it does not exist, 75 for anything else than such a file (a folder, a
    // device, a pipe, a file over the cap), the system's error when it cannot be read.
    static CDesktopFile Read(const std::string& sPath);
    static CDesktopFile FromText(const std::string& sText);

    // The value of sKey in sGroup (keys are case-sensitive, the first line of a key wins).
    std::optional<std::string> Value(const std::string& sGroup, const std::string& sKey) const;
    // The value of sKey for the user's language ($LC_ALL, $LC_MESSAGES, $LANG): "Name[de_AT]",
    // then "Name[de]", then "Name".
    std::optional<std::string> LocalizedValue(const std::string& sGroup,
                                              const std::string& sKey) const;
    // The keys and values of a group in file order (none when the group is missing).
    const std::vector<std::pair<std::string, std::string>>&
    Entries(const std::string& sGroup) const;

    // "\s" space, "\n", "\t", "\r", "\\"; any other backslash is kept for the next reader.
    static std::string Unescape(const std::string& sValue);
    // "a;b;;c;" -> {"a", "b", "c"}
    static std::vector<std::string> SplitList(const std::string& sValue);

    // The arguments of an unescaped Exec value: words split at blanks, double quotes group
    // and a backslash inside them escapes '"', '`', '$' and '\'. Field codes have no place
    // inside quotes: there every "%" comes out as "%%" (a "%%" as written stays one "%%"), so
    // that a document's path is never put into a quoted text such as a shell command. nullopt
    // when a quote is not closed.
    static std::optional<std::vector<std::string>> SplitExec(const std::string& sExec);
    // One argument as an Exec line writes it: bare when it holds nothing that needs quoting,
    // else between double quotes with '"', '`', '$' and '\' escaped.
    static std::string QuoteExecArgument(const std::string& sArgument);

private:
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> m_colGroups;
};
