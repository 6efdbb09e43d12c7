// The program's two window classes, and their window procedures.
#ifndef SOMNIVO_UI_WINDOW_CLASSES_H
#define SOMNIVO_UI_WINDOW_CLASSES_H

#include <windows.h>

#define SETTINGS_WINDOW_CLASS "myWindowClass"
#define SETTINGS_WINDOW_TITLE "Somnivo"
#define ABOUT_WINDOW_CLASS "AboutWindow"
#define ABOUT_WINDOW_TITLE "About Somnivo"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
