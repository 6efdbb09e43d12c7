// bare_window: the start-up and idle baseline for somnivo.exe. It does the
// least a program with a window can do: one class, one window of the
// settings window's size, style and place, shown with the start-up show
// state, and a message loop.
//
//   bare_window [with-dlls]
//
// with-dlls first loads the two DLLs somnivo.exe imports beyond it, so the
// benchmark can tell what part of Somnivo's start-up is theirs.
#include <windows.h>

#include <string.h>

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    if (strcmp(commandLine, "with-dlls") == 0) {
        LoadLibraryA("comctl32.dll");
        LoadLibraryA("shell32.dll");
    }
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = "BareWindowClass";
    if (!RegisterClassExA(&windowClass))
        return 1;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND window =
        CreateWindowExA(0, "BareWindowClass", "Bare window",
                        WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX, screenWidth / 2 - 150,
                        screenHeight / 2 - 60, 300, 150, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, showState);
    UpdateWindow(window);
    MSG message;
    memset(&message, 0, sizeof message);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
