#include "CArgumentRecorder.h"

#include "support/CTempFolder.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

CArgumentRecorder::CArgumentRecorder(const CTempFolder& oTemp, const std::string& sName)
    : m_sPipe(oTemp / (sName + ".pipe")) {
    if (mkfifo(m_sPipe.c_str(), 0666) != 0) {
        throw std::runtime_error("cannot make the pipe " + m_sPipe);
    }
    m_sProgram = oTemp.WriteFile(sName, "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' "
                                        "\"$a\"; done; } > '" +
                                            m_sPipe + "'\n");
    chmod(m_sProgram.c_str(), 0755);
    OpenPipe();
}

CArgumentRecorder::~CArgumentRecorder() {
    if (m_iPipe >= 0) {
        close(m_iPipe);
    }
}

void CArgumentRecorder::OpenPipe() {
    // Not blocking: opening the reading end must not wait for the writer.
    m_iPipe = open(m_sPipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

std::vector<std::string> CArgumentRecorder::Wait() {
    const auto tLimit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string sText;
    bool bDone = false;
    while (!bDone && m_iPipe >= 0) {
        const auto llLeft = std::chrono::duration_cast<std::chrono::milliseconds>(
                                tLimit - std::chrono::steady_clock::now())
                                .count();
        pollfd oPoll{m_iPipe, POLLIN, 0};
        if (llLeft <= 0 || poll(&oPoll, 1, static_cast<int>(llLeft)) <= 0) {
            break;
        }
        char acBuffer[4096];
        const ssize_t nRead = read(m_iPipe, acBuffer, sizeof acBuffer);
        if (nRead > 0) {
            sText.append(acBuffer, static_cast<size_t>(nRead));
        } else if ((oPoll.revents & POLLHUP) != 0) {
            bDone = true; // the writer came and closed its end
        }
    }
    close(m_iPipe);
    OpenPipe();
    std::vector<std::string> vLines;
    size_t nStart = 0;
    while (bDone && nStart < sText.size()) {
        const size_t nEnd = sText.find('\n', nStart);
        vLines.push_back(sText.substr(nStart, nEnd - nStart));
        nStart = nEnd == std::string::npos ? sText.size() : nEnd + 1;
    }
    return vLines;
}
