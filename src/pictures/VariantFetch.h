#pragma once

#include <cstdint>
#include <string>

namespace kestavel {

class HttpClient;

// Fetches a preview picture into target, trying in turn the base address followed by
// "637x358.resizedimage" (unless skipLargest), by "512x0.resizedimage", and alone; the first
// successful answer with a body is written. An unreachable host, an empty body and an answer
// with any status outside 200-299 count as empty. Gives the size of the written file; 0 when
// nothing usable arrived or it could not be written, and then no target file is left (a stale one
// is removed first).
// The target is a temporary name the caller renames into place once the picture is whole.
std::int64_t VariantFetch(HttpClient& client, const std::string& baseAddress,
                          const std::string& target, bool skipLargest);

}  // namespace kestavel
