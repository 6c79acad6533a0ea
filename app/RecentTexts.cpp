#include "app/RecentTexts.h"

#include "app/NoticeText.h"
#include "platform/TickCount.h"

#include <iterator>

namespace dotvane {
namespace {

uint64_t Now() { return platform::TickCountService::Current().GetTickCount64(); }

}  // namespace

std::string WithHeldBackNote(const HeldBack& held)
{
    if (held.Times == 0) return held.Text;
    const std::string times = held.Times == 1 ? "once" : std::to_string(held.Times) + " times";
    return held.Text + " (held back " + times + " since " + held.Since + ")";
}

bool RecentTexts::MayGoOut(std::string_view text)
{
    const auto found = byText_.find(text);
    if (found == byText_.end()) return true;
    Entry& entry = *found->second;
    // Unsigned, so that a count that wrapped (Windows' 49.7 days) lets the
    // text go out rather than holding it back for good.
    if (Now() - entry.outAt >= kHoldMilliseconds) return true;
    ++entry.heldBack;
    return false;
}

HeldBack RecentTexts::WentOut(std::string_view text, std::vector<HeldBack>& forgotten)
{
    HeldBack held{std::string(text), 0, {}};
    if (const auto found = byText_.find(text); found != byText_.end()) {
        const auto entry = found->second;
        held.Times = entry->heldBack;
        held.Since = entry->since;
        byText_.erase(found);
        order_.erase(entry);
    }
    while (order_.size() >= kCapacity) {
        Entry& oldest = order_.front();
        if (oldest.heldBack > 0) forgotten.push_back({oldest.text, oldest.heldBack, oldest.since});
        byText_.erase(oldest.text);
        order_.pop_front();
    }
    order_.push_back({held.Text, Now(), TimeStamp(), 0});
    byText_.emplace(order_.back().text, std::prev(order_.end()));
    return held;
}

std::vector<HeldBack> RecentTexts::TakeUntold()
{
    std::vector<HeldBack> untold;
    for (const Entry& entry : order_)
        if (entry.heldBack > 0) untold.push_back({entry.text, entry.heldBack, entry.since});
    byText_.clear();
    order_.clear();
    return untold;
}

}  // namespace dotvane
