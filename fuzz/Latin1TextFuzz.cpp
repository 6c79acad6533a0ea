// Any bytes must convert without a crash, and the conversions must agree
// with each other: the text never grows, valid UTF-8 is what the file rule
// converts, and Latin-1 written as UTF-8, by hand and by Utf8FromLatin1,
// comes back as it was.
#include "platform/Latin1Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace dotvane::platform;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Latin1FromUtf8(bytes);
    if (text.size() > bytes.size()) std::abort();
    if (Latin1FromCodeset(bytes, "UTF-8") != text) std::abort();
    const std::string file = Latin1FromFileBytes(bytes);
    if (file != (IsValidUtf8(bytes) ? text : std::string(bytes))) std::abort();

    std::string encoded;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t byte = data[i];
        if (byte < 0x80) {
            encoded += static_cast<char>(byte);
        } else {
            encoded += static_cast<char>(0xC0 | (byte >> 6));
            encoded += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    if (Utf8FromLatin1(bytes) != encoded) std::abort();
    if (!IsValidUtf8(encoded) || Latin1FromUtf8(encoded) != bytes) std::abort();
    return 0;
}
