#include "ui/settings_window.h"

#include "settings/settings.h"
#include "ui/child_controls.h"
#include "ui/resource.h"
#include "ui/tray_icon.h"
#include "ui/window_classes.h"

#include <string.h>

namespace {

const DWORD EDIT_STYLE = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
const DWORD LABEL_STYLE = WS_CHILD | WS_VISIBLE;

const ChildControl SUSPEND_EDIT = {
    IDC_SUSPEND_EDIT,         "EDIT", WS_EX_CLIENTEDGE, EDIT_STYLE, 10, 25, 270, 20,
    "Couldn't create textbox"};
const ChildControl RESUME_EDIT = {
    IDC_RESUME_EDIT,           "EDIT", WS_EX_CLIENTEDGE, EDIT_STYLE, 10, 65, 270, 20,
    "Couldn't create textbox2"};
const ChildControl SUSPEND_LABEL = {
    IDC_SUSPEND_LABEL, "STATIC", 0, LABEL_STYLE, 10, 10, 220, 15, "Couldn't create static"};
const ChildControl RESUME_LABEL = {
    IDC_RESUME_LABEL, "STATIC", 0, LABEL_STYLE, 10, 47, 220, 15, "Couldn't create second static"};
const ChildControl MINIMIZE_CHECK = {IDC_MINIMIZE_CHECK,
                                     "BUTTON",
                                     0,
                                     WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                     10,
                                     95,
                                     200,
                                     20,
                                     "Couldn't create checkbox"};

// The window can be moved, minimized and closed, not restored, sized or
// maximized. On the standard menu (Restore, Move, Size, Minimize, Maximize,
// separator, Close) deleting positions 0, 1 and 2 leaves Move, Minimize,
// separator, Close; position 4 is then past the end.
void RebuildSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    const UINT positions[] = {0, 1, 2, 4};
    for (UINT position : positions)
        DeleteMenu(menu, position, MF_BYPOSITION);
    AppendMenuA(menu, MF_SEPARATOR, IDM_ABOUT, "seperator");
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, "&About");
}

// Not modal: every About command opens one more, centred on the screen as it
// measures now.
void OpenAboutWindow(HWND owner) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND about = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ABOUT_WINDOW_CLASS,
                                 ABOUT_WINDOW_TITLE, WS_DLGFRAME | WS_SYSMENU,
                                 screenWidth / 2 - 142, screenHeight / 2 - 90, 285, 179, owner,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(about, SW_SHOW);
    UpdateWindow(about);
}

void StoreEditedPath(HWND window, int boxId, Text *path) {
    HWND box = GetDlgItem(window, boxId);
    // A box whose creation failed never showed the loaded command: keep it.
    if (!box)
        return;
    int length = GetWindowTextLengthA(box);
    // An emptied box is an erased command, and stays erased.
    if (length <= 0) {
        SetText(path, "", 0);
        return;
    }
    char *text = static_cast<char *>(GlobalAlloc(GMEM_ZEROINIT, length + 1));
    if (!text)
        return;
    GetDlgItemTextA(window, boxId, text, length + 1);
    SetText(path, text, strlen(text));
    GlobalFree(text);
}

} // namespace

LRESULT OnSettingsCreate(HWND window) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CreateChildControl(window, instance, SUSPEND_EDIT, font, TextAsString(&Settings.suspendPath));
    CreateChildControl(window, instance, RESUME_EDIT, font, TextAsString(&Settings.resumePath));
    CreateChildControl(window, instance, SUSPEND_LABEL, font,
                       "Path to what you want executed on Suspend:");
    CreateChildControl(window, instance, RESUME_LABEL, font,
                       "Path to what you want executed on Resume:");
    HWND minimizeCheck = CreateChildControl(window, instance, MINIMIZE_CHECK, font,
                                            "Make this program minimized at startup");
    RebuildSystemMenu(window);
    WatchForTaskbarRestarts();
    if (Settings.startMinimized) {
        SendMessageA(minimizeCheck, BM_SETCHECK, BST_CHECKED, 0);
        StartHidingToTray(window);
    }
    return 0;
}

LRESULT OnSettingsCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    // Only a click: other notifications of the check box carry a code in the
    // high word.
    if (wParam == IDC_MINIMIZE_CHECK)
        Settings.startMinimized = !Settings.startMinimized;
    return OnSettingsSystemCommand(window, WM_COMMAND, wParam, lParam);
}

LRESULT OnSettingsSystemCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam == IDM_ABOUT)
        OpenAboutWindow(window);
    else
        DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

LRESULT OnSettingsClose(HWND window) {
    DestroyWindow(window);
    return 0;
}

LRESULT OnSettingsDestroy(HWND window) {
    StoreEditedPaths(window);
    SaveSettings();
    // A window closed from outside while hidden would leave its icon behind.
    RemoveTrayIcon(window, TRAY_ICON_UID);
    PostQuitMessage(0);
    return 0;
}

// Windows ends the process after this without destroying the window, so the
// edits of a program that lives in the tray would be lost at every shut-down.
LRESULT OnSettingsEndSession(HWND window, WPARAM sessionEnds) {
    if (sessionEnds) {
        StoreEditedPaths(window);
        SaveSettings();
    }
    return 0;
}

void StoreEditedPaths(HWND window) {
    StoreEditedPath(window, IDC_SUSPEND_EDIT, &Settings.suspendPath);
    StoreEditedPath(window, IDC_RESUME_EDIT, &Settings.resumePath);
}
