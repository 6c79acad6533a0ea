#include "vars/net/Pop3Client.h"

#include "vars/net/NetError.h"
#include "vars/net/Pop3Reply.h"

namespace dotvane {

namespace {
const char* const kAuthenticationFailed = "Authentication failed";
}

void TPop3Client::Connect()
{
    if (UserID.empty() || Password.empty()) throw NetError(kAuthenticationFailed);
    socket_.Connect(Host, Port);
    try {
        const std::string greeting = socket_.ReadLine();
        if (!IsPositiveReply(greeting)) throw NetError(ReplyText(greeting));
        if (!IsPositiveReply(socket_.Transaction("USER " + UserID))) throw NetError(kAuthenticationFailed);
        if (!IsPositiveReply(socket_.Transaction("PASS " + Password))) throw NetError(kAuthenticationFailed);
        const std::string status = socket_.Transaction("STAT");
        if (!IsPositiveReply(status)) throw NetError(ReplyText(status));
        MailCount = StatCount(status);
    } catch (...) {
        // Log out politely where the connection still stands; the first
        // error is the one that goes on.
        try {
            Disconnect();
        } catch (const NetError&) {
        }
        throw;
    }
}

void TPop3Client::Disconnect()
{
    // A wait of the client's own (even for the name lookup, before there is
    // a connection) is canceled instead.
    if (socket_.Waiting()) {
        socket_.Cancel();
        return;
    }
    if (!socket_.Connected()) return;
    std::string reply;
    try {
        reply = socket_.Transaction("QUIT");
    } catch (...) {
        socket_.Close();
        throw;
    }
    socket_.Close();
    if (!IsPositiveReply(reply)) throw NetError(ReplyText(reply));
}

}  // namespace dotvane
