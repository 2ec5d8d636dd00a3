#include "app/CProgramWorld.h"
#include "app/repository/CShortcut.h"
#include "app/repository/CShortcutCache.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class Shortcut : public ::testing::Test {
protected:
    CShortcut Load(const std::string& sTarget, const std::string& sWorkingDirectory = "") {
        const std::string sPath = m_oWorld.Temp() / "Day/x.lnk";
        fs::create_directories(m_oWorld.Temp() / "Day");
        CProgramWorld::MakeShortcut(sPath, sTarget, sWorkingDirectory);
        CProgramWorld::SetModified(sPath, CDateTime::FromParts(1998, 1, 5, 14, 2, 10));
        CShortcut oShortcut;
        oShortcut.SetFile(sPath);
        return oShortcut;
    }

    CProgramWorld m_oWorld;
};

TEST_F(Shortcut, TextDocumentGetsItsTypeIconAndProgram) {
    const CShortcut oShortcut = Load("/home/ann/Docs/Report.txt", "/home/ann/Docs");
    EXPECT_TRUE(oShortcut.Loaded());
    EXPECT_EQ(oShortcut.ClassName(), "CShortcut");
    EXPECT_EQ(oShortcut.FileName(), "x.lnk");
    EXPECT_EQ(oShortcut.Modified(), CDateTime::FromParts(1998, 1, 5, 14, 2, 10));
    EXPECT_EQ(oShortcut.Year(), "1998");
    EXPECT_EQ(oShortcut.Month(), "January");
    EXPECT_EQ(oShortcut.Day(), "05");
    EXPECT_EQ(oShortcut.TargetFile(), "/home/ann/Docs/Report.txt");
    EXPECT_EQ(oShortcut.TargetFileName(), "Report.txt");
    EXPECT_EQ(oShortcut.WorkingDirectory(), "/home/ann/Docs");
    EXPECT_EQ(oShortcut.TargetClass(), "Text Document");
    EXPECT_EQ(oShortcut.IconFile(), "/usr/share/icons/text.png");
    EXPECT_EQ(oShortcut.IconIndex(), 3);
    EXPECT_EQ(oShortcut.Executable(), m_oWorld.NotepadPath());
    EXPECT_EQ(oShortcut.ExecutableName(), "Notepad");
}

TEST_F(Shortcut, WorkingFolderKeepsItsCaseOrComesFromTheTarget) {
    EXPECT_EQ(Load("/home/ann/Docs/Report.txt", "/home/ann/MixedCase").WorkingDirectory(),
              "/home/ann/MixedCase");
    EXPECT_EQ(Load("/home/ann/Docs/Report.txt").WorkingDirectory(), "/home/ann/Docs/");
    EXPECT_EQ(Load("C:\\Docs\\Report.txt").WorkingDirectory(), "C:\\Docs\\");
}

TEST_F(Shortcut, ProgramsAndUntypedTargetsSkipTheLookup) {
    const CShortcut oProgram = Load("C:\\WINDOWS\\Notepad.Exe");
    EXPECT_EQ(oProgram.TargetClass(), "Application");
    EXPECT_TRUE(oProgram.Executable().empty());
    EXPECT_EQ(Load("/home/ann/README").TargetClass(), "");
    EXPECT_EQ(Load("/home/ann/odd.").TargetClass(), "");
    const CShortcut oUnknown = Load("/home/ann/photo.xyz");
    EXPECT_EQ(oUnknown.TargetClass(), "");
    EXPECT_EQ(oUnknown.IconFile(), "");
}

