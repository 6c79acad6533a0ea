#pragma once

#include "lcd/ParallelPort.h"
#include "platform/LibraryLoader.h"
#include "platform/PortLibrary.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dotvane::test {

// What the entry points of the fake port library reach: every access with
// its width in bytes.
class PortTarget {
public:
    virtual ~PortTarget() = default;
    virtual void Write(uint32_t port, uint32_t value, int width) = 0;
    virtual uint32_t Read(uint32_t port, int width) = 0;
};

// A library loader with one library, whose entry points are plain functions
// forwarding to a PortTarget. One instance may exist at a time.
class FakePortLibrary : public platform::LibraryLoader {
public:
    explicit FakePortLibrary(PortTarget& target);
    ~FakePortLibrary() override;

    std::string FileName(const std::string& name) override { return name + ".fake"; }
    platform::LibraryHandle Load(const std::string& folder, const std::string& fileName) override;
    void* Symbol(platform::LibraryHandle library, const std::string& name) override;
    bool Unload(platform::LibraryHandle library) override;

    // Entry points the library does not export.
    std::set<std::string> Missing;
    bool LoadFails = false;
    bool UnloadFails = false;
    // What DlPortRequestAccess answers (0 grants).
    int32_t AccessError = 0;
    // What DlPortCheckDevice answers, and how often it was asked.
    PortHealth Device;
    int DeviceChecks = 0;

    std::vector<std::pair<std::string, std::string>> Loads;  // folder, file name
    std::vector<std::pair<uint32_t, uint32_t>> AccessRequests;
    int Unloads = 0;
    bool IsLoaded() const { return loaded_; }

    PortTarget& Target() { return target_; }
    static FakePortLibrary& Current();

private:
    PortTarget& target_;
    bool loaded_ = false;
};

// Records every access; reads are answered by `Answer` (0xFF on every byte
// unless set).
class RecordingPort : public PortTarget {
public:
    struct Access {
        bool IsWrite;
        uint32_t Port;
        uint32_t Value;
        int Width;
        bool operator==(const Access&) const = default;
    };

    void Write(uint32_t port, uint32_t value, int width) override { Log.push_back({true, port, value, width}); }
    uint32_t Read(uint32_t port, int width) override
    {
        const uint32_t value = Answer ? Answer(port) : 0xFFFFFFFFu >> (32 - 8 * width);
        Log.push_back({false, port, value, width});
        return value;
    }

    // The values of the writes of one width to one port, in order.
    std::vector<uint32_t> WritesTo(uint32_t port, int width = 1) const;
    int WriteCount() const;

    std::vector<Access> Log;
    std::function<uint32_t(uint32_t port)> Answer;
};

}  // namespace dotvane::test
