#include "app/repository/CShortcut.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcutCache.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/shell/CFileHandle.h"
#include "platform/shell/CFileSystem.h"
#include "platform/shell/CShellExecute.h"
#include "platform/shell/MCaseFold.h"
#include "platform/shelllink/CShellLink.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
using MDayfold::Trim;

// The shell's failure code for a link that does not load.
constexpr std::int32_t NotAShortcut = -2147467259;

// "05": the day folder's name (format "dd").
std::string TwoDigits(int iValue) {
    return {static_cast<char>('0' + iValue / 10 % 10), static_cast<char>('0' + iValue % 10)};
}

} // namespace

std::string CShortcut::ProgramName(const std::string& sFileName) {
    std::string sName = sFileName;
    std::transform(sName.begin(), sName.end(), sName.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    if (!sName.empty() && static_cast<unsigned char>(sName[0]) < 0x80) {
        sName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sName[0])));
    }
    return sName;
}

bool CShortcut::IsProgramShortcut(const std::string& sShortcutName, const std::string& sTargetFile,
                                  const std::string& sIconFile, std::int32_t lIconIndex,
                                  const std::string& sArguments) {
    if (sTargetFile.empty() || lIconIndex != 1 || !sArguments.empty() || sIconFile != sTargetFile) {
        return false;
    }
    // A local path splits at "/" only; one made on Windows at either separator.
    const size_t nLast = sTargetFile.find_last_of(sTargetFile[0] == '/' ? "/" : "\\/");
    const std::string sTargetName =
        nLast == std::string::npos ? sTargetFile : sTargetFile.substr(nLast + 1);
    return !sTargetName.empty() && sShortcutName == ProgramName(sTargetName) + ".lnk";
}

bool CShortcut::IsProgramShortcut() const {
    const size_t nSlash = m_sFile.rfind('/');
    return IsProgramShortcut(nSlash == std::string::npos ? m_sFile : m_sFile.substr(nSlash + 1),
                             m_sTargetFile, m_sIconFile, m_lIconIndex, m_sArguments);
}

// The fields of the link that the bytes hold, as the record keeps them.
CShortcutCache::SLink CShortcut::ReadLink(const std::vector<std::uint8_t>& vBytes) {
    const CShellLink oShellLink = CShellLink::FromBytes(vBytes);
    CShortcutCache::SLink oLink;
    qlCommonLibrary::Library& oLibrary = MDayfold::Library();
    const auto Clean = [&oLibrary](const std::string& s) {
        return Trim(oLibrary.NullTrim(Trim(s)));
    };
    oLink.sTargetFile = Clean(oShellLink.TargetPath());
    oLink.sArguments = Clean(oShellLink.Arguments());
    oLink.sIconFile = Clean(oShellLink.IconLocation());
    // Linux folder names are case-sensitive: the folder keeps its letter case.
    oLink.sWorkingDirectory = Clean(oShellLink.WorkingDirectory());
    oLink.lIconIndex = oShellLink.IconIndex();
    oLink.lShowCommand = static_cast<std::int32_t>(oShellLink.ShowCommand());

    // Targets made on Windows split at either separator.
    std::string sTargetDrive;
    std::string sTargetFolder;
    oLibrary.ParsePath(oLink.sTargetFile, sTargetDrive, sTargetFolder, oLink.sTargetFileName);
    if (oLink.sWorkingDirectory.empty()) {
        oLink.sWorkingDirectory = sTargetDrive + sTargetFolder;
    }
    return oLink;
}

void CShortcut::Clear() {
    const std::string sFile = m_sFile;
    CShortcutCache* const pCache = m_pCache;
    *this = CShortcut();
    m_sFile = sFile;
    m_pCache = pCache;
}

