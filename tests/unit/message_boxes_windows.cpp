#include "message_boxes.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace {

const int MESSAGE_BOX_TEXT_ID = 0xFFFF;
// Windows numbers the icon of a message box 0x14, Wine 0x440.
const int MESSAGE_BOX_ICON_IDS[] = {0x14, 0x440};

unsigned IconStyle(HWND box) {
    HWND iconControl = nullptr;
    for (int id : MESSAGE_BOX_ICON_IDS)
        if (!iconControl)
            iconControl = GetDlgItem(box, id);
    if (!iconControl)
        return 0;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    // The system's icons are shared, so the box holds the very same handle.
    if (icon == LoadIcon(nullptr, IDI_HAND))
        return MB_ICONERROR;
    if (icon == LoadIcon(nullptr, IDI_EXCLAMATION))
        return MB_ICONWARNING;
    if (icon == LoadIcon(nullptr, IDI_ASTERISK))
        return MB_ICONINFORMATION;
    if (icon == LoadIcon(nullptr, IDI_QUESTION))
        return MB_ICONQUESTION;
    return 0;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

struct WatchMessageBoxes::Watch {
    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    std::vector<SeenMessageBox> seen;
    std::set<HWND> answered;
    std::thread thread;

    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<Watch *>(self)->Consider(window);
        return TRUE;
    }

    void Consider(HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (process != GetCurrentProcessId() || std::string(className) != "#32770" ||
            !IsWindowVisible(window) || answered.count(window))
            return;
        char text[1024] = "";
        GetDlgItemTextA(window, MESSAGE_BOX_TEXT_ID, text, sizeof text);
        {
            std::lock_guard<std::mutex> guard(lock);
            seen.push_back({text, WindowText(window), IconStyle(window)});
        }
        answered.insert(window);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }

    void Run() {
        while (!stop) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }
};

WatchMessageBoxes::WatchMessageBoxes() : watch_(new Watch) {
    watch_->thread = std::thread([this] { watch_->Run(); });
}

WatchMessageBoxes::~WatchMessageBoxes() {
    watch_->stop = true;
    watch_->thread.join();
    delete watch_;
}

std::vector<SeenMessageBox> WatchMessageBoxes::Seen() const {
    std::lock_guard<std::mutex> guard(watch_->lock);
    return watch_->seen;
}
