// The writer: what it writes reads back the same, through this reader and through an
// independent parser, and its bytes follow the format where other readers rely on them.
#include "CJsonValue.h"
#include "CorpusSupport.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shelllink/CShellLink.h"
#include "platform/shelllink/MLinkText.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <sys/wait.h>

namespace {

struct SLinkCase {
    const char* pszName;
    std::string sTarget;
    std::string sWorkingDirectory;
    std::string sArguments;
    std::string sIconLocation;
    std::int32_t lIconIndex;
    std::uint32_t lShowCommand;
    std::string sDescription;
};

CShellLink MakeLink(const SLinkCase& oCase) {
    CShellLink oLink;
    oLink.SetTargetPath(oCase.sTarget);
    oLink.SetWorkingDirectory(oCase.sWorkingDirectory);
    oLink.SetArguments(oCase.sArguments);
    oLink.SetIconLocation(oCase.sIconLocation);
    oLink.SetIconIndex(oCase.lIconIndex);
    oLink.SetShowCommand(oCase.lShowCommand);
    oLink.SetDescription(oCase.sDescription);
    return oLink;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& v, std::size_t n) {
    return static_cast<std::uint32_t>(v.at(n) | (v.at(n + 1) << 8) | (v.at(n + 2) << 16) |
                                      (static_cast<std::uint32_t>(v.at(n + 3)) << 24));
}

std::int32_t ErrorNumberOf(const std::function<void()>& fnAction) {
    try {
        fnAction();
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}

// The corpus files whose ANSI target path another code page wrote, with the intended path.
std::map<std::string, std::string> CodePageCorrections() {
    std::map<std::string, std::string> mapPaths;
    const CJsonValue oManifest =
        CJsonValue::Parse(CTempFolder::ReadFile(CorpusSupport::Folder() + "/manifest.json"));
    for (const CJsonValue& oEntry : oManifest.Items()) {
        const auto& vFeatures = oEntry["features"].Items();
        const bool bUnicode = std::any_of(vFeatures.begin(), vFeatures.end(), [](const auto& o) {
            return o.AsString() == "linkinfo-unicode";
        });
        if (!oEntry["target_path_corrected"].IsNull() && !bUnicode) {
            mapPaths[oEntry["file"].AsString()] = oEntry["target_path_corrected"].AsString();
        }
    }
    return mapPaths;
}

// "Label : value" lines of the independent parser's report, by label.
std::map<std::string, std::string> RunLnkInfo(const std::string& sPath) {
    std::map<std::string, std::string> mapLines;
    const std::string sCommand = "/usr/bin/lnkinfo '" + sPath + "' 2>&1";
    std::FILE* pPipe = popen(sCommand.c_str(), "r");
    if (pPipe == nullptr) {
        return mapLines;
    }
    std::array<char, 4096> aLine{};
    while (std::fgets(aLine.data(), static_cast<int>(aLine.size()), pPipe) != nullptr) {
        std::string sLine = aLine.data();
        while (!sLine.empty() && (sLine.back() == '\n' || sLine.back() == '\r')) {
            sLine.pop_back();
        }
        const std::size_t nColon = sLine.find(": ");
        const std::size_t nStart = sLine.find_first_not_of('\t');
        if (nColon == std::string::npos || nStart == std::string::npos || nStart > nColon) {
            continue;
        }
        std::string sLabel = sLine.substr(nStart, nColon - nStart);
        sLabel.erase(sLabel.find_last_not_of(" \t") + 1);
        mapLines.emplace(sLabel, sLine.substr(nColon + 2));
    }
    pclose(pPipe);
    return mapLines;
}

const std::string LongFolder =
    std::string("C:\\") + std::string(150, 'a') + "\\" + std::string(150, 'b') + "\\document.txt";

} // namespace

TEST(ShellLinkWriter, WrittenLinksReadBackUnchanged) {
    const SLinkCase aCases[] = {
        {"ascii", "C:\\Program Files\\Dayfold\\dayfold.exe", "C:\\Program Files\\Dayfold",
         "--capture-once", "C:\\Windows\\system32\\shell32.dll", 4, 1, "ShellLink Sample"},
        {"non-ascii", "C:\\Données\\Отчёт 2024\\café ☕ 🍰.txt", "C:\\Données\\Отчёт 2024",
         "-t «über»", "D:\\Ícones\\ícone.ico", -3, 3, "Beschreibung: Größe"},
        {"quotes and spaces", "C:\\My Files\\a b.txt", "C:\\My Files",
         "\"C:\\My Files\\a b.txt\" --name=\"x y\"  ", "C:\\My Files\\icon file.ico", 0, 7,
         "a \"quoted\" description"},
        {"over 260 characters", LongFolder, LongFolder.substr(0, LongFolder.rfind('\\')),
         std::string(300, 'x'), LongFolder, 2, 1, std::string(400, 'd')},
        {"empty optional fields", "C:\\a.txt", "", "", "", 0, 1, ""},
        {"network share", "\\\\server\\share\\folder\\file.doc", "\\\\server\\share\\folder", "",
         "", 0, 1, ""},
    };
    for (const SLinkCase& oCase : aCases) {
        SCOPED_TRACE(oCase.pszName);
        CTempFolder oFolder;
        MakeLink(oCase).Save(oFolder / "link.lnk");
        const CShellLink oRead = CShellLink::Load(oFolder / "link.lnk");
        EXPECT_EQ(oRead.TargetPath(), oCase.sTarget);
        EXPECT_EQ(oRead.WorkingDirectory(), oCase.sWorkingDirectory);
        EXPECT_EQ(oRead.Arguments(), oCase.sArguments);
        EXPECT_EQ(oRead.IconLocation(), oCase.sIconLocation);
        EXPECT_EQ(oRead.IconIndex(), oCase.lIconIndex);
        EXPECT_EQ(oRead.ShowCommand(), oCase.lShowCommand);
        EXPECT_EQ(oRead.Description(), oCase.sDescription);
    }
}

TEST(ShellLinkWriter, PresenceFlagsFollowTheNonEmptyFields) {
    struct SFlagCase {
        void (CShellLink::*pSetter)(const std::string&);
        std::uint32_t lFlag;
    };
    const SFlagCase aCases[] = {{&CShellLink::SetDescription, CShellLink::HasName},
                                {&CShellLink::SetRelativePath, CShellLink::HasRelativePath},
                                {&CShellLink::SetWorkingDirectory, CShellLink::HasWorkingDir},
                                {&CShellLink::SetArguments, CShellLink::HasArguments},
                                {&CShellLink::SetIconLocation, CShellLink::HasIconLocation}};
    CShellLink oBare;
    oBare.SetTargetPath("C:\\a.txt");
    EXPECT_EQ(U32At(oBare.ToBytes(), 0x14), CShellLink::HasLinkInfo | CShellLink::IsUnicode);
    for (const SFlagCase& oCase : aCases) {
        CShellLink oLink = oBare;
        (oLink.*oCase.pSetter)("x");
        EXPECT_EQ(U32At(oLink.ToBytes(), 0x14),
                  CShellLink::HasLinkInfo | CShellLink::IsUnicode | oCase.lFlag);
        (oLink.*oCase.pSetter)("");
        EXPECT_EQ(U32At(oLink.ToBytes(), 0x14), CShellLink::HasLinkInfo | CShellLink::IsUnicode);
    }
    EXPECT_EQ(U32At(CShellLink().ToBytes(), 0x14), CShellLink::IsUnicode);
}

TEST(ShellLinkWriter, HeaderAndLinkInfoBytesFollowTheFormat) {
    CShellLink oLink;
    oLink.SetTargetPath("C:\\Пример\\résumé.txt");
    oLink.SetIconIndex(-5);
    oLink.SetShowCommand(CShellLink::ShowMinNoActive);
    const std::vector<std::uint8_t> v = oLink.ToBytes();

    EXPECT_EQ(U32At(v, 0), 0x4Cu);
    const std::vector<std::uint8_t> vClassId = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0,
                                                0xC0, 0,    0,    0, 0, 0, 0, 0x46};
    EXPECT_EQ(std::vector<std::uint8_t>(v.begin() + 4, v.begin() + 20), vClassId);
    EXPECT_EQ(U32At(v, 0x38), 0xFFFFFFFBu);
    EXPECT_EQ(U32At(v, 0x3C), 7u);
    // LinkInfo right after the header: header size 0x24, a volume and a local base path.
    const std::size_t nInfo = 0x4C;
    EXPECT_EQ(U32At(v, nInfo + 4), 0x24u);
    EXPECT_EQ(U32At(v, nInfo + 8), 1u);
    const std::size_t nVolume = nInfo + U32At(v, nInfo + 12);
    EXPECT_EQ(U32At(v, nVolume + 4), 3u); // a fixed drive
    // ANSI path in windows-1252 with '?' for what it cannot hold; Unicode path exact.
    std::vector<std::uint8_t> vAnsi = {'C',  ':', '\\', '?', '?',  '?', '?', '?', '?', '\\', 'r',
                                       0xE9, 's', 'u',  'm', 0xE9, '.', 't', 'x', 't', 0};
    EXPECT_EQ(std::vector<std::uint8_t>(v.begin() + nInfo + U32At(v, nInfo + 16),
                                        v.begin() + nInfo + U32At(v, nInfo + 16) + vAnsi.size()),
              vAnsi);
    std::vector<std::uint8_t> vUnicode = MLinkText::ToUtf16Le("C:\\Пример\\résumé.txt");
    vUnicode.push_back(0);
    vUnicode.push_back(0);
    const std::size_t nUnicode = nInfo + U32At(v, nInfo + 28);
    EXPECT_EQ(
        std::vector<std::uint8_t>(v.begin() + nUnicode, v.begin() + nUnicode + vUnicode.size()),
        vUnicode);
    EXPECT_EQ(nInfo + U32At(v, nInfo), v.size() - 4); // nothing but the terminal block after it
    EXPECT_EQ(U32At(v, v.size() - 4), 0u);
}

