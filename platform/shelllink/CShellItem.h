#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One item of a shortcut's target id list, kept as its bytes, with what can be read from the
// kinds that name a place in the file system: the root folder (its folder id), the drive
// (volume name such as "C:\") and the file entry (the short primary name and the long name of
// its 0xbeef0004 extension). Other kinds, and contents that do not parse, keep only their bytes:
// the shell's items are free-form, so a strange item is not a damaged file.
class CShellItem {
public:
    // The kinds of item this reader understands.
    enum class EKind { Other, RootFolder, Volume, FileEntry };

    // vBytes is the whole item, its two-byte size included.
    explicit CShellItem(std::vector<std::uint8_t> vBytes);

    const std::vector<std::uint8_t>& Bytes() const { return m_vBytes; }
    std::uint8_t ClassType() const { return m_bClassType; }
    EKind Kind() const { return m_eKind; }

    // Root folder: the shell folder id as "{20D04FE0-3AEA-1069-A2D8-08002B30309D}".
    const std::string& FolderId() const { return m_sFolderId; }
    // Volume: the drive's name, for instance "C:\".
    const std::string& VolumeName() const { return m_sVolumeName; }
    // File entry: the primary (often 8.3) name and the long name of the extension block.
    const std::string& PrimaryName() const { return m_sPrimaryName; }
    const std::string& LongName() const { return m_sLongName; }
    // File entry: the long name when there is one, else the primary name.
    const std::string& Name() const { return m_sLongName.empty() ? m_sPrimaryName : m_sLongName; }
    // Whether Name() spells the name for sure: it comes from Unicode text, or is plain ASCII
    // (an ANSI primary name with other letters was read in a guessed code page).
    bool NameIsUnicode() const;
    bool IsDirectory() const { return m_eKind == EKind::FileEntry && (m_bClassType & 0x01) != 0; }

private:
    void ReadRootFolder();
    void ReadVolume();
    void ReadFileEntry();
    // The offset of the 0xbeef0004 extension block inside the item, or 0 when none.
    std::size_t FindExtensionBlock() const;
    void ReadLongName(std::size_t nBlock);

    std::vector<std::uint8_t> m_vBytes;
    std::uint8_t m_bClassType = 0;
    EKind m_eKind = EKind::Other;
    std::string m_sFolderId;
    std::string m_sVolumeName;
    std::string m_sPrimaryName;
    std::string m_sLongName;
};
