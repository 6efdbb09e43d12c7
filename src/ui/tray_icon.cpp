#include "ui/tray_icon.h"

#include "ui/resource.h"
#include "ui/window_classes.h"

#include <shellapi.h>
#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the first form of the icon request is 88 bytes");
#endif

namespace {

UINT taskbarCreatedMessage = 0;

NOTIFYICONDATAA IconRequest(HWND window, UINT iconId) {
    NOTIFYICONDATAA icon;
    memset(&icon, 0, sizeof icon);
    // The first form of the record: every shell since Windows 95 takes it.
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = iconId;
    return icon;
}

} // namespace

HICON LoadSmallIcon(HINSTANCE module, int iconResource) {
    return static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(iconResource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
}

void AddTrayIcon(HWND window, UINT iconId, UINT callbackMessage, int iconResource,
                 const char *tip) {
    NOTIFYICONDATAA icon = IconRequest(window, iconId);
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = callbackMessage;
    icon.hIcon = LoadSmallIcon(GetModuleHandleA(nullptr), iconResource);
    // The first form of the record holds 64 bytes of tip; the rest is zero.
    strncpy(icon.szTip, tip, 63);
    Shell_NotifyIconA(NIM_ADD, &icon);
    // The shell copies the image while it handles the request and shows its
    // copy for as long as the icon is there, so our handle can go at once:
    // each add loads a fresh one, and none is left over when the icon goes.
    if (icon.hIcon)
        DestroyIcon(icon.hIcon);
}

void RemoveTrayIcon(HWND window, UINT iconId) {
    NOTIFYICONDATAA icon = IconRequest(window, iconId);
    Shell_NotifyIconA(NIM_DELETE, &icon);
}

void StartHidingToTray(HWND window) {
    AddTrayIcon(window, TRAY_ICON_UID, WM_TRAYICON, IDI_APPICON, SETTINGS_WINDOW_TITLE);
    // Hidden a moment later rather than at once, so the minimize has ended.
    SetTimer(window, HIDE_TIMER_ID, HIDE_DELAY_MS, nullptr);
}

// The system asks for the size limits while it minimizes the window, when
// the window already counts as minimized: the one moment to catch a minimize
// from any source (the box, a start-up show state, another program).
LRESULT OnMinMaxInfo(HWND window) {
    if (IsIconic(window))
        StartHidingToTray(window);
    return 0;
}

// The hide timer is the program's only timer.
LRESULT OnHideTimer(HWND window) {
    KillTimer(window, HIDE_TIMER_ID);
    ShowWindow(window, SW_HIDE);
    return 0;
}

LRESULT OnTrayIconMessage(HWND window, LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDBLCLK)
        return 0;
    RemoveTrayIcon(window, TRAY_ICON_UID);
    ShowWindow(window, SW_SHOW);
    ShowWindow(window, SW_RESTORE);
    SetFocus(window);
    return 0;
}

void WatchForTaskbarRestarts() {
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
}

bool IsTaskbarCreatedMessage(UINT message) {
    return taskbarCreatedMessage != 0 && message == taskbarCreatedMessage;
}

// Only a window in the tray needs its icon back: a shown window has none.
LRESULT OnTaskbarCreated(HWND window) {
    if (!IsWindowVisible(window) || IsIconic(window))
        AddTrayIcon(window, TRAY_ICON_UID, WM_TRAYICON, IDI_APPICON, SETTINGS_WINDOW_TITLE);
    return 0;
}
