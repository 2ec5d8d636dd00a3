// The reader against real shortcut files made by Windows and other writers, compared with the
// manifest of an independent parser, corrected where that parser is known to be wrong.
#include "CJsonValue.h"
#include "CorpusSupport.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/shelllink/CShellLink.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>

namespace {

const CJsonValue& Manifest() {
    static const CJsonValue oManifest =
        CJsonValue::Parse(CTempFolder::ReadFile(CorpusSupport::Folder() + "/manifest.json"));
    return oManifest;
}

bool HasFeature(const CJsonValue& oEntry, const std::string& sFeature) {
    const auto& vFeatures = oEntry["features"].Items();
    return std::any_of(vFeatures.begin(), vFeatures.end(),
                       [&](const CJsonValue& o) { return o.AsString() == sFeature; });
}

// The quoted text after sMarker in the notes, up to the quote that ends it; empty if absent.
std::string QuotedAfter(const std::string& sNotes, const std::string& sMarker) {
    const std::size_t nMarker = sNotes.find(sMarker);
    if (nMarker == std::string::npos) {
        return "";
    }
    const std::size_t nStart = nMarker + sMarker.size();
    std::size_t nEnd = sNotes.find("'", nStart);
    // A quote inside the value is followed by a letter; the closing one is not.
    while (nEnd != std::string::npos && nEnd + 1 < sNotes.size() &&
           std::isalpha(static_cast<unsigned char>(sNotes[nEnd + 1]))) {
        nEnd = sNotes.find("'", nEnd + 1);
    }
    // The notes write a backslash doubled.
    std::string sValue = sNotes.substr(nStart, nEnd - nStart);
    for (std::size_t n = sValue.find("\\\\"); n != std::string::npos;
         n = sValue.find("\\\\", n + 1)) {
        sValue.erase(n, 1);
    }
    return sValue;
}

// A field as the raw bytes hold it, where the notes say the oracle printed it wrongly.
std::string Corrected(const CJsonValue& oEntry, const std::string& sField) {
    const std::string sNotes = oEntry["notes"].AsString();
    const std::string sMarker = "lnkinfo " + sField + " differs from the raw bytes: lnkinfo '";
    const std::size_t nMarker = sNotes.find(sMarker);
    if (nMarker != std::string::npos) {
        return QuotedAfter(sNotes.substr(nMarker), "', raw '");
    }
    return oEntry[sField].AsString();
}

std::string Hex(std::uint32_t lValue, int iDigits) {
    char szText[16];
    std::snprintf(szText, sizeof szText, "0x%0*x", iDigits, lValue);
    return szText;
}

// A FILETIME as the manifest writes it: ISO 8601 UTC with 100 ns digits; "" for zero.
std::string IsoTime(std::uint64_t llFileTime) {
    if (llFileTime == 0) {
        return "";
    }
    const std::time_t tSeconds = static_cast<std::time_t>(llFileTime / 10000000) - 11644473600LL;
    std::tm oTime{};
    gmtime_r(&tSeconds, &oTime);
    char szText[48];
    std::snprintf(szText, sizeof szText, "%04d-%02d-%02dT%02d:%02d:%02d.%07dZ",
                  oTime.tm_year + 1900, oTime.tm_mon + 1, oTime.tm_mday, oTime.tm_hour,
                  oTime.tm_min, oTime.tm_sec, static_cast<int>(llFileTime % 10000000));
    return szText;
}

std::string BlockName(std::uint32_t lSignature) {
    static const std::map<std::uint32_t, std::string> mapNames = {
        {0xA0000001, "EnvironmentVariableDataBlock"},
        {0xA0000002, "ConsoleDataBlock"},
        {0xA0000003, "TrackerDataBlock"},
        {0xA0000004, "ConsoleFEDataBlock"},
        {0xA0000005, "SpecialFolderDataBlock"},
        {0xA0000006, "DarwinDataBlock"},
        {0xA0000007, "IconEnvironmentDataBlock"},
        {0xA0000008, "ShimDataBlock"},
        {0xA0000009, "PropertyStoreDataBlock"},
        {0xA000000B, "KnownFolderDataBlock"},
        {0xA000000C, "VistaAndAboveIDListDataBlock"}};
    const auto it = mapNames.find(lSignature);
    if (it != mapNames.end()) {
        return it->second;
    }
    char szText[32];
    std::snprintf(szText, sizeof szText, "unknown 0x%08X", lSignature);
    return szText;
}

// Targets of the files without a LinkInfo, worked out by hand from their id lists (drive and
// file entries, long names) or, where the list names no drive, the environment block.
const std::map<std::string, std::string>& HandDerivedTargets() {
    static const std::map<std::string, std::string> mapTargets = {
        {"ez-misc-native-seven-08.lnk",
         "C:\\Windows\\Installer\\{90140000-0011-0000-0000-0000000FF1CE}\\cagicon.exe"},
        {"ez-win10-10.lnk", ""}, // "Help and Support" root folder only
        {"ez-win10-hotkey.lnk", "C:\\Program Files (x86)\\Hotkey\\HkeyTray.exe"},
        {"ez-win10-search.lnk", "%windir%\\system32\\rundll32.exe"},
        {"ez-win2012-control-panel-5.lnk", "%SystemRoot%\\system32\\rundll32.exe"},
        {"ez-win7-chess.lnk", ""}, // games folder, no drive
        {"ez-win7-migwiz.lnk", "%windir%\\system32\\migwiz\\migwiz.exe"},
        {"ez-win7-windows-powershell-modules.lnk",
         "C:\\WINDOWS\\system32\\WindowsPowerShell\\v1.0\\powershell.exe"},
        {"ez-win8-0-app.lnk", ""},
        {"ez-win8-1-camera.lnk", "%SystemRoot%\\Camera\\Camera.exe"},
        {"ez-winvista-control-panel.lnk", ""},
        {"ez-winxp-windows-messenger.lnk", "C:\\Program Files\\Messenger\\msmsgs.exe"},
        {"golnk-vbox-svr-win10.lnk", "\\\\VBOXSVR"},
        {"lnkparse3-broken-link-info.lnk", "C:\\Program Files\\xt\\xt.exe"},
        {"lnkparse3-darwin-block.lnk",
         "C:\\Windows\\Installer\\{DB8757A3-1B62-4136-8D95-D2CB9F00E36C}\\test_icon.ico"},
        {"pylnk-local-extra-0xa2000001.lnk", "\\Windows\\system32\\cmd.exe"}, // drive "\"
        {"pylnk-uwp-calc.lnk", ""},
    };
    return mapTargets;
}

std::string ExpectedTarget(const CJsonValue& oEntry) {
    if (oEntry["target_path"].IsNull()) {
        const auto& mapTargets = HandDerivedTargets();
        const auto it = mapTargets.find(oEntry["file"].AsString());
        if (it == mapTargets.end()) {
            ADD_FAILURE() << "no hand-checked target for a file without LinkInfo";
            return "";
        }
        return it->second;
    }
    // The correction fixes the oracle's UTF-16 decoding, and its windows-1252 reading of an
    // ANSI path that another code page wrote.
    if (!oEntry["target_path_corrected"].IsNull()) {
        return oEntry["target_path_corrected"].AsString();
    }
    return oEntry["target_path"].AsString();
}

std::string ExpectedLocalPath(const CJsonValue& oEntry) {
    if (!oEntry["target_path_corrected"].IsNull() && !oEntry["local_path"].IsNull()) {
        return oEntry["target_path_corrected"].AsString();
    }
    return Corrected(oEntry, "local_path");
}

std::string ExpectedIconLocation(const CJsonValue& oEntry) {
    const std::string sFromNotes =
        QuotedAfter(oEntry["notes"].AsString(), "the StringData IconLocation is '");
    return !sFromNotes.empty() ? sFromNotes : oEntry["icon_location"].AsString();
}

void CheckFields(const CJsonValue& oEntry, const CShellLink& oLink) {
    EXPECT_EQ(oLink.TargetPath(), ExpectedTarget(oEntry));
    EXPECT_EQ(oLink.WorkingDirectory(), oEntry["working_directory"].AsString());
    EXPECT_EQ(oLink.Arguments(), oEntry["arguments"].AsString());
    EXPECT_EQ(oLink.Description(), oEntry["description"].AsString());
    EXPECT_EQ(oLink.IconLocation(), ExpectedIconLocation(oEntry));
    EXPECT_EQ(oLink.IconIndex(), oEntry["icon_index"].AsInt());
    EXPECT_EQ(oLink.ShowCommand(), oEntry["show_command"].AsInt());
    EXPECT_EQ(oLink.RelativePath(), Corrected(oEntry, "relative_path"));
    EXPECT_EQ(oLink.EnvironmentTarget(), oEntry["environment_variables_location"].AsString());
    if (HasFeature(oEntry, "icon-env-block")) {
        EXPECT_EQ(oLink.IconEnvironmentLocation(), oEntry["icon_location"].AsString());
    }
}

void CheckHeaderAndStructure(const CJsonValue& oEntry, const CShellLink& oLink) {
    EXPECT_EQ(Hex(oLink.LinkFlags(), 8), oEntry["data_flags"].AsString());
    EXPECT_EQ(Hex(oLink.FileAttributes(), 8), oEntry["file_attributes"].AsString());
    EXPECT_EQ(Hex(oLink.HotKey(), 4), oEntry["hot_key"].AsString());
    EXPECT_EQ(oLink.FileSize(), oEntry["target_file_size"].AsInt());
    EXPECT_EQ(IsoTime(oLink.CreationTime()), oEntry["creation_time_utc"].AsString());
    EXPECT_EQ(IsoTime(oLink.WriteTime()), oEntry["modification_time_utc"].AsString());
    EXPECT_EQ(IsoTime(oLink.AccessTime()), oEntry["access_time_utc"].AsString());

    EXPECT_EQ(oLink.LocalPath(), ExpectedLocalPath(oEntry));
    EXPECT_EQ(oLink.NetworkPath(), oEntry["network_path"].AsString());
    if (!oEntry["volume_label"].IsNull()) {
        ASSERT_TRUE(oLink.LinkInfo().has_value());
        EXPECT_EQ(oLink.LinkInfo()->VolumeLabel(), oEntry["volume_label"].AsString());
        EXPECT_EQ(Hex(oLink.LinkInfo()->DriveSerialNumber(), 8),
                  oEntry["drive_serial_number"].AsString());
    }

    std::vector<std::string> vBlocks;
    for (const CExtraDataBlock& oBlock : oLink.ExtraDataBlocks()) {
        vBlocks.push_back(BlockName(oBlock.Signature()));
    }
    std::vector<std::string> vExpectedBlocks;
    for (const CJsonValue& oName : oEntry["extra_data_blocks"].Items()) {
        vExpectedBlocks.push_back(oName.AsString());
    }
    EXPECT_EQ(vBlocks, vExpectedBlocks);

    if (oEntry["idlist_items"].IsNull()) {
        return;
    }
    const auto& vItems = oEntry["idlist_items"].Items();
    ASSERT_EQ(oLink.IdList().size(), vItems.size());
    // The oracle garbles long names with surrogates in them; the notes say where.
    const bool bTrustLongNames = oEntry["notes"].AsString().find("surrogate") == std::string::npos;
    for (std::size_t i = 0; i < vItems.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1));
        const CShellItem& oItem = oLink.IdList()[i];
        if (!vItems[i]["volume_name"].IsNull()) {
            EXPECT_EQ(oItem.VolumeName(), vItems[i]["volume_name"].AsString());
        }
        if (!vItems[i]["long_name"].IsNull() && bTrustLongNames) {
            EXPECT_EQ(oItem.LongName(), vItems[i]["long_name"].AsString());
        }
    }
}

} // namespace

