#include "support/CTempFolder.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>

CTempFolder::CTempFolder() {
    std::string sTemplate =
        (std::filesystem::temp_directory_path() / "dayfold-test-XXXXXX").string();
    if (mkdtemp(sTemplate.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_oPath = sTemplate;
}

CTempFolder::~CTempFolder() {
    std::error_code ec;
    // Tests make folders read-only; give write access back so that everything goes.
    for (auto it = std::filesystem::recursive_directory_iterator(m_oPath, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        // A link is never followed: the rights of what it points to are not the test's.
        if (!it->is_symlink(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
    }
    std::filesystem::remove_all(m_oPath, ec);
}

std::string CTempFolder::WriteFile(const std::string& sName, const std::string& sText) const {
    const std::filesystem::path oPath = m_oPath / sName;
    std::filesystem::create_directories(oPath.parent_path());
    std::ofstream oFile(oPath, std::ios::binary);
    oFile << sText;
    return oPath.string();
}

std::string CTempFolder::ReadFile(const std::string& sPath) {
    std::ifstream oFile(sPath, std::ios::binary);
    std::ostringstream oText;
    oText << oFile.rdbuf();
    return oText.str();
}