TEST(ShellLinkWriter, NetworkTargetIsWrittenAsAShare) {
    CShellLink oLink;
    oLink.SetTargetPath("\\\\server\\share\\folder\\file.doc");
    const CShellLink oRead = CShellLink::FromBytes(oLink.ToBytes());
    EXPECT_EQ(oRead.LocalPath(), "");
    EXPECT_EQ(oRead.NetworkPath(), "\\\\server\\share\\folder\\file.doc");
    ASSERT_TRUE(oRead.LinkInfo().has_value());
    EXPECT_EQ(oRead.LinkInfo()->NetName(), "\\\\server\\share");
    EXPECT_EQ(oRead.LinkInfo()->CommonPathSuffix(), "folder\\file.doc");
}

TEST(ShellLinkWriter, IndependentParserReadsTheWrittenFields) {
    if (!std::filesystem::exists("/usr/bin/lnkinfo")) {
        GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    }
    CTempFolder oFolder;
    const std::string sPath = oFolder / "sample.lnk";
    SLinkCase oCase{"sample",
                    "C:\\Program Files\\Dayfold\\Dayfold Program.exe",
                    "C:\\Program Files\\Dayfold",
                    "--capture-once \"C:\\My Documents\\a b.txt\"",
                    "C:\\Windows\\system32\\shell32.dll",
                    12,
                    3,
                    "ShellLink Sample"};
    MakeLink(oCase).Save(sPath);
    const auto mapLines = RunLnkInfo(sPath);
    ASSERT_TRUE(mapLines.count("Local path")) << "lnkinfo did not read the file";
    EXPECT_EQ(mapLines.at("Local path"), oCase.sTarget);
    EXPECT_EQ(mapLines.at("Working directory"), oCase.sWorkingDirectory);
    EXPECT_EQ(mapLines.at("Command line arguments"), oCase.sArguments);
    EXPECT_EQ(mapLines.at("Icon location"), oCase.sIconLocation);
    EXPECT_EQ(mapLines.at("Description"), "ShellLink Sample");
    EXPECT_EQ(mapLines.at("Drive type"), "Fixed (3)");
    // This lnkinfo prints the file size as the show command; read those from the header.
    const std::vector<std::uint8_t> v = CorpusSupport::ReadBytes(sPath);
    EXPECT_EQ(U32At(v, 0x3C), 3u);
    EXPECT_EQ(U32At(v, 0x38), 12u);
}