TEST(ShellLinkCorpus, EveryReadableFileGivesTheOracleFields) {
    int iChecked = 0;
    for (const CJsonValue& oEntry : Manifest().Items()) {
        if (!oEntry["lnkinfo_ok"].AsBool()) {
            continue;
        }
        SCOPED_TRACE(oEntry["file"].AsString());
        const CShellLink oLink =
            CShellLink::Load(CorpusSupport::Folder() + "/" + oEntry["file"].AsString());
        CheckFields(oEntry, oLink);
        CheckHeaderAndStructure(oEntry, oLink);
        ++iChecked;
    }
    EXPECT_EQ(iChecked, 48);
}

TEST(ShellLinkCorpus, TerminalBlockClaimingBytesPastTheEndIsDamaged) {
    for (const CJsonValue& oEntry : Manifest().Items()) {
        if (oEntry["lnkinfo_ok"].AsBool()) {
            continue;
        }
        EXPECT_EQ(oEntry["file"].AsString(), "lnkparse3-extra-data.lnk");
        try {
            CShellLink::Load(CorpusSupport::Folder() + "/" + oEntry["file"].AsString());
            ADD_FAILURE() << "a damaged file was read";
        } catch (const CRunTimeError& oError) {
            EXPECT_EQ(oError.Number(), CShellLink::DamagedLinkError);
            EXPECT_EQ(oError.Description().rfind("The shortcut file is damaged: ", 0), 0u);
        }
    }
}

