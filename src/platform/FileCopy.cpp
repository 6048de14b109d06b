#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/FileSystem.h"

namespace kestavel {
namespace {

// Large enough that the calls cost nothing beside the bytes, small enough that a stop request
// and the progress bar are answered within milliseconds.
constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // False when the last writes could not be completed.
    bool close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

// Errors by which copy_file_range says it cannot serve these two files at all (another file
// system, an old kernel), so plain reads and writes must.
bool NeedsPlainCopy(int error) {
    return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP ||
           error == EBADF;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// One chunk from the current offset of in to that of out: the bytes copied, 0 at the end of the
// file, negative on failure. Inside the kernel where it can, through a buffer where it cannot.
ssize_t CopyChunk(int in, int out, bool& plain) {
    if (!plain) {
        for (;;) {
            const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, kChunkBytes, 0);
            if (copied >= 0) return copied;
            if (errno != EINTR) break;
        }
        if (!NeedsPlainCopy(errno)) return -1;
        plain = true;
    }
    thread_local std::vector<char> buffer(kBufferBytes);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got;
        return WriteAll(out, buffer.data(), static_cast<std::size_t>(got)) ? got : -1;
    }
}

// Makes a rename in the folder lasting; a folder that cannot be synced leaves it to the system.
void SyncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.valid()) ::fsync(handle.get());
}

}  // namespace

int PercentDone(std::uint64_t done, std::uint64_t total) {
    if (total == 0 || done >= total) return 100;
    return static_cast<int>(done * 100 / total);
}

CopyResult CopyFileInChunks(const std::string& from, const std::string& to,
                            const CopyProgress& progress, std::stop_token stop,
                            Durability durability) {
    if (stop.stop_requested()) return CopyResult::Stopped;
    // Not blocking, so that a pipe met among the files fails here instead of waiting for a writer.
    FileHandle in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat source {};
    if (!in.valid() || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode)) {
        return CopyResult::Failed;
    }

    std::string temporary;
    FileHandle out(CreateFileBeside(to, temporary));
    if (!out.valid()) return CopyResult::Failed;
    const auto discard = [&](CopyResult result) {
        out.close();
        ::unlink(temporary.c_str());
        return result;
    };

    const auto total = static_cast<std::uint64_t>(source.st_size);
    std::uint64_t done = 0;
    if (progress) progress(0, total);
    bool plain = false;
    for (;;) {
        if (stop.stop_requested()) return discard(CopyResult::Stopped);
        const ssize_t copied = CopyChunk(in.get(), out.get(), plain);
        if (copied < 0) return discard(CopyResult::Failed);
        if (copied == 0) {
            // Some file systems report a size of 0 for files that do have contents, and the
            // kernel copy then copies nothing: read them once the plain way to be sure.
            if (done == 0 && !plain) {
                plain = true;
                continue;
            }
            break;
        }
        done += static_cast<std::uint64_t>(copied);
        if (progress) progress(done, std::max(total, done));
    }

    ::fchmod(out.get(), source.st_mode & 0777);
    const timespec times[2] = {source.st_atim, source.st_mtim};
    ::futimens(out.get(), times);
    const bool onDisk = durability == Durability::OnDisk;
    if ((onDisk && ::fsync(out.get()) != 0) || !out.close()) return discard(CopyResult::Failed);
    if (::rename(temporary.c_str(), to.c_str()) != 0) return discard(CopyResult::Failed);
    if (onDisk) SyncFolderOf(to);
    return CopyResult::Copied;
}

}  // namespace kestavel