void CShortcut::SetFile(const std::string& sPath) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sPath), "CShortcut.File: Path is missing");
    try {
        m_sFile = sPath;
        Clear();
        // The shortcut's own name is the listing's: on this system only "/" ends a folder, and
        // a "\" is part of the name.
        const size_t nSlash = sPath.rfind('/');
        m_sFileName = nSlash == std::string::npos ? sPath : sPath.substr(nSlash + 1);

        // One open and one stat give the time and the bytes; a named pipe is not waited for.
        CFileSystem& oFiles = CFileSystem::Current();
        const CFileHandle oFile(
            oFiles, m_pCache != nullptr ? m_pCache->OpenFile(sPath)
                                        : oFiles.Open(sPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
        struct stat oStat {};
        if (oFile.Fd() < 0 || oFiles.FileStat(oFile.Fd(), oStat) != 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        m_llModifiedUnixTime = oStat.st_mtime;
        m_dModified = CDateTime::FromUnixTime(oStat.st_mtime);
        m_sMonth = m_dModified.MonthName();
        m_sDay = TwoDigits(m_dModified.Day());
        m_sYear = std::to_string(m_dModified.Year());
        if (!S_ISREG(oStat.st_mode)) {
            m_bDamaged = true;
            throw CRunTimeError(NotAShortcut, "The file is not a readable shortcut: " + sPath);
        }
        std::vector<std::uint8_t> vBytes;
        if (!CShellLink::ReadOpenFile(oFile.Fd(), oStat.st_size, vBytes)) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        try {
            CShortcutCache oOwn;
            const CShortcutCache::SLink& oLink =
                (m_pCache != nullptr ? *m_pCache : oOwn).Link(std::move(vBytes), &ReadLink);
            m_sTargetFile = oLink.sTargetFile;
            m_sTargetFileName = oLink.sTargetFileName;
            m_sWorkingDirectory = oLink.sWorkingDirectory;
            m_sArguments = oLink.sArguments;
            m_sIconFile = oLink.sIconFile;
            m_lIconIndex = oLink.lIconIndex;
            m_lShowCommand = oLink.lShowCommand;
        } catch (const CRunTimeError& oError) {
            m_bDamaged = true;
            throw CRunTimeError(oError.Number(), oError.Description() + ": " + sPath);
        }

        const size_t nDot = m_sTargetFileName.rfind('.');
        const std::string sExtension =
            nDot == std::string::npos ? "" : m_sTargetFileName.substr(nDot);
        if (MCaseFold::Equal(sExtension, ".EXE")) {
            m_sTargetClass = "Application";
        } else if (!sExtension.empty() && sExtension != ".") {
            // A type that could not be looked up leaves the record unloaded: filed without
            // its type and program it would differ from every later copy.
            if (m_pCache != nullptr) {
                LoadFileType(sExtension, *m_pCache);
            } else {
                CShortcutCache oCache;
                LoadFileType(sExtension, oCache);
            }
        }
        m_bLoaded = true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CShortcut.File", true);
    }
}

void CShortcut::SetCopyFile(const std::string& sCopy) {
    m_sFile = sCopy;
    const size_t nSlash = sCopy.rfind('/');
    m_sFileName = nSlash == std::string::npos ? sCopy : sCopy.substr(nSlash + 1);
}

// A type that is not registered just ends the lookup; a program whose file could not be
// looked at raises.
void CShortcut::LoadFileType(const std::string& sExtension, CShortcutCache& oCache) {
    const CShortcutCache::SFileType& oType = oCache.FileType(sExtension);
    m_sTargetClass = oType.sTargetClass;
    if (oType.bIconFile) {
        m_sIconFile = oType.sIconFile;
    }
    if (oType.bIconIndex) {
        m_lIconIndex = oType.lIconIndex;
    }
    m_sExecutable = oType.sExecutable;
    m_sExecutableName = oType.sExecutableName;
    m_sExecutableFolder = oType.sExecutableFolder;
}

bool CShortcut::CreateExecutableShortcut() {
    try {
        CShortcutCache oOwn;
        CShortcutCache& oCache = m_pCache != nullptr ? *m_pCache : oOwn;
        if (m_sExecutable.empty() || !oCache.ProgramExists(m_sExecutable)) {
            return true;
        }
        CFileSystem& oFiles = CFileSystem::Current();
        const size_t nSlash = m_sFile.rfind('/');
        const std::string sLink =
            (nSlash == std::string::npos ? "" : m_sFile.substr(0, nSlash + 1)) + m_sExecutableName +
            ".lnk";
        // Whatever bears the name already stays: a document named like the program keeps its
        // copy, and a program shortcut made earlier that day is the same.
        struct stat oStat {};
        if (oFiles.LinkStat(sLink, oStat) == 0) {
            return true;
        }
        if (errno != ENOENT) {
            throw CRunTimeError::FromErrno(errno, sLink);
        }
        // Made under a temporary name and then given its own only if that is still free: it
        // appears whole or not at all, and never takes a document's place.
        std::string sTemporary = CRepository::TemporaryCopyTemplate(
            nSlash == std::string::npos ? "." : m_sFile.substr(0, nSlash));
        const int iFd = oFiles.MakeTemporary(sTemporary, O_CLOEXEC);
        if (iFd < 0) {
            throw CRunTimeError::FromErrno(errno, sLink);
        }
        oFiles.Close(iFd);
        MDayfold::Library().CreateShellLink(sTemporary, m_sExecutable, m_sExecutableFolder, "",
                                            m_sExecutable, 1, qlCommonLibrary::SHOWNORMAL);
        try {
            // A shortcut cut short (a full disk) is not given the name. Why it was not made
            // the library has logged; why it could not be read back is logged here.
            CShellLink::Load(sTemporary);
        } catch (const std::exception&) {
            oFiles.Remove(sTemporary);
            throw;
        }
        int iErrno = oFiles.RenameNoReplace(sTemporary, sLink) == 0 ? 0 : errno;
        if (iErrno == EINVAL || iErrno == ENOSYS) {
            // A file system without that rename gets a link, which never replaces either.
            iErrno = oFiles.HardLink(sTemporary, sLink) == 0 ? 0 : errno;
            oFiles.Remove(sTemporary);
        } else if (iErrno != 0) {
            oFiles.Remove(sTemporary);
        }
        if (iErrno != 0 && iErrno != EEXIST) {
            throw CRunTimeError::FromErrno(iErrno, sLink);
        }
        return true;
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CShortcut.CreateExecutableShortcut", true);
        return false;
    }
}

// The open command of the target's type: by its extension, or the folder type for a folder.
std::string CShortcut::OpenCommand() const {
    std::vector<std::string> vTypes;
    struct stat oStat {};
    if (stat(m_sTargetFile.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode)) {
        vTypes = {"inode/directory", "Folder"};
    } else {
        const size_t nDot = m_sTargetFileName.rfind('.');
        if (nDot == std::string::npos || nDot + 1 == m_sTargetFileName.size()) {
            return "";
        }
        try {
            vTypes.push_back(CShortcutCache::ClassesRootValue(m_sTargetFileName.substr(nDot)));
        } catch (const std::exception&) {
            return "";
        }
    }
    for (const std::string& sType : vTypes) {
        try {
            return CShortcutCache::ClassesRootValue(sType + "\\shell\\open\\command");
        } catch (const std::exception&) {
            // The next type, if any.
        }
    }
    return "";
}

std::int32_t CShortcut::OpenDocument() {
    try {
        const std::string sFolder =
            m_sWorkingDirectory.empty() ? MDayfold::Library().WindowsPath() : m_sWorkingDirectory;
        return CShellExecute::Open(OpenCommand(), m_sTargetFile, sFolder);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CShortcut.OpenDocument", false);
        return 0;
    }
}
