// The notification-area icon that stands in for the hidden settings window,
// as the shell keeps it.
#include "somnivo_driver.h"

namespace e2e {
namespace {

const UINT ICON_ID = 1;
const UINT ICON_CALLBACK = 0x8000;

class Tray : public SomnivoTest {
  protected:
    // The window hides a moment after the icon comes; longer than this and a
    // user would see it sitting there.
    static bool HidesInTime(const SomnivoProcess &somnivo) {
        return WaitUntil([&] { return !IsWindowVisible(somnivo.Window()); }, 2000);
    }
    static bool HasIcon(const SomnivoProcess &somnivo) {
        return TrayIconExists(somnivo.Window(), ICON_ID);
    }
};

struct StartCase {
    const char *what;
    const char *file;
    int showState;
};

// The program's own setting, and a shortcut whose "Run" says minimized.
const StartCase START_CASES[] = {
    {"setting", "Minimize=YES\r\n", -1},
    {"shortcut", "Minimize=NO\r\n", SW_SHOWMINNOACTIVE},
};

void PrintTo(const StartCase &start, std::ostream *out) {
    *out << start.what;
}

class StartingMinimized : public Tray, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartingMinimized, HidesTheWindowBehindAnIcon) {
    scratch_.WriteFile("suspend.ini", GetParam().file);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_, "", GetParam().showState));

    EXPECT_TRUE(HidesInTime(somnivo));
    EXPECT_TRUE(HasIcon(somnivo));
    EXPECT_TRUE(somnivo.Running());
}

INSTANTIATE_TEST_SUITE_P(Ways, StartingMinimized, ::testing::ValuesIn(START_CASES),
                         [](const ::testing::TestParamInfo<StartCase> &info) {
                             return std::string(info.param.what);
                         });

struct MinimizeCase {
    const char *what;
    void (*minimize)(HWND window);
};

// From the window's minimize box, and from any program that minimizes it.
const MinimizeCase MINIMIZE_CASES[] = {
    {"minimize_box", [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
    {"show_window", [](HWND window) { ShowWindow(window, SW_MINIMIZE); }},
};

void PrintTo(const MinimizeCase &minimizeCase, std::ostream *out) {
    *out << minimizeCase.what;
}

class Minimizing : public Tray, public ::testing::WithParamInterface<MinimizeCase> {};

TEST_P(Minimizing, HidesTheWindowBehindAnIcon) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    ASSERT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_FALSE(HasIcon(somnivo));

    GetParam().minimize(somnivo.Window());

    EXPECT_TRUE(HidesInTime(somnivo));
    EXPECT_TRUE(HasIcon(somnivo));
}

INSTANTIATE_TEST_SUITE_P(Ways, Minimizing, ::testing::ValuesIn(MINIMIZE_CASES),
                         [](const ::testing::TestParamInfo<MinimizeCase> &info) {
                             return std::string(info.param.what);
                         });

struct HiddenCase {
    const char *what;
    const char *file;
    bool minimizeAfterStart;
};

const HiddenCase HIDDEN_CASES[] = {
    {"started_minimized", "Minimize=YES\r\n", false},
    {"minimized_later", "Minimize=NO\r\n", true},
};

void PrintTo(const HiddenCase &hidden, std::ostream *out) {
    *out << hidden.what;
}

class InTheTray : public Tray, public ::testing::WithParamInterface<HiddenCase> {
  protected:
    void StartHidden(SomnivoProcess &somnivo) {
        scratch_.WriteFile("suspend.ini", GetParam().file);
        ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
        if (GetParam().minimizeAfterStart)
            PostMessageA(somnivo.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(HidesInTime(somnivo));
        ASSERT_TRUE(HasIcon(somnivo));
    }
};

TEST_P(InTheTray, DoubleClickOnTheIconBringsTheWindowBack) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(StartHidden(somnivo));

    somnivo.Send(ICON_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK);

    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_FALSE(IsIconic(somnivo.Window()));
    EXPECT_FALSE(HasIcon(somnivo));
    // Past the hide delay, the window stays where it was.
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_FALSE(IsIconic(somnivo.Window()));
    EXPECT_EQ(ScreenPlacement(somnivo.Window()), FromScreenMiddle(150, 60, 300, 150));
}

TEST_P(InTheTray, OtherMouseMessagesOfTheIconDoNothing) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(StartHidden(somnivo));

    const UINT others[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,
                           WM_RBUTTONDOWN, WM_RBUTTONUP,   WM_RBUTTONDBLCLK,
                           WM_MBUTTONDOWN, WM_MBUTTONUP,   WM_MBUTTONDBLCLK};
    for (UINT mouse : others)
        somnivo.Send(ICON_CALLBACK, ICON_ID, mouse);
    Sleep(100);

    EXPECT_FALSE(IsWindowVisible(somnivo.Window()));
    EXPECT_TRUE(HasIcon(somnivo));
}

// A restarted Explorer has lost every icon and says so to every window.
TEST_P(InTheTray, RestartedTaskbarGetsTheIconBack) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(StartHidden(somnivo));
    ASSERT_TRUE(DeleteTrayIcon(somnivo.Window(), ICON_ID));

    somnivo.Send(RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_TRUE(HasIcon(somnivo));
    EXPECT_FALSE(IsWindowVisible(somnivo.Window()));
}

INSTANTIATE_TEST_SUITE_P(Hidden, InTheTray, ::testing::ValuesIn(HIDDEN_CASES),
                         [](const ::testing::TestParamInfo<HiddenCase> &info) {
                             return std::string(info.param.what);
                         });

TEST_F(Tray, RestartedTaskbarGetsNoIconForAShownWindow) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    somnivo.Send(RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_FALSE(HasIcon(somnivo));
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
}

} // namespace
} // namespace e2e
