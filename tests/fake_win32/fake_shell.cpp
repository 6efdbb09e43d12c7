// The shell32 part of the fake: launching commands and the notification
// area's icons.
#include "fake_state.h"

#include <string.h>

namespace fake {

void SetShellAnswer(ShellAnswer answer) {
    state().shellAnswer = answer;
}
const std::vector<ShellRequest> &ShellRequests() {
    return state().shellRequests;
}

std::vector<HANDLE> OpenProcessHandles() {
    return std::vector<HANDLE>(state().openProcesses.begin(), state().openProcesses.end());
}

int BadCloses() {
    return state().badCloses;
}

std::vector<TrayIcon> TrayIcons() {
    return state().trayIcons;
}
void ShellRefusesIcons() {
    state().shellRefusesIcons = true;
}
int LiveLoadedIcons() {
    return static_cast<int>(state().loadedIcons.size());
}

} // namespace fake

using namespace fake;

namespace {

std::string Text(LPCSTR text) {
    return text ? text : "(null)";
}

bool OtherFieldsZero(const SHELLEXECUTEINFOA &request) {
    return !request.hInstApp && !request.lpIDList && !request.lpClass && !request.hkeyClass &&
           !request.dwHotKey && !request.hIconOrMonitor && !request.hProcess;
}

std::vector<TrayIcon>::iterator FindIcon(HWND window, UINT id) {
    auto &icons = state().trayIcons;
    for (auto icon = icons.begin(); icon != icons.end(); ++icon)
        if (icon->window == window && icon->id == id)
            return icon;
    return icons.end();
}

} // namespace

BOOL ShellExecuteExA(SHELLEXECUTEINFOA *request) {
    Record("ShellExecuteExA(cbSize=" + std::to_string(request->cbSize) +
           ", fMask=" + Hex(request->fMask) + ", hwnd=" + Name(request->hwnd) +
           ", verb=" + Quote(request->lpVerb) + ", file=" + Quote(request->lpFile) +
           ", parameters=" + Quote(request->lpParameters) + ", directory=" +
           Quote(request->lpDirectory) + ", nShow=" + std::to_string(request->nShow) + ")");
    state().shellRequests.push_back(
        {request->cbSize, request->fMask, request->hwnd, Text(request->lpVerb),
         Text(request->lpFile), request->lpParameters != nullptr, request->lpDirectory != nullptr,
         request->nShow, OtherFieldsZero(*request)});
    switch (state().shellAnswer) {
    case ShellAnswer::StartsProcess:
        request->hProcess = reinterpret_cast<HANDLE>(
            NewHandle("process#" + std::to_string(++state().namesInUse['p'])));
        state().openProcesses.insert(request->hProcess);
        return TRUE;
    case ShellAnswer::StartsNoProcess:
        return TRUE;
    case ShellAnswer::Refuses:
        break;
    }
    return FALSE;
}

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA *data) {
    const char *names[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE"};
    std::string tip(data->szTip, strnlen(data->szTip, sizeof data->szTip));
    Record(std::string("Shell_NotifyIconA(") + (message < 3 ? names[message] : "?") +
           ", cbSize=" + std::to_string(data->cbSize) + ", hWnd=" + Name(data->hWnd) +
           ", uID=" + std::to_string(data->uID) + ", uFlags=" + std::to_string(data->uFlags) +
           ", callback=" + Hex(data->uCallbackMessage) + ", hIcon=" + Name(data->hIcon) +
           ", tip=" + Quote(tip.c_str()) + ")");
    if (state().shellRefusesIcons || data->cbSize != NOTIFYICONDATAA_V1_SIZE)
        return FALSE;
    auto existing = FindIcon(data->hWnd, data->uID);
    switch (message) {
    case NIM_ADD: {
        if (existing != state().trayIcons.end())
            return FALSE;
        // The shell keeps a copy of the image, not the handle.
        auto image = state().loadedIcons.find(data->hIcon);
        state().trayIcons.push_back(
            {data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
             image != state().loadedIcons.end() ? image->second : Name(data->hIcon), tip});
        return TRUE;
    }
    case NIM_DELETE:
        if (existing == state().trayIcons.end())
            return FALSE;
        state().trayIcons.erase(existing);
        return TRUE;
    case NIM_MODIFY:
        return existing != state().trayIcons.end();
    default:
        return FALSE;
    }
}
