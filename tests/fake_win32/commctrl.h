// The host build's stand-in for <commctrl.h>; see windows.h here.
#ifndef SOMNIVO_FAKE_COMMCTRL_H
#define SOMNIVO_FAKE_COMMCTRL_H

#include <windows.h>

void InitCommonControls();

#endif
