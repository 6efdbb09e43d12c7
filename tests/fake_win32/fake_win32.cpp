// The record of calls, handle names, and the kernel32, gdi32 and comctl32
// parts of the fake.
#include "fake_state.h"

#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace fake {

State &state() {
    static State instance;
    return instance;
}

void Reset() {
    state() = State();
}

uintptr_t NewHandle(const std::string &name) {
    uintptr_t handle = state().nextHandle;
    state().nextHandle += 0x10;
    state().handleNames[handle] = name;
    return handle;
}

HANDLE SharedHandle(const std::string &name) {
    HANDLE &shared = state().sharedHandles[name];
    if (!shared)
        shared = reinterpret_cast<HANDLE>(NewHandle(name));
    return shared;
}

void Record(const std::string &line) {
    state().calls.push_back(line);
}

std::string Quote(const char *text) {
    if (!text)
        return "NULL";
    return "\"" + std::string(text) + "\"";
}

std::string Hex(uintptr_t value) {
    char text[32];
    snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
    return text;
}

std::string MessageName(UINT message) {
    static const std::map<UINT, std::string> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_ENDSESSION, "WM_ENDSESSION"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_SETFONT, "WM_SETFONT"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_POWERBROADCAST, "WM_POWERBROADCAST"},
        {BM_SETCHECK, "BM_SETCHECK"},
        {WM_APP, "WM_APP"},
    };
    auto found = names.find(message);
    return found != names.end() ? found->second : Hex(message);
}

std::string ResourceName(LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return std::to_string(reinterpret_cast<uintptr_t>(name));
    return Quote(name);
}

const std::vector<std::string> &Calls() {
    return state().calls;
}

std::vector<std::string> CallsTo(const std::vector<std::string> &functions) {
    std::vector<std::string> selected;
    for (const std::string &line : state().calls)
        for (const std::string &function : functions)
            if (line.compare(0, function.size() + 1, function + "(") == 0)
                selected.push_back(line);
    return selected;
}

void ClearCalls() {
    state().calls.clear();
}

std::string Name(const void *handle) {
    if (!handle)
        return "NULL";
    auto found = state().handleNames.find(reinterpret_cast<uintptr_t>(handle));
    return found != state().handleNames.end() ? found->second
                                              : Hex(reinterpret_cast<uintptr_t>(handle));
}

int LiveGlobalBlocks() {
    return static_cast<int>(state().globalBlocks.size());
}
void FailGlobalAlloc() {
    state().globalAllocFails = true;
}
void FailMoveFile() {
    state().moveFileFails = true;
}

} // namespace fake

using namespace fake;

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    Record("GetModuleHandleA(" + Quote(moduleName) + ")");
    return static_cast<HMODULE>(SharedHandle("module"));
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    Record("GlobalAlloc(" + Hex(flags) + ", " + std::to_string(bytes) + ")");
    if (state().globalAllocFails)
        return nullptr;
    // Garbage unless asked for zeros, so a missing GMEM_ZEROINIT shows.
    void *block = malloc(bytes);
    memset(block, (flags & GMEM_ZEROINIT) ? 0 : 0xA5, bytes);
    state().globalBlocks.insert(block);
    state().handleNames[reinterpret_cast<uintptr_t>(block)] =
        "block#" + std::to_string(++state().namesInUse['b']);
    return block;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    Record("GlobalFree(" + Name(memory) + ")");
    if (!state().globalBlocks.erase(memory))
        return memory; // not ours: the platform's failure
    free(memory);
    return nullptr;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    Record("WaitForSingleObject(" + Name(handle) + ", " +
           (milliseconds == INFINITE ? std::string("INFINITE") : std::to_string(milliseconds)) +
           ")");
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    Record("CloseHandle(" + Name(handle) + ")");
    if (!state().openProcesses.erase(handle)) {
        ++state().badCloses;
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    Record("MoveFileExA(" + Quote(existingName) + ", " + Quote(newName) + ", " + Hex(flags) + ")");
    if (state().moveFileFails)
        return FALSE;
    // Like the platform, replacing a directory fails; rename(2) refuses too.
    return rename(existingName, newName) == 0;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

HGDIOBJ GetStockObject(int object) {
    Record("GetStockObject(" +
           std::string(object == DEFAULT_GUI_FONT ? "DEFAULT_GUI_FONT" : std::to_string(object)) +
           ")");
    return SharedHandle("DEFAULT_GUI_FONT");
}

void InitCommonControls() {
    Record("InitCommonControls()");
}
