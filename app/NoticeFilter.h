#pragma once

#include "app/RecentTexts.h"
#include "base/Notices.h"

#include <string>

namespace dotvane {

// What the program's logic tells its host, with the rules every shell gets:
// each text is cut to kNoticeTextLimit bytes, and, where `holdBoxes` says
// so, a message box whose text was shown in the last ten minutes is not
// shown again, however many others came in between; the next box with that
// text tells how often it was held back. Status texts always reach the
// status line, which shows how things stand rather than keeping a record.
// The notice log of the program without a window holds its lines back by
// the same rule itself, and tells the counts when it ends, so its boxes
// reach it unheld.
class NoticeFilter : public Notices {
public:
    NoticeFilter(Notices& host, bool holdBoxes) : host_(host), holdBoxes_(holdBoxes) {}

    void ShowMessage(const std::string& text) override { Show(text, false); }
    void ShowError(const std::string& text) override { Show(text, true); }
    void SetStatusText(const std::string& text) override;
    std::string StatusText() const override { return host_.StatusText(); }
    // The host appends in its own way, up to kAppendLimit.
    void AppendStatus(const std::string& text) override { host_.AppendStatus(text); }

    // Forgets which boxes were shown: File > Reload, which the user asks
    // for, tells again what it finds wrong.
    void Forget() { boxes_ = RecentTexts(); }

private:
    void Show(const std::string& text, bool error);

    Notices& host_;
    const bool holdBoxes_;
    RecentTexts boxes_;
};

}  // namespace dotvane
