#pragma once

#include "base/Notices.h"
#include "base/ReentrancyGuard.h"
#include "vars/net/Pop3Client.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace dotvane {

inline constexpr size_t kMailAccounts = 5;

// The mail settings a check pass reads, as views into the settings record:
// an account's host, user name and password are read when the pass reaches
// it, so a reload during a wait is seen from the next account on.
struct MailAccounts {
    const bool& Enable;
    const std::array<std::string, kMailAccounts>& Host;
    const std::array<std::string, kMailAccounts>& UserID;
    const std::array<std::string, kMailAccounts>& Password;
};

// The mail check of the mail timer: it stores each account's message count
// in `counts`, reports on the status line and in message boxes through
// `notices`, and talks through `client`.
class MailCheck {
public:
    MailCheck(MailAccounts accounts, std::array<int32_t, kMailAccounts>& counts, TPop3Client& client,
              Notices& notices);

    // One pass, run by each tick of the mail timer: logs in to every account
    // with a host, in order, and stores its message count, telling progress
    // on the status line. The first error ends the pass and is shown in a
    // message box; accounts not reached keep their counts. Nothing happens
    // while checking is off or a pass already runs.
    void CheckMail();

    // True while a pass, or the clean-up of a connection left over from an
    // interrupted one, runs.
    bool MailCheckBusy() const { return busy_.Running(); }

private:
    void VisitAccounts();

    MailAccounts accounts_;
    std::array<int32_t, kMailAccounts>& counts_;
    TPop3Client& client_;
    Notices& notices_;
    ReentrancyGuard busy_;
};

}  // namespace dotvane
