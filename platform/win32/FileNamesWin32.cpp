#include "platform/FileNames.h"

#include "platform/win32/Win32Api.h"

#include <climits>
#include <string>
#include <vector>

namespace dotvane::platform {

// Windows opens the names as users write them. They are text in the ANSI
// code page, which is how they are turned into the path's wide characters.
std::filesystem::path NativePath(std::string_view name)
{
    if (name.empty() || name.size() > static_cast<size_t>(INT_MAX) || name.find('\0') != std::string_view::npos)
        return {};
    const int size = static_cast<int>(name.size());
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
    if (wide <= 0) return std::filesystem::path(std::string(name));
    std::wstring text(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), size, text.data(), wide);
    return std::filesystem::path(text);
}

std::string ShownName(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    if (wide.empty() || wide.size() > static_cast<size_t>(INT_MAX)) return {};
    const int size = static_cast<int>(wide.size());
    const int narrow = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return {};
    std::string text(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), narrow, nullptr, nullptr);
    return text;
}

std::string ProgramFolder()
{
    // The buffer grows until the whole path fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return ".\\";
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            const size_t separator = path.find_last_of("\\/");
            return separator == std::string::npos ? ".\\" : path.substr(0, separator + 1);
        }
        if (buffer.size() >= 32768) return ".\\";
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace dotvane::platform
