#include "platform/shell/CShellExecute.h"
#include "support/CTempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using VS = std::vector<std::string>;

TEST(ShellExecute, CommandLinesBecomeArgumentLists) {
    EXPECT_EQ(CShellExecute::Arguments("/usr/bin/gedit %U", "/home/a b.txt"),
              (VS{"/usr/bin/gedit", "/home/a b.txt"}));
    EXPECT_EQ(CShellExecute::Arguments("\"/opt/My App/app\" --new %f --name=%c %i", "/x"),
              (VS{"/opt/My App/app", "--new", "/x", "--name="}));
    EXPECT_EQ(CShellExecute::Arguments("viewer --file=%u 100%%", "/x"),
              (VS{"viewer", "--file=/x", "100%"}));
    EXPECT_EQ(CShellExecute::Arguments("C:\\WINDOWS\\NOTEPAD.EXE %1", "/x"),
              (VS{"C:\\WINDOWS\\NOTEPAD.EXE", "/x"}));
    EXPECT_EQ(CShellExecute::Arguments("xdg-app", "/x; rm -rf ~"), (VS{"xdg-app", "/x; rm -rf ~"}))
        << "a file with no place in the command is appended, never seen by a shell";
    EXPECT_EQ(CShellExecute::Arguments("\"quoted \\\"inner\\\"\" %F %U", "/x"),
              (VS{"quoted \"inner\"", "/x"}));
    EXPECT_TRUE(CShellExecute::Arguments("", "/x").empty());
}

TEST(ShellExecute, ResultCodesOfTheShell) {
    CTempFolder oTemp;
    const std::string sDocument = oTemp.WriteFile("Docs/a.txt", "text");
    const std::string sProgram = oTemp.WriteFile("bin/viewer", "#!/bin/sh\nexit 0\n");
    chmod(sProgram.c_str(), 0755);

    EXPECT_GT(CShellExecute::Open(sProgram + " %f", sDocument, oTemp / "Docs"), 32);
    EXPECT_GT(CShellExecute::Open("", sProgram, ""), 32) << "a program starts itself";
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", oTemp / "Docs/missing.txt", ""),
              CShellExecute::FileNotFound);
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", oTemp / "Gone/missing.txt", ""),
              CShellExecute::PathNotFound);
    EXPECT_EQ(CShellExecute::Open(sProgram + " %f", sDocument, oTemp / "Gone"),
              CShellExecute::PathNotFound);
    EXPECT_EQ(CShellExecute::Open("", sDocument, ""), CShellExecute::NoAssociation);
    EXPECT_EQ(CShellExecute::Open(oTemp / "bin/none %f", sDocument, ""),
              CShellExecute::FileNotFound);
    const std::string sNotExecutable = oTemp.WriteFile("bin/plain", "data");
    EXPECT_EQ(CShellExecute::Open(sNotExecutable + " %f", sDocument, ""),
              CShellExecute::FileNotFound);
}

TEST(ShellExecute, ProgramsAreFoundThroughPath) {
    EXPECT_EQ(CShellExecute::FindProgram("sh").empty(), false);
    EXPECT_EQ(CShellExecute::FindProgram("/bin/sh"), "/bin/sh");
    EXPECT_EQ(CShellExecute::FindProgram("no-such-program-here"), "");
    EXPECT_EQ(CShellExecute::FindProgram(""), "");
}

} // namespace
