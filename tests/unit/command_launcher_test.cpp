// The launcher reads the command from the box at the moment of the event,
// hands the shell exactly one request, and leaves no handle or memory behind.
#include "power/command_launcher.h"

#include "call_sequence.h"
#include "fake_win32.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
const Calls LAUNCH_CALLS = {"GlobalAlloc",    "ShellExecuteExA", "WaitForSingleObject",
                            "CloseHandle",    "GlobalFree",      "GetWindowTextLengthA",
                            "GetDlgItemTextA"};

class Launcher : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        window = fake::AddWindow("myWindowClass");
        fake::AddControl(window, 101, "EDIT", "C:\\scripts\\suspend.bat");
        fake::AddControl(window, 102, "EDIT", "C:\\scripts\\resume.bat");
    }

    void TearDown() override {
        EXPECT_EQ(fake::LiveGlobalBlocks(), 0) << "command buffer not freed";
        EXPECT_TRUE(fake::OpenProcessHandles().empty()) << "process handle not released";
        EXPECT_EQ(fake::BadCloses(), 0) << "a handle released twice or never obtained";
    }

    HWND window = nullptr;
};

TEST_F(Launcher, SuspendCommandIsWaitedForThenReleased) {
    RunSuspendCommand(window);
    EXPECT_TRUE(
        SameCalls(fake::CallsTo(LAUNCH_CALLS),
                  {
                      "GetWindowTextLengthA(myWindowClass.101)",
                      "GlobalAlloc(0x40, 23)",
                      "GetDlgItemTextA(myWindowClass, 101, block#1, 23)",
                      "ShellExecuteExA(cbSize=" + std::to_string(sizeof(SHELLEXECUTEINFOA)) +
                          ", fMask=0x40, hwnd=NULL, verb=\"open\", "
                          "file=\"C:\\scripts\\suspend.bat\", parameters=NULL, "
                          "directory=NULL, nShow=1)",
                      "WaitForSingleObject(process#1, INFINITE)",
                      "CloseHandle(process#1)",
                      "GlobalFree(block#1)",
                  }));
    ASSERT_EQ(fake::ShellRequests().size(), 1u);
    EXPECT_TRUE(fake::ShellRequests()[0].otherFieldsZero);
}

TEST_F(Launcher, ResumeCommandIsNotWaitedFor) {
    RunResumeCommand(window);
    EXPECT_TRUE(SameCalls(
        fake::CallsTo({"ShellExecuteExA", "WaitForSingleObject", "CloseHandle", "GlobalFree"}),
        {
            "ShellExecuteExA(cbSize=" + std::to_string(sizeof(SHELLEXECUTEINFOA)) +
                ", fMask=0x40, hwnd=NULL, verb=\"open\", "
                "file=\"C:\\scripts\\resume.bat\", parameters=NULL, "
                "directory=NULL, nShow=1)",
            "CloseHandle(process#1)",
            "GlobalFree(block#1)",
        }));
}

struct ShellCase {
    fake::ShellAnswer answer;
    bool suspend;
    Calls expected;
};

TEST_F(Launcher, WaitsAndReleasesOnlyWhatTheShellHandedBack) {
    const ShellCase cases[] = {
        {fake::ShellAnswer::StartsNoProcess, true, {"ShellExecuteExA", "GlobalFree"}},
        {fake::ShellAnswer::Refuses, true, {"ShellExecuteExA", "GlobalFree"}},
        {fake::ShellAnswer::StartsNoProcess, false, {"ShellExecuteExA", "GlobalFree"}},
        {fake::ShellAnswer::Refuses, false, {"ShellExecuteExA", "GlobalFree"}},
    };
    for (const ShellCase &shell : cases) {
        fake::ClearCalls();
        fake::SetShellAnswer(shell.answer);
        shell.suspend ? RunSuspendCommand(window) : RunResumeCommand(window);
        Calls functions;
        for (const std::string &line :
             fake::CallsTo({"ShellExecuteExA", "WaitForSingleObject", "CloseHandle", "GlobalFree"}))
            functions.push_back(line.substr(0, line.find('(')));
        EXPECT_TRUE(SameCalls(functions, shell.expected))
            << "answer " << static_cast<int>(shell.answer) << ", suspend " << shell.suspend;
    }
}

TEST_F(Launcher, TheWholeTextGoesToTheShellUnchanged) {
    const char *texts[] = {"   ", " C:\\Program Files\\x.exe /quiet \"a b\" ", "%TEMP%\\x.bat",
                           "\xE9t\xE9.cmd"};
    for (const char *text : texts) {
        fake::SetControlText(window, 101, text);
        RunSuspendCommand(window);
        EXPECT_EQ(fake::ShellRequests().back().file, text);
        EXPECT_FALSE(fake::ShellRequests().back().hasParameters);
        EXPECT_FALSE(fake::ShellRequests().back().hasDirectory);
    }
}

TEST_F(Launcher, TheTextOfTheMomentRuns) {
    fake::SetControlText(window, 102, "typed just now.bat");
    RunResumeCommand(window);
    EXPECT_EQ(fake::ShellRequests().back().file, "typed just now.bat");
}

TEST_F(Launcher, AnEmptyOrMissingBoxStartsNothing) {
    fake::SetControlText(window, 101, "");
    RunSuspendCommand(window);
    HWND bare = fake::AddWindow("myWindowClass");
    RunSuspendCommand(bare);
    RunResumeCommand(bare);
    EXPECT_TRUE(fake::CallsTo({"GlobalAlloc", "ShellExecuteExA"}).empty());
}

TEST_F(Launcher, NoBufferNoLaunch) {
    fake::FailGlobalAlloc();
    RunSuspendCommand(window);
    EXPECT_TRUE(fake::ShellRequests().empty());
}

} // namespace
