#include "vars/ExpandLine.h"

namespace dotvane {
namespace {

// Whether a rest of a template holds a reference.
bool HoldsReference(std::string_view rest)
{
    const size_t open = rest.find('$');
    return open != std::string_view::npos && rest.find('$', open + 1) != std::string_view::npos;
}

}  // namespace

std::string ExpandLine(std::string_view lineTemplate, const VariableContext& context, ExpansionBudget& budget)
{
    const size_t limit = budget.LineLimit();
    std::string text;
    std::string_view rest = lineTemplate;
    // Text up to one character past the limit tells that the line went on.
    const auto append = [&](std::string_view part) { text.append(part.substr(0, limit + 1 - text.size())); };
    while (!rest.empty() && text.size() <= limit) {
        const size_t open = rest.find('$');
        const size_t close = open == std::string_view::npos ? open : rest.find('$', open + 1);
        if (close == std::string_view::npos) {
            // A "$" without a later "$" stays as it is.
            append(rest);
            rest = {};
            break;
        }
        append(rest.substr(0, open));
        if (text.size() > limit) break;
        if (!budget.TakeVariable()) break;
        // The value is never searched for references: scanning goes on in
        // the template, after the reference.
        append(ExpandVariable(rest.substr(open + 1, close - open - 1), context));
        rest.remove_prefix(close + 1);
    }
    if (HoldsReference(rest)) budget.SetCut();
    if (text.size() > limit) text.resize(limit);
    return text;
}

std::string ExpandLine(std::string_view lineTemplate, const VariableContext& context)
{
    ExpansionBudget budget(context.MainSettings);
    return ExpandLine(lineTemplate, context, budget);
}

}  // namespace dotvane
