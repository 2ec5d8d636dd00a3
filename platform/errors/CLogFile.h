#pragma once

#include <cstdint>
#include <string>

// A text log appended one line per entry, UTF-8. Earlier lines are never truncated; a log
// that grows past its limit is renamed once to "<name>.old.txt" (replacing an older one) so
// that it cannot fill the disk. A log that cannot be written loses the entry, nothing more.
// A new log is made readable and writable by its user alone (it names the user's documents).
class CLogFile {
public:
    static constexpr std::uintmax_t DefaultLimit = 1024 * 1024;

    CLogFile() = default;
    explicit CLogFile(std::string sPath, std::uintmax_t ullLimit = DefaultLimit);

    const std::string& Path() const { return m_sPath; }
    void SetPath(const std::string& sPath) { m_sPath = sPath; }
    void SetLimit(std::uintmax_t ullLimit) { m_ullLimit = ullLimit; }

    // Appends sLine (line breaks inside it become spaces) and a line feed; true when written.
    bool AppendLine(const std::string& sLine) const;
    // sText fit for one TAB-separated column of a line: TABs and line breaks become spaces.
    static std::string Field(std::string sText);
    // "ErrorLog.txt" -> "ErrorLog.old.txt"
    static std::string RotatedPath(const std::string& sPath);

private:
    std::string m_sPath;
    std::uintmax_t m_ullLimit = DefaultLimit;
};
