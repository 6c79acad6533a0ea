// The sensor section read from a real shared-memory object that another
// process changes while the refresh reads it. The input's first byte says at
// which step of the refresh the object changes and how (cut, removed, made
// anew empty, or cut and grown again with zeros), the next two bytes give the
// size it is cut or grown to, the rest is the object's content. No change may
// raise a signal, and no slot may change beyond the records that the object
// ever held; records that only the zeros of a regrown object hold read 0
// (but for the one that the content's end cuts through).
#include "platform/linux/NamedSectionsLinux.h"
#include "vars/SensorMirror.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using dotvane::platform::NamedSections;

enum class Step { BeforeOpen, AfterOpen, AfterView, AfterSize };
enum class Change { Cut, Remove, MakeAnew, CutAndGrow };

const std::string& Prefix()
{
    static const std::string prefix = "dotvane-fuzz-" + std::to_string(getpid()) + "-";
    return prefix;
}

std::string ObjectName() { return "/" + Prefix() + std::string(dotvane::platform::kSensorSectionName); }

void Resize(off_t size, bool create)
{
    const int fd = shm_open(ObjectName().c_str(), O_RDWR | (create ? O_CREAT : 0), 0600);
    if (fd < 0) return;
    (void)!ftruncate(fd, size);
    close(fd);
}

// Forwards to the Linux sections and changes the object at one step.
class ChangingSections : public NamedSections {
public:
    ChangingSections(Step step, Change change, off_t size, off_t full)
        : step_(step), change_(change), size_(size), full_(full), system_("/nonexistent", "/nonexistent", Prefix())
    {
    }
    Mapping OpenFileMapping(std::string_view name) override
    {
        At(Step::BeforeOpen);
        const Mapping mapping = system_.OpenFileMapping(name);
        At(Step::AfterOpen);
        return mapping;
    }
    const std::byte* MapViewOfFile(Mapping mapping, size_t limit) override
    {
        const std::byte* view = system_.MapViewOfFile(mapping, limit);
        At(Step::AfterView);
        return view;
    }
    size_t ViewSize(const std::byte* view) override
    {
        const size_t size = system_.ViewSize(view);
        At(Step::AfterSize);
        return size;
    }
    void UnmapViewOfFile(const std::byte* view) override { system_.UnmapViewOfFile(view); }
    void CloseHandle(Mapping mapping) override { system_.CloseHandle(mapping); }

private:
    void At(Step step)
    {
        if (step != step_) return;
        switch (change_) {
        case Change::Cut:
            return Resize(size_, false);
        case Change::Remove:
            shm_unlink(ObjectName().c_str());
            return;
        case Change::MakeAnew:
            shm_unlink(ObjectName().c_str());
            return Resize(size_, true);
        case Change::CutAndGrow:
            Resize(size_, false);
            return Resize(std::max(size_, full_), false);
        }
    }

    Step step_;
    Change change_;
    off_t size_;
    off_t full_;
    dotvane::platform::NamedSectionsLinux system_;
};

size_t RecordsIn(size_t bytes) { return bytes < 112 ? 0 : (bytes - 112) / 80 + 1; }

constexpr double kUntouched = -12345.5;

bool Untouched(double value) { return std::memcmp(&value, &kUntouched, sizeof value) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    const auto step = static_cast<Step>(data[0] & 3);
    const auto change = static_cast<Change>((data[0] >> 2) & 3);
    const auto newSize = static_cast<off_t>(data[1] | (data[2] << 8));
    const uint8_t* content = data + 3;
    const size_t contentSize = size - 3;

    const int fd = shm_open(ObjectName().c_str(), O_CREAT | O_TRUNC | O_RDWR, 0600);
    if (fd < 0) std::abort();
    if (contentSize > 0 && pwrite(fd, content, contentSize, 0) != static_cast<ssize_t>(contentSize)) std::abort();
    close(fd);

    dotvane::SensorReadings mirror;
    mirror.fill(kUntouched);
    {
        ChangingSections sections(step, change, newSize, static_cast<off_t>(contentSize));
        const dotvane::platform::NamedSectionsService::Scoped installed(sections);
        dotvane::RefreshSensors(mirror);
    }
    shm_unlink(ObjectName().c_str());

    // An object resized past its content holds zeros there; the record that
    // the content ends in may hold part of it.
    const size_t held = RecordsIn(contentSize);
    const size_t reached =
        RecordsIn(change == Change::Remove ? contentSize : std::max(contentSize, static_cast<size_t>(newSize)));
    for (size_t j = held; j < dotvane::kSensorSlots; ++j) {
        const double value = mirror[j];
        if (Untouched(value) || (j == held && j < reached)) continue;
        if (j >= reached || value != 0.0) std::abort();
    }
    return 0;
}
