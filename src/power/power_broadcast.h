// The reaction to the system's power-broadcast messages.
#ifndef SOMNIVO_POWER_POWER_BROADCAST_H
#define SOMNIVO_POWER_POWER_BROADCAST_H

#include <windows.h>

// Set once the suspend command has run for the current suspension, so the
// request and the announcement of one suspension run it only once.
extern bool suspendHandled;

// Runs what the event asks for and returns the answer for the system: 1 to a
// request to suspend (never refused), 0 to everything else.
LRESULT HandlePowerBroadcast(HWND settingsWindow, WPARAM eventCode);

#endif
