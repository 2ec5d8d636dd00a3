#pragma once

#include "platform/shelllink/CAnsiText.h"
#include "platform/shelllink/CByteReader.h"

#include <cstdint>
#include <string>
#include <vector>

// The LinkInfo structure of a shortcut: where the target lives, as a local path on a volume
// and/or as a path on a network share. Strings are held in their Unicode form when the file
// has one, else as its CAnsiText reads their ANSI bytes.
class CLinkInfo {
public:
    static constexpr std::uint32_t DriveUnknown = 0;
    static constexpr std::uint32_t DriveFixed = 3;
    static constexpr std::uint32_t NetworkProviderLanman = 0x00020000;

    CLinkInfo() = default;

    // Parses the structure that oData starts with (oData may run on past it), its ANSI strings
    // read by oAnsi. Throws the damaged-link error when a size or offset points outside the
    // structure.
    static CLinkInfo Parse(const CByteReader& oData, CAnsiText& oAnsi);
    // A LinkInfo for a path as the writer makes it: "\\server\share\rest" becomes a network
    // share with a path suffix, anything else a local base path on a fixed volume.
    static CLinkInfo ForPath(const std::string& sPath);
    // The bytes of the structure: header size 0x24, ANSI (windows-1252) and Unicode strings.
    std::vector<std::uint8_t> ToBytes() const;

    // The local path (base path + common path suffix) when there is a volume, else the network
    // path (net name + "\" + suffix); empty when neither.
    std::string Path() const;
    std::string LocalPath() const;
    std::string NetworkPath() const;

    bool HasVolume() const { return m_bHasVolume; }
    std::uint32_t DriveType() const { return m_lDriveType; }
    std::uint32_t DriveSerialNumber() const { return m_lDriveSerialNumber; }
    const std::string& VolumeLabel() const { return m_sVolumeLabel; }
    const std::string& LocalBasePath() const { return m_sLocalBasePath; }

    bool HasNetwork() const { return m_bHasNetwork; }
    const std::string& NetName() const { return m_sNetName; }
    const std::string& DeviceName() const { return m_sDeviceName; }
    std::uint32_t NetworkProviderType() const { return m_lNetworkProviderType; }

    const std::string& CommonPathSuffix() const { return m_sCommonPathSuffix; }

    // Whether the local path holds letters read from ANSI bytes above 0x7F: the file does not
    // say their code page.
    bool LocalPathFromAnsi() const { return m_bLocalPathFromAnsi; }
    // Respells such a local path with the names of sPath, the same path spelled in Unicode
    // elsewhere in the file ("C:\folder\file"): when sPath names the same drive and has as
    // many components, and its ASCII components agree with the local path's (letter case
    // aside), each component of the local path that is not plain ASCII takes sPath's name.
    // Returns whether it did; otherwise nothing changes.
    bool AdoptUnicodeNames(const std::string& sPath);

private:
    void ReadVolume(const CByteReader& oInfo, std::size_t nOffset, CAnsiText& oAnsi);
    void ReadNetwork(const CByteReader& oInfo, std::size_t nOffset, CAnsiText& oAnsi);
    std::vector<std::uint8_t> VolumeBytes() const;
    std::vector<std::uint8_t> NetworkBytes() const;

    bool m_bHasVolume = false;
    std::uint32_t m_lDriveType = DriveUnknown;
    std::uint32_t m_lDriveSerialNumber = 0;
    std::string m_sVolumeLabel;
    std::string m_sLocalBasePath;
    bool m_bHasNetwork = false;
    std::string m_sNetName;
    std::string m_sDeviceName;
    std::uint32_t m_lNetworkProviderType = 0;
    std::string m_sCommonPathSuffix;
    bool m_bLocalPathFromAnsi = false;
};
