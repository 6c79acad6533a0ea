// Any response must be taken apart without a crash: the input is split
// into lines the way the socket layer delivers them and fed to the response
// head; the redirect that a location leads to must parse or be refused
// with a NetError, and so must the input taken as a page address.
#include "vars/net/HttpMessage.h"
#include "vars/net/NetError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void TryAddress(const std::string& address)
{
    try {
        const dotvane::HttpTarget target = dotvane::ParseHttpAddress(address);
        if (target.Path.empty() || target.Path.size() > dotvane::kMaxRequestPath) std::abort();
        (void)dotvane::HttpRequestText(target, "a=b");
    } catch (const dotvane::NetError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view response(reinterpret_cast<const char*>(data), size);
    dotvane::HttpResponseHead head;
    size_t at = 0;
    try {
        for (;;) {
            const size_t end = response.find('\n', at);
            // Without a further line feed the connection ends: an empty line.
            const std::string_view line =
                end == std::string_view::npos ? std::string_view() : response.substr(at, end + 1 - at);
            if (!head.TakeLine(line)) break;
            at = end + 1;
        }
    } catch (const dotvane::NetError&) {
        // Only a response longer than the limit can hold such a header.
        if (response.size() <= dotvane::kMaxResponseHead) std::abort();
    }
    TryAddress(dotvane::RedirectAddress(head.Location(), "example.org:8080"));
    TryAddress(std::string(response));
    return 0;
}
