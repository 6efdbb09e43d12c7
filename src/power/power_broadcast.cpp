#include "power/power_broadcast.h"

#include "power/command_launcher.h"

bool suspendHandled = false;

namespace {

void RunSuspendCommandOnce(HWND settingsWindow) {
    if (suspendHandled)
        return;
    RunSuspendCommand(settingsWindow);
    // Set only now: the system gets its answer after the command has ended.
    suspendHandled = true;
}

} // namespace

LRESULT HandlePowerBroadcast(HWND settingsWindow, WPARAM eventCode) {
    switch (eventCode) {
    case PBT_APMQUERYSUSPEND:
        RunSuspendCommandOnce(settingsWindow);
        return TRUE;
    case PBT_APMSUSPEND:
        RunSuspendCommandOnce(settingsWindow);
        return 0;
    case PBT_APMRESUMESUSPEND:
        RunResumeCommand(settingsWindow);
        suspendHandled = false;
        return 0;
    case PBT_APMRESUMEAUTOMATIC:
        // Sent at every wake, also when nobody is there to cause the resume
        // notice (a wake timer, a network wake); without this the suspend
        // command would be skipped at the next sleep.
        suspendHandled = false;
        return 0;
    default:
        return 0;
    }
}
