#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "platform/Clock.h"
#include "platform/CodePage.h"

namespace kestavel {
namespace fs = std::filesystem;

std::string JoinPath(std::string_view left, std::string_view right) {
    if (left.empty()) return std::string(right);
    std::string joined(left);
    const char separator = static_cast<char>(fs::path::preferred_separator);
    if (joined.back() != separator) joined += separator;
    joined += right;
    return joined;
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

std::string PathAsOnDisk(const std::string& path) {
    if (path.empty() || PathExists(path)) return path;
    std::string found = path.front() == '/' ? "/" : "";
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string_view part(path.data() + start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        const std::string asText = JoinPath(found, part);
        GbkText bytes;
        if (PathExists(asText)) {
            found = asText;
        } else if (TryUtf8ToGbk(part, bytes) && PathExists(JoinPath(found, bytes.bytes()))) {
            found = JoinPath(found, bytes.bytes());
        } else {
            return path;
        }
    }
    return found;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    if (!IsDirectory(path) && PathExists(path)) {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::string contents((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
            if (!in.bad()) return contents;
        }
    }
    return std::nullopt;
}

bool WriteWholeFile(const std::string& path, std::string_view contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    return static_cast<bool>(out);
}

bool DeleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

int CreateFileBeside(const std::string& target, std::string& path) {
    std::string folder = fs::path(target).parent_path().string();
    if (folder.empty()) folder = ".";
    // Not mkstemp: its files are private to the user, and the file made here is to be seen like
    // any other once renamed, with the permissions the user's umask gives.
    thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".kestavel-";
        for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
        path = JoinPath(folder, name + ".part");
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents) {
    std::string temporary;
    const int fd = CreateFileBeside(path, temporary);
    if (fd < 0) return false;
    ::close(fd);
    if (!WriteWholeFile(temporary, contents) || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool MoveFile(const std::string& from, const std::string& to) {
    // link + unlink refuses an existing target atomically where rename would replace it.
    if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0;
    if (PathExists(to) || !PathExists(from)) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool LinkOrCopyFile(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0) return true;
    if (PathExists(to)) return false;
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::none, error) && !error;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error) && !error;
}

std::optional<LocalDateTime> LastWriteTime(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return ToLocal(info.st_mtime);
}

std::optional<std::int64_t> WallClockHoursSinceLastWrite(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return WallClockHoursBetween(info.st_mtime, std::time(nullptr));
}

bool CreateDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    return IsDirectory(path);
}

namespace {
char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The raw entries of a folder with the type readdir gives (DT_UNKNOWN on some file systems).
bool ForEachRawEntry(const std::string& folder,
                     const std::function<void(std::string_view name, unsigned char type)>& visit) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        visit(name, entry->d_type);
    }
    return true;
}
}  // namespace

// ASCII letters match either case, as users' picture files come as .jpg and .JPG alike.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    // Iterative match with one backtrack point for the last "*".
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool ForEachDirectoryEntry(const std::string& folder, ListFilter filter, std::string_view pattern,
                           const std::function<void(std::string_view name)>& visit) {
    return ForEachRawEntry(folder, [&](std::string_view name, unsigned char type) {
        if (!MatchesWildcard(name, pattern)) return;
        if (filter == ListFilter::DirectoriesOnly) {
            bool isDir = type == DT_DIR;
            if (type == DT_UNKNOWN || type == DT_LNK) isDir = IsDirectory(JoinPath(folder, name));
            if (!isDir) return;
        }
        visit(name);
    });
}

bool CanListDirectory(const std::string& folder) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    return dir != nullptr;
}

void ForEachDirectoryEntryKind(
    const std::string& folder,
    const std::function<void(std::string_view name, EntryKind kind)>& visit) {
    ForEachRawEntry(folder, [&](std::string_view name, unsigned char type) {
        if (type == DT_DIR) return visit(name, EntryKind::Directory);
        if (type != DT_UNKNOWN && type != DT_LNK) return visit(name, EntryKind::Other);
        const std::string path = JoinPath(folder, name);
        struct stat own {};
        if (::lstat(path.c_str(), &own) != 0) return visit(name, EntryKind::Other);
        if (S_ISDIR(own.st_mode)) return visit(name, EntryKind::Directory);
        if (S_ISLNK(own.st_mode) && IsDirectory(path)) {
            return visit(name, EntryKind::LinkToDirectory);
        }
        visit(name, EntryKind::Other);
    });
}

std::vector<std::string> ListDirectory(const std::string& folder, ListFilter filter,
                                       std::string_view pattern) {
    std::vector<std::string> names;
    ForEachDirectoryEntry(folder, filter, pattern,
                          [&names](std::string_view name) { names.emplace_back(name); });
    return names;
}

std::string ExecutableDirectory() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path(error).string();
    return exe.parent_path().string();
}

}  // namespace kestavel
