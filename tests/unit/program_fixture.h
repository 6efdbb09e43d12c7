// Runs the whole program against the fake: WinMain, its window and its
// message loop, with the test acting on the settings window while the loop
// idles, and the program then closed as a user would.
#ifndef SOMNIVO_TESTS_PROGRAM_FIXTURE_H
#define SOMNIVO_TESTS_PROGRAM_FIXTURE_H

#include "call_sequence.h"
#include "fake_win32.h"
#include "power/power_broadcast.h"
#include "settings_test_support.h"
#include "test_directory.h"
#include "ui/resource.h"
#include "ui/tray_icon.h"
#include "ui/window_classes.h"

#include <functional>

// One child control as the program must create it.
struct ControlRow {
    int id;
    const char *className;
    DWORD extendedStyle;
    DWORD style;
    int x, y, width, height;
    const char *text;
    const char *failureMessage; // null: a failed creation is not reported
};

inline void ExpectCreatedAs(HWND control, const ControlRow &row) {
    ASSERT_NE(control, nullptr) << row.id;
    const fake::Window &created = fake::Get(control);
    EXPECT_EQ(created.className, row.className) << row.id;
    EXPECT_EQ(created.extendedStyle, row.extendedStyle) << row.id;
    EXPECT_EQ(created.style, row.style) << row.id;
    EXPECT_EQ(created.x, row.x) << row.id;
    EXPECT_EQ(created.y, row.y) << row.id;
    EXPECT_EQ(created.width, row.width) << row.id;
    EXPECT_EQ(created.height, row.height) << row.id;
    EXPECT_EQ(created.text, row.text) << row.id;
    EXPECT_EQ(fake::Name(created.font), "DEFAULT_GUI_FONT") << row.id;
    EXPECT_EQ(fake::Name(created.instance), "module") << row.id;
}

class ProgramTest : public InFreshDirectory {
  protected:
    void SetUp() override {
        InFreshDirectory::SetUp();
        ResetProgram();
    }

    // A new start of the program: no file, no windows, nothing injected.
    void ResetProgram() {
        fake::Reset();
        std::filesystem::remove("suspend.ini");
        SetSettings({"", "", false});
        suspendHandled = false;
    }

    // Runs WinMain; `whileRunning` gets the settings window once the loop
    // idles, after which the window is sent WM_CLOSE unless `close` is false.
    int RunProgram(std::function<void(HWND)> whileRunning = nullptr, bool close = true,
                   int showState = SW_SHOWNORMAL) {
        module = GetModuleHandleA(nullptr);
        fake::ClearCalls();
        bool acted = false;
        fake::WhenIdle([&] {
            std::vector<HWND> windows = fake::WindowsOfClass("myWindowClass");
            if (acted || windows.empty())
                return;
            acted = true;
            if (whileRunning)
                whileRunning(windows[0]);
            if (close && !fake::Get(windows[0]).destroyed)
                fake::Post(windows[0], WM_CLOSE);
        });
        return WinMain(module, nullptr, const_cast<LPSTR>("ignored arguments"), showState);
    }

    HINSTANCE module = nullptr;
};

#endif
