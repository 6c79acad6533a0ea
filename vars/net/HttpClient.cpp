#include "vars/net/HttpClient.h"

#include "vars/net/HttpMessage.h"
#include "vars/net/NetError.h"

namespace dotvane {

void THttpClient::Get(const std::string& address)
{
    // A cookie lives for the redirects of one fetch.
    cookie_.clear();
    std::string current = address;
    for (int request = 0; request < kMaxHttpRequests; ++request) {
        const HttpTarget target = ParseHttpAddress(current);
        HttpResponseHead head;
        Fetch(target, head);
        if (!head.Cookie().empty()) cookie_ = head.Cookie();
        const int32_t status = head.StatusCode();
        if (status >= 300 && status <= 302) {
            current = RedirectAddress(head.Location(), target.Authority);
        } else if (status < 299 || status > 399) {
            return;
        }
    }
    throw NetError("Too many redirects");
}

void THttpClient::Fetch(const HttpTarget& target, HttpResponseHead& head)
{
    socket_.Connect(target.Host, target.Port);
    try {
        socket_.Write(HttpRequestText(target, cookie_));
        while (head.TakeLine(socket_.ReadLine())) {
        }
        body_ = socket_.ReadToClose(kMaxHttpBody);
    } catch (...) {
        socket_.Close();
        throw;
    }
    socket_.Close();
}

}  // namespace dotvane
