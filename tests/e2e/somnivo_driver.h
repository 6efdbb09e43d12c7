// Drives the real somnivo.exe from another process, the way the system, the
// shell and a user reach it: a process started in a directory of its own,
// messages to its windows, its files, its message boxes and its tray icon.
#ifndef SOMNIVO_TESTS_E2E_SOMNIVO_DRIVER_H
#define SOMNIVO_TESTS_E2E_SOMNIVO_DRIVER_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// Long enough for a Wine process to start on a busy machine; a step that
// takes this long has failed.
constexpr DWORD PATIENCE_MS = 15000;

// Checks the condition until it holds or the time is up; the last check's result.
bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs = PATIENCE_MS);

// Wine shows some things its own way; a few checks differ there.
bool UnderWine();

// Milliseconds since some fixed moment, for measuring how long a call was held.
double NowMs();

// The built programs, as paths that CreateProcess takes.
std::string SomnivoExe();
std::string PowersimExe();

// A fresh, empty directory named after the running test, removed at the end.
class ScratchDirectory {
  public:
    explicit ScratchDirectory(const std::string &suffix = "");
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    const std::string &Path() const { return path_; }
    std::string PathOf(const std::string &name) const;

    void WriteFile(const std::string &name, const std::string &bytes) const;
    // Nothing when the file is missing or is no file.
    std::optional<std::string> ReadFile(const std::string &name) const;
    bool Exists(const std::string &name) const;
    void MakeDirectory(const std::string &name) const;
    // Sorted names of everything in the directory.
    std::vector<std::string> Entries() const;

    // A batch file of the given lines behind "@echo off", in CR LF lines as
    // cmd wants them; the result is its full path.
    std::string WriteBatch(const std::string &name, const std::vector<std::string> &lines) const;
    // A batch file that appends one line to the marker file, after waiting
    // about `delaySeconds` seconds when that is not 0.
    std::string WriteMarkingBatch(const std::string &name, const std::string &marker,
                                  int delaySeconds = 0) const;
    // How many times a marking batch file has run.
    int MarkCount(const std::string &marker) const;

  private:
    std::string path_;
};

// A window's outer rectangle on the screen, or a child's in its parent's
// client area.
struct Placement {
    int x, y, width, height;
    bool operator==(const Placement &other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};
std::ostream &operator<<(std::ostream &out, const Placement &placement);

// The program places its windows by the middle of the screen as it measures
// at that moment.
Placement FromScreenMiddle(int left, int up, int width, int height);
Placement ScreenPlacement(HWND window);
Placement PlacementInParent(HWND child);
std::string ClassName(HWND window);
// Class names compare without case: the program asks for "EDIT", and the
// system registered the class as "Edit".
bool HasClass(HWND window, const char *className);
// Through WM_GETTEXT, which another process's edit box answers with its text.
std::string TextOf(HWND window);
void SetTextOf(HWND window, const std::string &text);

// The visible or hidden top-level windows of a process with that class (and
// title, when one is given), in the desktop's order.
std::vector<HWND> TopLevelWindows(DWORD processId, const char *className,
                                  const char *title = nullptr);

// A message box as a user sees it.
struct MessageBoxView {
    HWND window;
    std::string caption;
    std::string text;
    HWND owner;
    // Null when the box shows none. Another process's icon is only a number
    // under Wine, while Windows shares the system's icons between processes.
    HICON icon;
};

// The shown message boxes of a process.
std::vector<MessageBoxView> MessageBoxesOf(DWORD processId);
// Presses OK, as a user would.
void Dismiss(const MessageBoxView &box);

// Whether the shell has the notification icon (window, id): a change that
// changes nothing succeeds only for an icon that is there.
bool TrayIconExists(HWND window, UINT id);
bool DeleteTrayIcon(HWND window, UINT id);

// powersim talks to every Somnivo window on the desktop, while CTest runs
// cases side by side: a case that starts Somnivo holds a share of the
// desktop, and a case that runs powersim holds all of it. Held with
// mutexes, so a case that dies frees its share.
class DesktopShare {
  public:
    enum Kind { Slice, Whole };
    explicit DesktopShare(Kind kind);
    ~DesktopShare();
    DesktopShare(const DesktopShare &) = delete;
    DesktopShare &operator=(const DesktopShare &) = delete;
    bool Held() const { return !held_.empty(); }

  private:
    std::vector<HANDLE> slots_;
    std::vector<HANDLE> held_;
};

// One running somnivo.exe and its settings window.
class SomnivoProcess {
  public:
    SomnivoProcess() = default;
    // Ends a program still running, so one failed case leaves nothing behind.
    ~SomnivoProcess();
    SomnivoProcess(const SomnivoProcess &) = delete;
    SomnivoProcess &operator=(const SomnivoProcess &) = delete;

    // Starts the program in the directory with the command-line arguments
    // and show state (a shortcut's "Run" choice; none by default), and waits
    // until its settings window exists and its loop waits for input. A fatal
    // failure when it does not come.
    void Start(const ScratchDirectory &directory, const std::string &arguments = "",
               int showState = -1);

    HWND Window() const { return window_; }
    DWORD Id() const { return processId_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::string ControlText(int id) const { return TextOf(Control(id)); }
    void SetControlText(int id, const std::string &text) const { SetTextOf(Control(id), text); }

    // The answer of the window, sent as the system sends; fails the test
    // when no answer comes in time.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs = PATIENCE_MS) const;

    bool Running() const;
    // The exit code once the process has ended, or STILL_ACTIVE after the timeout.
    DWORD WaitForExit(DWORD timeoutMs = PATIENCE_MS) const;
    // Closes the window the way its close box does and waits for the end.
    DWORD Close() const;

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// What a console program printed, and how it ended.
struct ProgramRun {
    DWORD exitCode;
    std::string output;
};

// Runs the program with the arguments and reads its standard output through
// a pipe until it ends.
ProgramRun RunAndRead(const std::string &program, const std::string &arguments);

// The base of every case: a scratch directory and a share of the desktop.
class SomnivoTest : public ::testing::Test {
  protected:
    explicit SomnivoTest(DesktopShare::Kind share = DesktopShare::Slice) : share_(share) {}
    void SetUp() override {
        ASSERT_TRUE(share_.Held()) << "another case kept the desktop for too long";
    }

    DesktopShare share_;
    ScratchDirectory scratch_;
};

} // namespace e2e

#endif
