#include "app/NoticeFilter.h"

#include "app/NoticeText.h"

#include <vector>

namespace dotvane {

void NoticeFilter::SetStatusText(const std::string& text) { host_.SetStatusText(CutNotice(text)); }

void NoticeFilter::Show(const std::string& text, bool error)
{
    std::string shown = CutNotice(text);
    if (holdBoxes_) {
        if (!boxes_.MayGoOut(shown)) return;
        // A box has no place to tell the counts of boxes forgotten to make
        // room; they were shown once at least.
        std::vector<HeldBack> forgotten;
        shown = WithHeldBackNote(boxes_.WentOut(shown, forgotten));
    }
    if (error)
        host_.ShowError(shown);
    else
        host_.ShowMessage(shown);
}

}  // namespace dotvane
