// Any reply line must be read without a crash, and the readings must agree
// with each other.
#include "vars/net/Pop3Reply.h"
#include "vars/net/ReplyWords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const bool positive = dotvane::IsPositiveReply(line);
    const int32_t count = dotvane::StatCount(line);
    const std::string text = dotvane::ReplyText(line);
    if (text.size() > line.size() || line.substr(0, text.size()) != text) std::abort();
    if (positive && dotvane::Word(line, 0).find("+OK") == std::string_view::npos) std::abort();
    if (count != 0 && dotvane::Word(line, 1).empty()) std::abort();
    return 0;
}
