#include "pictures/VariantFetch.h"

#include "platform/FileSystem.h"
#include "platform/HttpClient.h"

namespace kestavel {

std::int64_t VariantFetch(HttpClient& client, const std::string& baseAddress,
                          const std::string& target, bool skipLargest) {
    DeleteFile(target);
    if (baseAddress.empty()) return 0;
    const char* suffixes[] = {"637x358.resizedimage", "512x0.resizedimage", ""};
    for (std::size_t step = skipLargest ? 1 : 0; step < std::size(suffixes); ++step) {
        auto response = client.get(baseAddress + suffixes[step]);
        // An error page must not become the picture; the next variant is tried instead.
        if (!response || response->body.empty() || !response->succeeded()) continue;
        // The target is the item's temporary picture: a kill may leave it cut, and the next
        // fetch of the item removes it first. Only a whole picture is renamed into place.
        if (!WriteWholeFile(target, response->body)) {
            DeleteFile(target);
            return 0;
        }
        return FileSize(target);
    }
    return 0;
}

}  // namespace kestavel
