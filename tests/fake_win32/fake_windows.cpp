// The user32 part of the fake: classes, windows and controls, messages and
// the loop, menus, timers, icons, painting and message boxes.
#include "fake_state.h"

#include <algorithm>
#include <string.h>

namespace fake {

namespace {

const char *const STANDARD_SYSTEM_MENU[] = {"Restore",  "Move", "Size", "Minimize",
                                            "Maximize", "-",    "Close"};

bool IsSystemClass(const std::string &className) {
    return className == "EDIT" || className == "STATIC" || className == "BUTTON";
}

std::string NameForNewWindow(const std::string &className, HWND parent, int id) {
    if (parent && id)
        return Name(parent) + "." + std::to_string(id);
    int alive = 0;
    for (const auto &entry : state().windows)
        if (!entry.second.destroyed && !(entry.second.style & WS_CHILD) &&
            entry.second.className == className)
            ++alive;
    return alive ? className + "#" + std::to_string(alive + 1) : className;
}

HWND Child(HWND parent, int id) {
    for (HWND window : state().creationOrder) {
        const Window &candidate = state().windows[window];
        if (!candidate.destroyed && candidate.parent == parent && candidate.id == id &&
            (candidate.style & WS_CHILD))
            return window;
    }
    return nullptr;
}

LRESULT BuiltInControl(Window &control, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_SETFONT:
        control.font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case BM_SETCHECK:
        control.check = wParam;
        return 0;
    case BM_GETCHECK:
        return static_cast<LRESULT>(control.check);
    default:
        return 0;
    }
}

void DestroyTree(HWND window);

void DestroyOwnedAndChildren(HWND window) {
    std::vector<HWND> order = state().creationOrder;
    for (HWND other : order) {
        Window &candidate = state().windows[other];
        if (!candidate.destroyed && candidate.parent == window && !(candidate.style & WS_CHILD))
            DestroyTree(other);
    }
}

// Owned windows go first, then the window gets WM_DESTROY while its
// children still exist, then the children go.
void DestroyTree(HWND window) {
    Window *target = FindWindow(window);
    if (!target || target->destroyed)
        return;
    DestroyOwnedAndChildren(window);
    Deliver(window, WM_DESTROY);
    for (HWND other : state().creationOrder) {
        Window &candidate = state().windows[other];
        if (candidate.parent == window && (candidate.style & WS_CHILD))
            candidate.destroyed = true;
    }
    FindWindow(window)->destroyed = true;
    state().timers.erase(window);
}

} // namespace

Window *FindWindow(HWND window) {
    auto found = state().windows.find(window);
    return found != state().windows.end() ? &found->second : nullptr;
}

const Window &Get(HWND window) {
    static const Window none;
    Window *found = FindWindow(window);
    return found ? *found : none;
}

std::vector<HWND> WindowsOfClass(const std::string &className) {
    std::vector<HWND> found;
    for (HWND window : state().creationOrder) {
        const Window &candidate = state().windows[window];
        if (!candidate.destroyed && !(candidate.style & WS_CHILD) &&
            candidate.className == className)
            found.push_back(window);
    }
    return found;
}

HWND AddWindow(const std::string &className) {
    HWND window = reinterpret_cast<HWND>(NewHandle(NameForNewWindow(className, nullptr, 0)));
    Window &created = state().windows[window];
    created.name = Name(window);
    created.className = className;
    created.visible = true;
    state().creationOrder.push_back(window);
    return window;
}

HWND AddControl(HWND parent, int id, const std::string &className, const std::string &text) {
    HWND control = reinterpret_cast<HWND>(NewHandle(NameForNewWindow(className, parent, id)));
    Window &created = state().windows[control];
    created.name = Name(control);
    created.className = className;
    created.text = text;
    created.parent = parent;
    created.id = id;
    created.style = WS_CHILD | WS_VISIBLE;
    created.visible = true;
    state().creationOrder.push_back(control);
    return control;
}

void SetControlText(HWND parent, int id, const std::string &text) {
    FindWindow(Child(parent, id))->text = text;
}

std::string ControlText(HWND parent, int id) {
    return Get(Child(parent, id)).text;
}

WPARAM CheckState(HWND parent, int id) {
    return Get(Child(parent, id)).check;
}

