// A save that fails anywhere keeps the former suspend.ini, leaves no
// temporary file behind and says so in the one error box. The failures are
// made real where the host allows it (a directory in the way, a file size
// limit) and injected into the fake where it does not.
#include "settings_test_support.h"
#include "fake_win32.h"
#include "message_boxes.h"
#include "test_directory.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const std::string FORMER = "Suspend=former.bat\r\nResume=\r\nMinimize=NO\r\n";
const SeenMessageBox SAVE_ERROR = {"Error opening suspend.ini for writting.", "Error", 0x10};

class SaveFailure : public InFreshDirectory {
  protected:
    void SetUp() override {
        InFreshDirectory::SetUp();
        fake::Reset();
        WriteFile("suspend.ini", FORMER);
        SetSettings({"new.bat", "r.bat", true});
    }

    static std::string TemporaryName() {
        return "suspend.ini." + std::to_string(getpid()) + ".tmp";
    }

    void ExpectFormerFileKept(const WatchMessageBoxes &watch,
                              const std::vector<std::string> &entries = {"suspend.ini"}) {
        EXPECT_EQ(watch.Seen(), std::vector<SeenMessageBox>{SAVE_ERROR});
        EXPECT_EQ(fake::MessageBoxes().back().owner, nullptr);
        EXPECT_EQ(ReadFile("suspend.ini"), FORMER);
        EXPECT_EQ(DirectoryEntries(), entries);
    }
};

TEST_F(SaveFailure, TemporaryFileCannotBeCreated) {
    std::filesystem::create_directory(TemporaryName());
    WatchMessageBoxes watch;
    SaveSettings();
    ExpectFormerFileKept(watch, {"suspend.ini", TemporaryName()});
    EXPECT_TRUE(fake::CallsTo({"MoveFileExA"}).empty());
}

// As on a full disk: the write itself fails after the file was created.
TEST_F(SaveFailure, WritingTheTemporaryFileFails) {
    struct rlimit before;
    getrlimit(RLIMIT_FSIZE, &before);
    struct rlimit tiny = before;
    tiny.rlim_cur = 10;
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    WatchMessageBoxes watch;
    SaveSettings();
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, SIG_DFL);
    ExpectFormerFileKept(watch);
    EXPECT_TRUE(fake::CallsTo({"MoveFileExA"}).empty());
}

TEST_F(SaveFailure, ReplacingTheFileFails) {
    fake::FailMoveFile();
    WatchMessageBoxes watch;
    SaveSettings();
    ExpectFormerFileKept(watch);
    EXPECT_EQ(
        fake::CallsTo({"MoveFileExA"}),
        std::vector<std::string>{"MoveFileExA(\"" + TemporaryName() + "\", \"suspend.ini\", 0x9)"});
}

TEST_F(SaveFailure, NoFailureNoBox) {
    WatchMessageBoxes watch;
    SaveSettings();
    EXPECT_TRUE(watch.Seen().empty());
    EXPECT_EQ(ReadFile("suspend.ini"), "Suspend=new.bat\r\nResume=r.bat\r\nMinimize=YES\r\n");
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"suspend.ini"});
}

} // namespace
