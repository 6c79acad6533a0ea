#pragma once

#include "platform/CounterQuery.h"

#include <string>
#include <string_view>

namespace dotvane::platform {

// The counters understood on Linux, by their Windows paths:
//   \Processor(_Total|N)\% Processor Time                       rate
//   \Memory\Available Bytes | Available KBytes | Available MBytes
//   \Memory\% Committed Bytes In Use
//   \System\Processes | Threads | System Up Time
//   \Network Interface(name|_Total)\Bytes Received/sec |
//       Bytes Sent/sec | Bytes Total/sec                        rates
//   \PhysicalDisk(name|_Total)\Disk Read Bytes/sec |
//       Disk Write Bytes/sec | % Disk Time                      rates
// Object and counter names match without regard to case, as on Windows;
// instance names are the kernel's (an interface such as "eth0", a disk such
// as "sda") or "_Total".
enum class CounterKind {
    ProcessorTime,
    AvailableBytes,
    AvailableKBytes,
    AvailableMBytes,
    CommittedBytesInUse,
    Processes,
    Threads,
    SystemUpTime,
    BytesReceived,
    BytesSent,
    BytesTotal,
    DiskReadBytes,
    DiskWriteBytes,
    DiskTime,
};

struct CounterPath {
    CounterKind kind = CounterKind::Processes;
    // Empty for the objects that have no instances (Memory, System).
    std::string instance;
};

// Whether the counter's value is a change between two samples.
bool IsRate(CounterKind kind);

// Parses "\Object(Instance)\Counter" or "\Object\Counter". Fails with
// kPdhCstatusBadCountername for a malformed path (also an instance given to
// an object without instances, or missing for one with them),
// kPdhCstatusNoObject for an unknown object and kPdhCstatusNoCounter for a
// counter the object does not have.
PdhStatus ParseCounterPath(std::string_view path, CounterPath& out);

}  // namespace dotvane::platform
