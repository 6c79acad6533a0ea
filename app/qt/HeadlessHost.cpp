#include "app/qt/HeadlessHost.h"

#include "app/qt/QtTimer.h"

#include <QCoreApplication>

namespace dotvane {

HeadlessHost::HeadlessHost(NoticeLog& log, std::string programFolder)
    : log_(log), logic_(std::make_unique<TDotvane>(*this, std::move(programFolder)))
{
}

HeadlessHost::HeadlessHost(NoticeLog& log, std::string programFolder, Display& display)
    : log_(log), logic_(std::make_unique<TDotvane>(*this, std::move(programFolder), display))
{
}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

std::unique_ptr<Timer> HeadlessHost::CreateTimer(int32_t interval) { return std::make_unique<QtTimer>(interval); }

void HeadlessHost::CloseWindow()
{
    if (!closed_) {
        closed_ = true;
        logic_->FormClose();
    }
    QCoreApplication::exit(0);
}

}  // namespace dotvane
