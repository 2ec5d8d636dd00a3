// The default application of a file type: mimeapps.list, the desktop entry it names and the
// mimeinfo.cache, read from a fake desktop in a temporary folder as the file-type registry
// reads them. The input is up to three texts split at NUL bytes: the user's mimeapps.list, the
// desktop entry "fuzz.desktop" (a plain viewer when left out) and the applications folder's
// mimeinfo.cache.
#include "MFuzzCheck.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/registry/CDesktopFile.h"
#include "platform/registry/CFreedesktopFileTypes.h"
#include "platform/shell/CShellExecute.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using MFuzzCheck::Expect;

namespace {

constexpr std::size_t MaxTypesLookedUp = 16;

// The fake desktop, made at the first input and kept for the run: XDG folders that hold
// nothing of the real user's, the system's MIME database, and one program on the PATH.
class CFakeDesktop {
public:
    CFakeDesktop() {
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
        m_oEnvironment.Set("XDG_CONFIG_DIRS", m_oTemp / "etc-xdg");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
        m_oEnvironment.Set("XDG_DATA_DIRS", (m_oTemp / "sys") + ":" + MimeRoot());
        m_oEnvironment.Set("XDG_CURRENT_DESKTOP", "Fuzz");
        m_oEnvironment.Set("PATH", m_oTemp / "bin");
        const std::string sViewer = m_oTemp.WriteFile("bin/viewer", "#!/bin/sh\n");
        fs::permissions(sViewer, fs::perms::owner_all);
        fs::create_directories(m_oTemp / "data/applications");
    }

    const CTempFolder& Folder() const { return m_oTemp; }

private:
    // A folder that holds only a link to the system's MIME database, so that the applications
    // of the system stay out of the fake desktop.
    std::string MimeRoot() {
        for (const char* szDir : {"/usr/local/share", "/usr/share"}) {
            if (fs::exists(std::string(szDir) + "/mime/mime.cache")) {
                fs::create_directories(m_oTemp / "mime-root");
                fs::create_directory_symlink(std::string(szDir) + "/mime",
                                             m_oTemp / "mime-root/mime");
                break;
            }
        }
        return m_oTemp / "mime-root";
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
};

std::vector<std::string> SplitAtNul(const std::string& sText) {
    std::vector<std::string> vParts;
    std::size_t nStart = 0;
    while (vParts.size() < 2) {
        const std::size_t nNul = sText.find('\0', nStart);
        if (nNul == std::string::npos) {
            break;
        }
        vParts.push_back(sText.substr(nStart, nNul - nStart));
        nStart = nNul + 1;
    }
    vParts.push_back(sText.substr(nStart));
    return vParts;
}

void WriteOrRemove(const CTempFolder& oTemp, const std::string& sName,
                   const std::optional<std::string>& osText) {
    if (osText) {
        oTemp.WriteFile(sName, *osText);
    } else {
        std::error_code ec;
        fs::remove(oTemp / sName, ec);
    }
}

// The types the lists name, and one every desktop knows.
std::vector<std::string> TypesNamed(const std::vector<std::string>& vTexts) {
    std::vector<std::string> vTypes{"text/plain"};
    for (const std::string& sText : vTexts) {
        const CDesktopFile oFile = CDesktopFile::FromText(sText);
        for (const char* szGroup : {"Default Applications", "Added Associations", "MIME Cache"}) {
            for (const auto& entry : oFile.Entries(szGroup)) {
                if (vTypes.size() < MaxTypesLookedUp) {
                    vTypes.push_back(entry.first);
                }
            }
        }
    }
    return vTypes;
}

// An open command hands a document to an absolute program, and the document's name, whatever
// it holds, changes neither the program nor how the command splits into arguments.
void ExpectSafeCommand(const std::string& sCommand) {
    const std::vector<std::string> vPlain = CShellExecute::Arguments(sCommand, "/tmp/doc.txt");
    const std::vector<std::string> vTricky =
        CShellExecute::Arguments(sCommand, "/tmp/a \"b\" 'c' $(d) `e` %f \\g.txt");
    Expect(!vPlain.empty() && !vPlain.front().empty() && vPlain.front()[0] == '/',
           "an open command starts an absolute program");
    Expect(vPlain.size() == vTricky.size() && vPlain.front() == vTricky.front(),
           "a document's name never changes how an open command splits");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    static CFakeDesktop oDesktop;
    const CTempFolder& oTemp = oDesktop.Folder();
    const std::vector<std::string> vParts = SplitAtNul(MFuzzCheck::Text(pData, nSize));
    WriteOrRemove(oTemp, "config/mimeapps.list", vParts[0]);
    WriteOrRemove(oTemp, "data/applications/fuzz.desktop",
                  vParts.size() > 1 ? vParts[1]
                                    : "[Desktop Entry]\nType=Application\nName=Viewer\n"
                                      "Exec=viewer %U\n");
    WriteOrRemove(oTemp, "data/applications/mimeinfo.cache",
                  vParts.size() > 2 ? std::optional<std::string>(vParts[2]) : std::nullopt);

    CErrorReporter oReporter; // no log file: refusals are only counted by the reader
    CFreedesktopFileTypes oTypes;
    oTypes.SetErrorReporter(&oReporter);
    for (const std::string& sType : TypesNamed(vParts)) {
        if (const std::optional<std::string> osCommand =
                oTypes.DefaultValue(sType + "\\shell\\open\\command")) {
            ExpectSafeCommand(*osCommand);
        }
    }
    return 0;
}
