#include "platform/shell/CShellExecute.h"

#include <cerrno>
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

// Splits an Exec-style command line into words: double quotes group, a backslash inside quotes
// escapes the next character. Windows paths outside quotes keep their backslashes.
std::vector<std::string> SplitWords(const std::string& sCommand) {
    std::vector<std::string> vWords;
    std::string sWord;
    bool bInWord = false;
    bool bQuoted = false;
    for (size_t i = 0; i < sCommand.size(); ++i) {
        const char c = sCommand[i];
        if (bQuoted) {
            if (c == '"') {
                bQuoted = false;
            } else if (c == '\\' && i + 1 < sCommand.size() &&
                       std::string("\"`$\\").find(sCommand[i + 1]) != std::string::npos) {
                sWord += sCommand[++i];
            } else {
                sWord += c;
            }
        } else if (c == '"') {
            bQuoted = true;
            bInWord = true;
        } else if (c == ' ' || c == '\t') {
            if (bInWord) {
                vWords.push_back(sWord);
                sWord.clear();
                bInWord = false;
            }
        } else {
            sWord += c;
            bInWord = true;
        }
    }
    if (bInWord) {
        vWords.push_back(sWord);
    }
    return vWords;
}
} // namespace

std::vector<std::string> CShellExecute::Arguments(const std::string& sCommand,
                                                  const std::string& sFile) {
    std::vector<std::string> vArguments;
    bool bFilePlaced = false;
    for (const std::string& sWord : SplitWords(sCommand)) {
        if (sWord == "%f" || sWord == "%F" || sWord == "%u" || sWord == "%U" || sWord == "%1") {
            if (!bFilePlaced) {
                vArguments.push_back(sFile);
                bFilePlaced = true;
            }
            continue;
        }
        std::string sArgument;
        for (size_t i = 0; i < sWord.size(); ++i) {
            if (sWord[i] != '%' || i + 1 >= sWord.size()) {
                sArgument += sWord[i];
                continue;
            }
            const char cCode = sWord[++i];
            if (cCode == '%') {
                sArgument += '%';
            } else if (std::string("fFuU1").find(cCode) != std::string::npos) {
                sArgument += sFile;
                bFilePlaced = true;
            }
            // Any other field code (%i, %c, %k ...) stands for nothing here.
        }
        if (!sArgument.empty()) {
            vArguments.push_back(sArgument);
        }
    }
    if (!bFilePlaced && !vArguments.empty()) {
        vArguments.push_back(sFile);
    }
    return vArguments;
}

std::string CShellExecute::FindProgram(const std::string& sProgram) {
    if (sProgram.empty()) {
        return "";
    }
    if (sProgram.find('/') != std::string::npos) {
        return IsExecutableFile(sProgram) ? sProgram : "";
    }
    const char* pszPath = std::getenv("PATH");
    const std::string sPath = pszPath != nullptr ? pszPath : "/usr/local/bin:/usr/bin:/bin";
    size_t nStart = 0;
    while (nStart <= sPath.size()) {
        const size_t nEnd = sPath.find(':', nStart);
        const std::string sFolder =
            sPath.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!sFolder.empty() && IsExecutableFile(sFolder + "/" + sProgram)) {
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
    struct stat oStat {};
    if (stat(sFile.c_str(), &oStat) != 0) {
        const size_t nSlash = sFile.find_last_of('/');
        const bool bFolderMissing =
            nSlash != std::string::npos && nSlash > 0 && !IsFolder(sFile.substr(0, nSlash));
        return bFolderMissing ? PathNotFound : FileNotFound;
    }
    if (!sFolder.empty() && !IsFolder(sFolder)) {
        return PathNotFound;
    }
    // With no command, a program is started itself.
    std::vector<std::string> vArguments = sCommand.empty() && IsExecutableFile(sFile)
                                              ? std::vector<std::string>{sFile}
                                              : Arguments(sCommand, sFile);
    if (vArguments.empty()) {
        return NoAssociation;
    }
    vArguments[0] = FindProgram(vArguments[0]);
    if (vArguments[0].empty()) {
        return FileNotFound;
    }
    std::vector<char*> vArgv;
    for (std::string& sArgument : vArguments) {
        vArgv.push_back(sArgument.data());
    }
    vArgv.push_back(nullptr);

    // The program outlives us: started from a grandchild in a session of its own, with a
    // pipe that closes on a successful exec and carries the error of a failed one.
    int aiPipe[2];
    if (pipe2(aiPipe, O_CLOEXEC) != 0) {
        return FileNotFound;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(aiPipe[0]);
        close(aiPipe[1]);
        return FileNotFound;
    }
    if (pid == 0) {
        close(aiPipe[0]);
        setsid();
        if (fork() != 0) {
            _exit(0);
        }
        if (!sFolder.empty() && chdir(sFolder.c_str()) != 0) {
            const int iErrno = errno;
            (void)!write(aiPipe[1], &iErrno, sizeof iErrno);
            _exit(127);
        }
        execve(vArgv[0], vArgv.data(), environ);
        const int iErrno = errno;
        (void)!write(aiPipe[1], &iErrno, sizeof iErrno);
        _exit(127);
    }
    close(aiPipe[1]);
    int iStatus = 0;
    waitpid(pid, &iStatus, 0);
    int iErrno = 0;
    const ssize_t nRead = read(aiPipe[0], &iErrno, sizeof iErrno);
    close(aiPipe[0]);
    return nRead == static_cast<ssize_t>(sizeof iErrno) ? FileNotFound : Started;
}
