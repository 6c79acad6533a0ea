#pragma once

#include <string>

namespace dotvane {

// What the program's logic needs from its window: modal messages, the status
// line, the desktop's "open" of an address, and letting the window handle
// pending events while a network wait goes on. The Qt window provides the
// real one; tests install a recording host. Without any host the calls do
// nothing (StatusText is then empty).
class Host {
public:
    virtual ~Host() = default;

    // A modal box with the text and an OK button. The host shows a given
    // text at most once at a time: asking again while the same text is
    // still open returns at once instead of stacking another box.
    virtual void ShowMessage(const std::string& text) = 0;
    // The same as an error-type dialog.
    virtual void ShowError(const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual std::string StatusText() const = 0;
    virtual void OpenUrl(const std::string& address) = 0;
    virtual void ProcessMessages() = 0;
};

// The host the free functions below talk to; nullptr removes it.
void InstallHost(Host* host);
Host* InstalledHost();

void ShowMessage(const std::string& text);
void ShowError(const std::string& text);
void SetStatusText(const std::string& text);
// Appends to the status line with no separator.
void AppendStatus(const std::string& text);
std::string StatusText();
void ProcessMessages();

}  // namespace dotvane
