#include "platform/linux/pdh/CounterPath.h"

#include <array>

namespace dotvane::platform {
namespace {

struct CounterName {
    std::string_view object;
    std::string_view counter;
    CounterKind kind;
};

constexpr std::array kCounters{
    CounterName{"Processor", "% Processor Time", CounterKind::ProcessorTime},
    CounterName{"Memory", "Available Bytes", CounterKind::AvailableBytes},
    CounterName{"Memory", "Available KBytes", CounterKind::AvailableKBytes},
    CounterName{"Memory", "Available MBytes", CounterKind::AvailableMBytes},
    CounterName{"Memory", "% Committed Bytes In Use", CounterKind::CommittedBytesInUse},
    CounterName{"System", "Processes", CounterKind::Processes},
    CounterName{"System", "Threads", CounterKind::Threads},
    CounterName{"System", "System Up Time", CounterKind::SystemUpTime},
    CounterName{"Network Interface", "Bytes Received/sec", CounterKind::BytesReceived},
    CounterName{"Network Interface", "Bytes Sent/sec", CounterKind::BytesSent},
    CounterName{"Network Interface", "Bytes Total/sec", CounterKind::BytesTotal},
    CounterName{"PhysicalDisk", "Disk Read Bytes/sec", CounterKind::DiskReadBytes},
    CounterName{"PhysicalDisk", "Disk Write Bytes/sec", CounterKind::DiskWriteBytes},
    CounterName{"PhysicalDisk", "% Disk Time", CounterKind::DiskTime},
};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool HasInstances(std::string_view object)
{
    return !SameIgnoringCase(object, "Memory") && !SameIgnoringCase(object, "System");
}

}  // namespace

bool IsRate(CounterKind kind)
{
    switch (kind) {
    case CounterKind::ProcessorTime:
    case CounterKind::BytesReceived:
    case CounterKind::BytesSent:
    case CounterKind::BytesTotal:
    case CounterKind::DiskReadBytes:
    case CounterKind::DiskWriteBytes:
    case CounterKind::DiskTime:
        return true;
    default:
        return false;
    }
}

PdhStatus ParseCounterPath(std::string_view path, CounterPath& out)
{
    // "\Object(Instance)\Counter": the counter follows the last backslash,
    // the instance lies between the first "(" and the ")" that closes the
    // object part.
    if (path.size() < 2 || path[0] != '\\' || path[1] == '\\') return kPdhCstatusBadCountername;
    const size_t split = path.rfind('\\');
    if (split == 0) return kPdhCstatusBadCountername;
    std::string_view object = path.substr(1, split - 1);
    const std::string_view counter = path.substr(split + 1);
    std::string_view instance;
    bool instanceGiven = false;
    if (const size_t open = object.find('('); open != std::string_view::npos) {
        if (!object.ends_with(')')) return kPdhCstatusBadCountername;
        instance = object.substr(open + 1, object.size() - open - 2);
        object = object.substr(0, open);
        instanceGiven = true;
    }
    if (object.empty() || counter.empty()) return kPdhCstatusBadCountername;

    bool objectKnown = false;
    for (const CounterName& name : kCounters) {
        if (!SameIgnoringCase(name.object, object)) continue;
        objectKnown = true;
        if (!SameIgnoringCase(name.counter, counter)) continue;
        if (instanceGiven != HasInstances(object) || (instanceGiven && instance.empty()))
            return kPdhCstatusBadCountername;
        out.kind = name.kind;
        out.instance = std::string(instance);
        return kErrorSuccess;
    }
    return objectKnown ? kPdhCstatusNoCounter : kPdhCstatusNoObject;
}

}  // namespace dotvane::platform
