#include "platform/registry/MRegistryText.h"

#include <cstdint>

namespace {
std::uint32_t LowerCodePoint(std::uint32_t lCode) {
    if (lCode >= 'A' && lCode <= 'Z') {
        return lCode + 0x20;
    }
    if (lCode >= 0xC0 && lCode <= 0xDE && lCode != 0xD7) {
        return lCode + 0x20; // Latin-1 capitals
    }
    if (lCode >= 0x391 && lCode <= 0x3A9 && lCode != 0x3A2) {
        return lCode + 0x20; // Greek capitals
    }
    if (lCode >= 0x410 && lCode <= 0x42F) {
        return lCode + 0x20; // Cyrillic capitals
    }
    if (lCode >= 0x400 && lCode <= 0x40F) {
        return lCode + 0x50; // Cyrillic capitals with marks
    }
    return lCode;
}

void AppendTwoByte(std::string& sOut, std::uint32_t lCode) {
    sOut += static_cast<char>(0xC0 | (lCode >> 6));
    sOut += static_cast<char>(0x80 | (lCode & 0x3F));
}
} // namespace

namespace MRegistryText {

std::string Fold(const std::string& sName) {
    std::string sOut;
    sOut.reserve(sName.size());
    for (std::size_t n = 0; n < sName.size(); ++n) {
        const auto c = static_cast<unsigned char>(sName[n]);
        if (c < 0x80) {
            sOut += static_cast<char>(LowerCodePoint(c));
            continue;
        }
        // Two-byte sequences hold every letter that is folded here; anything else, including
        // broken sequences, is copied byte for byte.
        if ((c & 0xE0) == 0xC0 && n + 1 < sName.size() &&
            (static_cast<unsigned char>(sName[n + 1]) & 0xC0) == 0x80) {
            const std::uint32_t lCode =
                ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(sName[n + 1]) & 0x3Fu);
            if (lCode >= 0x80) {
                AppendTwoByte(sOut, LowerCodePoint(lCode));
                ++n;
                continue;
            }
        }
        sOut += static_cast<char>(c);
    }
    return sOut;
}

bool SameName(const std::string& sLeft, const std::string& sRight) {
    return Fold(sLeft) == Fold(sRight);
}

std::vector<std::string> SplitPath(const std::string& sPath) {
    std::vector<std::string> vParts;
    std::size_t nStart = 0;
    while (nStart <= sPath.size()) {
        std::size_t nEnd = sPath.find('\\', nStart);
        if (nEnd == std::string::npos) {
            nEnd = sPath.size();
        }
        if (nEnd > nStart) {
            vParts.push_back(sPath.substr(nStart, nEnd - nStart));
        }
        nStart = nEnd + 1;
    }
    return vParts;
}

std::string JoinPath(const std::vector<std::string>& vParts) {
    std::string sPath;
    for (const std::string& sPart : vParts) {
        if (!sPath.empty()) {
            sPath += '\\';
        }
        sPath += sPart;
    }
    return sPath;
}

} // namespace MRegistryText
