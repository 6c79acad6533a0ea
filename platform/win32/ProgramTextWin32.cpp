#include "platform/ProgramText.h"

#include "platform/win32/Win32Api.h"

#include <climits>

namespace dotvane::platform {
namespace {

// Text of one code page in another, through UTF-16; empty when the system
// cannot convert it.
std::string Recode(std::string_view text, UINT from, UINT to)
{
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
    const int size = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return {};
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), size, utf16.data(), wide);
    const int narrow = ::WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return {};
    std::string out(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(to, 0, utf16.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace

std::string Utf8FromProgramText(std::string_view text) { return Recode(text, CP_ACP, CP_UTF8); }

// The system puts its default character, "?", for what the code page lacks,
// and the closest letter where it knows one.
std::string ProgramTextFromUtf8(std::string_view utf8) { return Recode(utf8, CP_UTF8, CP_ACP); }

// Here what the code page lacks is always "?", never a letter that only
// looks alike, as in a file saved in the code page. (A system whose code
// page is UTF-8 lacks nothing, and takes neither choice.)
std::string ProgramTextFromUtf16(std::u16string_view utf16)
{
    if (utf16.empty() || utf16.size() > static_cast<size_t>(INT_MAX)) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(utf16.data());
    const int size = static_cast<int>(utf16.size());
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* missing = utf8 ? nullptr : "?";
    const int narrow = ::WideCharToMultiByte(CP_ACP, flags, wide, size, nullptr, 0, missing, nullptr);
    if (narrow <= 0) return {};
    std::string out(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide, size, out.data(), narrow, missing, nullptr);
    return out;
}

}  // namespace dotvane::platform
