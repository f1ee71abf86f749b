#include "net/outside/smtp_mail.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include "net/outside/http_fetch.h"

namespace meldora {

namespace {

std::string withoutLineBreaks(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }),
               text.end());
    return text;
}

// An address in angle brackets, as the envelope and the headers carry it.
std::string bracketed(const std::string& address)
{
    std::string text = "<";
    text += withoutLineBreaks(address);
    text += '>';
    return text;
}

// A host name, a dotted or bracketed address, and an optional port: nothing that could
// change the meaning of the smtp:// address it goes into.
bool isServerName(const std::string& server)
{
    return !server.empty() && std::all_of(server.begin(), server.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

// The date header in the fixed English form the mail rules ask for, whatever the locale.
std::string dateHeader()
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", days[utc.tm_wday], utc.tm_mday,
                  months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

struct Upload {
    std::string message;
    std::size_t sent = 0;
    const std::atomic<bool>* cancel;
};

std::size_t giveMessage(char* buffer, std::size_t size, std::size_t count, void* user)
{
    auto* upload = static_cast<Upload*>(user);
    const std::size_t bytes = std::min(size * count, upload->message.size() - upload->sent);
    upload->message.copy(buffer, bytes, upload->sent);
    upload->sent += bytes;
    return bytes;
}

int checkCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* upload = static_cast<const Upload*>(user);
    return upload->cancel && upload->cancel->load() ? 1 : 0;
}

}  // namespace

std::string mailMessage(const Mail& mail)
{
    std::string message = "Date: " + dateHeader() + "\r\n" +
                          "From: " + bracketed(mail.from) + "\r\n" +
                          "To: " + bracketed(mail.to) + "\r\n" +
                          "Subject: " + withoutLineBreaks(mail.subject) + "\r\n" +
                          "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n";
    for (const std::string& line : mail.bodyLines)
        message += withoutLineBreaks(line) + "\r\n";
    return message;
}

MailOutcome sendMail(const Mail& mail, std::chrono::milliseconds timeout, const std::atomic<bool>* cancel)
{
    if (!isServerName(mail.server))
        return MailOutcome::InvalidHost;
    initCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl)
        return MailOutcome::ConnectionFailed;
    Upload upload{mailMessage(mail), 0, cancel};
    const std::string url = "smtp://" + mail.server;
    const std::string from = bracketed(mail.from);
    curl_slist* recipients = curl_slist_append(nullptr, bracketed(mail.to).c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    if (!mail.password.empty()) {
        const std::string login = withoutLineBreaks(mail.from);
        curl_easy_setopt(curl, CURLOPT_USERNAME, login.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, mail.password.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, giveMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &upload);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    switch (result) {
    case CURLE_OK:
        return MailOutcome::Sent;
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_HOST:
        return MailOutcome::InvalidHost;
    case CURLE_LOGIN_DENIED:
        return MailOutcome::AuthenticationFailed;
    default:
        return MailOutcome::ConnectionFailed;
    }
}

}  // namespace meldora
