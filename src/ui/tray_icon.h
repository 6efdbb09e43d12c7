// The notification-area icon that stands in for the hidden settings window.
#ifndef SOMNIVO_UI_TRAY_ICON_H
#define SOMNIVO_UI_TRAY_ICON_H

#include <windows.h>

HICON LoadSmallIcon(HINSTANCE module, int iconResource);
void AddTrayIcon(HWND window, UINT iconId, UINT callbackMessage, int iconResource, const char *tip);
void RemoveTrayIcon(HWND window, UINT iconId);

// Adds the icon and hides the window a moment later, on the hide timer.
void StartHidingToTray(HWND window);

LRESULT OnMinMaxInfo(HWND window);
LRESULT OnHideTimer(HWND window);
LRESULT OnTrayIconMessage(HWND window, LPARAM mouseMessage);

// A restarted Explorer announces itself with a registered message; the icons
// it had are gone by then.
void WatchForTaskbarRestarts();
bool IsTaskbarCreatedMessage(UINT message);
LRESULT OnTaskbarCreated(HWND window);

#endif
