#pragma once

#include "app/Host.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dotvane::test {

// The host services recorded: what the program shows, with message boxes
// returning at once, and timers driven by hand. `Base` is Host, or an
// interface built on it such as the window host.
template <class Base>
class RecordingHostOf : public Base {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void SetStatusText(const std::string& text) override
    {
        status = text;
        statusHistory.push_back(text);
    }
    std::string StatusText() const override { return status; }
    void OpenUrl(const std::string& address) override { openedUrls.push_back(address); }
    void ProcessMessages() override
    {
        ++processed;
        if (onProcessMessages) onProcessMessages();
    }
    std::unique_ptr<Timer> CreateTimer(int32_t interval) override
    {
        auto timer = std::make_unique<ManualTimer>(interval);
        timers.push_back(timer.get());
        return timer;
    }

    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::string status;
    std::vector<std::string> statusHistory;
    std::vector<std::string> openedUrls;
    int processed = 0;
    std::vector<ManualTimer*> timers;
    // Runs on every ProcessMessages, as pending timer events would.
    std::function<void()> onProcessMessages;
};

using RecordingHost = RecordingHostOf<Host>;

}  // namespace dotvane::test
