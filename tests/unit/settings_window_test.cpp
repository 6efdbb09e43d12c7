// The settings window: its controls, system menu, commands, and what its
// closing stores and saves.
#include "program_fixture.h"

namespace {

using Calls = std::vector<std::string>;

class SettingsWindow : public ProgramTest {};

const ControlRow CONTROLS[] = {
    {101, "EDIT", 0x200, 0x50000080, 10, 25, 270, 20, "C:\\s.bat /x", "Couldn't create textbox"},
    {102, "EDIT", 0x200, 0x50000080, 10, 65, 270, 20, " r.bat ", "Couldn't create textbox2"},
    {104, "STATIC", 0, 0x50000000, 10, 10, 220, 15,
     "Path to what you want executed on Suspend:", "Couldn't create static"},
    {105, "STATIC", 0, 0x50000000, 10, 47, 220, 15,
     "Path to what you want executed on Resume:", "Couldn't create second static"},
    {106, "BUTTON", 0, 0x50000003, 10, 95, 200, 20, "Make this program minimized at startup",
     "Couldn't create checkbox"},
};

TEST_F(SettingsWindow, HoldsFiveControlsFilledFromTheSettings) {
    SetSettings({"C:\\s.bat /x", " r.bat ", false});
    RunProgram([](HWND window) {
        for (const ControlRow &row : CONTROLS)
            ExpectCreatedAs(GetDlgItem(window, row.id), row);
        EXPECT_EQ(fake::CheckState(window, 106), static_cast<WPARAM>(BST_UNCHECKED));
    });
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(SettingsWindow, AControlThatFailsIsReportedAndTheWindowOpensWithoutIt) {
    for (const ControlRow &row : CONTROLS) {
        ResetProgram();
        fake::FailCreateControl(row.id);
        SetSettings({"s", "r", true});
        RunProgram([&](HWND window) {
            EXPECT_EQ(GetDlgItem(window, row.id), nullptr);
            for (const ControlRow &other : CONTROLS) {
                if (other.id != row.id) {
                    EXPECT_NE(GetDlgItem(window, other.id), nullptr) << other.id;
                }
            }
            ASSERT_EQ(fake::MessageBoxes().size(), 1u);
            EXPECT_EQ(fake::MessageBoxes()[0].owner, window);
            EXPECT_EQ(fake::MessageBoxes()[0].text, row.failureMessage);
            EXPECT_EQ(fake::MessageBoxes()[0].caption, "Serious Braindamage");
            EXPECT_EQ(fake::MessageBoxes()[0].style, 0x10u);
        });
        // A missing box leaves its loaded command as it was.
        EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=s\r\nResume=r\r\nMinimize=YES\r\n") << row.id;
    }
}

TEST_F(SettingsWindow, SystemMenuKeepsMoveMinimizeCloseAndGainsAbout) {
    RunProgram([](HWND window) {
        EXPECT_EQ(fake::SystemMenu(window),
                  (Calls{"Move", "Minimize", "-", "Close", "- =0", "&About =0"}));
    });
    EXPECT_TRUE(SameCalls(fake::CallsTo({"DeleteMenu", "AppendMenuA"}),
                          {
                              "DeleteMenu(menu(myWindowClass), 0, 0x400)",
                              "DeleteMenu(menu(myWindowClass), 1, 0x400)",
                              "DeleteMenu(menu(myWindowClass), 2, 0x400)",
                              "DeleteMenu(menu(myWindowClass), 4, 0x400)",
                              "AppendMenuA(menu(myWindowClass), 0x800, 0, \"seperator\")",
                              "AppendMenuA(menu(myWindowClass), 0x0, 0, \"&About\")",
                          }));
}

struct DispatchCase {
    const char *what;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    bool reachesDefWindowProc;
    int aboutWindows;
    bool startMinimizedAfter;
};

// Every message through MainWndProc, from a shown window with the box unchecked.
const DispatchCase DISPATCH[] = {
    {"check box click", WM_COMMAND, 106, 0, 0, true, 0, true},
    {"other check box notification", WM_COMMAND, 0x10000 | 106, 0, 0, true, 0, false},
    {"edit box notification", WM_COMMAND, 0x03000000 | 101, 0, 0, true, 0, false},
    {"command 0 opens About", WM_COMMAND, 0, 0, 0, false, 1, false},
    {"About entry", WM_SYSCOMMAND, 0, 0, 0, false, 1, false},
    {"other system command", WM_SYSCOMMAND, 0xF010, 0, 0, true, 0, false},
    {"size limits while shown", WM_GETMINMAXINFO, 0, 0, 0, false, 0, false},
    {"request to suspend", WM_POWERBROADCAST, 0, 0, 1, false, 0, false},
    {"suspension announced", WM_POWERBROADCAST, 4, 0, 0, false, 0, false},
    {"resumed", WM_POWERBROADCAST, 7, 0, 0, false, 0, false},
    {"unknown power code", WM_POWERBROADCAST, 0x8013, 42, 0, false, 0, false},
    {"tray mouse move", WM_TRAYICON, 1, WM_MOUSEMOVE, 0, false, 0, false},
    {"any timer", WM_TIMER, 99, 0, 0, false, 0, false},
    {"session not ending", WM_ENDSESSION, FALSE, 0, 0, false, 0, false},
    {"paint", WM_PAINT, 0, 0, 77, true, 0, false},
    {"query end session", WM_QUERYENDSESSION, 0, 0, 77, true, 0, false},
    {"unknown message", 0x7FFF, 5, 6, 77, true, 0, false},
};

TEST_F(SettingsWindow, DispatchesEveryMessageToItsBranchWithItsResult) {
    for (const DispatchCase &dispatch : DISPATCH) {
        ResetProgram();
        fake::SetDefWindowProcResult(77);
        RunProgram([&](HWND window) {
            fake::ClearCalls();
            EXPECT_EQ(MainWndProc(window, dispatch.message, dispatch.wParam, dispatch.lParam),
                      dispatch.result)
                << dispatch.what;
            Calls defaults = fake::CallsTo({"DefWindowProcA"});
            EXPECT_EQ(!defaults.empty(), dispatch.reachesDefWindowProc) << dispatch.what;
            if (!defaults.empty()) {
                EXPECT_EQ(defaults[0].rfind("DefWindowProcA(myWindowClass, ", 0), 0u)
                    << dispatch.what;
            }
            EXPECT_EQ(fake::WindowsOfClass("AboutWindow").size(),
                      static_cast<size_t>(dispatch.aboutWindows))
                << dispatch.what;
            EXPECT_EQ(Settings.startMinimized, dispatch.startMinimizedAfter) << dispatch.what;
        });
    }
}

TEST_F(SettingsWindow, CommandsReachDefWindowProcWithTheirOwnMessageNumber) {
    RunProgram([](HWND window) {
        fake::ClearCalls();
        MainWndProc(window, WM_COMMAND, 106, 0x1234);
        MainWndProc(window, WM_SYSCOMMAND, 0xF010, 0x5678);
        EXPECT_EQ(fake::CallsTo({"DefWindowProcA"}),
                  (Calls{"DefWindowProcA(myWindowClass, WM_COMMAND, 0x6a, 0x1234)",
                         "DefWindowProcA(myWindowClass, WM_SYSCOMMAND, 0xf010, 0x5678)"}));
    });
}

TEST_F(SettingsWindow, AboutOpensCentredOnTheScreenOfTheMoment) {
    RunProgram([](HWND window) {
        fake::SetScreenSize(800, 600);
        fake::ClearCalls();
        MainWndProc(window, WM_SYSCOMMAND, 0, 0);
        MainWndProc(window, WM_SYSCOMMAND, 0, 0);
        Calls aboutCalls;
        for (const std::string &line :
             fake::CallsTo({"CreateWindowExA", "ShowWindow", "UpdateWindow"}))
            if (line.find("\"STATIC\"") == std::string::npos &&
                line.find("\"BUTTON\"") == std::string::npos)
                aboutCalls.push_back(line);
        EXPECT_TRUE(SameCalls(
            aboutCalls,
            {
                "CreateWindowExA(0x10001, \"AboutWindow\", \"About Somnivo\", 0x480000, 258, "
                "210, 285, 179, myWindowClass, NULL, module)",
                "ShowWindow(AboutWindow, 5)",
                "UpdateWindow(AboutWindow)",
                "CreateWindowExA(0x10001, \"AboutWindow\", \"About Somnivo\", 0x480000, 258, "
                "210, 285, 179, myWindowClass, NULL, module)",
                "ShowWindow(AboutWindow#2, 5)",
                "UpdateWindow(AboutWindow#2)",
            }));
    });
}

TEST_F(SettingsWindow, TwoClicksLeaveStartMinimizedAsItWas) {
    RunProgram([](HWND window) {
        MainWndProc(window, WM_COMMAND, 106, 0);
        MainWndProc(window, WM_COMMAND, 106, 0);
    });
    EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=\r\nResume=\r\nMinimize=NO\r\n");
    fake::Reset(); // a new process, with the file of the last
    RunProgram([](HWND window) { MainWndProc(window, WM_COMMAND, 106, 0); });
    EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=\r\nResume=\r\nMinimize=YES\r\n");
}

struct StoreCase {
    const char *what;
    const char *suspendBox; // null: the box could not be created
    const char *resumeBox;
    SettingsValues stored;
};

TEST_F(SettingsWindow, ClosingStoresTheBoxesAndSaves) {
    const StoreCase cases[] = {
        {"unchanged", "old s", "old r", {"old s", "old r", false}},
        {"changed, blanks kept",
         "  new s  ",
         "\"C:\\a b\\r.exe\" /x",
         {"  new s  ", "\"C:\\a b\\r.exe\" /x", false}},
        {"erased boxes stay erased", "", "", {"", "", false}},
        {"a missing box keeps its path", nullptr, "", {"old s", "", false}},
    };
    for (const StoreCase &store : cases) {
        ResetProgram();
        SetSettings({"old s", "old r", false});
        if (!store.suspendBox)
            fake::FailCreateControl(101);
        RunProgram([&](HWND window) {
            if (store.suspendBox)
                fake::SetControlText(window, 101, store.suspendBox);
            fake::SetControlText(window, 102, store.resumeBox);
        });
        EXPECT_EQ(CurrentSettings(), store.stored) << store.what;
        EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=" + store.stored.suspendPath + "\r\nResume=" +
                                               store.stored.resumePath + "\r\nMinimize=NO\r\n")
            << store.what;
        EXPECT_EQ(fake::LiveGlobalBlocks(), 0);
    }
}

TEST_F(SettingsWindow, DestructionStoresSavesRemovesTheIconAndQuitsInThatOrder) {
    RunProgram();
    EXPECT_TRUE(SameCalls(fake::CallsTo({"DestroyWindow", "GetDlgItem", "MoveFileExA",
                                         "Shell_NotifyIconA", "PostQuitMessage"}),
                          {
                              "DestroyWindow(myWindowClass)",
                              "GetDlgItem(myWindowClass, 101)",
                              "GetDlgItem(myWindowClass, 102)",
                              "MoveFileExA(\"suspend.ini." + std::to_string(getpid()) +
                                  ".tmp\", \"suspend.ini\", 0x9)",
                              fake::CallsTo({"Shell_NotifyIconA"}).at(0),
                              "PostQuitMessage(0)",
                          }));
    EXPECT_NE(fake::CallsTo({"Shell_NotifyIconA"}).at(0).find("NIM_DELETE"), std::string::npos);
}

TEST_F(SettingsWindow, ClosingClosesTheAboutWindowsFirstAndSavesOnce) {
    RunProgram([](HWND window) {
        MainWndProc(window, WM_SYSCOMMAND, 0, 0);
        MainWndProc(window, WM_SYSCOMMAND, 0, 0);
        fake::ClearCalls();
    });
    EXPECT_TRUE(fake::WindowsOfClass("AboutWindow").empty());
    EXPECT_EQ(fake::CallsTo({"MoveFileExA"}).size(), 1u);
}

TEST_F(SettingsWindow, EndOfSessionSavesTheBoxesAndKeepsRunning) {
    SetSettings({"s", "r", true});
    RunProgram(
        [](HWND window) {
            fake::SetControlText(window, 101, "edited");
            EXPECT_EQ(MainWndProc(window, WM_ENDSESSION, FALSE, 0), 0);
            EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{});
            EXPECT_EQ(MainWndProc(window, WM_ENDSESSION, TRUE, 0), 0);
            EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=edited\r\nResume=r\r\nMinimize=YES\r\n");
            EXPECT_FALSE(fake::Get(window).destroyed);
            EXPECT_TRUE(fake::CallsTo({"PostQuitMessage", "DestroyWindow"}).empty());
        },
        false);
}

} // namespace
