// The fake's state, shared by its source files and by nothing else.
#ifndef SOMNIVO_FAKE_STATE_H
#define SOMNIVO_FAKE_STATE_H

#include "fake_win32.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace fake {

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
    bool addedByProgram;
};

struct State {
    std::vector<std::string> calls;
    std::map<uintptr_t, std::string> handleNames;
    uintptr_t nextHandle = 0x1000;
    std::map<int, int> namesInUse; // serial number per kind of handle

    std::map<std::string, WNDCLASSEXA> classes;
    std::map<HWND, Window> windows;
    std::vector<HWND> creationOrder;
    std::set<std::string> failingClasses;
    std::set<std::string> failingWindowClasses;
    std::set<int> failingControls;
    std::deque<MSG> queue;
    std::function<void()> idle;
    HWND focus = nullptr;
    LRESULT defWindowProcResult = 0;

    std::vector<MessageBox> messageBoxes;
    std::map<HWND, std::vector<MenuItem>> systemMenus;
    std::map<HWND, std::map<UINT_PTR, UINT>> timers;
    bool setTimerFails = false;
    std::map<std::string, UINT> registeredMessages;
    int screenWidth = 1024, screenHeight = 768;

    ShellAnswer shellAnswer = ShellAnswer::StartsProcess;
    std::vector<ShellRequest> shellRequests;
    std::set<HANDLE> openProcesses;
    int badCloses = 0;
    std::vector<TrayIcon> trayIcons;
    bool shellRefusesIcons = false;

    std::map<HICON, std::string> loadedIcons; // handle -> image it shows
    std::map<std::string, HANDLE> sharedHandles;
    std::set<HGLOBAL> globalBlocks;
    bool globalAllocFails = false;
    bool moveFileFails = false;
};

State &state();

// A new handle with a name for the record.
uintptr_t NewHandle(const std::string &name);
// The one handle of a shared object, made on first use.
HANDLE SharedHandle(const std::string &name);
void Record(const std::string &line);
std::string Quote(const char *text);
std::string Hex(uintptr_t value);
std::string MessageName(UINT message);
std::string ResourceName(LPCSTR name);
Window *FindWindow(HWND window);

} // namespace fake

#endif
