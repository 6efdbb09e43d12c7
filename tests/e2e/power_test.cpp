// Power broadcasts through the program's real message loop, with real batch
// files as the commands, as the system sends them and as powersim does.
#include "somnivo_driver.h"

#include <atomic>
#include <stdio.h>
#include <thread>

namespace e2e {
namespace {

class PowerEvents : public SomnivoTest {
  protected:
    LRESULT Broadcast(const SomnivoProcess &somnivo, WPARAM code) {
        return somnivo.Send(WM_POWERBROADCAST, code, 0);
    }
};

struct SequenceCase {
    const char *what;
    std::vector<WPARAM> codes;
    std::vector<LRESULT> answers;
    int suspendRuns;
};

// 0 asks to suspend, 4 announces it, 7 is a resume by the user, 18 the
// automatic resume of every wake; 2 and 10 mean nothing to the program.
const SequenceCase SEQUENCES[] = {
    {"query_then_suspend", {0, 4}, {1, 0}, 1},
    {"suspend_then_query", {4, 0}, {0, 1}, 1},
    {"resume_starts_a_new_suspension", {0, 7, 0}, {1, 0, 1}, 2},
    {"automatic_resume_starts_a_new_suspension", {0, 18, 4}, {1, 0, 0}, 2},
    {"other_codes_keep_the_suspension", {0, 10, 2, 4}, {1, 0, 0, 0}, 1},
    {"no_suspension_no_command", {7, 18, 2, 10}, {0, 0, 0, 0}, 0},
};

void PrintTo(const SequenceCase &sequence, std::ostream *out) {
    *out << sequence.what;
}

class PowerSequence : public PowerEvents, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(PowerSequence, AnswersAndRunsTheSuspendCommandOncePerSuspension) {
    const SequenceCase &sequence = GetParam();
    std::string sleep = scratch_.WriteMarkingBatch("sleep.bat", "sleep.marks");
    scratch_.WriteFile("suspend.ini", "Suspend=" + sleep + "\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    std::vector<LRESULT> answers;
    for (WPARAM code : sequence.codes)
        answers.push_back(Broadcast(somnivo, code));

    EXPECT_EQ(answers, sequence.answers);
    EXPECT_EQ(scratch_.MarkCount("sleep.marks"), sequence.suspendRuns);
}

INSTANTIATE_TEST_SUITE_P(Sequences, PowerSequence, ::testing::ValuesIn(SEQUENCES),
                         [](const ::testing::TestParamInfo<SequenceCase> &info) {
                             return std::string(info.param.what);
                         });

TEST_F(PowerEvents, SuspendAnswerComesOnlyAfterTheCommandEnded) {
    const int commandSeconds = 2;
    std::string sleep = scratch_.WriteMarkingBatch("sleep.bat", "sleep.marks", commandSeconds);
    scratch_.WriteFile("suspend.ini", "Suspend=" + sleep + "\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    const double sent = NowMs();
    EXPECT_EQ(Broadcast(somnivo, 0), 1);
    const double held = NowMs() - sent;

    // The batch file marks as its last step.
    EXPECT_EQ(scratch_.MarkCount("sleep.marks"), 1);
    // ping's waits are about a second each, never much less.
    EXPECT_GE(held, commandSeconds * 1000 * 0.75);
}

TEST_F(PowerEvents, ResumeCommandIsStartedWithoutWaiting) {
    // Long enough that a start on a busy machine stays well under it.
    const int commandSeconds = 3;
    std::string wake = scratch_.WriteMarkingBatch("wake.bat", "wake.marks", commandSeconds);
    scratch_.WriteFile("suspend.ini", "Resume=" + wake + "\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    const double sent = NowMs();
    EXPECT_EQ(Broadcast(somnivo, 7), 0);
    const double held = NowMs() - sent;

    EXPECT_FALSE(scratch_.Exists("wake.marks"));
    EXPECT_LT(held, commandSeconds * 1000 / 2);
    EXPECT_TRUE(WaitUntil([&] { return scratch_.MarkCount("wake.marks") == 1; }));
}

// What is in the boxes at the event runs, saved or not.
TEST_F(PowerEvents, TextSetIntoTheBoxesIsWhatRuns) {
    const std::string file =
        "Suspend=" + scratch_.WriteMarkingBatch("saved.bat", "saved.marks") +
        "\r\nResume=" + scratch_.WriteMarkingBatch("savedwake.bat", "savedwake.marks") +
        "\r\nMinimize=NO\r\n";
    scratch_.WriteFile("suspend.ini", file);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.SetControlText(101, scratch_.WriteMarkingBatch("typed sleep.bat", "typed.marks"));
    somnivo.SetControlText(102, scratch_.WriteMarkingBatch("typed wake.bat", "typedwake.marks"));

    EXPECT_EQ(Broadcast(somnivo, 0), 1);
    EXPECT_EQ(Broadcast(somnivo, 7), 0);

    EXPECT_EQ(scratch_.MarkCount("typed.marks"), 1);
    EXPECT_TRUE(WaitUntil([&] { return scratch_.Exists("typedwake.marks"); }));
    EXPECT_FALSE(scratch_.Exists("saved.marks"));
    EXPECT_FALSE(scratch_.Exists("savedwake.marks"));
    // Running a command saves nothing.
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), file);
}

// The shell reports a command it cannot find in a box of its own, inside
// the program, and the system's answer waits for the user to close it.
TEST_F(PowerEvents, MissingCommandIsReportedAndTheAnswerWaitsForTheReport) {
    scratch_.WriteFile("suspend.ini", "Suspend=" + scratch_.PathOf("no such command.bat") + "\r\n");
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));

