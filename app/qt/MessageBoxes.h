#pragma once

#include <map>
#include <string>

class QMessageBox;
class QWidget;

namespace dotvane {

// The program's message boxes. Each waits for its OK, unless a stop request
// closes them all first: the program must end within a second whatever it
// is showing, even before its window exists.
class MessageBoxes {
public:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // Shows the text (the program's) in a modal box, an error box when
    // `error`, over `parent` (none: a box of its own), and returns once the
    // box is closed. Does nothing while a box with the same text is open,
    // or once CloseAll was called.
    void Show(QWidget* parent, const std::string& text, bool error);
    // Closes every open box; no box opens any more.
    void CloseAll();
    bool Closed() const { return closed_; }

private:
    std::map<std::string, QMessageBox*> open_;
    bool closed_ = false;
};

}  // namespace dotvane
