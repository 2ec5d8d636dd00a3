#include "platform/shell/CShellExecute.h"

#include "platform/shell/MExecLine.h"
#include "platform/shell/MFileUri.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
bool IsExecutableFile(const std::string& sPath) {
    struct stat oStat {};
    return stat(sPath.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode) &&
           access(sPath.c_str(), X_OK) == 0;
}

bool IsFolder(const std::string& sPath) {
    struct stat oStat {};
    return stat(sPath.c_str(), &oStat) == 0 && S_ISDIR(oStat.st_mode);
}

std::string AbsolutePath(const std::string& sPath) {
    if (sPath.empty() || sPath[0] == '/') {
        return sPath;
    }
    char szFolder[4096];
    if (getcwd(szFolder, sizeof szFolder) == nullptr) {
        return sPath;
    }
    return std::string(szFolder) + "/" + sPath;
}

// What the starting child sends back when the program did not start: the step and its errno.
enum EStep : int { StepFork = 1, StepFolder = 2, StepExec = 3 };
struct SFailure {
    int iStep;
    int iErrno;
};

void ReportFailure(int iPipe, int iStep) {
    const SFailure oFailure{iStep, errno};
    (void)!write(iPipe, &oFailure, sizeof oFailure);
}

// Starts vArgv (program path first) detached: from a grandchild in a session of its own, so the
// program outlives us and its parent is reaped at once. A close-on-exec pipe closes without a
// word when the exec succeeds and carries the failing step otherwise.
std::int32_t Launch(std::vector<std::string> vArguments, const std::string& sFolder) {
    std::vector<char*> vArgv;
    for (std::string& sArgument : vArguments) {
        vArgv.push_back(sArgument.data());
    }
    vArgv.push_back(nullptr);
    const char* szFolder = sFolder.empty() ? nullptr : sFolder.c_str();

    int aiPipe[2];
    if (pipe2(aiPipe, O_CLOEXEC) != 0) {
        return CShellExecute::OutOfResources;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(aiPipe[0]);
        close(aiPipe[1]);
        return CShellExecute::OutOfResources;
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here: the parent may run other threads.
        close(aiPipe[0]);
        setsid();
        const pid_t pidProgram = fork();
        if (pidProgram < 0) {
            ReportFailure(aiPipe[1], StepFork);
            _exit(1);
        }
        if (pidProgram > 0) {
            _exit(0);
        }
        // The program starts with the signals of a fresh process, whatever we block or ignore.
        sigset_t oNone;
        sigemptyset(&oNone);
        sigprocmask(SIG_SETMASK, &oNone, nullptr);
        struct sigaction oDefault {};
        oDefault.sa_handler = SIG_DFL;
        for (int iSignal = 1; iSignal < NSIG; ++iSignal) {
            sigaction(iSignal, &oDefault, nullptr);
        }
        const int iNull = open("/dev/null", O_RDONLY);
        if (iNull > 0) {
            dup2(iNull, 0);
            close(iNull);
        }
        if (szFolder != nullptr && chdir(szFolder) != 0) {
            ReportFailure(aiPipe[1], StepFolder);
            _exit(127);
        }
        execve(vArgv[0], vArgv.data(), environ);
        ReportFailure(aiPipe[1], StepExec);
        _exit(127);
    }
    close(aiPipe[1]);
    int iStatus = 0;
    while (waitpid(pid, &iStatus, 0) < 0 && errno == EINTR) {
    }
    SFailure oFailure{};
    ssize_t nRead = 0;
    do {
        nRead = read(aiPipe[0], &oFailure, sizeof oFailure);
    } while (nRead < 0 && errno == EINTR);
    close(aiPipe[0]);
    if (nRead == static_cast<ssize_t>(sizeof oFailure)) {
        if (oFailure.iStep == StepFolder) {
            return CShellExecute::PathNotFound;
        }
        if (oFailure.iStep == StepExec && oFailure.iErrno == ENOEXEC) {
            return CShellExecute::BadFormat;
        }
        return CShellExecute::OutOfResources;
    }
    // No word and a clean exit of the middle child: the exec closed the pipe.
    if (nRead != 0 || !WIFEXITED(iStatus) || WEXITSTATUS(iStatus) != 0) {
        return CShellExecute::OutOfResources;
    }
    return CShellExecute::Started;
}
} // namespace

