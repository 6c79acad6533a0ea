#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dotvane {

// How often a text was held back since it last went out, and when that was.
struct HeldBack {
    std::string Text;
    uint64_t Times = 0;
    // The local date and time it last went out (TimeStamp).
    std::string Since;
};

// The text with a note of how often it was held back, when it was.
std::string WithHeldBackNote(const HeldBack& held);

// The flood rule: a text that went out in the last ten minutes is held back,
// whatever went out in between, and counted; the next time it goes out it
// tells the count. The texts are remembered in the order they went out,
// kCapacity of them at most: to make room the oldest is forgotten, and with
// it its count, which is handed back to be told. Times come from the tick
// count.
class RecentTexts {
public:
    static constexpr uint64_t kHoldMilliseconds = 10 * 60 * 1000;
    // More than the distinct texts the program itself can give: a missing
    // icon or bitmap on each element of every screen comes to 357.
    static constexpr size_t kCapacity = 1024;

    // Whether the text may go out now. One that went out less than ten
    // minutes ago may not, and is counted as held back.
    bool MayGoOut(std::string_view text);
    // Notes that the text goes out now. Gives how often it was held back
    // since it last went out (Times 0 when never), and adds to `forgotten`
    // the counts of texts forgotten to make room for it, if they have one.
    HeldBack WentOut(std::string_view text, std::vector<HeldBack>& forgotten);
    // The counts not told yet, oldest first; every text is forgotten.
    std::vector<HeldBack> TakeUntold();

private:
    struct Entry {
        std::string text;
        uint64_t outAt = 0;
        std::string since;
        uint64_t heldBack = 0;
    };

    std::list<Entry> order_;
    // Keys view the texts of order_'s entries.
    std::unordered_map<std::string_view, std::list<Entry>::iterator> byText_;
};

}  // namespace dotvane
