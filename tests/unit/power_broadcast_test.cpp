// The answers to power-broadcast events and when the commands run, as a
// table of event sequences from start-up.
#include "power/power_broadcast.h"

#include "fake_win32.h"

#include <gtest/gtest.h>

namespace {

struct Sequence {
    const char *what;
    std::vector<WPARAM> codes;
    std::string commandsRun; // S: the suspend command, R: the resume command
    std::vector<LRESULT> answers;
    bool handledAfter;
};

const Sequence SEQUENCES[] = {
    {"request then announcement", {0, 4}, "S", {1, 0}, true},
    {"announcement alone", {4}, "S", {0}, true},
    {"two requests", {0, 0}, "S", {1, 1}, true},
    {"full cycle", {0, 4, 18, 7}, "SR", {1, 0, 0, 0}, false},
    {"resume without suspension", {7}, "R", {0}, false},
    {"two resumes", {7, 7}, "RR", {0, 0}, false},
    {"suspension called off", {0, 2, 0}, "S", {1, 0, 1}, true},
    {"next sleep after a resume", {4, 7, 4}, "SRS", {0, 0, 0}, true},
    {"unattended wake clears the flag", {4, 18, 4}, "SS", {0, 0, 0}, true},
    {"unattended wake runs nothing", {18}, "", {0}, false},
    {"other codes do nothing",
     {1, 3, 5, 6, 8, 10, 0x8013, 0xFFFFFFFF},
     "",
     {0, 0, 0, 0, 0, 0, 0, 0},
     false},
    {"other codes keep the flag", {0, 10, 6, 4}, "S", {1, 0, 0, 0}, true},
};

void PrintTo(const Sequence &sequence, std::ostream *out) {
    *out << sequence.what;
}

class PowerEvents : public ::testing::TestWithParam<Sequence> {
  protected:
    void SetUp() override {
        fake::Reset();
        suspendHandled = false;
        window = fake::AddWindow("myWindowClass");
        fake::AddControl(window, 101, "EDIT", "S");
        fake::AddControl(window, 102, "EDIT", "R");
    }
    HWND window = nullptr;
};

TEST_P(PowerEvents, RunCommandsAndAnswer) {
    const Sequence &sequence = GetParam();
    std::vector<LRESULT> answers;
    for (WPARAM code : sequence.codes)
        answers.push_back(HandlePowerBroadcast(window, code));
    std::string commandsRun;
    for (const fake::ShellRequest &request : fake::ShellRequests())
        commandsRun += request.file;
    EXPECT_EQ(commandsRun, sequence.commandsRun) << sequence.what;
    EXPECT_EQ(answers, sequence.answers) << sequence.what;
    EXPECT_EQ(suspendHandled, sequence.handledAfter) << sequence.what;
}

INSTANTIATE_TEST_SUITE_P(Sequences, PowerEvents, ::testing::ValuesIn(SEQUENCES),
                         [](const ::testing::TestParamInfo<Sequence> &info) {
                             return "sequence" + std::to_string(info.index);
                         });

TEST(PowerEventsWithoutCommands, AnEmptySuspendBoxStillCountsAsHandled) {
    fake::Reset();
    suspendHandled = false;
    HWND window = fake::AddWindow("myWindowClass");
    fake::AddControl(window, 101, "EDIT", "");
    EXPECT_EQ(HandlePowerBroadcast(window, 0), 1);
    EXPECT_TRUE(suspendHandled);
    fake::SetShellAnswer(fake::ShellAnswer::Refuses);
    fake::SetControlText(window, 101, "refused.bat");
    EXPECT_EQ(HandlePowerBroadcast(window, 4), 0);
    EXPECT_TRUE(fake::ShellRequests().empty());
}

TEST(PowerEventsWithoutCommands, ARefusedCommandStillCountsAsHandled) {
    fake::Reset();
    suspendHandled = false;
    HWND window = fake::AddWindow("myWindowClass");
    fake::AddControl(window, 101, "EDIT", "missing.bat");
    fake::SetShellAnswer(fake::ShellAnswer::Refuses);
    EXPECT_EQ(HandlePowerBroadcast(window, 0), 1);
    EXPECT_EQ(HandlePowerBroadcast(window, 4), 0);
    EXPECT_EQ(fake::ShellRequests().size(), 1u);
    EXPECT_TRUE(suspendHandled);
}

} // namespace
