#include "somnivo_driver.h"

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <string.h>

namespace e2e {

namespace {

// The ids of a message box's controls. Windows numbers the icon 0x14, Wine 0x440.
const int MESSAGE_BOX_TEXT_ID = 0xFFFF;
const int MESSAGE_BOX_ICON_IDS[] = {0x14, 0x440};

// Longer than any case that holds a slice of the desktop takes.
const DWORD WHOLE_DESKTOP_WAIT_MS = 240000;
const int DESKTOP_SLOTS = 4;

// CMake knows the programs by the paths of the build machine. Under Wine
// those are Unix paths, which Wine itself turns into Windows paths; on
// Windows they are Windows paths already, only with forward slashes.
std::string RunnablePath(const char *builtPath) {
    using ToDosName = WCHAR *(CDECL *)(const char *);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name");
    if (found && builtPath[0] == '/') {
        // Through the generic function type, which GCC accepts for any function.
        ToDosName toDosName = reinterpret_cast<ToDosName>(reinterpret_cast<void (*)()>(found));
        WCHAR *dosName = toDosName(builtPath);
        if (dosName) {
            char path[MAX_PATH * 2] = "";
            WideCharToMultiByte(CP_ACP, 0, dosName, -1, path, sizeof path, nullptr, nullptr);
            HeapFree(GetProcessHeap(), 0, dosName);
            return path;
        }
    }
    std::string path = builtPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string TestName() {
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "none";
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

void RemoveTree(const std::string &path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

struct WindowSearch {
    DWORD processId;
    const char *className;
    const char *title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM searchParam) {
    WindowSearch &search = *reinterpret_cast<WindowSearch *>(searchParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId || ClassName(window) != search.className)
        return TRUE;
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (!search.title || strcmp(title, search.title) == 0)
        search.found.push_back(window);
    return TRUE;
}

} // namespace

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    while (!condition()) {
        if (NowMs() > deadline)
            return condition();
        Sleep(20);
    }
    return true;
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

std::string SomnivoExe() {
    return RunnablePath(SOMNIVO_EXE_BUILT_PATH);
}

std::string PowersimExe() {
    return RunnablePath(POWERSIM_EXE_BUILT_PATH);
}

ScratchDirectory::ScratchDirectory(const std::string &suffix) {
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    std::string root = std::string(temporary) + "somnivo-e2e";
    CreateDirectoryA(root.c_str(), nullptr);
    // The process id keeps apart two runs of one case.
    path_ = root + "\\" + TestName() + suffix + "." + std::to_string(GetCurrentProcessId());
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    // A resume command started without waiting may still be ending, with the
    // directory as its working directory, which keeps the directory in place.
    WaitUntil(
        [this] {
            RemoveTree(path_);
            return GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES;
        },
        5000);
}

std::string ScratchDirectory::PathOf(const std::string &name) const {
    return path_ + "\\" + name;
}

void ScratchDirectory::WriteFile(const std::string &name, const std::string &bytes) const {
    HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << PathOf(name);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << "cannot write " << PathOf(name);
}

std::optional<std::string> ScratchDirectory::ReadFile(const std::string &name) const {
    HANDLE file =
        CreateFileA(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool ScratchDirectory::Exists(const std::string &name) const {
    return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ScratchDirectory::MakeDirectory(const std::string &name) const {
    ASSERT_TRUE(CreateDirectoryA(PathOf(name).c_str(), nullptr)) << PathOf(name);
}

std::vector<std::string> ScratchDirectory::Entries() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(PathOf("*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ScratchDirectory::WriteBatch(const std::string &name,
                                         const std::vector<std::string> &lines) const {
    std::string content = "@echo off\r\n";
    for (const std::string &line : lines)
        content += line + "\r\n";
    WriteFile(name, content);
    return PathOf(name);
}

std::string ScratchDirectory::WriteMarkingBatch(const std::string &name, const std::string &marker,
                                                int delaySeconds) const {
    std::vector<std::string> lines;
    // ping waits a second between its echoes: the one delay every cmd has.
    if (delaySeconds > 0)
        lines.push_back("ping -n " + std::to_string(delaySeconds + 1) + " 127.0.0.1 > nul");
    lines.push_back("echo ran>> \"" + PathOf(marker) + "\"");
    return WriteBatch(name, lines);
}

int ScratchDirectory::MarkCount(const std::string &marker) const {
    std::optional<std::string> marks = ReadFile(marker);
    if (!marks)
        return 0;
    int count = 0;
    for (size_t at = marks->find("ran"); at != std::string::npos; at = marks->find("ran", at + 1))
        ++count;
    return count;
}

std::ostream &operator<<(std::ostream &out, const Placement &placement) {
    return out << "(" << placement.x << ", " << placement.y << ") " << placement.width << "x"
               << placement.height;
}

Placement FromScreenMiddle(int left, int up, int width, int height) {
    return {GetSystemMetrics(SM_CXSCREEN) / 2 - left, GetSystemMetrics(SM_CYSCREEN) / 2 - up, width,
            height};
}

Placement ScreenPlacement(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Placement PlacementInParent(HWND child) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool HasClass(HWND window, const char *className) {
    return lstrcmpiA(ClassName(window).c_str(), className) == 0;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!window ||
        !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, PATIENCE_MS, &length))
        return "<no answer>";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_NORMAL, PATIENCE_MS, &copied);
    text.resize(copied);
    return text;
}

void SetTextOf(HWND window, const std::string &text) {
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                    SMTO_NORMAL, PATIENCE_MS, &result) &&
                result)
        << "the window took no text";
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char *className, const char *title) {
    WindowSearch search = {processId, className, title, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<MessageBoxView> MessageBoxesOf(DWORD processId) {
    std::vector<MessageBoxView> boxes;
    for (HWND window : TopLevelWindows(processId, "#32770")) {
        if (!IsWindowVisible(window))
            continue;
        char caption[256] = "";
        GetWindowTextA(window, caption, sizeof caption);
        HWND icon = nullptr;
        for (int id : MESSAGE_BOX_ICON_IDS)
            if (!icon)
                icon = GetDlgItem(window, id);
        HICON shown = icon && IsWindowVisible(icon)
                          ? reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0))
                          : nullptr;
        boxes.push_back({window, caption, TextOf(GetDlgItem(window, MESSAGE_BOX_TEXT_ID)),
                         GetWindow(window, GW_OWNER), shown});
    }
    return boxes;
}

void Dismiss(const MessageBoxView &box) {
    PostMessageA(box.window, WM_COMMAND, IDOK, 0);
}

namespace {

NOTIFYICONDATAA IconRequest(HWND window, UINT id) {
    NOTIFYICONDATAA icon;
    memset(&icon, 0, sizeof icon);
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = id;
    return icon;
}

} // namespace

bool TrayIconExists(HWND window, UINT id) {
    NOTIFYICONDATAA icon = IconRequest(window, id);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

bool DeleteTrayIcon(HWND window, UINT id) {
    NOTIFYICONDATAA icon = IconRequest(window, id);
    return Shell_NotifyIconA(NIM_DELETE, &icon) != FALSE;
}

DesktopShare::DesktopShare(Kind kind) {
    for (int slot = 0; slot < DESKTOP_SLOTS; ++slot) {
        std::string name = "somnivo-e2e-desktop-" + std::to_string(slot);
        slots_.push_back(CreateMutexA(nullptr, FALSE, name.c_str()));
    }
    // An abandoned mutex is had all the same: its case has ended.
    DWORD got =
        WaitForMultipleObjects(DESKTOP_SLOTS, slots_.data(), kind == Whole, WHOLE_DESKTOP_WAIT_MS);
    if (got == WAIT_TIMEOUT || got == WAIT_FAILED)
        return;
    if (kind == Whole) {
        held_ = slots_;
        return;
    }
    DWORD index = got >= WAIT_ABANDONED_0 ? got - WAIT_ABANDONED_0 : got - WAIT_OBJECT_0;
    held_.push_back(slots_[index]);
}

DesktopShare::~DesktopShare() {
    for (HANDLE slot : held_)
        ReleaseMutex(slot);
    for (HANDLE slot : slots_)
        CloseHandle(slot);
}

SomnivoProcess::~SomnivoProcess() {
    if (!process_)
        return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, PATIENCE_MS);
    }
    CloseHandle(process_);
}

void SomnivoProcess::Start(const ScratchDirectory &directory, const std::string &arguments,
                           int showState) {
    const std::string exe = SomnivoExe();
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (showState >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showState);
    }
    PROCESS_INFORMATION started;
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               directory.Path().c_str(), &startup, &started))
        << "cannot start " << exe << ": error " << GetLastError();
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    processId_ = started.dwProcessId;

