#include "bench/CBenchWorld.h"

#include "app/core/MDayfold.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <sys/stat.h>

namespace {
std::string& PreparedRoot() {
    static std::string sRoot;
    return sRoot;
}
} // namespace

std::string CBenchWorld::MakeRoot() {
    if (PreparedRoot().empty()) {
        std::string sTemplate =
            (std::filesystem::temp_directory_path() / "dayfold-bench-XXXXXX").string();
        if (mkdtemp(sTemplate.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        PreparedRoot() = sTemplate;
    }
    return PreparedRoot();
}

CBenchWorld::CBenchWorld(CFileTypeProvider* pFileTypes) {
    m_sRoot = MakeRoot();
    PreparedRoot().clear();
    m_sAppPath = m_sRoot + "/Dayfold";
    std::filesystem::create_directories(m_sAppPath);
    m_oFileTypes.SetDefaultValue(".txt", "txtfile");
    m_oFileTypes.SetDefaultValue("txtfile", "Text Document");
    m_oFileTypes.SetDefaultValue("txtfile\\DefaultIcon", "text-x-generic,0");
    m_oFileTypes.SetDefaultValue("txtfile\\shell\\open\\command", "/usr/bin/env %1");

    MDayfold::SEnvironment oEnvironment;
    oEnvironment.sAppPath = m_sAppPath;
    oEnvironment.sSettingsFile = m_sRoot + "/config/Dayfold.reg";
    oEnvironment.pFileTypes = pFileTypes != nullptr ? pFileTypes : &m_oFileTypes;
    oEnvironment.pClock = &m_oClock;
    MDayfold::CreateGlobals(oEnvironment);
}

CBenchWorld::~CBenchWorld() {
    MDayfold::ReleaseGlobals();
    std::error_code ec;
    std::filesystem::remove_all(m_sRoot, ec);
}

void CBenchWorld::SetModified(const std::string& sPath, const CDateTime& dWritten) {
    const struct timespec atsTimes[2] = {{dWritten.ToUnixTime(), 0}, {dWritten.ToUnixTime(), 0}};
    utimensat(AT_FDCWD, sPath.c_str(), atsTimes, 0);
}
