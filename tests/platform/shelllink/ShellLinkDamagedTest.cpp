// Hostile input: every mutilation of real and built links either parses or ends in the
// damaged-link error; nothing crashes or reads past the buffer (run under the sanitizers).
#include "CLinkFixture.h"
#include "CorpusSupport.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shelllink/CShellLink.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

enum class EOutcome { Parsed, Damaged, OtherError };

// Parses the bytes and, when that works, uses everything a caller would use.
EOutcome Outcome(const std::vector<std::uint8_t>& vBytes) {
    try {
        const CShellLink oLink = CShellLink::FromBytes(vBytes);
        (void)oLink.TargetPath();
        (void)oLink.EnvironmentTarget();
        (void)oLink.IconEnvironmentLocation();
        (void)oLink.DarwinId();
        try {
            CShellLink::FromBytes(oLink.ToBytes());
        } catch (const CRunTimeError& oError) {
            // Writing back may overflow a count; reading what was written must not fail.
            if (oError.Number() != RunTimeErrors::Overflow) {
                return EOutcome::OtherError;
            }
        }
        return EOutcome::Parsed;
    } catch (const CRunTimeError& oError) {
        return oError.Number() == CShellLink::DamagedLinkError ? EOutcome::Damaged
                                                               : EOutcome::OtherError;
    } catch (...) {
        return EOutcome::OtherError;
    }
}

void Put(std::vector<std::uint8_t>& v, std::size_t nOffset, std::uint32_t lValue,
         std::size_t nWidth) {
    for (std::size_t i = 0; i < nWidth && nOffset + i < v.size(); ++i) {
        v[nOffset + i] = static_cast<std::uint8_t>((lValue >> (8 * i)) & 0xFF);
    }
}

std::vector<std::vector<std::uint8_t>> CorpusFiles() {
    std::vector<std::vector<std::uint8_t>> vFiles;
    for (const std::string& sName : CorpusSupport::FileNames()) {
        vFiles.push_back(CorpusSupport::ReadBytes(CorpusSupport::Folder() + "/" + sName));
    }
    return vFiles;
}

} // namespace

TEST(ShellLinkDamaged, TruncationsOfEveryCorpusFile) {
    int iDamaged = 0;
    for (const auto& vFile : CorpusFiles()) {
        for (std::size_t nLength = 0; nLength < vFile.size(); ++nLength) {
            const std::vector<std::uint8_t> vCut(vFile.begin(), vFile.begin() + nLength);
            const EOutcome eOutcome = Outcome(vCut);
            ASSERT_NE(eOutcome, EOutcome::OtherError) << "cut at " << nLength;
            iDamaged += eOutcome == EOutcome::Damaged;
        }
    }
    EXPECT_GT(iDamaged, 1000); // most cuts break a structure and must be noticed
}

TEST(ShellLinkDamaged, FlippedBytesAndLyingSizes) {
    for (const auto& vFile : CorpusFiles()) {
        for (std::size_t nOffset = 0; nOffset < vFile.size(); ++nOffset) {
            const std::uint32_t lPastEnd = static_cast<std::uint32_t>(vFile.size() - nOffset + 1);
            const std::pair<std::uint32_t, std::size_t> aChanges[] = {
                {0x00, 1}, {0xFF, 1}, {0x0000, 2}, {0xFFFF, 2}, {0xFFFFFFFF, 4}, {lPastEnd, 4}};
            for (const auto& [lValue, nWidth] : aChanges) {
                std::vector<std::uint8_t> vChanged = vFile;
                Put(vChanged, nOffset, lValue, nWidth);
                ASSERT_NE(Outcome(vChanged), EOutcome::OtherError)
                    << "value " << lValue << " at " << nOffset;
            }
        }
    }
}

