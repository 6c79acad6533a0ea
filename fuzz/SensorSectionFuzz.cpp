// Any bytes published as the sensor section must be read without a read
// past the end of the view, and without touching a slot beyond the records
// that the view holds or beyond the mirror's 100.
#include "platform/NamedSections.h"
#include "vars/ExpandLine.h"
#include "vars/SensorMirror.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// One section of exactly the fuzzer's bytes, so that the address sanitizer
// sees every read past its end.
class FuzzSections : public dotvane::platform::NamedSections {
public:
    FuzzSections(const uint8_t* data, size_t size) : bytes_(new std::byte[size]), size_(size)
    {
        if (size > 0) std::memcpy(bytes_.get(), data, size);
    }
    Mapping OpenFileMapping(std::string_view) override { return 1; }
    const std::byte* MapViewOfFile(Mapping, size_t) override { return bytes_.get(); }
    size_t ViewSize(const std::byte*) override { return size_; }
    void UnmapViewOfFile(const std::byte*) override {}
    void CloseHandle(Mapping) override {}

private:
    std::unique_ptr<std::byte[]> bytes_;
    size_t size_;
};

constexpr double kUntouched = -12345.5;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSections sections(data, size);
    const dotvane::platform::NamedSectionsService::Scoped installed(sections);
    const dotvane::TMainSettings settings;
    dotvane::LiveValues values;
    values.SensorMirror.fill(kUntouched);
    dotvane::RefreshSensors(values.SensorMirror);
    const size_t inView = size < 112 ? 0 : (size - 112) / 80 + 1;
    for (size_t j = inView; j < dotvane::kSensorSlots; ++j)
        if (std::memcmp(&values.SensorMirror[j], &kUntouched, sizeof kUntouched) != 0) std::abort();
    (void)dotvane::ExpandLine("$mbmtemp(0)$$mbmvolt(3)$$mbmfan(15)$$mbmmhz$$mbmusage(34)$", {settings, values});
    return 0;
}
