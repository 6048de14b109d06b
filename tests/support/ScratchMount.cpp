#include "support/ScratchMount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <vector>

namespace kestavel::test {

ScratchMount::ScratchMount(const std::string& folder, std::size_t bytes)
    : folder_(folder), options_("size=" + std::to_string(bytes)) {
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options_.c_str()) == 0;
}

ScratchMount::~ScratchMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly() {
    return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                               options_.c_str()) == 0;
}

bool ScratchMount::fill() {
    if (!mounted_) return false;
    const std::string filler = folder_ + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const std::vector<char> block(4096, 0);
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
    return true;
}

}  // namespace kestavel::test
