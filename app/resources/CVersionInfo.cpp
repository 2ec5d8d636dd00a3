#include "app/resources/CVersionInfo.h"

#include <utility>

CVersionInfo::CVersionInfo(std::string sProductName, std::string sCompanyName,
                           std::string sLegalCopyright, std::string sComments, std::int16_t iMajor,
                           std::int16_t iMinor, std::int16_t iRevision)
    : m_sProductName(std::move(sProductName)), m_sCompanyName(std::move(sCompanyName)),
      m_sLegalCopyright(std::move(sLegalCopyright)), m_sComments(std::move(sComments)),
      m_iMajor(iMajor), m_iMinor(iMinor), m_iRevision(iRevision) {}

const CVersionInfo& CVersionInfo::Program() {
    // The build fills the version and the copyright year from the project (CMake).
    static const CVersionInfo oProgram(
        "Dayfold", "Quillon, Inc.", "Copyright \u00A9 " DAYFOLD_COPYRIGHT_YEAR " Quillon, Inc.",
        "Unauthorized copying or distribution of this program is prohibited; see the About box "
        "for the full notice.",
        DAYFOLD_VERSION_MAJOR, DAYFOLD_VERSION_MINOR, DAYFOLD_VERSION_REVISION);
    return oProgram;
}

std::string CVersionInfo::VersionText() const {
    return std::to_string(m_iMajor) + "." + std::to_string(m_iMinor) + "." +
           std::to_string(m_iRevision);
}
