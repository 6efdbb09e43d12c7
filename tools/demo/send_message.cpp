// send_message: posts one window message to a top-level window found by its
// class and title, so the demo can do what a user does with the mouse (open
// the About window from the system menu, minimize, close) without one.
//
//   send_message CLASS TITLE MESSAGE [WPARAM]
//
// MESSAGE and WPARAM are decimal, or hexadecimal after 0x. Posted, not sent:
// the window handles it in its own time, as it would a click.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool read_number(const char *text, unsigned long &number) {
    char *end;
    number = std::strtoul(text, &end, 0);
    return *text != '\0' && *end == '\0';
}

} // namespace

int main(int argc, char *argv[]) {
    unsigned long message = 0;
    unsigned long wparam = 0;
    if (argc < 4 || argc > 5 || !read_number(argv[3], message) ||
        (argc == 5 && !read_number(argv[4], wparam))) {
        std::fputs("usage: send_message CLASS TITLE MESSAGE [WPARAM]\n", stderr);
        return 2;
    }
    // Hidden windows count too: a window in the tray still takes messages.
    HWND window = FindWindowA(argv[1], argv[2]);
    if (!window) {
        std::fprintf(stderr, "send_message: no window \"%s\" of class %s\n", argv[2], argv[1]);
        return 1;
    }
    if (!PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wparam), 0)) {
        std::fprintf(stderr, "send_message: could not post to window \"%s\"\n", argv[2]);
        return 1;
    }
    return 0;
}
