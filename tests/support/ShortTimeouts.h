#pragma once

#include <chrono>

#include "platform/HttpClient.h"

namespace kestavel::test {

// Client settings for tests against the local server: a refused or stalled fetch gives up in
// seconds rather than the minutes real use allows.
inline HttpOptions ShortTimeouts() {
    using namespace std::chrono_literals;
    HttpOptions options;
    options.connectTimeout = 2000ms;
    options.stallTime = 1s;
    options.totalTimeout = 10000ms;
    options.restWithoutRetryAfter = 200ms;
    return options;
}

}  // namespace kestavel::test
