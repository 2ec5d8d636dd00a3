#include "app/repository/CShortcut.h"

#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/shell/CShellExecute.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <sys/stat.h>

namespace {
using MDayfold::Trim;

std::string UpperCase(std::string sText) {
    std::transform(sText.begin(), sText.end(), sText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return sText;
}

// The default value of an HKEY_CLASSES_ROOT key; throws when the key is missing.
std::string ClassesRootValue(const std::string& sKey) {
    return MDayfold::Registry()
        .KeyFromPath("\\HKEY_CLASSES_ROOT\\" + sKey)
        .Values()
        .Item("")
        .Value();
}

// The shell's failure code for a link that does not load.
constexpr std::int32_t NotAShortcut = -2147467259;

bool IsFile(const std::string& sPath) {
    struct stat oStat {};
    return !sPath.empty() && stat(sPath.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode);
}
} // namespace

void CShortcut::Clear() {
    const std::string sFile = m_sFile;
    *this = CShortcut();
    m_sFile = sFile;
}

void CShortcut::SetFile(const std::string& sPath) {
    MDayfold::Assert().Assert(!MDayfold::IsBlank(sPath), "CShortcut.File: Path is missing");
    try {
        m_sFile = sPath;
        Clear();
        qlCommonLibrary::Library& oLibrary = MDayfold::Library();
        std::string sDrive;
        std::string sFolder;
        oLibrary.ParsePath(sPath, sDrive, sFolder, m_sFileName);

        struct stat oStat {};
        if (stat(sPath.c_str(), &oStat) != 0) {
            throw CRunTimeError::FromErrno(errno, sPath);
        }
        m_llModifiedUnixTime = oStat.st_mtime;
        m_dModified = CDateTime::FromUnixTime(oStat.st_mtime);
        m_sMonth = m_dModified.MonthName();
        m_sDay = m_dModified.DayText();
        m_sYear = m_dModified.YearText();

        // A load that fails assigns nothing, so the show command keeps this mark.
        constexpr std::int32_t NotRead = -1;
        std::int32_t lShowCommand = NotRead;
        std::string sTarget;
        std::string sWorking;
        std::string sArguments;
        std::string sIcon;
        oLibrary.GetShellLinkInfo(sPath, sTarget, sWorking, sArguments, sIcon, m_lIconIndex,
                                  lShowCommand);
        if (lShowCommand == NotRead) {
            throw CRunTimeError(NotAShortcut, "The file is not a readable shortcut: " + sPath);
        }
        m_lShowCommand = lShowCommand;
        m_bLoaded = true;

        const auto Clean = [&oLibrary](const std::string& s) {
            return Trim(oLibrary.NullTrim(Trim(s)));
        };
        m_sTargetFile = Clean(sTarget);
        m_sArguments = Clean(sArguments);
        m_sIconFile = Clean(sIcon);
        // Linux folder names are case-sensitive: the folder keeps its letter case.
        m_sWorkingDirectory = Clean(sWorking);

        std::string sTargetDrive;
        std::string sTargetFolder;
        oLibrary.ParsePath(m_sTargetFile, sTargetDrive, sTargetFolder, m_sTargetFileName);
        if (m_sWorkingDirectory.empty()) {
            m_sWorkingDirectory = sTargetDrive + sTargetFolder;
        }

        const std::int16_t iDot = oLibrary.RInstr(m_sTargetFileName, ".");
        const std::string sExtension =
            iDot > 0 ? m_sTargetFileName.substr(static_cast<size_t>(iDot - 1)) : "";
        if (sExtension.empty() || sExtension == ".") {
            return;
        }
        if (UpperCase(sExtension) == ".EXE") {
            m_sTargetClass = "Application";
            return;
        }
        LoadFileType(sExtension);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CShortcut.File", true);
    }
}

// The file-type lookup ends quietly at the first key that is missing.
void CShortcut::LoadFileType(const std::string& sExtension) {
    std::string sClassName;
    try {
        sClassName = ClassesRootValue(sExtension);
        m_sTargetClass = ClassesRootValue(sClassName);
    } catch (const std::exception&) {
        return;
    }
    try {
        const std::string sIcon = ClassesRootValue(sClassName + "\\DefaultIcon");
        const size_t nComma = sIcon.find(',');
        if (nComma != std::string::npos) {
            m_sIconFile = sIcon.substr(0, nComma);
            const std::string sIndex = Trim(sIcon.substr(nComma + 1));
            std::int32_t lIndex = 0;
            const auto oResult =
                std::from_chars(sIndex.data(), sIndex.data() + sIndex.size(), lIndex);
            if (oResult.ec == std::errc() && oResult.ptr == sIndex.data() + sIndex.size()) {
                m_lIconIndex = lIndex;
            }
        }
    } catch (const std::exception&) {
        // No default icon: the shortcut's own icon stays.
    }
    try {
        SetExecutable(ClassesRootValue(sClassName + "\\shell\\open\\command"));
    } catch (const std::exception&) {
        m_sExecutable.clear();
    }
}

void CShortcut::SetExecutable(const std::string& sCommand) {
    std::string sProgram = sCommand;
    if (!sProgram.empty() && sProgram[0] == '"') {
        // A quoted program path ("C:\Program Files\App\app.exe" "%1") is the text between the
        // quotes, so programs in folders with spaces still get their shortcut.
        const size_t nClose = sProgram.find('"', 1);
        sProgram = sProgram.substr(1, nClose == std::string::npos ? std::string::npos : nClose - 1);
    } else {
        const size_t nPercent = sProgram.find('%');
        if (nPercent != std::string::npos) {
            sProgram = Trim(sProgram.substr(0, nPercent));
        }
        while (!sProgram.empty() && sProgram.back() == '"') {
            sProgram.pop_back();
        }
        // A desktop command names options after the program ("/usr/bin/app --new-window %U"):
        // when the whole text names no file, its first word may.
        const size_t nBlank = sProgram.find(' ');
        if (!IsFile(sProgram) && nBlank != std::string::npos &&
            IsFile(sProgram.substr(0, nBlank))) {
            sProgram.erase(nBlank);
        }
    }
    m_sExecutable = sProgram;
    std::string sDrive;
    std::string sFolder;
    std::string sName;
    MDayfold::Library().ParsePath(m_sExecutable, sDrive, sFolder, sName);
    std::transform(sName.begin(), sName.end(), sName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!sName.empty()) {
        sName[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sName[0])));
    }
    m_sExecutableName = sName;
    m_sExecutableFolder = sDrive + sFolder;
}

void CShortcut::CreateExecutableShortcut() {
    try {
        if (m_sExecutable.empty() || !IsFile(m_sExecutable)) {
            return;
        }
        qlCommonLibrary::Library& oLibrary = MDayfold::Library();
        std::string sDrive;
        std::string sFolder;
        std::string sDocument;
        oLibrary.ParsePath(m_sFile, sDrive, sFolder, sDocument);
        const std::string sLink = sDrive + sFolder + m_sExecutableName + ".lnk";
        std::error_code ec;
        std::filesystem::remove(sLink, ec);
        oLibrary.CreateShellLink(sLink, m_sExecutable, m_sExecutableFolder, "", m_sExecutable, 1,
                                 qlCommonLibrary::SHOWNORMAL);
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "CShortcut.CreateExecutableShortcut", true);
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
            vTypes.push_back(ClassesRootValue(m_sTargetFileName.substr(nDot)));
        } catch (const std::exception&) {
            return "";
        }
    }
    for (const std::string& sType : vTypes) {
        try {
            return ClassesRootValue(sType + "\\shell\\open\\command");
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
