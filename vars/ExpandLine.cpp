#include "vars/ExpandLine.h"

namespace dotvane {

std::string ExpandLine(std::string_view lineTemplate, const VariableContext& context)
{
    std::string text(lineTemplate);
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '$') {
            const size_t close = text.find('$', i + 1);
            if (close != std::string::npos) {
                const std::string value = ExpandVariable(std::string_view(text).substr(i + 1, close - i - 1), context);
                text.replace(i, close - i + 1, value);
                // Scanning goes on right after the inserted value.
                i += value.size();
                continue;
            }
        }
        ++i;
    }
    return text;
}

}  // namespace dotvane
