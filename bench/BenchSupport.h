#pragma once

// What the page benchmarks share: their timing and the baseline they are measured against,
// reading the same files whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace kestavel::bench {

using Clock = std::chrono::steady_clock;

inline double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// The baseline: every file read whole with plain system calls, as fast as reading gets. The
// result depends on the bytes read, so the reads cannot be left out.
inline std::size_t ReadAllWhole(const std::vector<std::string>& paths) {
    std::size_t total = 0;
    std::string buffer;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) continue;
        struct stat info {};
        ::fstat(fd, &info);
        buffer.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        ::close(fd);
        total += got + static_cast<unsigned char>(buffer[got / 2]);
    }
    return total;
}

}  // namespace kestavel::bench
