#pragma once

namespace dotvane::platform {

// The system's requests that the program end: SIGTERM, SIGINT and SIGHUP on
// Linux. While an object of this class lives, such a request does nothing
// but make a descriptor readable, which the event loop watches; the program
// then ends as File > Exit ends it. Further requests while it ends change
// nothing, so the end always blanks the LCD. The three signals are
// unblocked, since a mask inherited from the parent would keep them from
// ever arriving; a signal that was ignored when the object was made (as
// nohup and the background jobs of a shell arrange) stays ignored. SIGPIPE
// is ignored, so that writing to a pipe whose reader has gone fails with an
// error instead of ending the program. When the object ends, each signal is
// handled, and masked, as before. Only one object may live at a time.
class StopRequests {
public:
    StopRequests();
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // Readable once a request came in; -1 where the system sends none or
    // none could be caught.
    int Descriptor() const { return descriptor_; }
    // Reads away what came in; true when a request came in since the last
    // call.
    bool Take();

private:
    int descriptor_ = -1;
};

}  // namespace dotvane::platform
