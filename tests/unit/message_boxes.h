// The message boxes the program showed while a watch lasted. On the host
// they come from the fake; on Windows a thread finds each real box, reads
// it and presses its OK button, as a user would.
#ifndef SOMNIVO_TESTS_MESSAGE_BOXES_H
#define SOMNIVO_TESTS_MESSAGE_BOXES_H

#include <ostream>
#include <string>
#include <vector>

struct SeenMessageBox {
    std::string text;
    std::string caption;
    unsigned style; // the icon, with MB_OK (0)

    bool operator==(const SeenMessageBox &other) const {
        return text == other.text && caption == other.caption && style == other.style;
    }
};

inline std::ostream &operator<<(std::ostream &out, const SeenMessageBox &box) {
    return out << "{\"" << box.text << "\", \"" << box.caption << "\", 0x" << std::hex << box.style
               << std::dec << "}";
}

class WatchMessageBoxes {
  public:
    WatchMessageBoxes();
    ~WatchMessageBoxes();
    WatchMessageBoxes(const WatchMessageBoxes &) = delete;
    WatchMessageBoxes &operator=(const WatchMessageBoxes &) = delete;

    std::vector<SeenMessageBox> Seen() const;

  private:
    struct Watch;
    Watch *watch_;
};

#endif
