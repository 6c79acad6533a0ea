#include "vars/net/Pop3Reply.h"

#include "vars/net/ReplyWords.h"

namespace dotvane {

bool IsPositiveReply(std::string_view line) { return Word(line, 0).find("+OK") != std::string_view::npos; }

int32_t StatCount(std::string_view line) { return PlainInteger(Word(line, 1)); }

std::string ReplyText(std::string_view line) { return std::string(WithoutLineEnd(line)); }

}  // namespace dotvane
