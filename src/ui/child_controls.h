// The child controls of the program's windows, each made from one row of a
// table in the same four steps.
#ifndef SOMNIVO_UI_CHILD_CONTROLS_H
#define SOMNIVO_UI_CHILD_CONTROLS_H

#include <windows.h>

struct ChildControl {
    int id;
    const char *className;
    DWORD extendedStyle;
    DWORD style;
    int x, y, width, height;
    const char *failureMessage; // null: a failed creation goes unreported
};

// Creates the control, reports a failed creation in a message box owned by
// the parent, gives it the font and sets its text. Returns the control, or
// null when it could not be created; the parent goes on without it.
HWND CreateChildControl(HWND parent, HINSTANCE instance, const ChildControl &control, HFONT font,
                        const char *text);

#endif
