#include "platform/ThreadLookup.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace dotvane::platform {
namespace {

// What the lookup thread hands back; shared so that an abandoned lookup's
// thread can still finish writing after its HostLookup is gone.
struct LookupResult {
    std::atomic<HostLookup::Status> status{HostLookup::Status::Pending};
    Ipv4Address address = 0;
};

class ThreadLookup : public HostLookup {
public:
    ThreadLookup(const std::string& name, BlockingResolver resolve) : result_(std::make_shared<LookupResult>())
    {
        try {
            std::thread(Resolve, name, std::move(resolve), result_).detach();
        } catch (const std::system_error&) {
            result_->status = Status::Failed;
        }
    }

    Status Poll(Ipv4Address& address) override
    {
        const Status status = result_->status.load(std::memory_order_acquire);
        if (status == Status::Found) address = result_->address;
        return status;
    }

private:
    static void Resolve(std::string name, BlockingResolver resolve, std::shared_ptr<LookupResult> result)
    {
        const std::optional<Ipv4Address> address = resolve(name);
        if (address) result->address = *address;
        result->status.store(address ? Status::Found : Status::Failed, std::memory_order_release);
    }

    std::shared_ptr<LookupResult> result_;
};

}  // namespace

std::unique_ptr<HostLookup> LookupOnThread(const std::string& name, BlockingResolver resolve)
{
    return std::make_unique<ThreadLookup>(name, std::move(resolve));
}

}  // namespace dotvane::platform