namespace {
// The argument list of an Exec-style command: %f %F %1 become sFile, %u %U sUri.
std::vector<std::string> Expand(const std::string& sCommand, const std::string& sFile,
                                const std::string& sUri) {
    std::vector<std::string> vArguments;
    bool bFilePlaced = false;
    for (const std::string& sWord :
         MExecLine::Split(sCommand, MExecLine::EPercent::AsWritten).vWords) {
        std::string sArgument;
        bool bHadCode = false;
        for (size_t i = 0; i < sWord.size(); ++i) {
            if (sWord[i] != '%' || i + 1 >= sWord.size()) {
                sArgument += sWord[i];
                continue;
            }
            const char cCode = sWord[++i];
            if (cCode == '%') {
                sArgument += '%';
                continue;
            }
            bHadCode = true;
            if (cCode == 'f' || cCode == 'F' || cCode == '1') {
                sArgument += sFile;
                bFilePlaced = true;
            } else if (cCode == 'u' || cCode == 'U') {
                sArgument += sUri;
                bFilePlaced = true;
            }
            // Any other field code (%i, %c, %k, the deprecated ones) stands for nothing here.
        }
        if (!sArgument.empty() || !bHadCode) {
            vArguments.push_back(sArgument);
        }
    }
    if (!bFilePlaced && !vArguments.empty()) {
        vArguments.push_back(sFile);
    }
    return vArguments;
}
} // namespace

std::vector<std::string> CShellExecute::Arguments(const std::string& sCommand,
                                                  const std::string& sFile) {
    return Expand(sCommand, sFile, MFileUri::FromPath(sFile));
}

std::string CShellExecute::FindProgram(const std::string& sProgram) {
    if (sProgram.empty()) {
        return "";
    }
    if (sProgram.find('/') != std::string::npos) {
        return IsExecutableFile(sProgram) ? AbsolutePath(sProgram) : "";
    }
    const char* pszPath = std::getenv("PATH");
    const std::string sPath = pszPath != nullptr ? pszPath : "/usr/local/bin:/usr/bin:/bin";
    size_t nStart = 0;
    while (nStart <= sPath.size()) {
        const size_t nEnd = sPath.find(':', nStart);
        const std::string sFolder =
            sPath.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        // A relative folder of PATH names no fixed place.
        if (!sFolder.empty() && sFolder[0] == '/' && IsExecutableFile(sFolder + "/" + sProgram)) {
            return sFolder + "/" + sProgram;
        }
        if (nEnd == std::string::npos) {
            break;
        }
        nStart = nEnd + 1;
    }
    return "";
}

std::int32_t CShellExecute::Open(const std::string& sCommand, const std::string& sFile,
                                 const std::string& sFolder) {
    if (sFile.empty()) {
        return FileNotFound;
    }
    // The program runs in sFolder: a relative name would point elsewhere there.
    const std::string sPath = AbsolutePath(sFile);
    struct stat oStat {};
    if (stat(sPath.c_str(), &oStat) != 0) {
        const size_t nSlash = sPath.find_last_of('/');
        const bool bFolderMissing = nSlash > 0 && !IsFolder(sPath.substr(0, nSlash));
        return bFolderMissing ? PathNotFound : FileNotFound;
    }
    if (!sFolder.empty() && !IsFolder(sFolder)) {
        return PathNotFound;
    }
    // With no command, a program is started itself.
    std::vector<std::string> vArguments = sCommand.empty() && IsExecutableFile(sPath)
                                              ? std::vector<std::string>{sPath}
                                              : Arguments(sCommand, sPath);
    if (vArguments.empty()) {
        return NoAssociation;
    }
    // A command whose program is gone is an association that no longer leads anywhere.
    vArguments[0] = FindProgram(vArguments[0]);
    if (vArguments[0].empty()) {
        return NoAssociation;
    }
    return Launch(std::move(vArguments), sFolder);
}

std::int32_t CShellExecute::OpenLink(const std::string& sCommand, const std::string& sLink,
                                     const std::string& sFolder) {
    if (sLink.empty()) {
        return FileNotFound;
    }
    if (!sFolder.empty() && !IsFolder(sFolder)) {
        return PathNotFound;
    }
    // The link is one argument wherever the command takes a file or a URI.
    std::vector<std::string> vArguments = Expand(sCommand, sLink, sLink);
    if (vArguments.empty()) {
        return NoAssociation;
    }
    vArguments[0] = FindProgram(vArguments[0]);
    if (vArguments[0].empty()) {
        return NoAssociation;
    }
    return Launch(std::move(vArguments), sFolder);
}
