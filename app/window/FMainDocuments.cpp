// FMain: the commands on documents: opening one (and putting its shortcut back into the Recent
// folder), removing its link, its folder, purging a day; help, the maker's web page and the
// About box.
#include "aboutbox/AboutBox.h"
#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/resources/MResources.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/window/FMain.h"
#include "commonlibrary/Library.h"
#include "platform/controls/CListView.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CFileTypeProvider.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CShellExecute.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// The file name after the last separator of either kind.
std::string NameOf(const std::string& sPath) {
    const size_t nSlash = sPath.find_last_of("/\\");
    return nSlash == std::string::npos ? sPath : sPath.substr(nSlash + 1);
}

std::vector<char> ReadBytes(const std::string& sPath) {
    std::ifstream oFile(sPath, std::ios::binary);
    if (!oFile) {
        throw CRunTimeError::FromErrno(errno, sPath);
    }
    return std::vector<char>(std::istreambuf_iterator<char>(oFile),
                             std::istreambuf_iterator<char>());
}

int Ask(const std::string& sText) {
    return MDayfold::Presenter().Show(sText, MDayfold::AppTitle(),
                                      MessageBox::YesNo + MessageBox::Question);
}

void Tell(const std::string& sText) {
    MDayfold::Presenter().Show(sText, MDayfold::AppTitle(),
                               MessageBox::OkOnly + MessageBox::Information);
}

// Whether the store counts the shortcut's document (by any of the identities it files under).
bool StoreCounts(const CFavorites& oFavorites, const CShortcut& oShortcut) {
    const std::string sTarget = CFavorites::TargetKey(oShortcut.TargetFile());
    const std::string sIdentity =
        CFavorites::IdentityKey(oShortcut.WorkingDirectory(), oShortcut.TargetFileName());
    for (const FavoriteRecord& oRecord : oFavorites.GetFavorites()) {
        const std::string sRecord =
            CFavorites::IdentityKey(oRecord.WorkingDirectory, oRecord.TargetFileName);
        if (oRecord.File == oShortcut.File() ||
            (!oShortcut.TargetFile().empty() && (sRecord == sTarget || sRecord == sIdentity))) {
            return true;
        }
    }
    return false;
}
} // namespace

void FMain::OpenDocument(const std::string& sItemKey) {
    MDayfold::Assert().Assert(!sItemKey.empty(), "FMain.OpenDocument: Item is Nothing");
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sRecentFolder),
                              "FMain.OpenDocument: Recent folder is missing");
    try {
        const std::string sShortcut = sItemKey.substr(1);
        CShortcut oShortcut;
        oShortcut.SetFile(sShortcut);
        std::string sTarget = oShortcut.TargetFile();
        std::int32_t lResult = CShellExecute::FileNotFound;
        if (oShortcut.Loaded() && !sTarget.empty()) {
            lResult = oShortcut.OpenDocument();
        } else {
            // The repository's copy is gone or names no document: the list still tells which
            // document it stood for.
            for (const CListView* pList : {m_lvwSearch, m_lvwDaily, m_lvwFavorites}) {
                if (sTarget.empty() && pList->Contains(sItemKey)) {
                    sTarget = pList->SubItem(sItemKey, 2) + "/" + pList->ItemText(sItemKey);
                }
            }
        }
        bool bRemove = false;
        if (lResult > 32) {
            CopyBackToRecent(sShortcut);
        } else if (lResult == CShellExecute::FileNotFound) {
            bRemove = Ask(MResources::LoadResString(110) + sTarget + "\r\n" +
                          MResources::LoadResString(111)) == MessageBox::AnswerYes;
        } else if (lResult == CShellExecute::PathNotFound) {
            std::string sDrive;
            std::string sFolder;
            std::string sDocument;
            MDayfold::Library().ParsePath(sTarget, sDrive, sFolder, sDocument);
            bRemove = Ask(MResources::LoadResString(112) + sDrive + sFolder + "\r\n" +
                          MResources::LoadResString(113)) == MessageBox::AnswerYes;
        } else if (lResult == CShellExecute::NoAssociation) {
            Tell(MResources::LoadResString(114) + "\r\n" + MResources::LoadResString(115));
        } else {
            // Every other code up to 32 is a failure of the system (out of resources, a bad
            // program, access denied, sharing): nothing was opened, so nothing is copied back.
            Tell(MResources::LoadResString(109));
        }
        if (bRemove) {
            RemoveLink(sItemKey);
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.OpenDocument", false);
    }
}

void FMain::CopyBackToRecent(const std::string& sShortcut) {
    const std::vector<char> vBytes = ReadBytes(sShortcut);
    const std::string sCopy = m_sRecentFolder + "/" + NameOf(sShortcut);
    // Written beside the old copy and renamed over it, so the Recent folder never holds half a
    // shortcut; hidden until then, so a poll never files it.
    std::string sTemporary = m_sRecentFolder + "/.dayfold-open-XXXXXX";
    const int iFile = mkstemp(sTemporary.data());
    if (iFile < 0) {
        throw CRunTimeError::FromErrno(errno, m_sRecentFolder);
    }
    const auto Fail = [&](int iErrno) {
        ::close(iFile);
        unlink(sTemporary.c_str());
        throw CRunTimeError::FromErrno(iErrno, sCopy);
    };
    size_t nWritten = 0;
    while (nWritten < vBytes.size()) {
        const ssize_t nStep = write(iFile, vBytes.data() + nWritten, vBytes.size() - nWritten);
        if (nStep < 0 && errno != EINTR) {
            Fail(errno);
        }
        nWritten += nStep > 0 ? static_cast<size_t>(nStep) : 0;
    }
    // Last written now: the next poll files it under today.
    const std::time_t tNow = MDayfold::Clock().Now().ToUnixTime();
    const struct timespec atsTimes[2] = {{tNow, 0}, {tNow, 0}};
    if (fchmod(iFile, 0600) != 0 || futimens(iFile, atsTimes) != 0) {
        Fail(errno);
    }
    if (::close(iFile) != 0) {
        unlink(sTemporary.c_str());
        throw CRunTimeError::FromErrno(errno, sCopy);
    }
    if (std::rename(sTemporary.c_str(), sCopy.c_str()) != 0) {
        const int iErrno = errno;
        unlink(sTemporary.c_str());
        throw CRunTimeError::FromErrno(iErrno, sCopy);
    }
}

