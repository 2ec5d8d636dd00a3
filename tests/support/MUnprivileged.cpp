#include "support/MUnprivileged.h"

#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace MUnprivileged {

int Run(const std::function<int()>& fCheck) {
    const pid_t iChild = fork();
    if (iChild < 0) {
        return -1;
    }
    if (iChild == 0) {
        if (geteuid() == 0) {
            const passwd* pNobody = getpwnam("nobody");
            const uid_t iUser = pNobody != nullptr ? pNobody->pw_uid : 65534;
            const gid_t iGroup = pNobody != nullptr ? pNobody->pw_gid : 65534;
            if (setgroups(0, nullptr) != 0 || setgid(iGroup) != 0 || setuid(iUser) != 0 ||
                geteuid() == 0) {
                _exit(255);
            }
        }
        int iResult = 254;
        try {
            iResult = fCheck();
        } catch (...) {
        }
        _exit(iResult);
    }
    int iStatus = 0;
    if (waitpid(iChild, &iStatus, 0) != iChild || !WIFEXITED(iStatus) ||
        WEXITSTATUS(iStatus) == 255) {
        return -1;
    }
    return WEXITSTATUS(iStatus);
}

void OpenToAll(const std::string& sPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(sPath, fs::perms::all, ec);
    for (auto it = fs::recursive_directory_iterator(sPath, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::all, ec);
        }
    }
}

} // namespace MUnprivileged
