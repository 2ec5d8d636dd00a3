#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MFileRead.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
int ErrorNumberOf(const std::string& sPath, size_t nCap) {
    try {
        MFileRead::ReadRegularFile(sPath, nCap);
        return 0;
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
}
} // namespace

TEST(FileRead, ReadsRegularFilesUpToTheCap) {
    CTempFolder oTemp;
    const std::string sFile = oTemp.WriteFile("a.txt", std::string(1000, 'x'));
    EXPECT_EQ(MFileRead::ReadRegularFile(sFile, 1000), std::string(1000, 'x'));
    EXPECT_EQ(ErrorNumberOf(sFile, 999), 75);
    EXPECT_EQ(ErrorNumberOf(oTemp / "missing.txt", 1000), 53);
}

TEST(FileRead, RefusesWhatIsNotARegularFile) {
    CTempFolder oTemp;
    EXPECT_EQ(ErrorNumberOf("/dev/zero", 1u << 20), 75);
    EXPECT_EQ(ErrorNumberOf(oTemp.Path().string(), 1u << 20), 75);
    const std::string sPipe = oTemp / "pipe";
    ASSERT_EQ(mkfifo(sPipe.c_str(), 0600), 0);
    EXPECT_EQ(ErrorNumberOf(sPipe, 1u << 20), 75); // and does not wait for a writer
    const std::string sLink = oTemp / "zero-link";
    ASSERT_EQ(symlink("/dev/zero", sLink.c_str()), 0);
    EXPECT_EQ(ErrorNumberOf(sLink, 1u << 20), 75);
    // The temporary folder's clean-up grants rights through links: it must not reach the device.
    unlink(sLink.c_str());
}

TEST(FileRead, AnUnreadableFileFailsWithoutRights) {
    CTempFolder oTemp;
    const std::string sFile = oTemp.WriteFile("secret.txt", "text");
    MUnprivileged::OpenToAll(oTemp.Path().string());
    ASSERT_EQ(chmod(sFile.c_str(), 0), 0);
    EXPECT_EQ(MUnprivileged::Run([&] { return ErrorNumberOf(sFile, 100) == 70 ? 0 : 1; }), 0);
}
