#include "settings/settings.h"
#include "ui/resource.h"
#include "ui/window_classes.h"

#include <commctrl.h>
#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "the 32-bit window class record is 48 bytes");
#endif

namespace {

WNDCLASSEXA WindowClass(HINSTANCE instance, const char *name, WNDPROC procedure, HICON icon) {
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = name;
    return windowClass;
}

bool RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXA settingsClass = WindowClass(instance, SETTINGS_WINDOW_CLASS, MainWndProc,
                                            LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPICON)));
    WNDCLASSEXA aboutClass = WindowClass(instance, ABOUT_WINDOW_CLASS, AboutWndProc, nullptr);
    return RegisterClassExA(&settingsClass) && RegisterClassExA(&aboutClass);
}

// A top-level window gets a caption from the system although the style
// names none; it has no maximize box and no sizing border.
HWND CreateSettingsWindow(HINSTANCE instance, int screenWidth, int screenHeight) {
    return CreateWindowExA(0, SETTINGS_WINDOW_CLASS, SETTINGS_WINDOW_TITLE,
                           WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX, screenWidth / 2 - 150,
                           screenHeight / 2 - 60, 300, 150, nullptr, nullptr, instance, nullptr);
}

int ShowStartupFailure(const char *text) {
    MessageBoxA(nullptr, text, "Error!", MB_ICONWARNING | MB_OK);
    return 0;
}

int RunMessageLoop() {
    // Zeroed, so a loop that fails before its first message ends with 0.
    MSG message;
    memset(&message, 0, sizeof message);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    InitCommonControls();
    LoadSettings();
    if (!RegisterWindowClasses(instance))
        return ShowStartupFailure("Window Registration Failed!");
    HWND window = CreateSettingsWindow(instance, screenWidth, screenHeight);
    if (!window)
        return ShowStartupFailure("Window Creation Failed!");
    ShowWindow(window, showState);
    UpdateWindow(window);
    return RunMessageLoop();
}