    WaitForInputIdle(process_, PATIENCE_MS);
    ASSERT_TRUE(WaitUntil([this] {
        std::vector<HWND> windows = TopLevelWindows(processId_, "myWindowClass", "Somnivo");
        window_ = windows.size() == 1 ? windows.front() : nullptr;
        return window_ != nullptr;
    })) << "no single settings window of process "
        << processId_;
}

LRESULT SomnivoProcess::Send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window_, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer))
        ADD_FAILURE() << "no answer to message 0x" << std::hex << message << std::dec << " within "
                      << timeoutMs << " ms";
    return static_cast<LRESULT>(answer);
}

bool SomnivoProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD SomnivoProcess::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process_, &exitCode);
    return exitCode;
}

DWORD SomnivoProcess::Close() const {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return WaitForExit();
}

ProgramRun RunAndRead(const std::string &program, const std::string &arguments) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        return {STILL_ACTIVE, "<no pipe>"};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::string commandLine = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION started;
    BOOL running = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                                  CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
    // Our copy of the write end would keep the pipe open after the program ends.
    CloseHandle(writeEnd);
    if (!running) {
        CloseHandle(readEnd);
        return {STILL_ACTIVE, "<cannot start " + program + ">"};
    }

    ProgramRun run = {STILL_ACTIVE, ""};
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
        run.output.append(buffer, read);
    CloseHandle(readEnd);
    WaitForSingleObject(started.hProcess, PATIENCE_MS);
    GetExitCodeProcess(started.hProcess, &run.exitCode);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
    return run;
}

} // namespace e2e
