// What users and the system throw at the program beyond the everyday: huge
// and odd settings files, very long commands, floods of power messages, a
// file changed or locked behind its back.
#include "somnivo_driver.h"

namespace e2e {
namespace {

class Robustness : public SomnivoTest {};

std::string Settings(const std::string &suspend, const std::string &resume) {
    return "Suspend=" + suspend + "\r\nResume=" + resume + "\r\nMinimize=NO\r\n";
}

TEST_F(Robustness, AFileOfSeveralMegabytesLoadsAndIsSavedAsItsThreeLines) {
    std::string junk;
    for (int line = 0; junk.size() < 6 * 1024 * 1024; ++line)
        junk += "; line " + std::to_string(line) + " of somebody's notes, kept for no reason\r\n";
    scratch_.WriteFile("suspend.ini", junk + Settings("last.bat", "wake.bat") + junk);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    EXPECT_EQ(somnivo.ControlText(101), "last.bat");
    EXPECT_EQ(somnivo.ControlText(102), "wake.bat");
    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), Settings("last.bat", "wake.bat"));
}

TEST_F(Robustness, VeryLongCommandsSurviveTheBoxesAndTheSave) {
    // Past the 30,000 characters a user may type into an edit box (its
    // default limit, which text set by the program does not obey), and far
    // past any command line Windows would start.
    const std::string longSuspend = "C:\\" + std::string(40000, 's') + ".bat";
    const std::string longResume = "C:\\" + std::string(200000, 'r') + ".bat";
    scratch_.WriteFile("suspend.ini", Settings(longSuspend, longResume));
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    EXPECT_EQ(somnivo.ControlText(101).size(), longSuspend.size());
    EXPECT_EQ(somnivo.ControlText(102).size(), longResume.size());
    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), Settings(longSuspend, longResume));
}

TEST_F(Robustness, TenThousandPowerMessagesAreAllAnsweredRightly) {
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    // One sleep and wake as the system sends it, over and over.
    const WPARAM cycle[] = {0, 4, 18, 7};
    const LRESULT answers[] = {1, 0, 0, 0};
    int wrong = 0;
    for (int message = 0; message < 10000; ++message)
        if (somnivo.Send(WM_POWERBROADCAST, cycle[message % 4], 0) != answers[message % 4])
            ++wrong;
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(somnivo.Running());
    EXPECT_EQ(somnivo.Close(), 0u);
}

TEST_F(Robustness, AFileChangedWhileRunningIsReplacedAtClose) {
    scratch_.WriteFile("suspend.ini", Settings("mine.bat", ""));
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    scratch_.WriteFile("suspend.ini", Settings("edited by hand.bat", "x.bat"));
    EXPECT_EQ(somnivo.Close(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), Settings("mine.bat", ""));
}

TEST_F(Robustness, AFileLockedByAnotherProgramIsKeptAndTheFailureReported) {
    const std::string former = Settings("former.bat", "");
    scratch_.WriteFile("suspend.ini", former);
    SomnivoProcess somnivo;
    ASSERT_NO_FATAL_FAILURE(somnivo.Start(scratch_));
    somnivo.SetControlText(101, "new.bat");
    // Held open with no sharing at all, as some backup and sync tools do.
    HANDLE lock = CreateFileA(scratch_.PathOf("suspend.ini").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    PostMessageA(somnivo.Window(), WM_CLOSE, 0, 0);
    std::vector<MessageBoxView> boxes;
    EXPECT_TRUE(WaitUntil([&] { return !(boxes = MessageBoxesOf(somnivo.Id())).empty(); }));
    CloseHandle(lock);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Error opening suspend.ini for writting.");
    EXPECT_EQ(boxes[0].caption, "Error");
    Dismiss(boxes[0]);

    EXPECT_EQ(somnivo.WaitForExit(), 0u);
    EXPECT_EQ(scratch_.ReadFile("suspend.ini"), former);
    EXPECT_EQ(scratch_.Entries(), std::vector<std::string>{"suspend.ini"});
}

} // namespace
} // namespace e2e
