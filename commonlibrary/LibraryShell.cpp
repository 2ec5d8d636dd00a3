#include "commonlibrary/Library.h"

#include "commonlibrary/MLibraryHelpers.h"
#include "commonlibrary/MUtf8.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shelllink/CShellLink.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The Library's shell, folder and file helpers.

namespace qlCommonLibrary {

namespace {

using MLibraryHelpers::TrimSpaces;

// The classic error of a failed file-system call: a missing path is "Path not found".
CRunTimeError FileSystemError(int iErrno, const std::string& sPath) {
    if (iErrno == ENOENT || iErrno == ENOTDIR) {
        return CRunTimeError(RunTimeErrors::PathNotFound,
                             CRunTimeError::StandardText(RunTimeErrors::PathNotFound) + ": " +
                                 sPath);
    }
    return CRunTimeError::FromErrno(iErrno, sPath);
}

bool EntryExists(const std::string& sPath) {
    struct stat oStat {};
    return ::lstat(sPath.c_str(), &oStat) == 0;
}

// Empties the folder sFolder (no trailing separator needed) and everything below it. Symbolic
// links are removed as entries, never followed.
void ClearFolder(const std::string& sFolder) {
    struct stat oFolderStat {};
    if (::lstat(sFolder.c_str(), &oFolderStat) != 0) {
        throw FileSystemError(errno, sFolder);
    }
    if (!S_ISDIR(oFolderStat.st_mode)) {
        throw FileSystemError(ENOTDIR, sFolder);
    }
    // A read-only folder cannot lose its entries: make it writable for its owner first.
    if ((oFolderStat.st_mode & (S_IWUSR | S_IXUSR | S_IRUSR)) != (S_IWUSR | S_IXUSR | S_IRUSR) &&
        ::chmod(sFolder.c_str(), oFolderStat.st_mode | S_IWUSR | S_IXUSR | S_IRUSR) != 0) {
        throw CRunTimeError::FromErrno(errno, sFolder);
    }
    std::vector<std::string> vNames;
    {
        DIR* pDir = ::opendir(sFolder.c_str());
        if (pDir == nullptr) {
            throw FileSystemError(errno, sFolder);
        }
        while (const dirent* pEntry = ::readdir(pDir)) {
            const std::string sName = pEntry->d_name;
            if (sName != "." && sName != "..") {
                vNames.push_back(sName);
            }
        }
        ::closedir(pDir);
    }
    const std::string sPrefix = sFolder.back() == '/' ? sFolder : sFolder + "/";
    for (const std::string& sName : vNames) {
        const std::string sPath = sPrefix + sName;
        struct stat oStat {};
        if (::lstat(sPath.c_str(), &oStat) != 0) {
            if (errno == ENOENT) {
                continue; // gone meanwhile
            }
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        if (S_ISDIR(oStat.st_mode)) {
            ClearFolder(sPath);
            if (::rmdir(sPath.c_str()) != 0) {
                throw CRunTimeError::FromErrno(errno, sPath);
            }
            continue;
        }
        if (S_ISREG(oStat.st_mode) && (oStat.st_mode & S_IWUSR) == 0) {
            ::chmod(sPath.c_str(), oStat.st_mode | S_IWUSR);
        }
        if (::unlink(sPath.c_str()) != 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
    }
}

} // namespace

void Library::ChangeDriveDir(const std::string& Path) {
    Guard("ChangeDriveDir", [&] {
        std::string sDrive;
        std::string sFolder;
        std::string sDocument;
        ParsePath(Path, sDrive, sFolder, sDocument);
        // The drive part has no meaning on this platform; the folder may use either separator.
        if (sFolder.empty()) {
            return;
        }
        for (char& c : sFolder) {
            if (c == '\\') {
                c = '/';
            }
        }
        if (::chdir(sFolder.c_str()) != 0) {
            throw FileSystemError(errno, sFolder);
        }
    });
}

void Library::CreateDirectory(const std::string& Directory) {
    Guard("CreateDirectory", [&] {
        if (EntryExists(Directory)) {
            return;
        }
        if (::mkdir(Directory.c_str(), 0777) != 0) {
            throw FileSystemError(errno, Directory);
        }
    });
}

void Library::DelTree(const std::string& Directory) {
    Guard("DelTree", [&] {
        const std::string sFolder = TrimSpaces(Directory);
        // Never the whole file system: an empty path or the root folder is refused.
        if (sFolder.find_first_not_of("/\\") == std::string::npos) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        char* szReal = ::realpath(sFolder.c_str(), nullptr);
        const bool bRoot = szReal != nullptr && std::string(szReal) == "/";
        std::free(szReal);
        if (bRoot) {
            throw CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        }
        ClearFolder(sFolder);
        if (::rmdir(Directory.c_str()) != 0) {
            throw FileSystemError(errno, Directory);
        }
    });
}

void Library::ParsePath(const std::string& Path, std::string& Drive, std::string& Folder,
                        std::string& Document) {
    Guard("ParsePath", [&] {
        const std::string sPath = TrimSpaces(Path);
        const std::string::size_type iFirst = sPath.find_first_of("\\/");
        if (iFirst == std::string::npos) {
            const std::string::size_type iColon = sPath.find(':');
            if (iColon == std::string::npos) {
                Drive.clear();
                Folder.clear();
                Document = sPath;
            } else {
                Drive = sPath.substr(0, iColon + 1);
                Folder.clear();
                Document = sPath.substr(iColon + 1);
            }
            return;
        }
        Drive = sPath.substr(0, iFirst);
        const std::string::size_type iLast = sPath.find_last_of("\\/");
        if (iLast > iFirst) {
            Folder = sPath.substr(iFirst, iLast - iFirst + 1);
            Document = sPath.substr(iLast + 1);
        } else {
            Folder = sPath.substr(iFirst, 1);
            Document = sPath.substr(iFirst + 1);
        }
    });
}

std::string Library::UniqueFileName(const std::string& Path, const std::string& Extention) {
    std::string sResult;
    Guard("UniqueFileName", [&] {
        std::string sFolder = TrimSpaces(NullTrim(Path));
        if (!sFolder.empty() && (sFolder.back() == '/' || sFolder.back() == '\\')) {
            sFolder.pop_back();
        }
        std::string sExtension = TrimSpaces(NullTrim(Extention));
        if (!sExtension.empty() && sExtension.front() == '.') {
            sExtension.erase(0, 1);
        }
        sExtension = MUtf8::LeftChars(sExtension, 3);

        constexpr int NameCount = 32767;
        std::mt19937 oGenerator(static_cast<std::mt19937::result_type>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        std::uniform_int_distribution<int> oNumbers(0, NameCount - 1);
        std::vector<bool> vTried(NameCount, false);
        int iTried = 0;
        while (iTried < NameCount) {
            const int iNumber = oNumbers(oGenerator);
            if (vTried[static_cast<std::size_t>(iNumber)]) {
                continue;
            }
            vTried[static_cast<std::size_t>(iNumber)] = true;
            ++iTried;
            const std::string sCandidate =
                sFolder + "/" + std::to_string(iNumber) + "." + sExtension;
            if (!EntryExists(sCandidate)) {
                sResult = sCandidate;
                return;
            }
        }
        // Every name is taken: there is no answer, rather than an endless search.
        throw CRunTimeError::Standard(RunTimeErrors::FileAlreadyExists);
    });
    return sResult;
}

std::string Library::WindowsPath() {
    std::string sResult;
    Guard("WindowsPath", [&] { sResult = CShellFolders::HomeFolder(); });
    return sResult;
}

std::string Library::WindowsSystemPath() {
    std::string sResult;
    Guard("WindowsSystemPath", [&] { sResult = CShellFolders::SystemProgramsFolder(); });
    return sResult;
}

void Library::CreateShellLink(const std::string& LinkFile, const std::string& ExecutableFile,
                              const std::string& WorkingDirectory,
                              const std::string& ExecutableArguments, const std::string& IconFile,
                              std::int32_t IconIndex, SHOWCMDFLAGS ShowCommand) {
    Guard("CreateShellLink", [&] {
        if (LinkFile.empty() || ExecutableFile.empty()) {
            return;
        }
        CShellLink oLink;
        oLink.SetTargetPath(ExecutableFile);
        if (!WorkingDirectory.empty()) {
            oLink.SetWorkingDirectory(WorkingDirectory);
        }
        if (!ExecutableArguments.empty()) {
            oLink.SetArguments(ExecutableArguments);
        }
        if (!IconFile.empty()) {
            oLink.SetIconLocation(IconFile);
            oLink.SetIconIndex(IconIndex);
        }
        oLink.SetDescription("ShellLink Sample");
        oLink.SetShowCommand(static_cast<std::uint32_t>(ShowCommand));
        oLink.Save(LinkFile);
    });
}

void Library::GetShellLinkInfo(const std::string& LinkFile, std::string& ExecutableFile,
                               std::string& WorkingDirectory, std::string& ExecutableArguments,
                               std::string& IconFile, std::int32_t& IconIndex,
                               std::int32_t& ShowCommand) {
    Guard("GetShellLinkInfo", [&] {
        if (LinkFile.empty()) {
            return;
        }
        const CShellLink oLink = CShellLink::Load(LinkFile);
        ExecutableFile = oLink.TargetPath();
        WorkingDirectory = oLink.WorkingDirectory();
        ExecutableArguments = oLink.Arguments();
        IconFile = oLink.IconLocation();
        IconIndex = oLink.IconIndex();
        ShowCommand = static_cast<std::int32_t>(oLink.ShowCommand());
    });
}

void Library::GetSystemFolderPath(std::int32_t /*hwnd*/, std::int16_t SystemFolderID,
                                  std::string& SystemFolderPath) {
    Guard("GetSystemFolderPath", [&] {
        const std::optional<std::string> osPath = CShellFolders::Path(SystemFolderID);
        if (!osPath) {
            return; // a virtual folder: no path, and nothing to report
        }
        std::string sPath = TrimSpaces(*osPath);
        if (!sPath.empty() && sPath.back() == '\0') {
            sPath.pop_back();
        }
        if (!sPath.empty()) {
            SystemFolderPath = sPath;
        }
    });
}

} // namespace qlCommonLibrary
