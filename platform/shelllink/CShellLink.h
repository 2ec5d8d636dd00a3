#pragma once

#include "platform/shelllink/CAnsiText.h"
#include "platform/shelllink/CExtraDataBlock.h"
#include "platform/shelllink/CLinkInfo.h"
#include "platform/shelllink/CShellItem.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A shell-link (.lnk) file: the platform's binary shortcut format, read from and written to
// bytes exactly. Reading accepts what Windows and other writers produce and turns anything
// malformed into a CRunTimeError; writing always produces Unicode string data and a LinkInfo
// that carries the target path in both its ANSI and its Unicode form.
//
// ANSI texts (old writers' string data, a LinkInfo without Unicode strings) do not say their
// code page. A local path whose ANSI bytes are not plain ASCII takes the names of the target id
// list where that list spells the same path in Unicode (same drive, same depth); every other
// ANSI text, and such a path without a matching id list, is read as CAnsiText says: UTF-8 when
// the bytes are valid UTF-8, else in the code page that the file's Unicode names (id list,
// property store, environment blocks) prove, else as windows-1252.
class CShellLink {
public:
    static constexpr std::size_t MaxFileSize = 1024 * 1024;
    static constexpr std::int32_t DamagedLinkError = -2147467259; // E_FAIL as a signed number

    // LinkFlags bits.
    static constexpr std::uint32_t HasLinkTargetIdList = 0x00000001;
    static constexpr std::uint32_t HasLinkInfo = 0x00000002;
    static constexpr std::uint32_t HasName = 0x00000004;
    static constexpr std::uint32_t HasRelativePath = 0x00000008;
    static constexpr std::uint32_t HasWorkingDir = 0x00000010;
    static constexpr std::uint32_t HasArguments = 0x00000020;
    static constexpr std::uint32_t HasIconLocation = 0x00000040;
    static constexpr std::uint32_t IsUnicode = 0x00000080;
    static constexpr std::uint32_t ForceNoLinkInfo = 0x00000100;
    static constexpr std::uint32_t HasExpString = 0x00000200;
    static constexpr std::uint32_t HasDarwinId = 0x00001000;
    static constexpr std::uint32_t HasExpIcon = 0x00004000;
    static constexpr std::uint32_t RunWithShimLayer = 0x00020000;

    // Show commands the header holds.
    static constexpr std::uint32_t ShowNormal = 1;
    static constexpr std::uint32_t ShowMaximized = 3;
    static constexpr std::uint32_t ShowMinNoActive = 7;

    // An empty link: no target, no strings, shown normally.
    CShellLink() = default;

    // Read and parse a .lnk file. Throws CRunTimeError: 53 "File not found" when missing
    // (76 when its folder is missing), 75 "Path/File access error" when unreadable,
    // DamagedLinkError ("The shortcut file is damaged: <reason>") when it is not a valid link,
    // is truncated, its sizes point past the end, or it is over MaxFileSize.
    // The bytes of a shortcut file open on iFd whose size the system gave as llSize, read
    // through the file-system seam, up to one byte past MaxFileSize so that an oversized (or
    // growing) file is told apart. False, with errno set, when a read fails.
    static bool ReadOpenFile(int iFd, off_t llSize, std::vector<std::uint8_t>& vBytes);
    static CShellLink Load(const std::string& sPath);
    static CShellLink FromBytes(const std::vector<std::uint8_t>& vBytes); // same errors
    // Throws CRunTimeError 6 "Overflow" when a string or the id list is too long for the format.
    std::vector<std::uint8_t> ToBytes() const;
    // Writes (overwrites) the file, made readable and writable by its user alone (0600) when
    // new; throws CRunTimeError (75, 76 ...) when it cannot.
    void Save(const std::string& sPath) const;

    // The target path: the LinkInfo's local path, else its network path; else, without a
    // LinkInfo, the path the target id list spells (drive + file entries, long names); else the
    // environment-variable block's target. Empty when none. ANSI text is read as above.
    std::string TargetPath() const;
    // Points the link at sPath through a new LinkInfo. What described the old target (id list,
    // environment, tracker, folder and installer blocks) is dropped.
    void SetTargetPath(const std::string& sPath);

    const std::string& WorkingDirectory() const { return m_sWorkingDirectory; }
    void SetWorkingDirectory(const std::string& sValue) { m_sWorkingDirectory = sValue; }
    const std::string& Arguments() const { return m_sArguments; }
    void SetArguments(const std::string& sValue) { m_sArguments = sValue; }
    // The StringData icon location (not the environment block's unexpanded form).
    const std::string& IconLocation() const { return m_sIconLocation; }
    // Also drops an icon environment block, which would otherwise take precedence.
    void SetIconLocation(const std::string& sValue);
    std::int32_t IconIndex() const { return m_lIconIndex; }
    void SetIconIndex(std::int32_t lValue) { m_lIconIndex = lValue; }
    std::uint32_t ShowCommand() const { return m_lShowCommand; }
    void SetShowCommand(std::uint32_t lValue) { m_lShowCommand = lValue; }
    const std::string& Description() const { return m_sDescription; }
    void SetDescription(const std::string& sValue) { m_sDescription = sValue; }
    const std::string& RelativePath() const { return m_sRelativePath; }
    void SetRelativePath(const std::string& sValue) { m_sRelativePath = sValue; }

