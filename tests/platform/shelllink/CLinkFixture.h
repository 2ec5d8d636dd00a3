#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Builds the bytes of a shortcut file piece by piece, for tests that need a link with a
// particular id list, string encoding or extra-data block, or a deliberately broken one.
class CLinkFixture {
public:
    // Appends one id-list item; vData is everything after the item's two-byte size.
    CLinkFixture& IdItem(const std::vector<std::uint8_t>& vData);
    // Marks the link as having an id list even when no item was added.
    CLinkFixture& EmptyIdList();
    // The raw bytes of a LinkInfo structure.
    CLinkFixture& LinkInfo(const std::vector<std::uint8_t>& vBytes);
    // A StringData field (a HasName ... HasIconLocation flag) in ANSI bytes; the link then
    // has no IsUnicode flag.
    CLinkFixture& AnsiString(std::uint32_t lFlag, const std::vector<std::uint8_t>& vBytes);
    // A StringData field in UTF-16 code units; the link gets IsUnicode.
    CLinkFixture& UnicodeString(std::uint32_t lFlag, const std::vector<std::uint16_t>& vUnits);
    // An extra-data block with its size and signature in front of vPayload.
    CLinkFixture& Block(std::uint32_t lSignature, const std::vector<std::uint8_t>& vPayload);
    // Bytes written where the terminal block goes (default: four zero bytes).
    CLinkFixture& Tail(const std::vector<std::uint8_t>& vBytes);

    std::vector<std::uint8_t> Bytes() const;

    // Items and blocks as Windows writes them.
    static std::vector<std::uint8_t> VolumeItem(const std::string& sDrive);
    // A file entry with an ASCII primary name and a 0xbeef0004 extension block of the given
    // version carrying the long name (given as UTF-16 units).
    static std::vector<std::uint8_t> FileEntryItem(bool bDirectory, const std::string& sPrimary,
                                                   const std::vector<std::uint16_t>& vLongName,
                                                   std::uint16_t iVersion);
    // The payload of an environment / icon environment / darwin block.
    static std::vector<std::uint8_t> PathBlockPayload(const std::string& sAnsi,
                                                      const std::vector<std::uint16_t>& vUnicode);
    // ASCII text as UTF-16 units.
    static std::vector<std::uint16_t> Units(const std::string& sAscii);
    // UTF-8 text as UTF-16 units.
    static std::vector<std::uint16_t> Utf16(const std::string& sUtf8);
    // A LinkInfo as writers without Unicode strings make it (header size 0x1C): a fixed
    // volume labelled with the ANSI bytes vLabel, the local base path as the given ANSI bytes,
    // and an empty suffix.
    static std::vector<std::uint8_t> AnsiLinkInfo(const std::vector<std::uint8_t>& vBasePath,
                                                  const std::vector<std::uint8_t>& vLabel = {});

private:
    std::vector<std::vector<std::uint8_t>> m_vItems;
    bool m_bIdList = false;
    std::vector<std::uint8_t> m_vLinkInfo;
    bool m_bUnicode = true;
    std::map<std::uint32_t, std::vector<std::uint8_t>> m_mapStrings; // by flag = file order
    std::vector<std::uint8_t> m_vBlocks;
    std::vector<std::uint8_t> m_vTail = {0, 0, 0, 0};
};
