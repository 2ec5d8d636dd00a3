#include "commonlibrary/MUtf8.h"

namespace qlCommonLibrary::MUtf8 {

std::size_t CharLength(const std::string& sText, std::size_t iPos) {
    if (iPos >= sText.size()) {
        return 0;
    }
    const auto yLead = static_cast<unsigned char>(sText[iPos]);
    std::size_t iLength = 1;
    if (yLead >= 0xC2 && yLead <= 0xDF) {
        iLength = 2;
    } else if (yLead >= 0xE0 && yLead <= 0xEF) {
        iLength = 3;
    } else if (yLead >= 0xF0 && yLead <= 0xF4) {
        iLength = 4;
    }
    if (iPos + iLength > sText.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < iLength; ++i) {
        if ((static_cast<unsigned char>(sText[iPos + i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return iLength;
}

std::size_t CharCount(const std::string& sText) {
    std::size_t iCount = 0;
    for (std::size_t iPos = 0; iPos < sText.size(); iPos += CharLength(sText, iPos)) {
        ++iCount;
    }
    return iCount;
}

std::string FirstChar(const std::string& sText) {
    return sText.substr(0, CharLength(sText, 0));
}

std::string LeftChars(const std::string& sText, std::size_t iCount) {
    std::size_t iPos = 0;
    for (std::size_t i = 0; i < iCount && iPos < sText.size(); ++i) {
        iPos += CharLength(sText, iPos);
    }
    return sText.substr(0, iPos);
}

} // namespace qlCommonLibrary::MUtf8
