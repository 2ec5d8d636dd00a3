#include "platform/errors/CLogFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

CLogFile::CLogFile(std::string sPath, std::uintmax_t ullLimit)
    : m_sPath(std::move(sPath)), m_ullLimit(ullLimit) {}

std::string CLogFile::RotatedPath(const std::string& sPath) {
    const std::filesystem::path oPath(sPath);
    std::filesystem::path oRotated = oPath;
    oRotated.replace_filename(oPath.stem().string() + ".old" + oPath.extension().string());
    return oRotated.string();
}

std::string CLogFile::Field(std::string sText) {
    for (char& c : sText) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return sText;
}

bool CLogFile::AppendLine(const std::string& sLine) const {
    if (m_sPath.empty()) {
        return false;
    }
    std::error_code ec;
    const std::uintmax_t ullSize = std::filesystem::file_size(m_sPath, ec);
    if (!ec && ullSize >= m_ullLimit) {
        std::filesystem::rename(m_sPath, RotatedPath(m_sPath), ec);
    }
    std::string sText = sLine;
    for (char& c : sText) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    sText += '\n';
    std::FILE* pFile = std::fopen(m_sPath.c_str(), "ab");
    if (pFile == nullptr) {
        return false;
    }
    const bool bWritten = std::fwrite(sText.data(), 1, sText.size(), pFile) == sText.size();
    return (std::fclose(pFile) == 0) && bWritten;
}
