// The About windows that the settings window's system menu opens.
#include "somnivo_driver.h"

namespace e2e {
namespace {

const WPARAM ABOUT_COMMAND = 0;
const int OK_BUTTON = 110;
const UINT TRAY_ICON_ID = 1;

class AboutWindow : public SomnivoTest {
  protected:
    static std::vector<HWND> AboutWindows(const SomnivoProcess &somnivo) {
        return TopLevelWindows(somnivo.Id(), "AboutWindow", "About Somnivo");
    }
};

struct LabelCase {
    int id;
    const char *className;
    const char *text;
};

const LabelCase LABELS[] = {
    {106, "Static", "Somnivo v1.5"},
    {107, "Static", "by the Somnivo developers"},
    {108, "Static", "Copyright (C) 2026 The Somnivo developers"},
    {109, "Static", "https://somnivo.example.org/"},
    {OK_BUTTON, "Button", "OK"},
};

struct OpeningCase {
    const char *what;
    UINT message;
};

// The system menu's entry, and the same command from anywhere else.
const OpeningCase OPENING_CASES[] = {
    {"system_menu", WM_SYSCOMMAND},
    {"command", WM_COMMAND},
};

void PrintTo(const OpeningCase &opening, std::ostream *out) {
    *out << opening.what;
}

class AboutOpening : public AboutWindow, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(AboutOpening, ShowsOneCentredWindowOwnedByTheSettings) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    ASSERT_TRUE(AboutWindows(somnivo).empty());

    somnivo.Send(GetParam().message, ABOUT_COMMAND, 0);

    std::vector<HWND> abouts = AboutWindows(somnivo);
    ASSERT_EQ(abouts.size(), 1u);
    HWND about = abouts.front();
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_EQ(GetWindow(about, GW_OWNER), somnivo.Window());
    EXPECT_EQ(ScreenPlacement(about), FromScreenMiddle(142, 90, 285, 179));
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(ScreenPlacement(about), (Placement{370, 294, 285, 179}));
    }
    for (const LabelCase &label : LABELS) {
        SCOPED_TRACE("control " + std::to_string(label.id));
        HWND child = GetDlgItem(about, label.id);
        ASSERT_TRUE(child);
        EXPECT_TRUE(HasClass(child, label.className)) << ClassName(child);
        EXPECT_EQ(TextOf(child), label.text);
        EXPECT_TRUE(IsWindowVisible(child));
    }
    // The settings window stays as it was.
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutOpening, ::testing::ValuesIn(OPENING_CASES),
                         [](const ::testing::TestParamInfo<OpeningCase> &info) {
                             return std::string(info.param.what);
                         });

TEST_F(AboutWindow, OkClosesOnlyItsOwnWindow) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.Send(WM_SYSCOMMAND, ABOUT_COMMAND, 0);
    somnivo.Send(WM_SYSCOMMAND, ABOUT_COMMAND, 0);
    std::vector<HWND> abouts = AboutWindows(somnivo);
    ASSERT_EQ(abouts.size(), 2u);

    SendMessageA(GetDlgItem(abouts[0], OK_BUTTON), BM_CLICK, 0, 0);

    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(abouts[0]); }));
    EXPECT_TRUE(IsWindowVisible(abouts[1]));
    EXPECT_EQ(AboutWindows(somnivo), std::vector<HWND>{abouts[1]});
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_TRUE(somnivo.Running());
}

// The About windows go before the settings window's last steps, the saving
// and the removal of the icon; a file that cannot be written holds the
// program at the saving long enough to look.
TEST_F(AboutWindow, ClosingTheSettingsWindowClosesItsAboutWindows) {
    scratch_.MakeDirectory("suspend.ini");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.Send(WM_SYSCOMMAND, ABOUT_COMMAND, 0);
    somnivo.Send(WM_SYSCOMMAND, ABOUT_COMMAND, 0);
    std::vector<HWND> abouts = AboutWindows(somnivo);
    ASSERT_EQ(abouts.size(), 2u);
    PostMessageA(somnivo.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(somnivo.Window(), TRAY_ICON_ID); }));

    PostMessageA(somnivo.Window(), WM_CLOSE, 0, 0);

    std::vector<MessageBoxView> boxes;
    ASSERT_TRUE(WaitUntil([&] {
        boxes = MessageBoxesOf(somnivo.Id());
        return !boxes.empty();
    }));
    EXPECT_FALSE(IsWindow(abouts[0]));
    EXPECT_FALSE(IsWindow(abouts[1]));
    Dismiss(boxes.front());
    EXPECT_EQ(somnivo.WaitForExit(), 0u);
    EXPECT_FALSE(TrayIconExists(somnivo.Window(), TRAY_ICON_ID));
}

} // namespace
} // namespace e2e
