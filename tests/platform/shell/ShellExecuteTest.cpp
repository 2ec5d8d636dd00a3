#include "platform/registry/CFreedesktopFileTypes.h"
#include "platform/shell/CShellExecute.h"

#include "CArgumentRecorder.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using VS = std::vector<std::string>;

TEST(ShellExecute, CommandLinesBecomeArgumentLists) {
    EXPECT_EQ(CShellExecute::Arguments("/usr/bin/gedit %F", "/home/a b.txt"),
              (VS{"/usr/bin/gedit", "/home/a b.txt"}));
    EXPECT_EQ(CShellExecute::Arguments("/usr/bin/gedit %U", "/home/Ünï/a b#?%.txt"),
              (VS{"/usr/bin/gedit", "file:///home/%C3%9Cn%C3%AF/a%20b%23%3F%25.txt"}));
    EXPECT_EQ(CShellExecute::Arguments("\"/opt/My App/app\" --new %f --name=%c %i", "/x"),
              (VS{"/opt/My App/app", "--new", "/x", "--name="}));
    EXPECT_EQ(CShellExecute::Arguments("viewer --file=%u 100%% \"\"", "/x"),
              (VS{"viewer", "--file=file:///x", "100%", ""}));
    EXPECT_EQ(CShellExecute::Arguments("C:\\WINDOWS\\NOTEPAD.EXE %1", "/x"),
              (VS{"C:\\WINDOWS\\NOTEPAD.EXE", "/x"}));
    EXPECT_EQ(CShellExecute::Arguments("xdg-app", "/x; rm -rf ~"), (VS{"xdg-app", "/x; rm -rf ~"}))
        << "a file with no place in the command is appended, never seen by a shell";
    EXPECT_EQ(CShellExecute::Arguments("\"quoted \\\"inner\\\" $HOME\" %F", "/x"),
              (VS{"quoted \"inner\" $HOME", "/x"}));
    EXPECT_EQ(CShellExecute::Arguments("sh -c \"open %%f\"", "/x; reboot"),
              (VS{"sh", "-c", "open %f", "/x; reboot"}))
        << "a literal code of the command: the file goes after it, never into it";
    EXPECT_TRUE(CShellExecute::Arguments("", "/x").empty());
}

