// Hiding to the notification area and coming back from it.
#include "program_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const std::string ICON_SIZE = std::to_string(NOTIFYICONDATAA_V1_SIZE);
const std::string ADD_ICON = "Shell_NotifyIconA(NIM_ADD, cbSize=" + ICON_SIZE +
                             ", hWnd=myWindowClass, uID=1, uFlags=7, callback=0x8000, "
                             "hIcon=icon#1, tip=\"Somnivo\")";
const std::string REMOVE_ICON = "Shell_NotifyIconA(NIM_DELETE, cbSize=" + ICON_SIZE +
                                ", hWnd=myWindowClass, uID=1, uFlags=0, callback=0x0, "
                                "hIcon=NULL, tip=\"\")";
const Calls TRAY_CALLS = {"LoadImageA", "Shell_NotifyIconA", "DestroyIcon", "SetTimer",
                          "KillTimer",  "ShowWindow",        "SetFocus"};

class Tray : public ProgramTest {
  protected:
    static std::vector<fake::TrayIcon> Icons() { return fake::TrayIcons(); }
};

TEST_F(Tray, AStartMinimizedChecksTheBoxAddsTheIconAndSetsTheTimer) {
    SetSettings({"", "", true});
    RunProgram([](HWND window) {
        EXPECT_EQ(fake::CheckState(window, 106), static_cast<WPARAM>(BST_CHECKED));
        ASSERT_EQ(fake::TrayIcons().size(), 1u);
        const fake::TrayIcon icon = fake::TrayIcons()[0];
        EXPECT_EQ(icon.window, window);
        EXPECT_EQ(icon.id, 1u);
        EXPECT_EQ(icon.flags, 7u);
        EXPECT_EQ(icon.callbackMessage, 0x8000u);
        EXPECT_EQ(icon.image, "icon 104 16x16");
        EXPECT_EQ(icon.tip, "Somnivo");
        EXPECT_EQ(fake::Timers(window), (std::map<UINT_PTR, UINT>{{1234, 50}}));
        // The shell holds its own copy of the image; ours is gone.
        EXPECT_EQ(fake::LiveLoadedIcons(), 0);
        EXPECT_TRUE(fake::Get(window).visible) << "shown until the timer";

        fake::ClearCalls();
        MainWndProc(window, WM_TIMER, 1234, 0);
        EXPECT_FALSE(fake::Get(window).visible);
        EXPECT_TRUE(fake::Timers(window).empty());
    });
    EXPECT_TRUE(
        SameCalls(fake::CallsTo(TRAY_CALLS),
                  {"KillTimer(myWindowClass, 1234)", "ShowWindow(myWindowClass, 0)", REMOVE_ICON}));
}

TEST_F(Tray, TheIconRequestIsFilledFieldByField) {
    SetSettings({"", "", true});
    RunProgram();
    Calls calls = fake::CallsTo(TRAY_CALLS);
    EXPECT_TRUE(SameCalls(Calls(calls.begin(), calls.begin() + 4),
                          {
                              "LoadImageA(module, 104, 1, 16, 16, 0x0)",
                              ADD_ICON,
                              "DestroyIcon(icon#1)",
                              "SetTimer(myWindowClass, 1234, 50, NULL)",
                          }));
    EXPECT_EQ(calls.back(), REMOVE_ICON);
}

TEST_F(Tray, MinimizingStartsHidingAndAnyTimerFinishesIt) {
    RunProgram([](HWND window) {
        EXPECT_TRUE(fake::TrayIcons().empty());
        fake::ClearCalls();
        fake::Minimize(window);
        EXPECT_EQ(fake::TrayIcons().size(), 1u);
        EXPECT_EQ(fake::Timers(window), (std::map<UINT_PTR, UINT>{{1234, 50}}));
        EXPECT_TRUE(fake::CallsTo({"DefWindowProcA"}).empty());
        MainWndProc(window, WM_TIMER, 7, 0);
        EXPECT_FALSE(fake::Get(window).visible);
        EXPECT_TRUE(fake::Get(window).iconic) << "hidden in its minimized state";
        EXPECT_TRUE(fake::Timers(window).empty());
    });
}

