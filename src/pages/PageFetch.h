#pragma once

#include <string>

namespace kestavel {

class HttpClient;

// Fetches a workshop page and writes its body to `path`, a temporary name beside the saved page:
// true when the answer counts as a page. No answer (an unreachable host, a transfer cut short or
// stopped), an answer with status 429 or 5xx, a body of 3 bytes or fewer and a body that cannot
// be written all fail, and leave nothing at `path`.
bool FetchPageTo(HttpClient& http, const std::string& address, const std::string& path);

}  // namespace kestavel
