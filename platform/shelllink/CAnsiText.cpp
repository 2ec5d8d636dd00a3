#include "platform/shelllink/CAnsiText.h"

#include "platform/shelllink/MLinkText.h"

#include <iconv.h>
#include <set>
#include <unordered_map>

namespace {

constexpr const char* Windows1252 = "CP1252";

// The ANSI code pages of the platform; windows-1252 first, so that it wins a tie.
constexpr const char* CodePages[] = {Windows1252, "CP1250", "CP1251", "CP1253", "CP1254",
                                     "CP1255",    "CP1256", "CP1257", "CP1258", "CP874",
                                     "CP932",     "CP936",  "CP949",  "CP950"};

// The maximal runs of non-ASCII characters of a text: the words that a code page decides.
std::vector<std::u32string> NonAsciiRuns(const std::string& sText) {
    std::vector<std::u32string> vRuns;
    std::u32string sRun;
    for (const char32_t c : MLinkText::DecodeUtf8(sText)) {
        if (c >= 0x80) {
            sRun += c;
        } else if (!sRun.empty()) {
            vRuns.push_back(sRun);
            sRun.clear();
        }
    }
    if (!sRun.empty()) {
        vRuns.push_back(sRun);
    }
    return vRuns;
}

// The converters of this thread, one per code page, opened when first needed and kept: opening
// one loads the code page's module, which costs many times the reading of a whole shortcut,
// and proving a file's code page tries every one of them.
class CConverters {
public:
    CConverters() = default;
    ~CConverters() {
        for (const auto& [sCodePage, pConverter] : m_colConverters) {
            if (pConverter != Failed()) {
                iconv_close(pConverter);
            }
        }
    }
    CConverters(const CConverters&) = delete;
    CConverters& operator=(const CConverters&) = delete;

    static iconv_t Failed() { return reinterpret_cast<iconv_t>(-1); }

    // The converter from sCodePage to UTF-8 in its initial state; Failed() when there is none.
    iconv_t ToUtf8(const std::string& sCodePage) {
        auto it = m_colConverters.find(sCodePage);
        if (it == m_colConverters.end()) {
            it = m_colConverters.emplace(sCodePage, iconv_open("UTF-8", sCodePage.c_str())).first;
        }
        if (it->second != Failed()) {
            iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        }
        return it->second;
    }

private:
    std::unordered_map<std::string, iconv_t> m_colConverters;
};

} // namespace

std::string CAnsiText::Decode(const std::uint8_t* pBytes, std::size_t nCount) {
    if (IsUtf8(pBytes, nCount)) { // plain ASCII too
        return std::string(reinterpret_cast<const char*>(pBytes), nCount);
    }
    std::string sText;
    if (!m_sCodePage.empty() && FromCodePage(m_sCodePage, pBytes, nCount, sText)) {
        return sText;
    }
    m_vGuessed.emplace_back(pBytes, pBytes + nCount);
    return MLinkText::FromWindows1252(pBytes, nCount);
}

std::string CAnsiText::ProveCodePage(const std::vector<std::string>& vNames) const {
    std::set<std::u32string> setWords;
    for (const std::string& sName : vNames) {
        for (std::u32string& sRun : NonAsciiRuns(sName)) {
            setWords.insert(std::move(sRun));
        }
    }
    if (setWords.empty() || m_vGuessed.empty()) {
        return "";
    }
    std::string sBest;
    std::size_t nBest = 0;
    for (const char* szCodePage : CodePages) {
        std::size_t nFound = 0;
        bool bReadsAll = true;
        for (const std::vector<std::uint8_t>& vText : m_vGuessed) {
            std::string sText;
            if (!FromCodePage(szCodePage, vText.data(), vText.size(), sText)) {
                bReadsAll = false;
                break;
            }
            for (const std::u32string& sRun : NonAsciiRuns(sText)) {
                if (setWords.count(sRun) != 0) {
                    nFound += sRun.size();
                }
            }
        }
        if (bReadsAll && nFound > nBest) {
            sBest = szCodePage;
            nBest = nFound;
        }
    }
    return sBest == Windows1252 ? "" : sBest;
}

bool CAnsiText::IsUtf8(const std::uint8_t* pBytes, std::size_t nCount) {
    std::size_t n = 0;
    while (n < nCount) {
        const std::uint8_t bLead = pBytes[n];
        std::size_t nLength = 0;
        std::uint8_t bLow = 0x80; // the range of the byte after the lead
        std::uint8_t bHigh = 0xBF;
        if (bLead < 0x80) {
            ++n;
            continue;
        } else if (bLead >= 0xC2 && bLead <= 0xDF) {
            nLength = 2;
        } else if (bLead >= 0xE0 && bLead <= 0xEF) {
            nLength = 3;
            bLow = bLead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
            bHigh = bLead == 0xED ? 0x9F : 0xBF; // no surrogate
        } else if (bLead >= 0xF0 && bLead <= 0xF4) {
            nLength = 4;
            bLow = bLead == 0xF0 ? 0x90 : 0x80;
            bHigh = bLead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (nCount - n < nLength || pBytes[n + 1] < bLow || pBytes[n + 1] > bHigh) {
            return false;
        }
        for (std::size_t i = 2; i < nLength; ++i) {
            if ((pBytes[n + i] & 0xC0) != 0x80) {
                return false;
            }
        }
        n += nLength;
    }
    return true;
}

bool CAnsiText::FromCodePage(const std::string& sCodePage, const std::uint8_t* pBytes,
                             std::size_t nCount, std::string& sText) {
    if (sCodePage == Windows1252) {
        sText = MLinkText::FromWindows1252(pBytes, nCount);
        return true;
    }
    thread_local CConverters oConverters;
    const iconv_t pConverter = oConverters.ToUtf8(sCodePage);
    if (pConverter == CConverters::Failed()) {
        return false;
    }
    // No ANSI code page gives more than one character of at most four UTF-8 bytes per byte.
    std::string sOut(4 * nCount + 4, '\0');
    char* pIn = const_cast<char*>(reinterpret_cast<const char*>(pBytes));
    std::size_t nInLeft = nCount;
    char* pOut = sOut.data();
    std::size_t nOutLeft = sOut.size();
    std::size_t nResult = iconv(pConverter, &pIn, &nInLeft, &pOut, &nOutLeft);
    if (nResult != static_cast<std::size_t>(-1)) {
        nResult = iconv(pConverter, nullptr, nullptr, &pOut, &nOutLeft);
    }
    if (nResult == static_cast<std::size_t>(-1) || nInLeft != 0) {
        return false;
    }
    sOut.resize(sOut.size() - nOutLeft);
    sText = std::move(sOut);
    return true;
}
