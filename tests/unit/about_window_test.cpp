// The About window: its controls, its painting and its closing.
#include "program_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const ControlRow ABOUT_CONTROLS[] = {
    {106, "STATIC", 0, 0x50000000, 64, 10, 200, 15, "Somnivo v1.5", "Failed to create appname"},
    {107, "STATIC", 0, 0x50000000, 87, 50, 150, 15, "by the Somnivo developers",
     "Failed to create author label"},
    {108, "STATIC", 0, 0x50000000, 10, 65, 300, 15, "Copyright (C) 2026 The Somnivo developers",
     "Failed to create copyright label"},
    {109, "STATIC", 0, 0x50000000, 40, 80, 300, 15, "https://somnivo.example.org/",
     "Failed to create website label"},
    {110, "BUTTON", 0, 0x50000001, 102, 110, 75, 22, "OK", nullptr},
};

class AboutWindow : public ProgramTest {
  protected:
    static HWND OpenAbout(HWND settingsWindow) {
        MainWndProc(settingsWindow, WM_SYSCOMMAND, 0, 0);
        return fake::WindowsOfClass("AboutWindow").back();
    }
};

TEST_F(AboutWindow, HoldsFourLabelsAndAnOkButton) {
    RunProgram([](HWND window) {
        HWND about = OpenAbout(window);
        EXPECT_EQ(fake::Get(about).parent, window) << "owned by the settings window";
        for (const ControlRow &row : ABOUT_CONTROLS)
            ExpectCreatedAs(GetDlgItem(about, row.id), row);
        // 106 in the About window is its name label, not the check box.
        EXPECT_EQ(fake::ControlText(window, 106), "Make this program minimized at startup");
    });
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(AboutWindow, ALabelThatFailsIsReportedTheButtonIsNot) {
    for (const ControlRow &row : ABOUT_CONTROLS) {
        ResetProgram();
        RunProgram([&](HWND window) {
            fake::FailCreateControl(row.id);
            HWND about = OpenAbout(window);
            EXPECT_EQ(GetDlgItem(about, row.id), nullptr);
            if (!row.failureMessage) {
                EXPECT_TRUE(fake::MessageBoxes().empty());
                return;
            }
            ASSERT_EQ(fake::MessageBoxes().size(), 1u);
            EXPECT_EQ(fake::MessageBoxes()[0].owner, about);
            EXPECT_EQ(fake::MessageBoxes()[0].text, row.failureMessage);
            EXPECT_EQ(fake::MessageBoxes()[0].caption, "Serious Braindamage");
            EXPECT_EQ(fake::MessageBoxes()[0].style, 0x10u);
        });
    }
}

TEST_F(AboutWindow, PaintsTheIconAtTenTen) {
    RunProgram([](HWND window) {
        HWND about = OpenAbout(window);
        fake::ClearCalls();
        EXPECT_EQ(AboutWndProc(about, WM_PAINT, 0, 0), 0);
        EXPECT_TRUE(SameCalls(
            fake::CallsTo({"LoadIconA", "BeginPaint", "DrawIcon", "EndPaint", "DefWindowProcA"}),
            {
                "LoadIconA(module, 104)",
                "BeginPaint(AboutWindow)",
                "DrawIcon(dc(AboutWindow), 10, 10, icon(104))",
                "EndPaint(AboutWindow, dc(AboutWindow))",
            }));
    });
}

TEST_F(AboutWindow, OkClosesOnlyItsOwnWindowWhateverTheNotification) {
    const WPARAM okCommands[] = {110, 0x10000 | 110, 0xFFFF0000u | 110};
    for (WPARAM command : okCommands) {
        ResetProgram();
        RunProgram([&](HWND window) {
            HWND first = OpenAbout(window);
            HWND second = OpenAbout(window);
            EXPECT_EQ(AboutWndProc(second, WM_COMMAND, command, 0), 0);
            EXPECT_TRUE(fake::Get(second).destroyed) << command;
            EXPECT_FALSE(fake::Get(first).destroyed);
            EXPECT_FALSE(fake::Get(window).destroyed);
        });
    }
}

TEST_F(AboutWindow, OtherCommandsDoNothingAndCloseDestroys) {
    RunProgram([](HWND window) {
        HWND about = OpenAbout(window);
        fake::ClearCalls();
        EXPECT_EQ(AboutWndProc(about, WM_COMMAND, 109, 0), 0);
        EXPECT_EQ(AboutWndProc(about, WM_COMMAND, 0, 0), 0);
        EXPECT_TRUE(fake::CallsTo({"DefWindowProcA", "DestroyWindow"}).empty());
        EXPECT_EQ(AboutWndProc(about, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(fake::Get(about).destroyed);
        EXPECT_FALSE(fake::Get(window).destroyed);
    });
    EXPECT_EQ(fake::CallsTo({"PostQuitMessage"}).size(), 1u) << "only the settings window quits";
}

TEST_F(AboutWindow, OtherMessagesGoToDefWindowProc) {
    fake::SetDefWindowProcResult(55);
    RunProgram([](HWND window) {
        HWND about = OpenAbout(window);
        fake::ClearCalls();
        EXPECT_EQ(AboutWndProc(about, 0x7FFF, 1, 2), 55);
        EXPECT_EQ(AboutWndProc(about, WM_DESTROY, 0, 0), 55);
        EXPECT_EQ(fake::CallsTo({"DefWindowProcA"}),
                  (Calls{"DefWindowProcA(AboutWindow, 0x7fff, 0x1, 0x2)",
                         "DefWindowProcA(AboutWindow, WM_DESTROY, 0x0, 0x0)"}));
    });
}

} // namespace
