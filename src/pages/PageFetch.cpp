#include "pages/PageFetch.h"

#include <cstdint>

#include "pages/PageDocument.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"

namespace kestavel {
namespace {

// A server that is overloaded or failing answers 429 or 5xx with an error page that must not be
// kept as the item's page (it would read as a dead page and the item would never be fetched again).
bool IsFailedStatus(long status) {
    return status == 429 || (status >= 500 && status <= 599);
}

}  // namespace

bool FetchPageTo(HttpClient& http, const std::string& address, const std::string& path) {
    const auto response = http.get(address);
    const bool saved = response && !IsFailedStatus(response->status) &&
                       !IsFailedDownload(static_cast<std::int64_t>(response->body.size())) &&
                       WriteWholeFile(path, response->body);
    // Also what an earlier, killed run left under the name.
    if (!saved) DeleteFile(path);
    return saved;
}

}  // namespace kestavel
