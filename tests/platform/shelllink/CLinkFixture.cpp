#include "CLinkFixture.h"

#include "platform/shelllink/MLinkText.h"

namespace {

void Put16(std::vector<std::uint8_t>& v, std::uint32_t lValue) {
    v.push_back(static_cast<std::uint8_t>(lValue & 0xFF));
    v.push_back(static_cast<std::uint8_t>((lValue >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& v, std::uint32_t lValue) {
    Put16(v, lValue & 0xFFFF);
    Put16(v, lValue >> 16);
}

} // namespace

CLinkFixture& CLinkFixture::IdItem(const std::vector<std::uint8_t>& vData) {
    std::vector<std::uint8_t> vItem;
    Put16(vItem, static_cast<std::uint32_t>(vData.size() + 2));
    vItem.insert(vItem.end(), vData.begin(), vData.end());
    m_vItems.push_back(vItem);
    m_bIdList = true;
    return *this;
}

CLinkFixture& CLinkFixture::EmptyIdList() {
    m_bIdList = true;
    return *this;
}

CLinkFixture& CLinkFixture::LinkInfo(const std::vector<std::uint8_t>& vBytes) {
    m_vLinkInfo = vBytes;
    return *this;
}

CLinkFixture& CLinkFixture::AnsiString(std::uint32_t lFlag,
                                       const std::vector<std::uint8_t>& vBytes) {
    std::vector<std::uint8_t> vField;
    Put16(vField, static_cast<std::uint32_t>(vBytes.size()));
    vField.insert(vField.end(), vBytes.begin(), vBytes.end());
    m_mapStrings[lFlag] = vField;
    m_bUnicode = false;
    return *this;
}

CLinkFixture& CLinkFixture::UnicodeString(std::uint32_t lFlag,
                                          const std::vector<std::uint16_t>& vUnits) {
    std::vector<std::uint8_t> vField;
    Put16(vField, static_cast<std::uint32_t>(vUnits.size()));
    for (const std::uint16_t iUnit : vUnits) {
        Put16(vField, iUnit);
    }
    m_mapStrings[lFlag] = vField;
    m_bUnicode = true;
    return *this;
}

CLinkFixture& CLinkFixture::Block(std::uint32_t lSignature,
                                  const std::vector<std::uint8_t>& vPayload) {
    Put32(m_vBlocks, static_cast<std::uint32_t>(vPayload.size() + 8));
    Put32(m_vBlocks, lSignature);
    m_vBlocks.insert(m_vBlocks.end(), vPayload.begin(), vPayload.end());
    return *this;
}

CLinkFixture& CLinkFixture::Tail(const std::vector<std::uint8_t>& vBytes) {
    m_vTail = vBytes;
    return *this;
}

std::vector<std::uint8_t> CLinkFixture::Bytes() const {
    std::uint32_t lFlags = m_bUnicode ? 0x80 : 0;
    if (m_bIdList) {
        lFlags |= 0x01;
    }
    if (!m_vLinkInfo.empty()) {
        lFlags |= 0x02;
    }
    for (const auto& [lFlag, vField] : m_mapStrings) {
        lFlags |= lFlag;
    }
    std::vector<std::uint8_t> v;
    Put32(v, 0x4C);
    const std::uint8_t aClassId[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0,
                                       0xC0, 0,    0,    0, 0, 0, 0, 0x46};
    v.insert(v.end(), std::begin(aClassId), std::end(aClassId));
    Put32(v, lFlags);
    v.resize(0x3C, 0); // attributes, times, file size, icon index
    Put32(v, 1);       // shown normally
    v.resize(0x4C, 0);
    if (m_bIdList) {
        std::size_t nSize = 2;
        for (const auto& vItem : m_vItems) {
            nSize += vItem.size();
        }
        Put16(v, static_cast<std::uint32_t>(nSize));
        for (const auto& vItem : m_vItems) {
            v.insert(v.end(), vItem.begin(), vItem.end());
        }
        Put16(v, 0);
    }
    v.insert(v.end(), m_vLinkInfo.begin(), m_vLinkInfo.end());
    for (const auto& [lFlag, vField] : m_mapStrings) {
        v.insert(v.end(), vField.begin(), vField.end());
    }
    v.insert(v.end(), m_vBlocks.begin(), m_vBlocks.end());
    v.insert(v.end(), m_vTail.begin(), m_vTail.end());
    return v;
}

std::vector<std::uint8_t> CLinkFixture::VolumeItem(const std::string& sDrive) {
    std::vector<std::uint8_t> v = {0x2F};
    v.insert(v.end(), sDrive.begin(), sDrive.end());
    v.resize(23, 0);
    return v;
}

std::vector<std::uint8_t> CLinkFixture::FileEntryItem(bool bDirectory, const std::string& sPrimary,
                                                      const std::vector<std::uint16_t>& vLongName,
                                                      std::uint16_t iVersion) {
    std::vector<std::uint8_t> v = {static_cast<std::uint8_t>(bDirectory ? 0x31 : 0x32), 0};
    v.resize(12, 0); // file size, modification time, attributes
    v.insert(v.end(), sPrimary.begin(), sPrimary.end());
    v.push_back(0);
    if (v.size() % 2 != 0) {
        v.push_back(0);
    }
    const std::size_t nBlock = v.size() + 2; // offset within the item, its size field included
    std::vector<std::uint8_t> vBlock;
    Put16(vBlock, 0); // size, set below
    Put16(vBlock, iVersion);
    Put32(vBlock, 0xBEEF0004);
    vBlock.resize(16, 0); // creation and access times
    Put16(vBlock, 0x14);
    const std::size_t nNameOffset = iVersion >= 9   ? 46
                                    : iVersion == 8 ? 42
                                    : iVersion == 7 ? 38
                                                    : 20;
    vBlock.resize(nNameOffset, 0);
    for (const std::uint16_t iUnit : vLongName) {
        Put16(vBlock, iUnit);
    }
    Put16(vBlock, 0);
    Put16(vBlock, static_cast<std::uint32_t>(nBlock));
    vBlock[0] = static_cast<std::uint8_t>(vBlock.size());
    vBlock[1] = static_cast<std::uint8_t>(vBlock.size() >> 8);
    v.insert(v.end(), vBlock.begin(), vBlock.end());
    return v;
}

std::vector<std::uint8_t>
CLinkFixture::PathBlockPayload(const std::string& sAnsi,
                               const std::vector<std::uint16_t>& vUnicode) {
    std::vector<std::uint8_t> v(sAnsi.begin(), sAnsi.end());
    v.resize(260, 0);
    for (const std::uint16_t iUnit : vUnicode) {
        Put16(v, iUnit);
    }
    v.resize(260 + 520, 0);
    return v;
}

std::vector<std::uint16_t> CLinkFixture::Units(const std::string& sAscii) {
    return std::vector<std::uint16_t>(sAscii.begin(), sAscii.end());
}

std::vector<std::uint16_t> CLinkFixture::Utf16(const std::string& sUtf8) {
    const std::vector<std::uint8_t> vBytes = MLinkText::ToUtf16Le(sUtf8);
    std::vector<std::uint16_t> vUnits;
    for (std::size_t n = 0; n + 1 < vBytes.size(); n += 2) {
        vUnits.push_back(static_cast<std::uint16_t>(vBytes[n] | (vBytes[n + 1] << 8)));
    }
    return vUnits;
}

std::vector<std::uint8_t> CLinkFixture::AnsiLinkInfo(const std::vector<std::uint8_t>& vBasePath,
                                                     const std::vector<std::uint8_t>& vLabel) {
    constexpr std::uint32_t HeaderSize = 0x1C;
    // A header of 0x10 and the label with its NUL.
    const std::uint32_t lVolumeSize = 0x11 + static_cast<std::uint32_t>(vLabel.size());
    const std::uint32_t lBasePath = HeaderSize + lVolumeSize;
    const std::uint32_t lSuffix = lBasePath + static_cast<std::uint32_t>(vBasePath.size()) + 1;
    std::vector<std::uint8_t> v;
    Put32(v, lSuffix + 1);
    Put32(v, HeaderSize);
    Put32(v, 1); // a volume and a local base path
    Put32(v, HeaderSize);
    Put32(v, lBasePath);
    Put32(v, 0); // no network share
    Put32(v, lSuffix);
    Put32(v, lVolumeSize);
    Put32(v, 3); // fixed drive
    Put32(v, 0x1234ABCD);
    Put32(v, 0x10);
    v.insert(v.end(), vLabel.begin(), vLabel.end());
    v.push_back(0);
    v.insert(v.end(), vBasePath.begin(), vBasePath.end());
    v.push_back(0);
    v.push_back(0); // empty suffix
    return v;
}
