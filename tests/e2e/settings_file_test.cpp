// suspend.ini as the running program writes it: at close, at the end of a
// session, and when it cannot.
#include "somnivo_driver.h"

namespace e2e {
namespace {

class SavedSettings : public SomnivoTest {
  protected:
    void Click(const SomnivoProcess &somnivo, int id) {
        SendMessageA(somnivo.Control(id), BM_CLICK, 0, 0);
    }
};

struct ClosingCase {
    const char *what;
    std::optional<std::string> file;
    std::string saved;
};

const ClosingCase CLOSING_CASES[] = {
    {"no_file", std::nullopt, "Suspend=\r\nResume=\r\nMinimize=NO\r\n"},
    {"every_line_kind",
     "Resume=wake me.bat\nSuspend=old.bat\r\n; a note\r\nSuspend=C:\\\xE9t\xE9 x\\s.bat /q\r\n"
     "Minimize=yes\r\n",
     "Suspend=C:\\\xE9t\xE9 x\\s.bat /q\r\nResume=wake me.bat\r\nMinimize=YES\r\n"},
};

void PrintTo(const ClosingCase &closing, std::ostream *out) {
    *out << closing.what;
}

class Closing : public SavedSettings, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(Closing, WritesExactlyThreeLinesAndEndsWithZero) {
    if (GetParam().file)
        scratch_.WriteFile("suspend.ini", *GetParam().file);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), GetParam().saved);
    // The temporary file has replaced the old one.
    EXPECT_EQ(scratch_.Entries(), std::vector<std::string>{"suspend.ini"});
}

INSTANTIATE_TEST_SUITE_P(Files, Closing, ::testing::ValuesIn(CLOSING_CASES),
                         [](const ::testing::TestParamInfo<ClosingCase> &info) {
                             return std::string(info.param.what);
                         });

struct ClickCase {
    const char *what;
    const char *startMinimized;
    int clicks;
    LRESULT check;
    const char *savedLine;
};

const ClickCase CLICK_CASES[] = {
    {"one_click_checks", "NO", 1, BST_CHECKED, "Minimize=YES\r\n"},
    {"two_clicks_uncheck", "NO", 2, BST_UNCHECKED, "Minimize=NO\r\n"},
    {"one_click_on_a_checked_box_unchecks", "YES", 1, BST_UNCHECKED, "Minimize=NO\r\n"},
};

void PrintTo(const ClickCase &click, std::ostream *out) {
    *out << click.what;
}

class CheckBoxClicks : public SavedSettings, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(CheckBoxClicks, AreSavedAtClose) {
    const ClickCase &click = GetParam();
    scratch_.WriteFile("suspend.ini", std::string("Suspend=s\r\nResume=r\r\nMinimize=") +
                                          click.startMinimized + "\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    for (int i = 0; i < click.clicks; ++i)
        Click(somnivo, 106);

    EXPECT_EQ(SendMessageA(somnivo.Control(106), BM_GETCHECK, 0, 0), click.check);
    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"),
              std::string("Suspend=s\r\nResume=r\r\n") + click.savedLine);
}

INSTANTIATE_TEST_SUITE_P(Clicks, CheckBoxClicks, ::testing::ValuesIn(CLICK_CASES),
                         [](const ::testing::TestParamInfo<ClickCase> &info) {
                             return std::string(info.param.what);
                         });

TEST_F(SavedSettings, BoxesAreSavedAsTheyAreAtClose) {
    scratch_.WriteFile("suspend.ini", "Suspend=sleep.bat\r\nResume=wake.bat\r\nMinimize=NO\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.SetControlText(101, "");
    somnivo.SetControlText(102, "\"C:\\new \xE9 dir\\wake.exe\" --now");

    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"),
              "Suspend=\r\nResume=\"C:\\new \xE9 dir\\wake.exe\" --now\r\nMinimize=NO\r\n");
}

TEST_F(SavedSettings, UnwritableFileIsReportedAndTheProgramStillEnds) {
    scratch_.MakeDirectory("suspend.ini");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    PostMessageA(somnivo.Window(), WM_CLOSE, 0, 0);

    std::vector<MessageBoxView> boxes;
    ASSERT_TRUE(WaitUntil([&] {
        boxes = MessageBoxesOf(somnivo.Id());
        return !boxes.empty();
    }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.front().text, "Error opening suspend.ini for writting.");
    EXPECT_EQ(boxes.front().caption, "Error");
    EXPECT_EQ(boxes.front().owner, nullptr);
    EXPECT_TRUE(boxes.front().icon);
    if (!UnderWine()) {
        EXPECT_EQ(boxes.front().icon, LoadIcon(nullptr, IDI_HAND));
    }
    // The settings window is on its way out, and the program waits for the user.
    EXPECT_FALSE(IsWindowVisible(somnivo.Window()));
    EXPECT_TRUE(somnivo.Running());

    Dismiss(boxes.front());
    EXPECT_EQ(somnivo.WaitForExit(), 0u);
    EXPECT_EQ(scratch_.Entries(), std::vector<std::string>{"suspend.ini"});
    const DWORD attributes = GetFileAttributesA(scratch_.PathOf("suspend.ini").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct EndSessionCase {
    const char *what;
    WPARAM sessionEnds;
    bool saves;
};

const EndSessionCase END_SESSION_CASES[] = {
    {"session_ends", TRUE, true},
    {"session_goes_on", FALSE, false},
};

void PrintTo(const EndSessionCase &endSession, std::ostream *out) {
    *out << endSession.what;
}

class EndSession : public SavedSettings, public ::testing::WithParamInterface<EndSessionCase> {};

// Windows may end the process after this message without any close.
TEST_P(EndSession, SavesTheCurrentSettingsOnlyWhenTheSessionEnds) {
    const std::string file = "Suspend=sleep.bat\r\nResume=wake.bat\r\nMinimize=NO\r\n";
    scratch_.WriteFile("suspend.ini", file);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.SetControlText(101, "typed sleep.bat");
    Click(somnivo, 106);

    EXPECT_EQ(somnivo.Send(WM_ENDSESSION, GetParam().sessionEnds, 0), 0);

    EXPECT_EQ(scratch_.ReadFile("suspend.ini"),
              GetParam().saves ? "Suspend=typed sleep.bat\r\nResume=wake.bat\r\nMinimize=YES\r\n"
                               : file);
    EXPECT_EQ(scratch_.Entries(), std::vector<std::string>{"suspend.ini"});
    EXPECT_TRUE(somnivo.Running());
    EXPECT_TRUE(IsWindowVisible(somnivo.Window()));
    EXPECT_EQ(somnivo.ControlText(101), "typed sleep.bat");
}

INSTANTIATE_TEST_SUITE_P(Sessions, EndSession, ::testing::ValuesIn(END_SESSION_CASES),
                         [](const ::testing::TestParamInfo<EndSessionCase> &info) {
                             return std::string(info.param.what);
                         });

} // namespace
} // namespace e2e
