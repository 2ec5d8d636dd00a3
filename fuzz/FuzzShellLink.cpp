// The shortcut reader: every file of the Recent folder goes through it at each poll.
#include "MFuzzCheck.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/shelllink/CShellLink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using MFuzzCheck::Expect;

namespace {

// What the capture cycle and the views take from a shortcut.
void ExpectSameMeaning(const CShellLink& oRead, const CShellLink& oAgain) {
    Expect(oAgain.TargetPath() == oRead.TargetPath(), "a written shortcut keeps its target");
    Expect(oAgain.WorkingDirectory() == oRead.WorkingDirectory(),
           "a written shortcut keeps its working folder");
    Expect(oAgain.Arguments() == oRead.Arguments(), "a written shortcut keeps its arguments");
    Expect(oAgain.Description() == oRead.Description(), "a written shortcut keeps its description");
    Expect(oAgain.RelativePath() == oRead.RelativePath(),
           "a written shortcut keeps its relative path");
    Expect(oAgain.IconLocation() == oRead.IconLocation() && oAgain.IconIndex() == oRead.IconIndex(),
           "a written shortcut keeps its icon");
    Expect(oAgain.ShowCommand() == oRead.ShowCommand() && oAgain.HotKey() == oRead.HotKey() &&
               oAgain.FileAttributes() == oRead.FileAttributes() &&
               oAgain.FileSize() == oRead.FileSize(),
           "a written shortcut keeps its header");
    Expect(oAgain.CreationTime() == oRead.CreationTime() &&
               oAgain.AccessTime() == oRead.AccessTime() && oAgain.WriteTime() == oRead.WriteTime(),
           "a written shortcut keeps its times");
    Expect(oAgain.IdList().size() == oRead.IdList().size() &&
               oAgain.ExtraDataBlocks().size() == oRead.ExtraDataBlocks().size(),
           "a written shortcut keeps its id list and extra data");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::vector<std::uint8_t> vBytes(pData, pData + nSize);
    CShellLink oLink;
    try {
        oLink = CShellLink::FromBytes(vBytes);
    } catch (const CRunTimeError& oError) {
        Expect(oError.Number() == CShellLink::DamagedLinkError,
               "a shortcut that cannot be read is reported as damaged");
        return 0;
    }
    // Every derived value is computed, as the capture cycle and the views ask for them.
    oLink.IdListPath();
    oLink.LocalPath();
    oLink.NetworkPath();
    oLink.EnvironmentTarget();
    oLink.IconEnvironmentLocation();
    oLink.DarwinId();

    std::vector<std::uint8_t> vWritten;
    try {
        vWritten = oLink.ToBytes();
    } catch (const CRunTimeError& oError) {
        Expect(oError.Number() == RunTimeErrors::Overflow,
               "a shortcut too large to write is an overflow");
        return 0;
    }
    CShellLink oAgain;
    try {
        oAgain = CShellLink::FromBytes(vWritten);
    } catch (const CRunTimeError&) {
        Expect(false, "a shortcut the writer made reads back");
    }
    ExpectSameMeaning(oLink, oAgain);
    Expect(oAgain.ToBytes() == vWritten, "writing a shortcut read back gives the same bytes");
    return 0;
}
