// Starts the user's commands through the shell, reading them from the
// settings window's edit boxes at the moment of the event, so a text typed
// and not yet saved is the one that runs.
#ifndef SOMNIVO_POWER_COMMAND_LAUNCHER_H
#define SOMNIVO_POWER_COMMAND_LAUNCHER_H

#include <windows.h>

// Starts the Suspend box's command and returns when its process has ended.
void RunSuspendCommand(HWND settingsWindow);

// Starts the Resume box's command and returns at once.
void RunResumeCommand(HWND settingsWindow);

#endif
