#pragma once

#include <string>

namespace kestavel::test {

// A small tmpfs mounted over a folder, for the faults that no file permission makes for root: a
// full disk and a read-only file system. Without the right to mount it is simply not mounted,
// and the test says so and skips.
class ScratchMount {
  public:
    ScratchMount(const std::string& folder, std::size_t bytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return mounted_; }
    bool makeReadOnly();
    // A filler file takes every byte still free.
    bool fill();

  private:
    std::string folder_;
    std::string options_;
    bool mounted_ = false;
};

}  // namespace kestavel::test
