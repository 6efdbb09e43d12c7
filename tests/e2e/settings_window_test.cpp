// The settings window as the started program shows it: its place, its
// controls, and the boxes filled from suspend.ini.
#include "somnivo_driver.h"

namespace e2e {
namespace {

class SettingsWindow : public SomnivoTest {};

struct ControlCase {
    int id;
    const char *className;
    const char *text;
    Placement placement;
};

const ControlCase CONTROLS[] = {
    {101, "Edit", "", {10, 25, 270, 20}},
    {102, "Edit", "", {10, 65, 270, 20}},
    {104, "Static", "Path to what you want executed on Suspend:", {10, 10, 220, 15}},
    {105, "Static", "Path to what you want executed on Resume:", {10, 47, 220, 15}},
    {106, "Button", "Make this program minimized at startup", {10, 95, 200, 20}},
};

TEST_F(SettingsWindow, IsCentredWithItsControlsInPlace) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    HWND window = somnivo.Window();

    EXPECT_EQ(ClassName(window), "myWindowClass");
    EXPECT_EQ(TextOf(window), "Somnivo");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(ScreenPlacement(window), FromScreenMiddle(150, 60, 300, 150));
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(ScreenPlacement(window), (Placement{362, 324, 300, 150}));
    }

    // It can be minimized and closed, never sized or maximized.
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);

    for (const ControlCase &control : CONTROLS) {
        SCOPED_TRACE("control " + std::to_string(control.id));
        HWND child = somnivo.Control(control.id);
        ASSERT_TRUE(child);
        EXPECT_TRUE(HasClass(child, control.className)) << ClassName(child);
        EXPECT_EQ(TextOf(child), control.text);
        EXPECT_EQ(PlacementInParent(child), control.placement);
        EXPECT_TRUE(IsWindowVisible(child));
    }
    EXPECT_EQ(SendMessageA(somnivo.Control(106), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

struct FilledCase {
    const char *what;
    std::string file;
    std::string suspend;
    std::string resume;
    LRESULT check;
};

const FilledCase FILLED_CASES[] = {
    {"checked",
     "Suspend=C:\\old.bat\r\nSuspend=C:\\Program Files\\Sleep Kit\\nap \xE9t\xE9.bat\r\n"
     "Resume=net start \"Wake \xFF Service\"\r\nMinimize=YES\r\n",
     "C:\\Program Files\\Sleep Kit\\nap \xE9t\xE9.bat", "net start \"Wake \xFF Service\"",
     BST_CHECKED},
    {"unchecked", "Resume=  two  spaces  \r\nSuspend=s.bat\r\nMinimize=NO\r\n", "s.bat",
     "  two  spaces  ", BST_UNCHECKED},
};

void PrintTo(const FilledCase &fixture, std::ostream *out) {
    *out << fixture.what;
}

class FilledFromFile : public SomnivoTest, public ::testing::WithParamInterface<FilledCase> {};

TEST_P(FilledFromFile, BoxesAndCheckMarkShowTheFile) {
    const FilledCase &fixture = GetParam();
    scratch_.WriteFile("suspend.ini", fixture.file);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    EXPECT_EQ(somnivo.ControlText(101), fixture.suspend);
    EXPECT_EQ(somnivo.ControlText(102), fixture.resume);
    EXPECT_EQ(SendMessageA(somnivo.Control(106), BM_GETCHECK, 0, 0), fixture.check);
}

INSTANTIATE_TEST_SUITE_P(Files, FilledFromFile, ::testing::ValuesIn(FILLED_CASES),
                         [](const ::testing::TestParamInfo<FilledCase> &info) {
                             return std::string(info.param.what);
                         });

// The program takes no arguments: not a file to read, not a show state.
TEST_F(SettingsWindow, CommandLineArgumentsChangeNothing) {
    const std::string file = "Suspend=own.bat\r\nResume=own wake.bat\r\nMinimize=NO\r\n";
    scratch_.WriteFile("suspend.ini", file);
    scratch_.WriteFile("other.ini", "Suspend=other.bat\r\nResume=\r\nMinimize=YES\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(
        somnivo.Start(scratch_, "other.ini /min -minimized Minimize=YES \"Suspend=x.bat\""));

    EXPECT_EQ(somnivo.ControlText(101), "own.bat");
    EXPECT_EQ(somnivo.ControlText(102), "own wake.bat");
    EXPECT_EQ(SendMessageA(somnivo.Control(106), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(ScreenPlacement(somnivo.Window()), FromScreenMiddle(150, 60, 300, 150));
    // Still shown after its hide delay would have passed.
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_FALSE(IsIconic(somnivo.Window()));

    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), file);
    EXPECT_EQ(scratch_.ReadFile("other.ini"), "Suspend=other.bat\r\nResume=\r\nMinimize=YES\r\n");
}

} // namespace
} // namespace e2e
