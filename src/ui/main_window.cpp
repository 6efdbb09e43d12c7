#include "power/power_broadcast.h"
#include "ui/resource.h"
#include "ui/settings_window.h"
#include "ui/tray_icon.h"
#include "ui/window_classes.h"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnSettingsCreate(window);
    case WM_DESTROY:
        return OnSettingsDestroy(window);
    case WM_CLOSE:
        return OnSettingsClose(window);
    case WM_ENDSESSION:
        return OnSettingsEndSession(window, wParam);
    case WM_GETMINMAXINFO:
        return OnMinMaxInfo(window);
    case WM_COMMAND:
        return OnSettingsCommand(window, wParam, lParam);
    case WM_SYSCOMMAND:
        return OnSettingsSystemCommand(window, message, wParam, lParam);
    case WM_TIMER:
        return OnHideTimer(window);
    case WM_POWERBROADCAST:
        return HandlePowerBroadcast(window, wParam);
    case WM_TRAYICON:
        return OnTrayIconMessage(window, lParam);
    default:
        // Registered at run time, so it cannot be a case of its own.
        if (IsTaskbarCreatedMessage(message))
            return OnTaskbarCreated(window);
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
