#include "vars/net/CheckMail.h"

#include "app/Host.h"
#include "config/Settings.h"
#include "vars/MailCountVariable.h"
#include "vars/net/Pop3Client.h"

#include <exception>
#include <string>

namespace dotvane {

bool MailCheckBusy = false;

namespace {

void VisitAccounts()
{
    const auto& pop3 = MainSettings.Pop3;
    for (size_t i = 0; i < MailCount.size(); ++i) {
        if (pop3.Host[i].empty()) continue;
        SetStatusText("Checking Pop3 account: " + std::to_string(i));
        Pop3Client.Host = pop3.Host[i];
        Pop3Client.UserID = pop3.UserID[i];
        Pop3Client.Password = pop3.Password[i];
        Pop3Client.Connect();
        MailCount[i] = Pop3Client.MailCount;
        Pop3Client.Disconnect();
        SetStatusText("Pop3 account checked: " + std::to_string(i));
    }
}

}  // namespace

void CheckMail()
{
    if (!MainSettings.Pop3.Enable || MailCheckBusy) return;
    MailCheckBusy = true;
    try {
        // A connection still open belongs to a pass that was interrupted:
        // this tick only closes it.
        if (Pop3Client.Connected()) {
            Pop3Client.Disconnect();
        } else {
            VisitAccounts();
        }
    } catch (const std::exception& error) {
        MailCheckBusy = false;
        ShowMessage(error.what());
        return;
    }
    MailCheckBusy = false;
}

}  // namespace dotvane
