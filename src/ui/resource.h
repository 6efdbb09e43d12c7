// Every identifier of the user interface, shared by the sources and res/somnivo.rc.
#ifndef SOMNIVO_UI_RESOURCE_H
#define SOMNIVO_UI_RESOURCE_H

#define SOMNIVO_VERSION "1.5"
#define SOMNIVO_VERSION_NUMBERS 1, 5, 0, 0

#define IDI_APPICON 104

// Controls of the settings window.
#define IDC_SUSPEND_EDIT 101
#define IDC_RESUME_EDIT 102
#define IDC_SUSPEND_LABEL 104
#define IDC_RESUME_LABEL 105
#define IDC_MINIMIZE_CHECK 106

// System-menu command of the settings window; its separator carries it too.
#define IDM_ABOUT 0

// Controls of an About window. They count per parent: 106 is also the check box.
#define IDC_ABOUT_NAME 106
#define IDC_ABOUT_AUTHOR 107
#define IDC_ABOUT_COPYRIGHT 108
#define IDC_ABOUT_WEBSITE 109
#define IDC_ABOUT_OK 110

// The notification-area icon and the hiding to it.
#define TRAY_ICON_UID 1
#define WM_TRAYICON 0x8000 /* WM_APP */
#define HIDE_TIMER_ID 1234
#define HIDE_DELAY_MS 50

#endif
