#pragma once

#include "base/Timer.h"

#include <QTimer>

namespace dotvane {

// A Timer on a QTimer. QTimer restarts on every setInterval and fires
// continuously at 0, so the count is only (re)started where Timer says.
class QtTimer : public Timer {
public:
    explicit QtTimer(int32_t interval);

protected:
    void Rearm() override;

private:
    QTimer timer_;
};

}  // namespace dotvane
