#pragma once

#include <cstdint>
#include <string>

// A folder of the repository with its count of files (or sub-folders), as the folder census
// finds them.
class CFolderFiles {
public:
    std::string ClassName() const { return "CFolderFiles"; }

    const std::string& Folder() const { return m_sFolder; }
    void SetFolder(const std::string& sFolder) { m_sFolder = sFolder; }
    std::int32_t FileCount() const { return m_lFileCount; }
    void SetFileCount(std::int32_t lFileCount) { m_lFileCount = lFileCount; }

private:
    std::string m_sFolder;
    std::int32_t m_lFileCount = 0;
};
