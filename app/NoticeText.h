#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dotvane {

// The longest text a message box, a status text or a line of the notice
// log takes, in bytes (characters of the program's text); far more than
// anyone reads, and a bound on what a hostile file name or reply can make
// the program show.
inline constexpr size_t kNoticeTextLimit = 1024;

// The text, cut to kNoticeTextLimit bytes where it is longer, the last
// three of them "...". Three full stops rather than an ellipsis: the
// program's text is Latin-1 on Linux, which has none, and the Windows code
// page's (0x85) is a control character in Latin-1 and in the log's UTF-8;
// the program writes "…" from elsewhere as "..." too.
std::string CutNotice(std::string_view text);

// The local date and time as ISO 8601 writes it, to the second.
std::string TimeStamp();

}  // namespace dotvane
