#include "platform/errors/CLogFile.h"

#include "platform/shell/CFileSystem.h"
#include "platform/shell/MPrivateFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

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
    // The system's own calls, not the file system in use: a fault put into the program's files
    // must not keep the log from telling of it.
    const int iFd = MPrivateFiles::OpenOrCreate(m_sPath, O_WRONLY | O_APPEND | O_CLOEXEC,
                                                CFileSystem::System());
    if (iFd < 0) {
        return false;
    }
    const char* pData = sText.data();
    size_t nLeft = sText.size();
    while (nLeft > 0) {
        const ssize_t nWritten = ::write(iFd, pData, nLeft);
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            break;
        }
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    return ::close(iFd) == 0 && nLeft == 0;
}
