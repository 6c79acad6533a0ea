#pragma once

namespace dotvane {

// Marks a piece of work as running, so that a second start of it while it
// runs is turned away. Work starts again from inside itself whenever it lets
// the window handle events: a message box it opened, or a network wait that
// pumps the event loop, runs the timers meanwhile.
class ReentrancyGuard {
public:
    // The work's running mark: held while the entry lives, or until Leave.
    // An empty entry (false) means the work was already running.
    class Entry {
    public:
        Entry(Entry&& other) noexcept : guard_(other.guard_) { other.guard_ = nullptr; }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        Entry& operator=(Entry&&) = delete;
        ~Entry() { Leave(); }

        explicit operator bool() const { return guard_ != nullptr; }
        // Ends the mark early: the work may start again from here on.
        void Leave()
        {
            if (guard_ != nullptr) guard_->running_ = false;
            guard_ = nullptr;
        }

    private:
        friend class ReentrancyGuard;
        explicit Entry(ReentrancyGuard* guard) : guard_(guard) {}
        ReentrancyGuard* guard_;
    };

    ReentrancyGuard() = default;
    ReentrancyGuard(const ReentrancyGuard&) = delete;
    ReentrancyGuard& operator=(const ReentrancyGuard&) = delete;

    // Marks the work as running; an empty entry when it already runs.
    [[nodiscard]] Entry Enter()
    {
        if (running_) return Entry(nullptr);
        running_ = true;
        return Entry(this);
    }
    bool Running() const { return running_; }

private:
    bool running_ = false;
};

}  // namespace dotvane
