#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

namespace kestavel {

// Bytes copied so far and the size of the file being copied.
using CopyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

enum class CopyResult { Copied, Failed, Stopped };

// Whether the copy is on the disk, rename included, before the call returns (for files whose loss
// would cost stored data), or may still sit in the system's cache.
enum class Durability { Cached, OnDisk };

// Copies a regular file chunk by chunk into a temporary name beside the target and renames it
// over the target once complete, so the target is always either what it was or the whole copy.
// progress is called before the first chunk and after each one. A stop request is honoured
// between chunks: the temporary file is removed and the target left as it was. The copy keeps
// the source's permission bits and times. Anything but a regular file (a folder, a pipe) fails.
CopyResult CopyFileInChunks(const std::string& from, const std::string& to,
                            const CopyProgress& progress, std::stop_token stop = {},
                            Durability durability = Durability::Cached);

// The whole percent done, rounded down; a file of 0 bytes is wholly done.
int PercentDone(std::uint64_t done, std::uint64_t total);

}  // namespace kestavel
