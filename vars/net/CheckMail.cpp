#include "vars/net/CheckMail.h"

#include <exception>
#include <string>

namespace dotvane {

MailCheck::MailCheck(MailAccounts accounts, std::array<int32_t, kMailAccounts>& counts, TPop3Client& client,
                     Notices& notices)
    : accounts_(accounts), counts_(counts), client_(client), notices_(notices)
{
}

void MailCheck::VisitAccounts()
{
    for (size_t i = 0; i < counts_.size(); ++i) {
        if (accounts_.Host[i].empty()) continue;
        notices_.SetStatusText("Checking Pop3 account: " + std::to_string(i));
        client_.Host = accounts_.Host[i];
        client_.UserID = accounts_.UserID[i];
        client_.Password = accounts_.Password[i];
        client_.Connect();
        counts_[i] = client_.MailCount;
        client_.Disconnect();
        notices_.SetStatusText("Pop3 account checked: " + std::to_string(i));
    }
}

void MailCheck::CheckMail()
{
    if (!accounts_.Enable) return;
    auto running = busy_.Enter();
    if (!running) return;
    try {
        // A connection still open belongs to a pass that was interrupted:
        // this tick only closes it.
        if (client_.Connected()) {
            client_.Disconnect();
        } else {
            VisitAccounts();
        }
    } catch (const std::exception& error) {
        // The next tick may start a pass while the message is open.
        running.Leave();
        notices_.ShowMessage(error.what());
    }
}

}  // namespace dotvane
