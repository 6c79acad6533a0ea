#include "vars/SensorMirror.h"

#include "platform/NamedSections.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace dotvane {
namespace {

// Layout of the section as far as it is read: nine index entries of type
// and count, then records of 80 bytes whose reading lies at byte 16.
constexpr size_t kIndexEntries = 9;
constexpr size_t kFirstCount = 12;
constexpr size_t kIndexEnd = kFirstCount + 8 * (kIndexEntries - 1) + 4;
constexpr size_t kRecordsOffset = 88;
constexpr size_t kRecordSize = 80;
constexpr size_t kReadingOffset = 16;
constexpr size_t kReadingSize = 8;
static_assert(kSensorSectionBytes == kRecordsOffset + kRecordSize * (kSensorSlots - 1) + kReadingOffset + kReadingSize);

uint64_t ReadLittleEndian(const std::byte* bytes, size_t width)
{
    uint64_t value = 0;
    for (size_t k = 0; k < width; ++k) value |= static_cast<uint64_t>(bytes[k]) << (8 * k);
    return value;
}

// How many whole readings a view of `size` bytes holds.
size_t RecordsInView(size_t size)
{
    const size_t firstEnd = kRecordsOffset + kReadingOffset + kReadingSize;
    return size < firstEnd ? 0 : (size - firstEnd) / kRecordSize + 1;
}

}  // namespace

bool RefreshSensors(SensorReadings& SensorMirror)
{
    platform::NamedSections& sections = platform::NamedSectionsService::Current();
    const auto mapping = sections.OpenFileMapping(platform::kSensorSectionName);
    if (mapping == 0) return false;
    const std::byte* view = sections.MapViewOfFile(mapping, kSensorSectionBytes);
    if (view == nullptr) {
        sections.CloseHandle(mapping);
        return false;
    }

    // The producer's counts are trusted only as far as the mirror and the
    // view reach: more than 100 records, or records beyond the end of the
    // section, are never read.
    const size_t size = std::min(sections.ViewSize(view), kSensorSectionBytes);
    const bool read = size >= kIndexEnd;
    if (read) {
        int64_t announced = 0;
        for (size_t i = 0; i < kIndexEntries; ++i)
            announced += static_cast<int32_t>(ReadLittleEndian(view + kFirstCount + 8 * i, 4));
        const auto limit = static_cast<int64_t>(std::min(kSensorSlots, RecordsInView(size)));
        const int64_t count = std::clamp<int64_t>(announced, 0, limit);
        for (int64_t j = 0; j < count; ++j) {
            const std::byte* reading = view + kRecordsOffset + kRecordSize * j + kReadingOffset;
            SensorMirror[j] = std::bit_cast<double>(ReadLittleEndian(reading, kReadingSize));
        }
    }

    sections.UnmapViewOfFile(view);
    sections.CloseHandle(mapping);
    return read;
}

const SensorReadings& SensorRefresh::Readings()
{
    if (due_) {
        due_ = false;
        RefreshSensors(mirror_);
    }
    return mirror_;
}

}  // namespace dotvane