TEST_F(Shortcut, WindowsStyleOpenCommands) {
    CFileTypeTable& oTypes = m_oWorld.FileTypes();
    oTypes.SetDefaultValue(".doc", "Word.Document");
    oTypes.SetDefaultValue("Word.Document", "Word Document");
    oTypes.SetDefaultValue("Word.Document\\DefaultIcon", "no-comma-here");
    oTypes.SetDefaultValue("Word.Document\\shell\\open\\command", "C:\\WINDOWS\\NOTEPAD.EXE %1");
    const CShortcut oPlain = Load("C:\\Docs\\Report.doc");
    EXPECT_EQ(oPlain.TargetClass(), "Word Document");
    EXPECT_EQ(oPlain.IconFile(), "") << "a default icon without a comma is skipped";
    EXPECT_EQ(oPlain.Executable(), "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(oPlain.ExecutableName(), "Notepad.exe");
    EXPECT_EQ(oPlain.ExecutableFolder(), "C:\\WINDOWS\\");

    oTypes.SetDefaultValue("Word.Document\\shell\\open\\command",
                           "\"C:\\Program Files\\Office\\WINWORD.EXE\" /n \"%1\"");
    const CShortcut oQuoted = Load("C:\\Docs\\Report.doc");
    EXPECT_EQ(oQuoted.Executable(), "C:\\Program Files\\Office\\WINWORD.EXE");
    EXPECT_EQ(oQuoted.ExecutableName(), "Winword.exe");

    oTypes.SetDefaultValue(".rtf", "rtffile");
    oTypes.SetDefaultValue("rtffile", "Rich Text");
    const CShortcut oNoCommand = Load("C:\\Docs\\Memo.rtf");
    EXPECT_EQ(oNoCommand.TargetClass(), "Rich Text");
    EXPECT_TRUE(oNoCommand.Executable().empty());
}

TEST_F(Shortcut, DesktopCommandWithOptionsNamesItsProgram) {
    m_oWorld.FileTypes().SetDefaultValue("txtfile\\shell\\open\\command",
                                         m_oWorld.NotepadPath() + " --new-window %U");
    EXPECT_EQ(Load("/home/ann/a.txt").Executable(), m_oWorld.NotepadPath());
}

TEST_F(Shortcut, ProgramShortcutIsMadeBesideTheRecord) {
    CShortcut oShortcut = Load("/home/ann/Docs/Report.txt");
    oShortcut.CreateExecutableShortcut();
    const std::string sProgramLink = m_oWorld.Temp() / "Day/Notepad.lnk";
    ASSERT_TRUE(fs::exists(sProgramLink));
    CShortcut oProgram;
    oProgram.SetFile(sProgramLink);
    EXPECT_EQ(oProgram.TargetFile(), m_oWorld.NotepadPath());
    EXPECT_EQ(oProgram.IconFile(), m_oWorld.NotepadPath());
    EXPECT_EQ(oProgram.IconIndex(), 1);
    EXPECT_EQ(oProgram.ShowCommand(), 5);

    // A file of that name stays as it is, whatever it holds.
    fs::remove(sProgramLink);
    const std::string sDocument = m_oWorld.Temp().WriteFile("Day/Notepad.lnk", "a document");
    oShortcut.CreateExecutableShortcut();
    EXPECT_EQ(CTempFolder::ReadFile(sProgramLink), "a document");

    // A program that does not exist gets no shortcut.
    const CShortcut oWindows = [&] {
        m_oWorld.FileTypes().SetDefaultValue("txtfile\\shell\\open\\command",
                                             "C:\\WINDOWS\\NOTEPAD.EXE %1");
        return Load("/home/ann/b.txt");
    }();
    ASSERT_EQ(oWindows.ExecutableName(), "Notepad.exe");
    CShortcut(oWindows).CreateExecutableShortcut();
    EXPECT_FALSE(fs::exists(m_oWorld.Temp() / "Day/Notepad.exe.lnk"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(m_oWorld.Temp() / "Day"), fs::directory_iterator()), 2)
        << "nothing but x.lnk and Notepad.lnk, no temporary file";
}

TEST_F(Shortcut, FileTypeAnswersAreRememberedForOneRebuildOrPoll) {
    CShortcutCache oCache;
    const CShortcutCache::SFileType oText = oCache.FileType(".txt");
    EXPECT_EQ(oText.sTargetClass, "Text Document");
    EXPECT_TRUE(oCache.ProgramExists(m_oWorld.NotepadPath()));
    // Changed in between: the same cache keeps its answers, a new one sees the change.
    m_oWorld.FileTypes().SetDefaultValue("txtfile", "Plain Text");
    fs::remove(m_oWorld.NotepadPath());
    EXPECT_EQ(oCache.FileType(".txt").sTargetClass, "Text Document");
    EXPECT_TRUE(oCache.ProgramExists(m_oWorld.NotepadPath()));
    CShortcutCache oNext;
    EXPECT_EQ(oNext.FileType(".txt").sTargetClass, "Plain Text");
    EXPECT_FALSE(oNext.ProgramExists(m_oWorld.NotepadPath()));

    // A record given the cache takes its answers from it.
    const std::string sPath = m_oWorld.Temp() / "Day/y.lnk";
    fs::create_directories(m_oWorld.Temp() / "Day");
    CProgramWorld::MakeShortcut(sPath, "/home/ann/y.txt");
    CShortcut oShortcut;
    oShortcut.SetCache(&oCache);
    oShortcut.SetFile(sPath);
    EXPECT_EQ(oShortcut.TargetClass(), "Text Document");
    EXPECT_EQ(oShortcut.IconIndex(), 3);
    EXPECT_EQ(oShortcut.ExecutableName(), "Notepad");
}

TEST_F(Shortcut, DamagedAndMissingFilesAreLoggedAndNotLoaded) {
    const std::string sDamaged = m_oWorld.Temp().WriteFile("Day/damaged.lnk", "not a shortcut");
    CShortcut oShortcut;
    oShortcut.SetFile(sDamaged);
    EXPECT_FALSE(oShortcut.Loaded());
    EXPECT_EQ(oShortcut.FileName(), "damaged.lnk");
    oShortcut.SetFile(m_oWorld.Temp() / "Day/missing.lnk");
    EXPECT_FALSE(oShortcut.Loaded());
    const std::string sLog = m_oWorld.ErrorLog();
    EXPECT_NE(sLog.find("CShortcut.File"), std::string::npos);
    EXPECT_NE(sLog.find("\t53\t53-File not found"), std::string::npos);
    oShortcut.SetFile("  ");
    EXPECT_NE(m_oWorld.EventLog().find("CShortcut.File: Path is missing"), std::string::npos);
}

} // namespace

namespace {

TEST_F(Shortcut, OpenDocumentStartsTheProgramOfItsType) {
    chmod(m_oWorld.NotepadPath().c_str(), 0755);
    const std::string sDocument = m_oWorld.Temp().WriteFile("Docs/Report.txt", "text");
    EXPECT_GT(Load(sDocument).OpenDocument(), 32);
    EXPECT_EQ(Load(m_oWorld.Temp() / "Docs/Gone.txt").OpenDocument(), 2);
    EXPECT_EQ(Load(sDocument, m_oWorld.Temp() / "NoFolder").OpenDocument(), 3);
    const std::string sPhoto = m_oWorld.Temp().WriteFile("Docs/photo.xyz", "?");
    EXPECT_EQ(Load(sPhoto).OpenDocument(), 31);
}

} // namespace
