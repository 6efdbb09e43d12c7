// The settings window's own branches: its controls, its system menu, its
// commands, and its closing, which saves the settings and ends the program.
#ifndef SOMNIVO_UI_SETTINGS_WINDOW_H
#define SOMNIVO_UI_SETTINGS_WINDOW_H

#include <windows.h>

LRESULT OnSettingsCreate(HWND window);
LRESULT OnSettingsCommand(HWND window, WPARAM wParam, LPARAM lParam);
// Also the tail of every WM_COMMAND, which arrives here with its own message number.
LRESULT OnSettingsSystemCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnSettingsClose(HWND window);
LRESULT OnSettingsDestroy(HWND window);
LRESULT OnSettingsEndSession(HWND window, WPARAM sessionEnds);

// Copies the edit boxes' texts into Settings.
void StoreEditedPaths(HWND window);

#endif
