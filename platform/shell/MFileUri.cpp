#include "platform/shell/MFileUri.h"

namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

bool StartsWithNoCase(const std::string& sText, const std::string& sPrefix) {
    if (sText.size() < sPrefix.size()) {
        return false;
    }
    for (std::size_t n = 0; n < sPrefix.size(); ++n) {
        char c = sText[n];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != sPrefix[n]) {
            return false;
        }
    }
    return true;
}
} // namespace

namespace MFileUri {

std::string FromPath(const std::string& sPath) {
    static const char szHex[] = "0123456789ABCDEF";
    std::string sUri = "file://";
    sUri.reserve(sUri.size() + sPath.size() * 3);
    for (const char c : sPath) {
        const auto uc = static_cast<unsigned char>(c);
        if (IsUnreserved(uc) || c == '/') {
            sUri += c;
        } else {
            sUri += '%';
            sUri += szHex[uc >> 4];
            sUri += szHex[uc & 0x0F];
        }
    }
    return sUri;
}

std::optional<std::string> PercentDecode(const std::string& sText) {
    std::string sOut;
    sOut.reserve(sText.size());
    for (std::size_t n = 0; n < sText.size(); ++n) {
        if (sText[n] != '%') {
            sOut += sText[n];
            continue;
        }
        if (n + 2 >= sText.size()) {
            return std::nullopt;
        }
        const int iHigh = HexValue(sText[n + 1]);
        const int iLow = HexValue(sText[n + 2]);
        if (iHigh < 0 || iLow < 0 || (iHigh == 0 && iLow == 0)) {
            return std::nullopt;
        }
        sOut += static_cast<char>(iHigh * 16 + iLow);
        n += 2;
    }
    return sOut;
}

std::optional<std::string> ToPath(const std::string& sUri) {
    if (!StartsWithNoCase(sUri, "file:")) {
        return std::nullopt;
    }
    std::string sRest = sUri.substr(5);
    if (sRest.compare(0, 2, "//") == 0) {
        // An authority: only this machine's.
        const std::size_t nSlash = sRest.find('/', 2);
        if (nSlash == std::string::npos) {
            return std::nullopt;
        }
        const std::string sHost = sRest.substr(2, nSlash - 2);
        if (!sHost.empty() && !(sHost.size() == 9 && StartsWithNoCase(sHost, "localhost"))) {
            return std::nullopt;
        }
        sRest = sRest.substr(nSlash);
    }
    if (sRest.empty() || sRest[0] != '/') {
        return std::nullopt;
    }
    // A query or fragment is no part of a file's name.
    if (sRest.find_first_of("?#") != std::string::npos) {
        return std::nullopt;
    }
    return PercentDecode(sRest);
}

} // namespace MFileUri
