// One plain-text mail sent over SMTP with libcurl. It blocks: call it from a worker thread,
// never from the window's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

namespace meldora {

struct Mail {
    std::string server;    // the SMTP server: a host name or address, optionally ":port" (25 otherwise)
    std::string password;  // logs in as the sender with it; no login when empty
    std::string from;
    std::string to;
    std::string subject;
    std::vector<std::string> bodyLines;
};

// What became of a mail, as the mail component reports it.
enum class MailOutcome { Sent, ConnectionFailed, InvalidHost, AuthenticationFailed };

// The message as it goes over the wire: the headers, a blank line and the body lines, each
// ended by CR LF. Line breaks inside a field are dropped, so that no field can add a header.
std::string mailMessage(const Mail& mail);

MailOutcome sendMail(const Mail& mail, std::chrono::milliseconds timeout, const std::atomic<bool>* cancel = nullptr);

}  // namespace meldora