TEST_F(Tray, SizeLimitsOfAShownWindowChangeNothing) {
    RunProgram([](HWND window) {
        fake::ClearCalls();
        MINMAXINFO limits = {};
        EXPECT_EQ(MainWndProc(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
        EXPECT_TRUE(fake::TrayIcons().empty());
        EXPECT_TRUE(fake::Timers(window).empty());
        EXPECT_TRUE(fake::CallsTo({"DefWindowProcA", "Shell_NotifyIconA", "SetTimer"}).empty());
    });
}

TEST_F(Tray, MinimizingTwiceKeepsOneIconAndRestartsTheTimer) {
    RunProgram([](HWND window) {
        fake::Minimize(window);
        MainWndProc(window, WM_GETMINMAXINFO, 0, 0);
        EXPECT_EQ(fake::TrayIcons().size(), 1u);
        EXPECT_EQ(fake::CallsTo({"SetTimer"}).size(), 2u);
        EXPECT_EQ(fake::LiveLoadedIcons(), 0);
    });
}

struct MouseCase {
    LPARAM mouseMessage;
    bool bringsBack;
};

TEST_F(Tray, OnlyADoubleClickBringsTheWindowBack) {
    const MouseCase cases[] = {{WM_MOUSEMOVE, false},    {WM_LBUTTONDOWN, false},
                               {WM_LBUTTONUP, false},    {WM_RBUTTONUP, false},
                               {WM_LBUTTONDBLCLK, true}, {0x10000 | WM_LBUTTONDBLCLK, false}};
    for (const MouseCase &mouse : cases) {
        ResetProgram();
        RunProgram([&](HWND window) {
            fake::Minimize(window);
            MainWndProc(window, WM_TIMER, 1234, 0);
            fake::ClearCalls();
            EXPECT_EQ(MainWndProc(window, WM_TRAYICON, 1, mouse.mouseMessage), 0);
            if (!mouse.bringsBack) {
                EXPECT_TRUE(fake::CallsTo(TRAY_CALLS).empty()) << mouse.mouseMessage;
                EXPECT_FALSE(fake::Get(window).visible);
                return;
            }
            EXPECT_TRUE(SameCalls(fake::CallsTo(TRAY_CALLS),
                                  {REMOVE_ICON, "ShowWindow(myWindowClass, 5)",
                                   "ShowWindow(myWindowClass, 9)", "SetFocus(myWindowClass)"}));
            EXPECT_TRUE(fake::Get(window).visible);
            EXPECT_FALSE(fake::Get(window).iconic);
            EXPECT_TRUE(fake::TrayIcons().empty());
        });
    }
}

TEST_F(Tray, ClosingWhileHiddenLeavesNoIconBehind) {
    SetSettings({"", "", true});
    RunProgram([](HWND window) {
        MainWndProc(window, WM_TIMER, 1234, 0);
        EXPECT_EQ(fake::TrayIcons().size(), 1u);
    });
    EXPECT_TRUE(fake::TrayIcons().empty());
}

TEST_F(Tray, ARestartedTaskbarGivesAShownWindowNoIcon) {
    RunProgram([](HWND window) {
        UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        fake::ClearCalls();
        EXPECT_EQ(MainWndProc(window, taskbarCreated, 0, 0), 0);
        EXPECT_TRUE(fake::TrayIcons().empty()) << "a shown window has no icon";
        EXPECT_TRUE(fake::CallsTo({"DefWindowProcA"}).empty());
    });
}

TEST_F(Tray, ARestartedTaskbarIsToldAboutTheHiddenWindow) {
    SetSettings({"", "", true});
    RunProgram([](HWND window) {
        MainWndProc(window, WM_TIMER, 1234, 0);
        RemoveTrayIcon(window, 1); // what a restart of the shell does to it
        UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        EXPECT_EQ(MainWndProc(window, taskbarCreated, 0, 0), 0);
        ASSERT_EQ(fake::TrayIcons().size(), 1u);
        EXPECT_EQ(fake::TrayIcons()[0].window, window);
        EXPECT_EQ(fake::TrayIcons()[0].tip, "Somnivo");
        EXPECT_FALSE(fake::Get(window).visible);
    });
}

TEST_F(Tray, WithoutATimerTheWindowStaysShownAndTheIconStillBringsItBack) {
    fake::FailSetTimer();
    SetSettings({"", "", true});
    RunProgram([](HWND window) {
        EXPECT_TRUE(fake::Get(window).visible);
        EXPECT_EQ(fake::TrayIcons().size(), 1u);
        MainWndProc(window, WM_TRAYICON, 1, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(fake::TrayIcons().empty());
        EXPECT_TRUE(fake::Get(window).visible);
    });
}

TEST_F(Tray, WithoutANotificationAreaTheWindowStillHides) {
    fake::ShellRefusesIcons();
    SetSettings({"", "", true});
    RunProgram([](HWND window) {
        MainWndProc(window, WM_TIMER, 1234, 0);
        EXPECT_FALSE(fake::Get(window).visible);
        EXPECT_EQ(fake::LiveLoadedIcons(), 0);
    });
}

} // namespace
