// The host build's stand-in for the platform's <windows.h>: the few types,
// constants and calls the program uses, written from what the program
// expects of each. The calls are implemented by the fake in this folder,
// which records them for the tests (fake_win32.h).
#ifndef SOMNIVO_FAKE_WINDOWS_H
#define SOMNIVO_FAKE_WINDOWS_H

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define CALLBACK
#define FALSE 0
#define TRUE 1
#define INFINITE 0xFFFFFFFFu

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef size_t SIZE_T;
typedef WORD ATOM;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef void *HANDLE;
typedef void *HGLOBAL;
typedef void *HGDIOBJ;

#define FAKE_HANDLE_TYPE(name)                                                                     \
    struct name##__;                                                                               \
    typedef struct name##__ *name
FAKE_HANDLE_TYPE(HWND);
FAKE_HANDLE_TYPE(HINSTANCE);
FAKE_HANDLE_TYPE(HMENU);
FAKE_HANDLE_TYPE(HICON);
FAKE_HANDLE_TYPE(HBRUSH);
FAKE_HANDLE_TYPE(HFONT);
FAKE_HANDLE_TYPE(HDC);
#undef FAKE_HANDLE_TYPE
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;

#define LOWORD(value) ((WORD)(((UINT_PTR)(value)) & 0xFFFF))
#define HIWORD(value) ((WORD)((((UINT_PTR)(value)) >> 16) & 0xFFFF))
#define MAKEINTRESOURCEA(number) ((LPSTR)((UINT_PTR)((WORD)(number))))
#define IS_INTRESOURCE(name) ((((UINT_PTR)(name)) >> 16) == 0)

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

struct POINT {
    long x, y;
};
struct RECT {
    long left, top, right, bottom;
};

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG *LPMSG;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT *LPPAINTSTRUCT;

struct MINMAXINFO {
    POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

// Messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYENDSESSION 0x0011
#define WM_QUIT 0x0012
#define WM_ENDSESSION 0x0016
#define WM_GETMINMAXINFO 0x0024
#define WM_SETFONT 0x0030
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONUP 0x0205
#define WM_POWERBROADCAST 0x0218
#define WM_APP 0x8000
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BN_CLICKED 0
#define SC_MINIMIZE 0xF020
#define SC_CLOSE 0xF060

// Power-broadcast event codes.
#define PBT_APMQUERYSUSPEND 0x0000
#define PBT_APMQUERYSUSPENDFAILED 0x0002
#define PBT_APMSUSPEND 0x0004
#define PBT_APMRESUMECRITICAL 0x0006
#define PBT_APMRESUMESUSPEND 0x0007
#define PBT_APMPOWERSTATUSCHANGE 0x000A
#define PBT_APMRESUMEAUTOMATIC 0x0012

// Window and control styles.
#define WS_OVERLAPPED 0x00000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DLGFRAME 0x00400000u
#define WS_SYSMENU 0x00080000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_EX_DLGMODALFRAME 0x00000001u
#define WS_EX_CLIENTEDGE 0x00000200u
#define WS_EX_CONTROLPARENT 0x00010000u
#define ES_AUTOHSCROLL 0x0080u
#define BS_AUTOCHECKBOX 0x0003u
#define BS_DEFPUSHBUTTON 0x0001u

// Show states.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// Message boxes.
#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u
#define MB_ICONWARNING 0x00000030u
#define IDOK 1

// Menus.
#define MF_STRING 0x00000000u
#define MF_BYPOSITION 0x00000400u
#define MF_SEPARATOR 0x00000800u

// Metrics, colours, stock objects, resources.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define COLOR_BTNFACE 15
#define DEFAULT_GUI_FONT 17
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IMAGE_ICON 1
#define LR_DEFAULTCOLOR 0x00000000u

// Memory, files, waiting.
#define GMEM_FIXED 0x0000u
#define GMEM_ZEROINIT 0x0040u
#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_WRITE_THROUGH 0x00000008u
#define WAIT_OBJECT_0 0x00000000u

// kernel32
HMODULE GetModuleHandleA(LPCSTR moduleName);
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalFree(HGLOBAL memory);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);
DWORD GetCurrentProcessId();

// user32
int GetSystemMetrics(int index);
ATOM RegisterClassExA(const WNDCLASSEXA *windowClass);
HWND CreateWindowExA(DWORD extendedStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL IsIconic(HWND window);
BOOL IsWindowVisible(HWND window);
HWND SetFocus(HWND window);
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG *message);
LRESULT DispatchMessageA(const MSG *message);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
UINT RegisterWindowMessageA(LPCSTR name);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int bufferSize);
int GetWindowTextLengthA(HWND window);
HMENU GetSystemMenu(HWND window, BOOL revert);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
BOOL DestroyIcon(HICON icon);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT *paint);
BOOL DrawIcon(HDC context, int x, int y, HICON icon);

// gdi32
HGDIOBJ GetStockObject(int object);

// The program's entry point, called by the tests.
int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showState);

#endif
