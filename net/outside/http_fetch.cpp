#include "net/outside/http_fetch.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>

namespace meldora {

namespace {

struct Transfer {
    std::string body;
    std::size_t maxBytes;
    const std::atomic<bool>* cancel;
};

std::size_t keepBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->maxBytes)
        return 0;  // makes libcurl stop with a write error
    transfer->body.append(data, bytes);
    return bytes;
}

// Called by libcurl several times a second, also while it waits: a non-zero answer aborts.
int checkCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->cancel && transfer->cancel->load() ? 1 : 0;
}

}  // namespace

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        std::atexit(curl_global_cleanup);
    });
}

std::optional<std::string> fetchText(const std::string& url, const FetchLimits& limits,
                                     const std::atomic<bool>* cancel)
{
    initCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl)
        return std::nullopt;
    Transfer transfer{{}, limits.maxBytes, cancel};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.timeout.count()));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkCancel);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK)
        return std::nullopt;
    return transfer.body;
}

}  // namespace meldora
