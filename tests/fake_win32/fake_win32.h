// What the tests see of the fake Win32 layer: the record of the calls the
// program made, the state those calls built (windows, controls, menus,
// timers, the shell's icons, handles, memory), and the answers the tests
// choose, failures included.
#ifndef SOMNIVO_FAKE_WIN32_H
#define SOMNIVO_FAKE_WIN32_H

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

// Forgets everything: calls, windows, classes, handles, injected failures.
void Reset();

// ---- The record of calls -------------------------------------------------
// One line per platform call, such as
//   CreateWindowExA(0x200, "EDIT", "", 0x50000080, 10, 25, 270, 20, myWindowClass, 101, module)
// Handles appear by name: a top-level window by its class ("AboutWindow",
// "AboutWindow#2" for the second one alive at once), a control as
// "<parent>.<id>", other handles as "icon#1", "process#1", "block#1" ...
const std::vector<std::string> &Calls();
// The lines of the named functions only, in order.
std::vector<std::string> CallsTo(const std::vector<std::string> &functions);
void ClearCalls();
std::string Name(const void *handle);

// ---- Windows --------------------------------------------------------------
struct Window {
    std::string name;
    std::string className;
    std::string text;
    DWORD extendedStyle = 0;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    int id = 0;
    HINSTANCE instance = nullptr;
    WNDPROC procedure = nullptr;
    bool visible = false;
    bool iconic = false;
    bool destroyed = false;
    HFONT font = nullptr;
    WPARAM check = BST_UNCHECKED;
};
const Window &Get(HWND window);
// Live top-level windows of a class, oldest first.
std::vector<HWND> WindowsOfClass(const std::string &className);
// A bare top-level window with no procedure, and controls on it, for tests
// of code that only reads controls.
HWND AddWindow(const std::string &className);
HWND AddControl(HWND parent, int id, const std::string &className, const std::string &text);
void SetControlText(HWND parent, int id, const std::string &text);
std::string ControlText(HWND parent, int id);
WPARAM CheckState(HWND parent, int id);

void FailRegisterClass(const std::string &className);
// A top-level window of this class, or a control with this identifier.
void FailCreateWindow(const std::string &className);
void FailCreateControl(int id);

// Delivers a message to the window's procedure as the system would; not a
// call of the program's, so it is not recorded.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message for GetMessageA.
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Runs when GetMessageA finds the queue empty; without one, or when it posts
// nothing, GetMessageA fails (-1) so a test never hangs.
void WhenIdle(std::function<void()> action);
// What the user does to a window: the system's side of minimizing.
void Minimize(HWND window);
// What DefWindowProcA answers, so a test can see the answer passed on.
void SetDefWindowProcResult(LRESULT result);

// ---- Message boxes ----------------------------------------------------------
struct MessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
const std::vector<MessageBox> &MessageBoxes();

// ---- Menus, timers, screen --------------------------------------------------
// The window's system menu, one entry per item: its text, or "-" for a
// separator, followed by " =<id>" when the program added it.
std::vector<std::string> SystemMenu(HWND window);
// The window's timers: identifier -> milliseconds.
std::map<UINT_PTR, UINT> Timers(HWND window);
void FailSetTimer();
void SetScreenSize(int width, int height);

// ---- Shell ------------------------------------------------------------------
enum class ShellAnswer { StartsProcess, StartsNoProcess, Refuses };
void SetShellAnswer(ShellAnswer answer);
struct ShellRequest {
    DWORD cbSize;
    UINT fMask;
    HWND hwnd;
    std::string verb, file; // "(null)" when not given
    bool hasParameters, hasDirectory;
    int nShow;
    bool otherFieldsZero;
};
const std::vector<ShellRequest> &ShellRequests();
// Process handles the shell handed out and nobody has closed.
std::vector<HANDLE> OpenProcessHandles();
// Handles closed more than once, or never handed out.
int BadCloses();

struct TrayIcon {
    HWND window;
    UINT id;
    UINT flags;
    UINT callbackMessage;
    std::string image; // what the shell copied from the handle: "icon 104 16x16"
    std::string tip;
};
std::vector<TrayIcon> TrayIcons();
// As without a notification area: every request fails.
void ShellRefusesIcons();

// ---- Resources and memory ---------------------------------------------------
// Icons loaded with LoadImageA and not yet destroyed.
int LiveLoadedIcons();
// Blocks from GlobalAlloc not yet freed.
int LiveGlobalBlocks();
void FailGlobalAlloc();

// ---- Files -----------------------------------------------------------------
void FailMoveFile();

} // namespace fake

#endif
