#include "power/command_launcher.h"

#include "ui/resource.h"

#include <shellapi.h>
#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the 32-bit launch request is 60 bytes");
#endif

namespace {

enum class Wait { ForEnd, No };

void RunCommandFromBox(HWND settingsWindow, int boxId, Wait wait) {
    SHELLEXECUTEINFOA request;
    memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpVerb = "open";
    request.nShow = SW_SHOWNORMAL;

    int length = GetWindowTextLengthA(GetDlgItem(settingsWindow, boxId));
    if (length <= 0)
        return;
    // Without a buffer there is no command to start; the event goes on.
    char *command = static_cast<char *>(GlobalAlloc(GMEM_ZEROINIT, length + 1));
    if (!command)
        return;
    GetDlgItemTextA(settingsWindow, boxId, command, length + 1);
    // The whole text is the thing to open: a program with its arguments, a
    // batch file or a document, exactly as the user typed it.
    request.lpFile = command;

    BOOL started = ShellExecuteExA(&request);
    // The shell hands back no process when it opened the command in a
    // process that was already running; then there is nothing to wait for.
    if (started && request.hProcess && wait == Wait::ForEnd)
        WaitForSingleObject(request.hProcess, INFINITE);
    if (request.hProcess)
        CloseHandle(request.hProcess);
    GlobalFree(command);
}

} // namespace

void RunSuspendCommand(HWND settingsWindow) {
    RunCommandFromBox(settingsWindow, IDC_SUSPEND_EDIT, Wait::ForEnd);
}

void RunResumeCommand(HWND settingsWindow) {
    RunCommandFromBox(settingsWindow, IDC_RESUME_EDIT, Wait::No);
}
