#include "app/window/CTerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> Watched = {SIGTERM, SIGINT, SIGHUP};

// One pipe per process: a handler cannot find an object.
int g_aiPipe[2] = {-1, -1};
std::array<struct sigaction, Watched.size()> g_aoPrevious{};

void OnSignal(int iSignal) {
    const int iSavedErrno = errno;
    const auto cSignal = static_cast<unsigned char>(iSignal);
    // A full pipe already holds a signal still to be handled: one more may be dropped.
    (void)!write(g_aiPipe[1], &cSignal, 1);
    errno = iSavedErrno;
}
} // namespace

CTerminationSignals::CTerminationSignals(QObject* pParent) : QObject(pParent) {
    if (g_aiPipe[0] >= 0 || pipe2(g_aiPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_pNotifier = new QSocketNotifier(g_aiPipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationSignals::Pipe_Readable);
    struct sigaction oAction {};
    oAction.sa_handler = OnSignal;
    sigemptyset(&oAction.sa_mask);
    oAction.sa_flags = SA_RESTART;
    for (size_t i = 0; i < Watched.size(); ++i) {
        sigaction(Watched[i], &oAction, &g_aoPrevious[i]);
    }
}

CTerminationSignals::~CTerminationSignals() {
    if (m_pNotifier == nullptr) {
        return;
    }
    for (size_t i = 0; i < Watched.size(); ++i) {
        sigaction(Watched[i], &g_aoPrevious[i], nullptr);
    }
    delete m_pNotifier;
    close(g_aiPipe[0]);
    close(g_aiPipe[1]);
    g_aiPipe[0] = g_aiPipe[1] = -1;
}

void CTerminationSignals::Pipe_Readable() {
    unsigned char acSignals[16];
    ssize_t nRead = 0;
    while ((nRead = read(g_aiPipe[0], acSignals, sizeof acSignals)) > 0) {
        for (ssize_t i = 0; i < nRead; ++i) {
            emit Received(acSignals[i]);
        }
    }
}
