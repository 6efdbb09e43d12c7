#include "ui/child_controls.h"

HWND CreateChildControl(HWND parent, HINSTANCE instance, const ChildControl &control, HFONT font,
                        const char *text) {
    HWND child = CreateWindowExA(control.extendedStyle, control.className, "", control.style,
                                 control.x, control.y, control.width, control.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 instance, nullptr);
    if (!child && control.failureMessage)
        MessageBoxA(parent, control.failureMessage, "Serious Braindamage", MB_ICONERROR);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetDlgItemTextA(parent, control.id, text);
    return child;
}
