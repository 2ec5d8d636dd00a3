#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when the
// test ends: every test builds its world here, never in the real home folder.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_oPath; }
    std::string operator/(const std::string& sName) const { return (m_oPath / sName).string(); }

    // Writes sText to the file sName below the folder (creating its folders).
    std::string WriteFile(const std::string& sName, const std::string& sText) const;
    static std::string ReadFile(const std::string& sPath);

private:
    std::filesystem::path m_oPath;
};