void FMain::RemoveLink(const std::string& sItemKey) {
    MDayfold::Assert().Assert(!sItemKey.empty(), "FMain.RemoveLink: Item is nothing");
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.RemoveLink: Daily object is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.RemoveLink: Favorites object is nothing");
    MDayfold::Assert().Assert(!MDayfold::IsBlank(m_sRecentFolder),
                              "FMain.RemoveLink: Recent folder is missing");
    try {
        const std::string sShortcut = sItemKey.substr(1);
        // Which document it was, before the copy goes.
        CShortcut oShortcut;
        oShortcut.SetFile(sShortcut);
        const bool bCounted = StoreCounts(*m_oFavorites, oShortcut);
        // With errors ignored: either copy may be gone already.
        unlink(sShortcut.c_str());
        unlink((m_sRecentFolder + "/" + NameOf(sShortcut)).c_str());

        if (m_lvwDaily->Contains(sItemKey)) {
            m_oDaily->RemoveDocument(sItemKey);
        }
        if (m_lvwSearch->Contains(sItemKey)) {
            m_lvwSearch->RemoveItem(sItemKey);
        }
        // The store counted that day of use: its counts are made again from what is left, also
        // when the removed copy was not the one the Favorites list shows.
        const bool bListed = m_oFavorites->RemoveDocument(sItemKey);
        if (bListed || bCounted) {
            RebuildAndSaveFavorites();
            RefreshFavorites();
        }
        if (MDayfold::Repository().PurgeEmptyFolders()) {
            RefreshDaily();
        }
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.RemoveLink", false);
    }
}

void FMain::Explore() {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.Explore: Daily object is nothing");
    try {
        if (SearchFolderCommand(true)) {
            return;
        }
        if (m_lActiveView == ViewFavorites && m_oFavorites) {
            m_oFavorites->Explore();
        } else if (m_oDaily) {
            m_oDaily->Explore();
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 136, "FMain.Explore");
    }
}

void FMain::OpenFolder() {
    MDayfold::Assert().Assert(m_oDaily != nullptr, "FMain.OpenFolder: Daily object is nothing");
    try {
        if (SearchFolderCommand(false)) {
            return;
        }
        if (m_lActiveView == ViewFavorites && m_oFavorites) {
            m_oFavorites->OpenFolder();
        } else if (m_oDaily) {
            m_oDaily->OpenFolder();
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 140, "FMain.OpenFolder");
    }
}

void FMain::PurgeDay(const std::string& sNodeKey) {
    MDayfold::Assert().Assert(!sNodeKey.empty(), "FMain.PurgeDay: Node is nothing");
    MDayfold::Assert().Assert(m_oFavorites != nullptr,
                              "FMain.PurgeDay: Favorites object is nothing");
    try {
        MDayfold::Repository().PurgeDay(sNodeKey.substr(1));
        RefreshDaily();
        RebuildAndSaveFavorites();
        RefreshFavorites();
    } catch (const std::exception& oError) {
        MDayfold::LogError(oError, "FMain.PurgeDay", false);
    }
}

void FMain::RebuildAndSaveFavorites() {
    if (m_oFavorites) {
        m_oFavorites->RebuildFavorites();
        m_oFavorites->Save();
    }
    // The index counts the same copies: it is read anew too.
    RebuildJournal();
}

void FMain::DisplayHelp(int iTopic) {
    try {
        CHelp* pHelp = CHelp::Application();
        if (pHelp == nullptr) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        // Topic 0 opens the contents.
        pHelp->Display(iTopic, this);
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 131, "FMain.DisplayHelp");
    }
}

void FMain::DisplayQuillonSoftOnline() {
    try {
        std::optional<std::string> osCommand;
        if (m_oStart.pFileTypes != nullptr) {
            osCommand =
                m_oStart.pFileTypes->DefaultValue("x-scheme-handler/https\\shell\\open\\command");
        }
        const std::int32_t lResult = CShellExecute::OpenLink(osCommand.value_or(""), OnlineAddress,
                                                             MDayfold::Library().WindowsPath());
        if (lResult <= 32) {
            throw CRunTimeError(RunTimeErrors::InvalidProcedureCall,
                                std::string("No web browser could be started for ") +
                                    OnlineAddress);
        }
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 133, "FMain.DisplayQuillonSoftOnline");
    }
}

void FMain::DisplayAboutBox() {
    try {
        if (m_oStart.pAboutBox == nullptr) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        m_oStart.pAboutBox->Display();
    } catch (const std::exception& oError) {
        MDayfold::ReportError(oError, 134, "FMain.DisplayAboutBox");
    }
}