TEST(ShellLinkDamaged, BrokenStructuresAreReportedAsDamaged) {
    const std::vector<std::uint8_t> vValidLinkInfo = CLinkInfo::ForPath("C:\\a.txt").ToBytes();
    auto LinkInfoWith = [&](std::size_t nOffset, std::uint32_t lValue,
                            std::uint32_t lHeaderSize = 0x24) {
        std::vector<std::uint8_t> v = vValidLinkInfo;
        Put(v, 4, lHeaderSize, 4);
        Put(v, nOffset, lValue, 4);
        return CLinkFixture().LinkInfo(v).Bytes();
    };
    std::vector<std::uint8_t> vUnterminatedPath = vValidLinkInfo;
    std::fill(vUnterminatedPath.begin() + 0x24, vUnterminatedPath.end(), 'a');
    const std::vector<std::uint8_t> vPlain = CLinkFixture().Bytes();
    std::vector<std::uint8_t> vNotALink = vPlain;
    vNotALink[4] ^= 1;
    std::vector<std::uint8_t> vItemOfSizeOne = CLinkFixture().IdItem({0x31}).Bytes();
    vItemOfSizeOne[0x4E] = 1;

    const std::pair<const char*, std::vector<std::uint8_t>> aCases[] = {
        {"empty file", {}},
        {"short header", std::vector<std::uint8_t>(vPlain.begin(), vPlain.begin() + 0x4B)},
        {"wrong class id", vNotALink},
        {"id item of size 1", vItemOfSizeOne},
        {"id list past the end", CLinkFixture().EmptyIdList().Tail({}).Bytes()},
        {"block of size 4 that never advances",
         CLinkFixture().Tail({4, 0, 0, 0, 0, 0, 0, 0}).Bytes()},
        {"block past the end", CLinkFixture().Tail({16, 0, 0, 0, 1, 0, 0, 0xA0}).Bytes()},
        {"LinkInfo of size 0", LinkInfoWith(0, 0)},
        {"LinkInfo past the end", LinkInfoWith(0, 0x10000)},
        {"LinkInfo header larger than it", LinkInfoWith(4, 0xFFFF)},
        {"VolumeID offset outside", LinkInfoWith(12, 0xFFFFFFF0)},
        {"ANSI base path offset outside", LinkInfoWith(16, 0x7FFFFFFF, 0x1C)},
        {"Unicode base path offset outside", LinkInfoWith(28, 0xFFFF)},
        {"unterminated base path", CLinkFixture().LinkInfo(vUnterminatedPath).Bytes()},
        {"string count past the end",
         CLinkFixture().UnicodeString(CShellLink::HasArguments, {'a'}).Tail({}).Bytes()},
    };
    for (const auto& [pszName, vBytes] : aCases) {
        SCOPED_TRACE(pszName);
        std::vector<std::uint8_t> vCase = vBytes;
        if (std::string(pszName) == "id list past the end") {
            vCase[0x4C] = 0xFF; // the list claims 255 bytes of a 6-byte rest
        }
        if (std::string(pszName) == "string count past the end") {
            vCase[vCase.size() - 4] = 0xFF; // count 0xFF with two bytes of text
        }
        EXPECT_EQ(Outcome(vCase), EOutcome::Damaged);
    }
}

TEST(ShellLinkDamaged, FilesOverOneMebibyteAreRefused) {
    std::vector<std::uint8_t> vPadded = CLinkFixture().Bytes();
    vPadded.resize(CShellLink::MaxFileSize, 0); // zeros after the terminal block
    EXPECT_EQ(Outcome(vPadded), EOutcome::Parsed);
    vPadded.push_back(0);
    EXPECT_EQ(Outcome(vPadded), EOutcome::Damaged);

    CTempFolder oFolder;
    const std::string sPath = oFolder / "huge.lnk";
    std::ofstream(sPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(vPadded.data()),
               static_cast<std::streamsize>(vPadded.size()));
    try {
        CShellLink::Load(sPath);
        ADD_FAILURE() << "an oversized file was read";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Number(), CShellLink::DamagedLinkError);
        EXPECT_EQ(oError.Description(),
                  "The shortcut file is damaged: the file is larger than 1 MiB");
    }
}
