// One HTTP(S) GET with libcurl, bounded in time and size. It blocks: call it from a worker
// thread, never from the window's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace meldora {

struct FetchLimits {
    std::chrono::milliseconds timeout{10000};  // the whole exchange, connecting included
    std::size_t maxBytes = 1024;               // a longer answer counts as failed
};

// The body the address answers with. Nothing when the server cannot be reached, answers with
// an HTTP error, takes longer than the timeout, sends more than maxBytes, or when *cancel
// becomes true meanwhile.
std::optional<std::string> fetchText(const std::string& url, const FetchLimits& limits,
                                     const std::atomic<bool>* cancel = nullptr);

// libcurl's one-time set-up; must run on the main thread before the first worker starts.
void initCurlOnce();

}  // namespace meldora
