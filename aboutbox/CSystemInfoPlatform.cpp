#include "aboutbox/CSystemInfoPlatform.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <optional>

namespace qlAboutBox {

namespace {

std::optional<CSystemInfoPlatform>& Replacement() {
    static std::optional<CSystemInfoPlatform> oPlatform;
    return oPlatform;
}

std::vector<std::string> SplitPathList(const std::string& sList) {
    std::vector<std::string> colFolders;
    std::size_t nStart = 0;
    while (nStart <= sList.size()) {
        const std::size_t nEnd = sList.find(':', nStart);
        const std::string sFolder =
            sList.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!sFolder.empty()) {
            colFolders.push_back(sFolder);
        }
        if (nEnd == std::string::npos) {
            break;
        }
        nStart = nEnd + 1;
    }
    return colFolders;
}

bool StartWithQt(const std::string& sProgram, const std::vector<std::string>& colArguments) {
    QStringList colList;
    for (const std::string& sArgument : colArguments) {
        colList << QString::fromStdString(sArgument);
    }
    return QProcess::startDetached(QString::fromStdString(sProgram), colList);
}

} // namespace

CSystemInfoPlatform CSystemInfoPlatform::Default() {
    CSystemInfoPlatform oPlatform;
    oPlatform.m_sMachineSettings = DefaultMachineSettings;
    const char* pszPath = std::getenv("PATH");
    oPlatform.m_colProgramFolders =
        SplitPathList(pszPath != nullptr ? pszPath : "/usr/local/bin:/usr/bin:/bin");
    const char* pszDesktop = std::getenv("XDG_CURRENT_DESKTOP");
    oPlatform.m_sCurrentDesktop = pszDesktop != nullptr ? pszDesktop : "";
    oPlatform.m_fnStartDetached = StartWithQt;
    return oPlatform;
}

CSystemInfoPlatform CSystemInfoPlatform::Current() {
    return Replacement() ? *Replacement() : Default();
}

void CSystemInfoPlatform::SetCurrent(const CSystemInfoPlatform& oPlatform) {
    Replacement() = oPlatform;
}

void CSystemInfoPlatform::ResetCurrent() {
    Replacement().reset();
}

} // namespace qlAboutBox
