#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dotvane::test {

// The bytes of a motherboard-monitor sensor section, written at the offsets
// the monitor uses: index entry i at 8 + 8·i (type, then count, both 32-bit
// little-endian), record j at 88 + 80·j with its reading, a little-endian
// double, at byte 16 of the record. Records without a given reading hold
// -1 so that a read beyond the given ones shows.
class SensorSection {
public:
    explicit SensorSection(size_t records) : bytes(88 + 80 * records, std::byte{0xEE})
    {
        for (size_t i = 0; i < 10; ++i) SetCount(i, 0);
        for (size_t j = 0; j < records; ++j) SetReading(j, -1);
    }

    SensorSection& SetCount(size_t entry, int32_t count)
    {
        Put(8 + 8 * entry, entry + 1, 4);
        Put(12 + 8 * entry, static_cast<uint32_t>(count), 4);
        return *this;
    }
    SensorSection& SetReading(size_t record, double value)
    {
        Put(88 + 80 * record + 16, std::bit_cast<uint64_t>(value), 8);
        return *this;
    }

    std::vector<std::byte> bytes;

private:
    void Put(size_t offset, uint64_t value, size_t width)
    {
        for (size_t k = 0; k < width && offset + k < bytes.size(); ++k)
            bytes[offset + k] = static_cast<std::byte>((value >> (8 * k)) & 0xFF);
    }
};

}  // namespace dotvane::test