TEST(ShellLinkCorpus, RewritingAParsedFileKeepsEveryField) {
    for (const std::string& sName : CorpusSupport::FileNames()) {
        if (sName == "lnkparse3-extra-data.lnk") {
            continue;
        }
        SCOPED_TRACE(sName);
        const CShellLink oOriginal = CShellLink::Load(CorpusSupport::Folder() + "/" + sName);
        const std::vector<std::uint8_t> vWritten = oOriginal.ToBytes();
        const CShellLink oCopy = CShellLink::FromBytes(vWritten);
        EXPECT_EQ(oCopy.TargetPath(), oOriginal.TargetPath());
        EXPECT_EQ(oCopy.LocalPath(), oOriginal.LocalPath());
        EXPECT_EQ(oCopy.NetworkPath(), oOriginal.NetworkPath());
        EXPECT_EQ(oCopy.WorkingDirectory(), oOriginal.WorkingDirectory());
        EXPECT_EQ(oCopy.Arguments(), oOriginal.Arguments());
        EXPECT_EQ(oCopy.Description(), oOriginal.Description());
        EXPECT_EQ(oCopy.RelativePath(), oOriginal.RelativePath());
        EXPECT_EQ(oCopy.IconLocation(), oOriginal.IconLocation());
        EXPECT_EQ(oCopy.IconIndex(), oOriginal.IconIndex());
        EXPECT_EQ(oCopy.ShowCommand(), oOriginal.ShowCommand());
        EXPECT_EQ(oCopy.HotKey(), oOriginal.HotKey());
        EXPECT_EQ(oCopy.WriteTime(), oOriginal.WriteTime());
        EXPECT_EQ(oCopy.IdList().size(), oOriginal.IdList().size());
        EXPECT_EQ(oCopy.ExtraDataBlocks().size(), oOriginal.ExtraDataBlocks().size());
        // Bits that announce a block are set from the blocks actually there (one file claims
        // an environment block it lacks); all other bits are kept.
        const std::uint32_t lDerived = CShellLink::IsUnicode | CShellLink::HasExpString |
                                       CShellLink::HasDarwinId | CShellLink::HasExpIcon |
                                       CShellLink::RunWithShimLayer;
        EXPECT_EQ(oCopy.LinkFlags() & ~lDerived, oOriginal.LinkFlags() & ~lDerived);
        // Writing is a fixed point: the copy writes the same bytes again.
        EXPECT_EQ(oCopy.ToBytes(), vWritten);
    }
}