TEST(ShellExecute, ResultCodesOfTheShellAndNoChildLeftBehind) {
    CTempFolder oTemp;
    const std::string sDocument = oTemp.WriteFile("Docs/a.txt", "text");
    const std::string sProgram = oTemp.WriteFile("bin/viewer", "#!/bin/sh\nexit 0\n");
    chmod(sProgram.c_str(), 0755);

    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", sDocument, oTemp / "Docs"),
              CShellExecute::Started);
    EXPECT_EQ(CShellExecute::Open("", sProgram, ""), CShellExecute::Started)
        << "a program starts itself";
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", oTemp / "Docs/missing.txt", ""),
              CShellExecute::FileNotFound);
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", oTemp / "Gone/missing.txt", ""),
              CShellExecute::PathNotFound);
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", sDocument, oTemp / "Gone"),
              CShellExecute::PathNotFound);
    EXPECT_EQ(CShellExecute::Open("", sDocument, ""), CShellExecute::NoAssociation);

    // A program that cannot be started is a failure, never a success.
    EXPECT_EQ(CShellExecute::Open(oTemp / "bin/none %f", sDocument, ""),
              CShellExecute::NoAssociation);
    const std::string sNotExecutable = oTemp.WriteFile("bin/plain", "data");
    EXPECT_EQ(CShellExecute::Open(sNotExecutable + " %f", sDocument, ""),
              CShellExecute::NoAssociation);
    const std::string sGarbage = oTemp.WriteFile("bin/garbage", std::string("\x7f\x01\x02", 3));
    chmod(sGarbage.c_str(), 0755);
    EXPECT_EQ(CShellExecute::Open(sGarbage + " %f", sDocument, ""), CShellExecute::BadFormat);
    const std::string sOrphan = oTemp.WriteFile("bin/orphan", "#!/no/such/interpreter\n");
    chmod(sOrphan.c_str(), 0755);
    EXPECT_LE(CShellExecute::Open(sOrphan + " %f", sDocument, ""), 32)
        << "exec fails in the child: its interpreter is missing";

    // Every start above reaped its own children: none is left as a zombie.
    int iStatus = 0;
    errno = 0;
    EXPECT_EQ(waitpid(-1, &iStatus, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ShellExecute, ProgramsAreFoundThroughPath) {
    CScopedEnvironment oEnvironment;
    oEnvironment.Set("PATH", "relative:/bin:/usr/bin");
    EXPECT_FALSE(CShellExecute::FindProgram("sh").empty());
    EXPECT_EQ(CShellExecute::FindProgram("/bin/sh"), "/bin/sh");
    EXPECT_EQ(CShellExecute::FindProgram("no-such-program-here"), "");
    EXPECT_EQ(CShellExecute::FindProgram(""), "");
}

// The opening path as the program takes it: the default application of the document's type
// from a fake desktop, its command from the provider, started by the opener.
TEST(ShellExecute, ADesktopEntryRunsWithExactArgumentsInTheWorkingFolder) {
    CTempFolder oTemp;
    CScopedEnvironment oEnvironment;
    oEnvironment.Set("HOME", oTemp / "home");
    oEnvironment.Set("XDG_CONFIG_HOME", oTemp / "config");
    oEnvironment.Set("XDG_CONFIG_DIRS", oTemp / "etc-xdg");
    oEnvironment.Set("XDG_DATA_HOME", oTemp / "data");
    oEnvironment.Set("XDG_DATA_DIRS", oTemp / "sys");
    oEnvironment.Set("LANG", "C");
    oEnvironment.Unset("XDG_CURRENT_DESKTOP");
    CArgumentRecorder oRecorder(oTemp, "record args");
    const std::string sEntry =
        oTemp.WriteFile("data/applications/recorder.desktop",
                        "[Desktop Entry]\nType=Application\nName=Recorder $1 `x`\nIcon=rec\n"
                        "Exec=\"" +
                            oRecorder.Program() + "\" %i --name %c --entry=%k %U %d 50%%\n");
    oTemp.WriteFile("config/mimeapps.list",
                    "[Default Applications]\napplication/x-dayfold-test=recorder.desktop\n");
    const std::string sDocument = oTemp.WriteFile("My Docs/Été $HOME; a.txt", "text");
    CFreedesktopFileTypes oTypes;
    const std::string sCommand =
        oTypes.DefaultValue("application/x-dayfold-test\\shell\\open\\command").value_or("");

    ASSERT_EQ(CShellExecute::Open(sCommand, sDocument, oTemp / "My Docs"), CShellExecute::Started)
        << sCommand;
    EXPECT_EQ(
        oRecorder.Wait(),
        (VS{oTemp / "My Docs", "--icon", "rec", "--name", "Recorder $1 `x`", "--entry=" + sEntry,
            "file://" + oTemp.Path().string() + "/My%20Docs/%C3%89t%C3%A9%20%24HOME%3B%20a.txt",
            "50%"}));
}

TEST(ShellExecute, AWebAddressGoesToTheHandlerOfItsSchemeAsItStands) {
    CTempFolder oTemp;
    CArgumentRecorder oRecorder(oTemp, "browser");
    const std::string sAddress = "https://example.org/a b?q=1&r=%41;reboot";
    ASSERT_EQ(
        CShellExecute::OpenLink("\"" + oRecorder.Program() + "\" --new %u", sAddress, oTemp.Path()),
        CShellExecute::Started);
    EXPECT_EQ(oRecorder.Wait(), (VS{oTemp.Path(), "--new", sAddress}))
        << "neither made a file URI nor split, and no shell sees it";

    EXPECT_EQ(CShellExecute::OpenLink("", sAddress, ""), CShellExecute::NoAssociation);
    EXPECT_EQ(CShellExecute::OpenLink(oTemp / "bin/none %u", sAddress, ""),
              CShellExecute::NoAssociation);
    EXPECT_EQ(CShellExecute::OpenLink(oRecorder.Program(), sAddress, oTemp / "Gone"),
              CShellExecute::PathNotFound);
}

} // namespace
