#include "platform/linux/dlportio/ParportDevices.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

namespace dotvane::dlportio {
namespace {

// A base-addr text is two numbers and a line end; anything longer than this
// is not one.
constexpr size_t kMostBaseText = 64;

// At most kMostBaseText bytes of a file, without waiting: a FIFO or a device
// put in place of the file gives what it has at once, or nothing.
std::string ReadSmallFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return {};
    std::string text(kMostBaseText, '\0');
    size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        filled += static_cast<size_t>(got);
    }
    ::close(fd);
    text.resize(filled);
    return text;
}

}  // namespace

std::optional<uint32_t> FirstBaseAddress(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<std::string> FindParportDevice(uint32_t base, const std::string& procRoot, const std::string& devRoot)
{
    for (int n = 0; n < kParportCount; ++n) {
        const std::string name = "parport" + std::to_string(n);
        const std::optional<uint32_t> address =
            FirstBaseAddress(ReadSmallFile(procRoot + "/sys/dev/parport/" + name + "/base-addr"));
        if (address == base) return devRoot + "/" + name;
    }
    return std::nullopt;
}

}  // namespace dotvane::dlportio
