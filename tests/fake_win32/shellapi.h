// The host build's stand-in for <shellapi.h>; see windows.h here.
#ifndef SOMNIVO_FAKE_SHELLAPI_H
#define SOMNIVO_FAKE_SHELLAPI_H

#include <windows.h>

struct SHELLEXECUTEINFOA {
    DWORD cbSize;
    UINT fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void *lpIDList;
    LPCSTR lpClass;
    void *hkeyClass;
    DWORD dwHotKey;
    HANDLE hIconOrMonitor;
    HANDLE hProcess;
};

#define SEE_MASK_NOCLOSEPROCESS 0x00000040u

BOOL ShellExecuteExA(SHELLEXECUTEINFOA *request);

// The record in its first form only: what the program fills.
struct NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[64];
};
#define NOTIFYICONDATAA_V1_SIZE (offsetof(NOTIFYICONDATAA, szTip) + 64)

#define NIM_ADD 0x00000000u
#define NIM_MODIFY 0x00000001u
#define NIM_DELETE 0x00000002u
#define NIF_MESSAGE 0x00000001u
#define NIF_ICON 0x00000002u
#define NIF_TIP 0x00000004u

BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA *data);

#endif
