// powersim: sends WM_POWERBROADCAST to every running Somnivo settings window,
// so its suspend and resume commands can be tried without a real sleep.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "power_arguments.h"

namespace {

// Somnivo normally runs once; the room is for copies started by hand.
constexpr int max_windows = 64;

struct SomnivoWindow {
    HWND handle;
    // Taken when found, so a window that closes later is still told apart.
    DWORD process_id;
};

struct FoundWindows {
    SomnivoWindow windows[max_windows];
    int count;
    bool overflowed;
};

BOOL CALLBACK collect_somnivo_window(HWND window, LPARAM found_param) {
    FoundWindows &found = *reinterpret_cast<FoundWindows *>(found_param);
    // Buffers longer than the names, so that a longer class or title is not
    // cut down to a false match.
    char class_name[64];
    char title[64];
    if (GetClassNameA(window, class_name, sizeof class_name) == 0 ||
        std::strcmp(class_name, "myWindowClass") != 0)
        return TRUE;
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, "Somnivo") != 0)
        return TRUE;
    if (found.count == max_windows) {
        found.overflowed = true;
        return FALSE;
    }
    SomnivoWindow &somnivo = found.windows[found.count++];
    somnivo.handle = window;
    GetWindowThreadProcessId(window, &somnivo.process_id);
    return TRUE;
}

// Tenths of a millisecond in whole numbers, so no floating-point printf is needed.
unsigned long long tenths_of_ms(LONGLONG ticks, LONGLONG frequency) {
    return static_cast<unsigned long long>(ticks) * 10000ULL /
           static_cast<unsigned long long>(frequency);
}

// False when the window is gone: its answer would be a meaningless 0.
bool send_power_event(const SomnivoWindow &window, UINT code, LONGLONG frequency) {
    LARGE_INTEGER start, end;
    SetLastError(ERROR_SUCCESS);
    QueryPerformanceCounter(&start);
    // Blocks for as long as the window holds its answer, like the system's broadcast.
    LRESULT answer = SendMessageA(window.handle, WM_POWERBROADCAST, code, 0);
    QueryPerformanceCounter(&end);
    DWORD error = GetLastError();

    std::printf("window 0x%08lx (process %lu): %s (%u) -> ", HandleToULong(window.handle),
                static_cast<unsigned long>(window.process_id), power_event_name(code), code);
    if (answer == 0 && error == ERROR_INVALID_WINDOW_HANDLE) {
        std::printf("window closed, no answer\n");
        std::fflush(stdout);
        return false;
    }
    unsigned long long held = tenths_of_ms(end.QuadPart - start.QuadPart, frequency);
    std::printf("answer %lld, held %llu.%llu ms\n", static_cast<long long>(answer), held / 10,
                held % 10);
    // A long-held answer should not keep the earlier lines back when output is piped.
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    PowerEvents events;
    switch (read_power_arguments(argc, argv, events)) {
    case PowerRequest::help:
        std::fputs(power_usage, stdout);
        return 0;
    case PowerRequest::invalid:
        std::fputs(power_usage, stderr);
        return 2;
    case PowerRequest::send:
        break;
    }

    FoundWindows found = {};
    EnumWindows(collect_somnivo_window, reinterpret_cast<LPARAM>(&found));
    if (found.count == 0) {
        std::fputs("powersim: no Somnivo window found\n", stderr);
        return 1;
    }
    if (found.overflowed)
        std::fprintf(stderr, "powersim: more than %d Somnivo windows, the rest get nothing\n",
                     max_windows);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    // Every window hears a code before any hears the next, as in a system broadcast.
    bool answered = false;
    for (std::size_t event = 0; event < events.count; ++event) {
        for (int index = 0; index < found.count; ++index) {
            if (send_power_event(found.windows[index], events.codes[event], frequency.QuadPart))
                answered = true;
        }
    }
    if (!answered) {
        std::fputs("powersim: no Somnivo window answered\n", stderr);
        return 1;
    }
    return 0;
}
