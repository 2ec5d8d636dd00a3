#include "platform/shell/CFileManager.h"

#include "platform/registry/CFileTypeProvider.h"
#include "platform/shell/CSessionBusFileManager.h"
#include "platform/shell/CShellExecute.h"
#include "platform/shell/MFileUri.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Absolute(const std::string& sPath) {
    if (sPath.empty() || sPath[0] == '/') {
        return sPath;
    }
    char szFolder[4096];
    return getcwd(szFolder, sizeof szFolder) != nullptr ? std::string(szFolder) + "/" + sPath
                                                        : sPath;
}

std::string ParentFolder(std::string sPath) {
    while (sPath.size() > 1 && sPath.back() == '/') {
        sPath.pop_back();
    }
    const std::size_t nSlash = sPath.rfind('/');
    if (nSlash == std::string::npos) {
        return "";
    }
    return nSlash == 0 ? "/" : sPath.substr(0, nSlash);
}
} // namespace

CFileManager::CFileManager(CFileTypeProvider* pFileTypes, CFileManagerService* pService)
    : m_pFileTypes(pFileTypes), m_pService(pService) {
    if (m_pService == nullptr) {
        m_pOwnService = std::make_unique<CSessionBusFileManager>();
        m_pService = m_pOwnService.get();
    }
}

CFileManager::~CFileManager() = default;

bool CFileManager::ShowItem(const std::string& sPath) {
    try {
        const std::string sAbsolute = Absolute(sPath);
        struct stat oStat {};
        if (!sAbsolute.empty() && stat(sAbsolute.c_str(), &oStat) == 0 &&
            m_pService->ShowItems(MFileUri::FromPath(sAbsolute))) {
            return true;
        }
        return OpenFolder(ParentFolder(sAbsolute));
    } catch (const std::exception&) {
        return false;
    }
}

bool CFileManager::OpenFolder(const std::string& sFolder) {
    try {
        std::string sAbsolute = Absolute(sFolder);
        while (sAbsolute.size() > 1 && sAbsolute.back() == '/') {
            sAbsolute.pop_back();
        }
        struct stat oStat {};
        if (sAbsolute.empty() || stat(sAbsolute.c_str(), &oStat) != 0 || !S_ISDIR(oStat.st_mode) ||
            m_pFileTypes == nullptr) {
            return false;
        }
        const auto osCommand = m_pFileTypes->DefaultValue("inode/directory\\shell\\open\\command");
        if (!osCommand || osCommand->empty()) {
            return false;
        }
        return CShellExecute::Open(*osCommand, sAbsolute, sAbsolute) > 32;
    } catch (const std::exception&) {
        return false;
    }
}