    // The header's flags as read; ToBytes recomputes the bits that say what is present.
    std::uint32_t LinkFlags() const { return m_lLinkFlags; }
    std::uint32_t FileAttributes() const { return m_lFileAttributes; }
    void SetFileAttributes(std::uint32_t lValue) { m_lFileAttributes = lValue; }
    // Header times as FILETIME values (100 ns since 1601-01-01 UTC); 0 when not set.
    std::uint64_t CreationTime() const { return m_llCreationTime; }
    void SetCreationTime(std::uint64_t llValue) { m_llCreationTime = llValue; }
    std::uint64_t AccessTime() const { return m_llAccessTime; }
    void SetAccessTime(std::uint64_t llValue) { m_llAccessTime = llValue; }
    std::uint64_t WriteTime() const { return m_llWriteTime; }
    void SetWriteTime(std::uint64_t llValue) { m_llWriteTime = llValue; }
    std::uint32_t FileSize() const { return m_lFileSize; }
    void SetFileSize(std::uint32_t lValue) { m_lFileSize = lValue; }
    // Low byte the virtual key, high byte the modifiers.
    std::uint16_t HotKey() const { return m_iHotKey; }
    void SetHotKey(std::uint16_t iValue) { m_iHotKey = iValue; }

    bool HasIdList() const { return m_bHasIdList; }
    const std::vector<CShellItem>& IdList() const { return m_vIdList; }
    // The path the id list spells, or empty when it names no drive.
    std::string IdListPath() const;
    const std::optional<CLinkInfo>& LinkInfo() const { return m_oLinkInfo; }
    std::string LocalPath() const { return m_oLinkInfo ? m_oLinkInfo->LocalPath() : ""; }
    std::string NetworkPath() const { return m_oLinkInfo ? m_oLinkInfo->NetworkPath() : ""; }

    const std::vector<CExtraDataBlock>& ExtraDataBlocks() const { return m_vExtraDataBlocks; }
    // The first block with the signature, or nullptr.
    const CExtraDataBlock* FindBlock(std::uint32_t lSignature) const;
    // The targets of the environment, icon environment and installer (darwin) blocks, in their
    // Unicode form when it is filled in; empty without the block.
    std::string EnvironmentTarget() const;
    std::string IconEnvironmentLocation() const;
    std::string DarwinId() const;

private:
    // The whole file read with oAnsi for its ANSI texts.
    static CShellLink Parse(const CByteReader& oFile, CAnsiText& oAnsi);
    std::size_t ReadIdList(const CByteReader& oFile, std::size_t nOffset);
    std::size_t ReadStringData(const CByteReader& oFile, std::size_t nOffset, CAnsiText& oAnsi);
    void ReadExtraData(const CByteReader& oFile, std::size_t nOffset);
    // The path the id list spells; with bUnicodeOnly, empty when a name on it is an ANSI name
    // that is not plain ASCII.
    std::string SpellIdList(bool bUnicodeOnly) const;
    std::string UnicodeIdListPath() const;
    // The texts the file holds in Unicode: id-list names, the Unicode paths of the
    // environment blocks, the property store's strings.
    std::vector<std::string> UnicodeNames() const;
    std::string PathBlockUnicode(std::uint32_t lSignature) const;
    std::string PathBlockText(std::uint32_t lSignature) const;
    void RemoveBlocks(const std::vector<std::uint32_t>& vSignatures);

    std::uint32_t m_lLinkFlags = IsUnicode;
    std::uint32_t m_lFileAttributes = 0;
    std::uint64_t m_llCreationTime = 0;
    std::uint64_t m_llAccessTime = 0;
    std::uint64_t m_llWriteTime = 0;
    std::uint32_t m_lFileSize = 0;
    std::int32_t m_lIconIndex = 0;
    std::uint32_t m_lShowCommand = ShowNormal;
    std::uint16_t m_iHotKey = 0;
    bool m_bHasIdList = false;
    std::vector<CShellItem> m_vIdList;
    std::optional<CLinkInfo> m_oLinkInfo;
    std::string m_sDescription;
    std::string m_sRelativePath;
    std::string m_sWorkingDirectory;
    std::string m_sArguments;
    std::string m_sIconLocation;
    std::vector<CExtraDataBlock> m_vExtraDataBlocks;
    // The code page proven for the file's ANSI texts; empty for none.
    std::string m_sAnsiCodePage;
};
