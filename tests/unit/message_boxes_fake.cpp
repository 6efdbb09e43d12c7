#include "message_boxes.h"

#include "fake_win32.h"

struct WatchMessageBoxes::Watch {
    size_t first;
};

WatchMessageBoxes::WatchMessageBoxes() : watch_(new Watch{fake::MessageBoxes().size()}) {}

WatchMessageBoxes::~WatchMessageBoxes() {
    delete watch_;
}

std::vector<SeenMessageBox> WatchMessageBoxes::Seen() const {
    std::vector<SeenMessageBox> seen;
    const auto &boxes = fake::MessageBoxes();
    for (size_t i = watch_->first; i < boxes.size(); ++i)
        seen.push_back({boxes[i].text, boxes[i].caption, boxes[i].style});
    return seen;
}
