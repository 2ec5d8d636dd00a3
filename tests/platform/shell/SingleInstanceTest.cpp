#include "platform/shell/CSingleInstance.h"

#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    CTempFolder m_oTemp;
    std::string m_sLockFile = m_oTemp / "dayfold.lock";
};

// A child process that takes the lock, tells the parent what it got, and holds the lock until
// it is killed.
class CHoldingChild {
public:
    explicit CHoldingChild(const std::string& sLockFile) {
        int aiReport[2];
        int aiWait[2];
        if (::pipe(aiReport) != 0 || ::pipe(aiWait) != 0) {
            return;
        }
        m_iPid = ::fork();
        if (m_iPid == 0) {
            ::close(aiReport[0]);
            ::close(aiWait[1]);
            CSingleInstance oInstance(sLockFile);
            const char cResult = static_cast<char>('0' + oInstance.Acquire());
            [[maybe_unused]] ssize_t n = ::write(aiReport[1], &cResult, 1);
            char cIgnored = 0;
            n = ::read(aiWait[0], &cIgnored, 1); // blocks until the parent ends the child
            ::_exit(0);
        }
        ::close(aiReport[1]);
        ::close(aiWait[0]);
        m_iWaitFd = aiWait[1];
        char cResult = 0;
        if (::read(aiReport[0], &cResult, 1) == 1) {
            m_iResult = cResult - '0';
        }
        ::close(aiReport[0]);
    }
    ~CHoldingChild() { Kill(); }

    int Result() const { return m_iResult; }
    // Ends the child the hard way, as a crash would.
    void Kill() {
        if (m_iPid > 0) {
            ::kill(m_iPid, SIGKILL);
            int iStatus = 0;
            ::waitpid(m_iPid, &iStatus, 0);
            m_iPid = -1;
        }
        if (m_iWaitFd >= 0) {
            ::close(m_iWaitFd);
            m_iWaitFd = -1;
        }
    }

private:
    pid_t m_iPid = -1;
    int m_iWaitFd = -1;
    int m_iResult = -1;
};

TEST_F(SingleInstanceTest, ASecondInstanceIsRefusedUntilTheFirstOneDies) {
    CHoldingChild oChild(m_sLockFile);
    ASSERT_EQ(oChild.Result(), CSingleInstance::Acquired);

    CSingleInstance oSecond(m_sLockFile);
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::HeldElsewhere);
    EXPECT_FALSE(oSecond.Held());

    oChild.Kill(); // a crash leaves the file behind, but not the lock
    EXPECT_TRUE(std::filesystem::exists(m_sLockFile));
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::Acquired);
    EXPECT_TRUE(oSecond.Held());
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::Acquired); // taking it again is harmless
    EXPECT_EQ(CTempFolder::ReadFile(m_sLockFile), std::to_string(::getpid()) + "\n");
}

TEST_F(SingleInstanceTest, ReleasingOrDestroyingTheHolderFreesTheLock) {
    auto pFirst = std::make_unique<CSingleInstance>(m_sLockFile);
    ASSERT_EQ(pFirst->Acquire(), CSingleInstance::Acquired);
    CSingleInstance oSecond(m_sLockFile);
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::HeldElsewhere);
    pFirst->Release();
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::Acquired);
    oSecond.Release();
    ASSERT_EQ(pFirst->Acquire(), CSingleInstance::Acquired);
    pFirst.reset();
    EXPECT_EQ(oSecond.Acquire(), CSingleInstance::Acquired);
}

TEST_F(SingleInstanceTest, AProgramStartedByTheHolderDoesNotKeepTheLock) {
    auto pHolder = std::make_unique<CSingleInstance>(m_sLockFile);
    ASSERT_EQ(pHolder->Acquire(), CSingleInstance::Acquired);

    // A program that outlives the holder (cat waits on a pipe that only this test can end).
    // The close-on-exec pipe tells when the exec has happened.
    int aiExec[2];
    int aiInput[2];
    ASSERT_EQ(::pipe2(aiExec, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(aiInput, O_CLOEXEC), 0);
    const pid_t iPid = ::fork();
    if (iPid == 0) {
        ::dup2(aiInput[0], 0);
        ::execl("/bin/cat", "cat", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(aiExec[1]);
    ::close(aiInput[0]);
    char cIgnored = 0;
    EXPECT_EQ(::read(aiExec[0], &cIgnored, 1), 0); // end of file: cat runs
    ::close(aiExec[0]);

    pHolder.reset();
    CSingleInstance oNext(m_sLockFile);
    EXPECT_EQ(oNext.Acquire(), CSingleInstance::Acquired);

    ::close(aiInput[1]);
    ::kill(iPid, SIGKILL);
    int iStatus = 0;
    ::waitpid(iPid, &iStatus, 0);
}

TEST_F(SingleInstanceTest, ALockFileThatCannotBeMadeIsReportedAsUnavailable) {
    const std::string sFolder = m_oTemp / "locked";
    std::filesystem::create_directories(sFolder);
    MUnprivileged::OpenToAll(m_oTemp.Path().string());
    ::chmod(sFolder.c_str(), 0555);
    const int iResult = MUnprivileged::Run([&] {
        CSingleInstance oInstance(sFolder + "/dayfold.lock");
        if (oInstance.Acquire() != CSingleInstance::Unavailable) {
            return 1;
        }
        return oInstance.Error().find(sFolder + "/dayfold.lock: ") == 0 ? 0 : 2;
    });
    EXPECT_EQ(iResult, 0);

    // A link where the lock file belongs is not followed.
    const std::string sTarget = m_oTemp / "elsewhere";
    std::filesystem::create_symlink(sTarget, m_sLockFile);
    CSingleInstance oInstance(m_sLockFile);
    EXPECT_EQ(oInstance.Acquire(), CSingleInstance::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(sTarget));
}

TEST_F(SingleInstanceTest, TheLockLiesInTheRuntimeFolderElseInTheDataFolder) {
    CScopedEnvironment oEnvironment;
    const std::string sRuntime = m_oTemp / "run";
    std::filesystem::create_directories(sRuntime);
    oEnvironment.Set("XDG_RUNTIME_DIR", sRuntime);
    EXPECT_EQ(CSingleInstance::DefaultLockFile("/data"), sRuntime + "/dayfold.lock");
    oEnvironment.Set("XDG_RUNTIME_DIR", m_oTemp / "missing");
    EXPECT_EQ(CSingleInstance::DefaultLockFile("/data"), "/data/dayfold.lock");
    oEnvironment.Set("XDG_RUNTIME_DIR", "relative/run");
    EXPECT_EQ(CSingleInstance::DefaultLockFile("/data"), "/data/dayfold.lock");
    oEnvironment.Unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(CSingleInstance::DefaultLockFile("/data"), "/data/dayfold.lock");
}

} // namespace
