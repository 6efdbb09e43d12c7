#include "ui/child_controls.h"
#include "ui/resource.h"
#include "ui/window_classes.h"

namespace {

#define NAME_PREFIX "Somnivo v"
// The version follows the "v" directly.
const char NAME[] = NAME_PREFIX SOMNIVO_VERSION;

const DWORD LABEL_STYLE = WS_CHILD | WS_VISIBLE;

const ChildControl NAME_LABEL = {
    IDC_ABOUT_NAME, "STATIC", 0, LABEL_STYLE, 64, 10, 200, 15, "Failed to create appname"};
const ChildControl AUTHOR_LABEL = {
    IDC_ABOUT_AUTHOR, "STATIC", 0, LABEL_STYLE, 87, 50, 150, 15, "Failed to create author label"};
const ChildControl COPYRIGHT_LABEL = {IDC_ABOUT_COPYRIGHT,
                                      "STATIC",
                                      0,
                                      LABEL_STYLE,
                                      10,
                                      65,
                                      300,
                                      15,
                                      "Failed to create copyright label"};
const ChildControl WEBSITE_LABEL = {
    IDC_ABOUT_WEBSITE, "STATIC", 0, LABEL_STYLE, 40, 80, 300, 15, "Failed to create website label"};
// The window can still be closed through its caption, so a missing button
// is not worth a message.
const ChildControl OK_BUTTON = {
    IDC_ABOUT_OK, "BUTTON", 0, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 102, 110, 75, 22, nullptr};

LRESULT OnAboutCreate(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CreateChildControl(window, instance, NAME_LABEL, font, NAME);
    CreateChildControl(window, instance, AUTHOR_LABEL, font, "by the Somnivo developers");
    CreateChildControl(window, instance, COPYRIGHT_LABEL, font,
                       "Copyright (C) 2026 The Somnivo developers");
    CreateChildControl(window, instance, WEBSITE_LABEL, font, "https://somnivo.example.org/");
    CreateChildControl(window, instance, OK_BUTTON, font, "OK");
    return 0;
}

LRESULT OnAboutPaint(HWND window) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON));
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    DrawIcon(context, 10, 10, icon);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnAboutCommand(HWND window, WPARAM wParam) {
    // Whatever the notification code: a click, or Enter on the default button.
    if (LOWORD(wParam) == IDC_ABOUT_OK)
        DestroyWindow(window);
    return 0;
}

LRESULT OnAboutClose(HWND window) {
    DestroyWindow(window);
    return 0;
}

} // namespace

LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnAboutCreate(window);
    case WM_PAINT:
        return OnAboutPaint(window);
    case WM_COMMAND:
        return OnAboutCommand(window, wParam);
    case WM_CLOSE:
        return OnAboutClose(window);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