void FailRegisterClass(const std::string &className) {
    state().failingClasses.insert(className);
}
void FailCreateWindow(const std::string &className) {
    state().failingWindowClasses.insert(className);
}
void FailCreateControl(int id) {
    state().failingControls.insert(id);
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window *target = FindWindow(window);
    if (!target || target->destroyed)
        return 0;
    if (target->procedure)
        return target->procedure(window, message, wParam, lParam);
    return BuiltInControl(*target, message, wParam);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted = {window, message, wParam, lParam, 0, {0, 0}};
    state().queue.push_back(posted);
}

void WhenIdle(std::function<void()> action) {
    state().idle = std::move(action);
}

void Minimize(HWND window) {
    Window *target = FindWindow(window);
    target->iconic = true;
    target->visible = true;
    // The system asks for the size limits once the window counts as minimized.
    MINMAXINFO limits = {};
    Deliver(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
}

const std::vector<MessageBox> &MessageBoxes() {
    return state().messageBoxes;
}

std::vector<std::string> SystemMenu(HWND window) {
    std::vector<std::string> entries;
    auto found = state().systemMenus.find(window);
    if (found == state().systemMenus.end())
        return std::vector<std::string>(std::begin(STANDARD_SYSTEM_MENU),
                                        std::end(STANDARD_SYSTEM_MENU));
    for (const MenuItem &item : found->second) {
        std::string entry = (item.flags & MF_SEPARATOR) ? "-" : item.text;
        if (item.addedByProgram)
            entry += " =" + std::to_string(item.id);
        entries.push_back(entry);
    }
    return entries;
}

void SetDefWindowProcResult(LRESULT result) {
    state().defWindowProcResult = result;
}

std::map<UINT_PTR, UINT> Timers(HWND window) {
    return state().timers[window];
}
void FailSetTimer() {
    state().setTimerFails = true;
}
void SetScreenSize(int width, int height) {
    state().screenWidth = width;
    state().screenHeight = height;
}

} // namespace fake

using namespace fake;

int GetSystemMetrics(int index) {
    Record("GetSystemMetrics(" +
           std::string(index == SM_CXSCREEN   ? "SM_CXSCREEN"
                       : index == SM_CYSCREEN ? "SM_CYSCREEN"
                                              : std::to_string(index)) +
           ")");
    if (index == SM_CXSCREEN)
        return state().screenWidth;
    if (index == SM_CYSCREEN)
        return state().screenHeight;
    return 0;
}

ATOM RegisterClassExA(const WNDCLASSEXA *windowClass) {
    std::string name = windowClass->lpszClassName ? windowClass->lpszClassName : "";
    Record("RegisterClassExA(cbSize=" + std::to_string(windowClass->cbSize) + ", style=" +
           Hex(windowClass->style) + ", extra=" + std::to_string(windowClass->cbClsExtra) + "/" +
           std::to_string(windowClass->cbWndExtra) + ", instance=" + Name(windowClass->hInstance) +
           ", icon=" + Name(windowClass->hIcon) + ", cursor=" + Name(windowClass->hCursor) +
           ", background=" + Hex(reinterpret_cast<uintptr_t>(windowClass->hbrBackground)) +
           ", menu=" + Quote(windowClass->lpszMenuName) + ", class=" + Quote(name.c_str()) +
           ", smallIcon=" + Name(windowClass->hIconSm) + ")");
    if (state().failingClasses.count(name) || state().classes.count(name))
        return 0;
    state().classes[name] = *windowClass;
    return static_cast<ATOM>(0xC000 + state().classes.size());
}

HWND CreateWindowExA(DWORD extendedStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter) {
    const bool child = (style & WS_CHILD) != 0;
    const int id = child ? static_cast<int>(reinterpret_cast<uintptr_t>(menu)) : 0;
    Record("CreateWindowExA(" + Hex(extendedStyle) + ", " + Quote(className) + ", " +
           Quote(windowName) + ", " + Hex(style) + ", " + std::to_string(x) + ", " +
           std::to_string(y) + ", " + std::to_string(width) + ", " + std::to_string(height) + ", " +
           Name(parent) + ", " + (child ? std::to_string(id) : Name(menu)) + ", " + Name(instance) +
           (parameter ? ", parameter" : "") + ")");
    std::string name = className ? className : "";
    auto registered = state().classes.find(name);
    if ((child ? state().failingControls.count(id) : state().failingWindowClasses.count(name)) ||
        (registered == state().classes.end() && !IsSystemClass(name)))
        return nullptr;

    HWND window = reinterpret_cast<HWND>(NewHandle(NameForNewWindow(name, parent, id)));
    Window &created = state().windows[window];
    created.name = Name(window);
    created.className = name;
    created.text = windowName ? windowName : "";
    created.extendedStyle = extendedStyle;
    created.style = style;
    created.x = x;
    created.y = y;
    created.width = width;
    created.height = height;
    created.parent = parent;
    created.id = id;
    created.instance = instance;
    created.visible = (style & WS_VISIBLE) != 0;
    if (registered != state().classes.end())
        created.procedure = registered->second.lpfnWndProc;
    state().creationOrder.push_back(window);

    if (Deliver(window, WM_CREATE) == -1) {
        FindWindow(window)->destroyed = true;
        return nullptr;
    }
    return window;
}

