#include "platform/shell/MExecLine.h"

namespace MExecLine {

SWords Split(const std::string& sLine, EPercent ePercent) {
    SWords oWords;
    std::string sWord;
    bool bInWord = false;
    bool bQuoted = false;
    for (std::size_t n = 0; n < sLine.size(); ++n) {
        const char c = sLine[n];
        if (bQuoted) {
            if (c == '"') {
                bQuoted = false;
            } else if (c == '\\' && n + 1 < sLine.size() &&
                       std::string("\"`$\\").find(sLine[n + 1]) != std::string::npos) {
                sWord += sLine[++n];
            } else if (c == '%' && ePercent == EPercent::LiteralInQuotes && n + 1 < sLine.size() &&
                       sLine[n + 1] != '"') {
                sWord += "%%";
                if (sLine[n + 1] == '%') {
                    ++n;
                }
            } else {
                sWord += c;
            }
        } else if (c == '"') {
            bQuoted = true;
            bInWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (bInWord) {
                oWords.vWords.push_back(sWord);
                sWord.clear();
                bInWord = false;
            }
        } else {
            sWord += c;
            bInWord = true;
        }
    }
    if (bInWord) {
        oWords.vWords.push_back(sWord);
    }
    oWords.bQuoteOpen = bQuoted;
    return oWords;
}

} // namespace MExecLine
