// WinMain: the order of start-up, the failures that end it, and the loop.
#include "program_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const std::string SETTINGS_CLASS_REGISTRATION =
    "RegisterClassExA(cbSize=" + std::to_string(sizeof(WNDCLASSEXA)) +
    ", style=0x0, extra=0/0, instance=module, icon=icon(104), cursor=cursor(32512), "
    "background=0x10, menu=NULL, class=\"myWindowClass\", smallIcon=NULL)";
const std::string ABOUT_CLASS_REGISTRATION =
    "RegisterClassExA(cbSize=" + std::to_string(sizeof(WNDCLASSEXA)) +
    ", style=0x0, extra=0/0, instance=module, icon=NULL, cursor=cursor(32512), "
    "background=0x10, menu=NULL, class=\"AboutWindow\", smallIcon=NULL)";
const std::string SETTINGS_WINDOW_CREATION =
    "CreateWindowExA(0x0, \"myWindowClass\", \"Somnivo\", 0x4a0000, 362, 324, 300, 150, NULL, "
    "NULL, module)";

class Startup : public ProgramTest {};

TEST_F(Startup, GoesInOrderAndEndsWithZero) {
    WriteFile("suspend.ini", "Suspend=s.bat\r\nResume=r.bat\r\n");
    int exitCode = RunProgram(nullptr, true, SW_SHOWMINNOACTIVE);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(
        SameCalls(fake::CallsTo({"GetSystemMetrics", "InitCommonControls", "LoadIconA",
                                 "LoadCursorA", "RegisterClassExA", "ShowWindow", "UpdateWindow",
                                 "GetMessageA", "DestroyWindow", "PostQuitMessage"}),
                  {
                      "GetSystemMetrics(SM_CXSCREEN)",
                      "GetSystemMetrics(SM_CYSCREEN)",
                      "InitCommonControls()",
                      "LoadIconA(module, 104)",
                      "LoadCursorA(NULL, 32512)",
                      "LoadCursorA(NULL, 32512)",
                      SETTINGS_CLASS_REGISTRATION,
                      ABOUT_CLASS_REGISTRATION,
                      "ShowWindow(myWindowClass, 7)",
                      "UpdateWindow(myWindowClass)",
                      "GetMessageA() -> WM_CLOSE",
                      "DestroyWindow(myWindowClass)",
                      "PostQuitMessage(0)",
                      "GetMessageA() -> 0x12",
                  }));
    ASSERT_EQ(fake::CallsTo({"CreateWindowExA"}).at(0), SETTINGS_WINDOW_CREATION);
    // Settings were loaded before the window existed: its boxes show them.
    EXPECT_TRUE(fake::CallsTo({"SetDlgItemTextA"}).at(0).find("\"s.bat\"") != std::string::npos);
}

TEST_F(Startup, PlacesTheWindowByTheScreenAsMeasuredAtStart) {
    fake::SetScreenSize(1920, 1080);
    RunProgram();
    EXPECT_EQ(fake::CallsTo({"CreateWindowExA"}).at(0),
              "CreateWindowExA(0x0, \"myWindowClass\", \"Somnivo\", 0x4a0000, 810, 480, 300, 150, "
              "NULL, NULL, module)");
}

struct StartupFailure {
    const char *failingClass;
    bool windowCreationFails;
    std::string message;
    Calls registrations;
};

TEST_F(Startup, FailuresShowTheirBoxAndEndWithZero) {
    const StartupFailure failures[] = {
        {"myWindowClass", false, "Window Registration Failed!", {SETTINGS_CLASS_REGISTRATION}},
        {"AboutWindow",
         false,
         "Window Registration Failed!",
         {SETTINGS_CLASS_REGISTRATION, ABOUT_CLASS_REGISTRATION}},
        {nullptr,
         true,
         "Window Creation Failed!",
         {SETTINGS_CLASS_REGISTRATION, ABOUT_CLASS_REGISTRATION}},
    };
    for (const StartupFailure &failure : failures) {
        ResetProgram();
        if (failure.failingClass)
            fake::FailRegisterClass(failure.failingClass);
        if (failure.windowCreationFails)
            fake::FailCreateWindow("myWindowClass");
        EXPECT_EQ(RunProgram(), 0) << failure.message;
        EXPECT_EQ(fake::CallsTo({"RegisterClassExA"}), failure.registrations) << failure.message;
        ASSERT_EQ(fake::MessageBoxes().size(), 1u) << failure.message;
        EXPECT_EQ(fake::MessageBoxes()[0].owner, nullptr);
        EXPECT_EQ(fake::MessageBoxes()[0].text, failure.message);
        EXPECT_EQ(fake::MessageBoxes()[0].caption, "Error!");
        EXPECT_EQ(fake::MessageBoxes()[0].style, 0x30u);
        EXPECT_TRUE(fake::CallsTo({"ShowWindow", "GetMessageA"}).empty()) << failure.message;
        EXPECT_TRUE(fake::WindowsOfClass("myWindowClass").empty());
    }
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{}) << "nothing may be saved";
}

TEST_F(Startup, AFailingLoopEndsWithZero) {
    fake::WhenIdle(nullptr);
    EXPECT_EQ(WinMain(module, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 0);
    EXPECT_EQ(fake::CallsTo({"GetMessageA"}), Calls{"GetMessageA() -> -1"});
}

} // namespace