BOOL DestroyWindow(HWND window) {
    Record("DestroyWindow(" + Name(window) + ")");
    Window *target = FindWindow(window);
    if (!target || target->destroyed)
        return FALSE;
    DestroyTree(window);
    return TRUE;
}

BOOL ShowWindow(HWND window, int showCommand) {
    Record("ShowWindow(" + Name(window) + ", " + std::to_string(showCommand) + ")");
    Window *target = FindWindow(window);
    if (!target || target->destroyed)
        return FALSE;
    BOOL wasVisible = target->visible;
    switch (showCommand) {
    case SW_HIDE:
        target->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!target->iconic)
            Minimize(window);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        target->visible = true;
        target->iconic = false;
        break;
    default:
        target->visible = true;
        break;
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    Record("UpdateWindow(" + Name(window) + ")");
    return FindWindow(window) != nullptr;
}

BOOL IsIconic(HWND window) {
    Record("IsIconic(" + Name(window) + ")");
    return Get(window).iconic;
}

BOOL IsWindowVisible(HWND window) {
    Record("IsWindowVisible(" + Name(window) + ")");
    return Get(window).visible;
}

HWND SetFocus(HWND window) {
    Record("SetFocus(" + Name(window) + ")");
    HWND previous = state().focus;
    state().focus = window;
    return previous;
}

BOOL GetMessageA(LPMSG message, HWND, UINT, UINT) {
    if (state().queue.empty() && state().idle)
        state().idle();
    if (state().queue.empty()) {
        Record("GetMessageA() -> -1");
        return -1;
    }
    *message = state().queue.front();
    state().queue.pop_front();
    Record("GetMessageA() -> " + MessageName(message->message));
    return message->message == WM_QUIT ? 0 : 1;
}

BOOL TranslateMessage(const MSG *) {
    return FALSE;
}

LRESULT DispatchMessageA(const MSG *message) {
    return Deliver(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) {
    Record("PostQuitMessage(" + std::to_string(exitCode) + ")");
    Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record("DefWindowProcA(" + Name(window) + ", " + MessageName(message) + ", " + Hex(wParam) +
           ", " + Hex(static_cast<uintptr_t>(lParam)) + ")");
    // What the system does with the few commands a test cares about.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
        Deliver(window, WM_CLOSE);
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE)
        Minimize(window);
    return state().defWindowProcResult;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record("SendMessageA(" + Name(window) + ", " + MessageName(message) + ", " +
           (message == WM_SETFONT ? Name(reinterpret_cast<void *>(wParam)) : Hex(wParam)) + ", " +
           Hex(static_cast<uintptr_t>(lParam)) + ")");
    return Deliver(window, message, wParam, lParam);
}

UINT RegisterWindowMessageA(LPCSTR name) {
    Record("RegisterWindowMessageA(" + Quote(name) + ")");
    auto &number = state().registeredMessages[name];
    if (!number)
        number = 0xC000 + static_cast<UINT>(state().registeredMessages.size());
    return number;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Record("MessageBoxA(" + Name(owner) + ", " + Quote(text) + ", " + Quote(caption) + ", " +
           Hex(type) + ")");
    state().messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}

HWND GetDlgItem(HWND dialog, int id) {
    Record("GetDlgItem(" + Name(dialog) + ", " + std::to_string(id) + ")");
    return Child(dialog, id);
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    Record("SetDlgItemTextA(" + Name(dialog) + ", " + std::to_string(id) + ", " + Quote(text) +
           ")");
    Window *control = FindWindow(Child(dialog, id));
    if (!control)
        return FALSE;
    control->text = text ? text : "";
    return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int bufferSize) {
    Record("GetDlgItemTextA(" + Name(dialog) + ", " + std::to_string(id) + ", " + Name(buffer) +
           ", " + std::to_string(bufferSize) + ")");
    if (bufferSize <= 0)
        return 0;
    const std::string text = Get(Child(dialog, id)).text;
    // Like an edit box: the text ends at its first NUL.
    size_t length = std::min(strlen(text.c_str()), static_cast<size_t>(bufferSize - 1));
    memcpy(buffer, text.c_str(), length);
    buffer[length] = '\0';
    return static_cast<UINT>(length);
}