    std::atomic<bool> answered(false);
    std::atomic<double> answeredAt(0);
    LRESULT answer = -1;
    std::thread powerManager([&] {
        answer = Broadcast(somnivo, 0);
        answeredAt = NowMs();
        answered = true;
    });

    std::vector<MessageBoxView> boxes;
    const bool reported = WaitUntil([&] {
        boxes = MessageBoxesOf(somnivo.Id());
        return !boxes.empty();
    });
    double dismissed = 0;
    if (reported) {
        EXPECT_EQ(boxes.size(), 1u);
        // Windows names the missing file in the caption.
        if (UnderWine()) {
            EXPECT_EQ(boxes.front().caption, "Error");
        }
        EXPECT_EQ(boxes.front().owner, nullptr);
        // Held a moment longer, the answer still has not come.
        Sleep(300);
        EXPECT_FALSE(answered);
        dismissed = NowMs();
        Dismiss(boxes.front());
    }
    powerManager.join();

    EXPECT_TRUE(reported) << "no message box";
    EXPECT_GE(answeredAt, dismissed);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(somnivo.Running());
}

// powersim reaches every Somnivo on the desktop, so this case has the
// desktop to itself.
class TwoInstances : public SomnivoTest {
  protected:
    TwoInstances() : SomnivoTest(DesktopShare::Whole) {}
};

std::string PowersimLine(HWND window, DWORD processId, const char *event, int answer) {
    char line[160];
    snprintf(line, sizeof line, "window 0x%08lx (process %lu): %s -> answer %d",
             HandleToULong(window), static_cast<unsigned long>(processId), event, answer);
    return line;
}

TEST_F(TwoInstances, PowersimReachesBothAndBothCommandsRun) {
    ScratchDirectory secondScratch("-second");
    const ScratchDirectory *scratches[] = {&scratch_, &secondScratch};
    for (const ScratchDirectory *scratch : scratches)
        scratch->WriteFile(
            "suspend.ini",
            "Suspend=" + scratch->WriteMarkingBatch("sleep.bat", "sleep.marks") +
                "\r\nResume=" + scratch->WriteMarkingBatch("wake.bat", "wake.marks") + "\r\n");
    SomnivoProcess first;
    SomnivoProcess second;
    ASSERT_NO_FATAL_FAILURE(first.Start(scratch_));
    ASSERT_NO_FATAL_FAILURE(second.Start(secondScratch));
    EXPECT_NE(first.Window(), second.Window());

    ProgramRun run = RunAndRead(PowersimExe(), "cycle");

    EXPECT_EQ(run.exitCode, 0u) << run.output;
    for (const SomnivoProcess *somnivo : {&first, &second}) {
        for (auto [event, answer] : {std::pair<const char *, int>{"PBT_APMQUERYSUSPEND (0)", 1},
                                     {"PBT_APMSUSPEND (4)", 0},
                                     {"PBT_APMRESUMEAUTOMATIC (18)", 0},
                                     {"PBT_APMRESUMESUSPEND (7)", 0}})
            EXPECT_NE(
                run.output.find(PowersimLine(somnivo->Window(), somnivo->Id(), event, answer)),
                std::string::npos)
                << "no line for " << event << " of process " << somnivo->Id() << " in\n"
                << run.output;
    }
    for (const ScratchDirectory *scratch : scratches) {
        EXPECT_EQ(scratch->MarkCount("sleep.marks"), 1) << scratch->Path();
        EXPECT_TRUE(WaitUntil([&] { return scratch->Exists("wake.marks"); })) << scratch->Path();
    }
}

} // namespace
} // namespace e2e