TEST(ShellLinkWriter, IndependentParserReadsRewrittenCorpusTargets) {
    if (!std::filesystem::exists("/usr/bin/lnkinfo")) {
        GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    }
    CTempFolder oFolder;
    const std::map<std::string, std::string> mapCorrected = CodePageCorrections();
    ASSERT_FALSE(mapCorrected.empty());
    for (const std::string& sName : CorpusSupport::FileNames()) {
        // The damaged file cannot be read; the other one holds a lone surrogate that reads
        // (and is written back) as U+FFFD, which the parser prints differently.
        if (sName == "lnkparse3-extra-data.lnk" || sName == "plaso-unpaired-surrogate.lnk") {
            continue;
        }
        SCOPED_TRACE(sName);
        const std::string sOriginal = CorpusSupport::Folder() + "/" + sName;
        CShellLink::Load(sOriginal).Save(oFolder / sName);
        auto mapBefore = RunLnkInfo(sOriginal);
        auto mapAfter = RunLnkInfo(oFolder / sName);
        // The parser reads an ANSI path as windows-1252; the rewrite carries the intended path
        // in Unicode as well.
        const auto itCorrected = mapCorrected.find(sName);
        if (itCorrected != mapCorrected.end()) {
            EXPECT_NE(mapBefore["Local path"], itCorrected->second);
            mapBefore["Local path"] = itCorrected->second;
        }
        for (const char* pszLabel :
             {"Local path", "Network path", "Volume label", "Drive serial number",
              "Working directory", "Command line arguments", "Description", "Relative path",
              "Environment variables location", "Icon location"}) {
            EXPECT_EQ(mapAfter[pszLabel], mapBefore[pszLabel]) << pszLabel;
        }
    }
}