int GetWindowTextLengthA(HWND window) {
    Record("GetWindowTextLengthA(" + Name(window) + ")");
    return static_cast<int>(strlen(Get(window).text.c_str()));
}

HMENU GetSystemMenu(HWND window, BOOL revert) {
    Record("GetSystemMenu(" + Name(window) + ", " + std::to_string(revert) + ")");
    if (!FindWindow(window))
        return nullptr;
    if (!state().systemMenus.count(window))
        for (const char *text : STANDARD_SYSTEM_MENU)
            state().systemMenus[window].push_back(
                {std::string(text) == "-" ? MF_SEPARATOR : MF_STRING, 0, text, false});
    uintptr_t handle = reinterpret_cast<uintptr_t>(window) + 1;
    state().handleNames[handle] = "menu(" + Name(window) + ")";
    return reinterpret_cast<HMENU>(handle);
}

static std::vector<MenuItem> *MenuOf(HMENU menu) {
    HWND window = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(menu) - 1);
    auto found = state().systemMenus.find(window);
    return found != state().systemMenus.end() ? &found->second : nullptr;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    Record("DeleteMenu(" + Name(menu) + ", " + std::to_string(position) + ", " + Hex(flags) + ")");
    std::vector<MenuItem> *items = MenuOf(menu);
    if (!items || !(flags & MF_BYPOSITION) || position >= items->size())
        return FALSE;
    items->erase(items->begin() + position);
    return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    Record("AppendMenuA(" + Name(menu) + ", " + Hex(flags) + ", " + std::to_string(id) + ", " +
           Quote(text) + ")");
    std::vector<MenuItem> *items = MenuOf(menu);
    if (!items)
        return FALSE;
    items->push_back({flags, id, (flags & MF_SEPARATOR) ? "" : (text ? text : ""), true});
    return TRUE;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    Record("LoadIconA(" + Name(instance) + ", " + ResourceName(name) + ")");
    // Shared: the same handle every time, never to be destroyed.
    return static_cast<HICON>(SharedHandle("icon(" + ResourceName(name) + ")"));
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    Record("LoadCursorA(" + Name(instance) + ", " + ResourceName(name) + ")");
    return static_cast<HCURSOR>(SharedHandle("cursor(" + ResourceName(name) + ")"));
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags) {
    Record("LoadImageA(" + Name(instance) + ", " + ResourceName(name) + ", " +
           std::to_string(type) + ", " + std::to_string(width) + ", " + std::to_string(height) +
           ", " + Hex(flags) + ")");
    // A fresh handle per call, which its owner must destroy.
    HICON icon =
        reinterpret_cast<HICON>(NewHandle("icon#" + std::to_string(++state().namesInUse['i'])));
    state().loadedIcons[icon] =
        "icon " + ResourceName(name) + " " + std::to_string(width) + "x" + std::to_string(height);
    return icon;
}

BOOL DestroyIcon(HICON icon) {
    Record("DestroyIcon(" + Name(icon) + ")");
    return state().loadedIcons.erase(icon) ? TRUE : FALSE;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
    Record("SetTimer(" + Name(window) + ", " + std::to_string(id) + ", " +
           std::to_string(milliseconds) + (procedure ? ", procedure" : ", NULL") + ")");
    if (state().setTimerFails || !FindWindow(window))
        return 0;
    state().timers[window][id] = milliseconds;
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    Record("KillTimer(" + Name(window) + ", " + std::to_string(id) + ")");
    return state().timers[window].erase(id) ? TRUE : FALSE;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
    Record("BeginPaint(" + Name(window) + ")");
    memset(paint, 0, sizeof *paint);
    paint->hdc = reinterpret_cast<HDC>(NewHandle("dc(" + Name(window) + ")"));
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT *paint) {
    Record("EndPaint(" + Name(window) + ", " + Name(paint->hdc) + ")");
    return TRUE;
}

BOOL DrawIcon(HDC context, int x, int y, HICON icon) {
    Record("DrawIcon(" + Name(context) + ", " + std::to_string(x) + ", " + std::to_string(y) +
           ", " + Name(icon) + ")");
    return icon != nullptr;
}
