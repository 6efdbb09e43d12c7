// The launcher against the real shell: real edit boxes on a real window,
// and batch files that leave marker files behind.
#include "power/command_launcher.h"

#include "message_boxes.h"
#include "test_directory.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// About two seconds: ping waits one second between its three echoes. One
// file per command, without arguments: under Wine a command text with
// arguments after a batch file's name never comes back from the shell.
std::string SlowCommand(const std::string &name) {
    return "@echo started> " + name +
           "-started.txt\r\n"
           "@ping -n 3 127.0.0.1 > nul\r\n"
           "@echo finished> " +
           name + "-finished.txt\r\n";
}

class RealLauncher : public InFreshDirectory {
  protected:
    void SetUp() override {
        InFreshDirectory::SetUp();
        WriteFile("suspend.bat", SlowCommand("suspend"));
        WriteFile("resume.bat", SlowCommand("resume"));
        window = CreateWindowExA(0, "STATIC", "Somnivo", WS_OVERLAPPED, 0, 0, 300, 150, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        for (int id : {101, 102})
            ASSERT_NE(CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleA(nullptr), nullptr),
                      nullptr);
    }

    void TearDown() override {
        DestroyWindow(window);
        InFreshDirectory::TearDown();
    }

    void SetBox(int id, const char *text) { SetDlgItemTextA(window, id, text); }

    static bool WaitFor(const char *file) {
        for (auto deadline = Clock::now() + std::chrono::seconds(15); Clock::now() < deadline;
             std::this_thread::sleep_for(std::chrono::milliseconds(50)))
            if (std::filesystem::exists(file))
                return true;
        return false;
    }

    static double SecondsSince(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    HWND window = nullptr;
};

TEST_F(RealLauncher, TheSuspendCommandIsHeldToItsEnd) {
    SetBox(101, "suspend.bat");
    auto start = Clock::now();
    RunSuspendCommand(window);
    double held = SecondsSince(start);
    EXPECT_TRUE(std::filesystem::exists("suspend-finished.txt"))
        << "returned before the command ended, after " << held << " s";
    EXPECT_GE(held, 1.5);
}

TEST_F(RealLauncher, TheResumeCommandIsNotWaitedFor) {
    SetBox(102, "resume.bat");
    auto start = Clock::now();
    RunResumeCommand(window);
    double held = SecondsSince(start);
    EXPECT_FALSE(std::filesystem::exists("resume-finished.txt"));
    EXPECT_LT(held, 1.5);
    EXPECT_TRUE(WaitFor("resume-finished.txt")) << "the resume command never ran to its end";
}

TEST_F(RealLauncher, ARefusedCommandReturnsOnceTheShellsMessageIsDismissed) {
    SetBox(101, "no such command.bat");
    WatchMessageBoxes watch;
    auto start = Clock::now();
    RunSuspendCommand(window);
    EXPECT_LT(SecondsSince(start), 10.0);
    // The shell's own message, not one of the program's.
    for (const SeenMessageBox &box : watch.Seen())
        EXPECT_NE(box.caption, "Serious Braindamage");
}

TEST_F(RealLauncher, AnEmptyBoxReturnsAtOnce) {
    auto start = Clock::now();
    RunSuspendCommand(window);
    RunResumeCommand(window);
    EXPECT_LT(SecondsSince(start), 0.5);
}

} // namespace