TEST(ShellLinkWriter, TargetChangeDropsWhatDescribedTheOldTarget) {
    CShellLink oLink = CShellLink::Load(CorpusSupport::Folder() + "/ez-winxp-command-prompt.lnk");
    ASSERT_FALSE(oLink.IdList().empty());
    ASSERT_FALSE(oLink.EnvironmentTarget().empty());
    oLink.SetTargetPath("D:\\Tools\\other.exe");
    const CShellLink oRead = CShellLink::FromBytes(oLink.ToBytes());
    EXPECT_EQ(oRead.TargetPath(), "D:\\Tools\\other.exe");
    EXPECT_FALSE(oRead.HasIdList());
    EXPECT_EQ(oRead.EnvironmentTarget(), "");
    EXPECT_EQ(oRead.FindBlock(CExtraDataBlock::Tracker), nullptr);
    EXPECT_EQ(oRead.LinkFlags() & (CShellLink::HasExpString | CShellLink::HasLinkTargetIdList), 0u);
    EXPECT_EQ(oRead.Description(), "@%SystemRoot%\\system32\\shell32.dll,-22534");

    CShellLink oIcon = CShellLink::Load(CorpusSupport::Folder() +
                                        "/ez-win10-microsoft-windows-operating-system.lnk");
    ASSERT_FALSE(oIcon.IconEnvironmentLocation().empty());
    oIcon.SetIconLocation("C:\\icons\\new.ico");
    const CShellLink oIconRead = CShellLink::FromBytes(oIcon.ToBytes());
    EXPECT_EQ(oIconRead.IconEnvironmentLocation(), "");
    EXPECT_EQ(oIconRead.LinkFlags() & CShellLink::HasExpIcon, 0u);
    EXPECT_EQ(oIconRead.IconLocation(), "C:\\icons\\new.ico");
    EXPECT_EQ(oIconRead.TargetPath(), "C:\\Windows\\System32\\control.exe");
}

TEST(ShellLinkWriter, StringTooLongForItsCountOverflows) {
    CShellLink oLink;
    oLink.SetArguments(std::string(0x10000, 'a'));
    EXPECT_EQ(ErrorNumberOf([&] { oLink.ToBytes(); }), RunTimeErrors::Overflow);
    oLink.SetArguments(std::string(0xFFFF, 'a'));
    EXPECT_EQ(CShellLink::FromBytes(oLink.ToBytes()).Arguments().size(), 0xFFFFu);
}

TEST(ShellLinkFiles, SaveAndLoadReportClassicErrors) {
    CTempFolder oFolder;
    CShellLink oLink;
    oLink.SetTargetPath("C:\\a.txt");
    EXPECT_EQ(ErrorNumberOf([&] { oLink.Save(oFolder / "missing/link.lnk"); }),
              RunTimeErrors::PathNotFound);
    std::filesystem::create_directory(oFolder.Path() / "folder");
    EXPECT_EQ(ErrorNumberOf([&] { oLink.Save(oFolder / "folder"); }),
              RunTimeErrors::PathFileAccessError);
    EXPECT_EQ(ErrorNumberOf([&] { CShellLink::Load(oFolder / "absent.lnk"); }),
              RunTimeErrors::FileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { CShellLink::Load(oFolder / "missing/absent.lnk"); }),
              RunTimeErrors::PathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { CShellLink::Load(oFolder / "folder"); }),
              RunTimeErrors::PathFileAccessError);
}

TEST(ShellLinkFiles, SaveOverwritesAnExistingFile) {
    CTempFolder oFolder;
    const std::string sPath = oFolder.WriteFile("link.lnk", std::string(5000, 'z'));
    CShellLink oLink;
    oLink.SetTargetPath("C:\\second.txt");
    oLink.Save(sPath);
    EXPECT_EQ(CorpusSupport::ReadBytes(sPath), oLink.ToBytes());
    EXPECT_EQ(CShellLink::Load(sPath).TargetPath(), "C:\\second.txt");
}
