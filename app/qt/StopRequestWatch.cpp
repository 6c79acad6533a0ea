#include "app/qt/StopRequestWatch.h"

#include <QSocketNotifier>

namespace dotvane {

StopRequestWatch::StopRequestWatch(platform::StopRequests& requests, std::function<void()> stop)
    : requests_(requests), stop_(std::move(stop))
{
    if (requests_.Descriptor() < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(requests_.Descriptor(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        if (requests_.Take()) stop_();
    });
}

StopRequestWatch::~StopRequestWatch() = default;

}  // namespace dotvane
