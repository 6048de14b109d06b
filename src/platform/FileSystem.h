#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LocalDateTime.h"

namespace kestavel {

// Paths are native strings (UTF-8 on Linux). Every routine reports failure by its result.

// Joins with the platform's own separator; an empty left part gives the right part unchanged.
std::string JoinPath(std::string_view left, std::string_view right);

bool PathExists(const std::string& path);
// The name by which the file system knows a path given as UTF-8 text. A folder made on a Chinese
// Windows and copied here keeps its GBK bytes as its name: a part of the path that does not exist
// under its UTF-8 name but does under its GBK bytes is taken by those bytes. A path that names
// nothing either way is given back unchanged.
std::string PathAsOnDisk(const std::string& path);
bool IsDirectory(const std::string& path);
// Size in bytes of a regular file; negative when it does not exist or is not a file.
std::int64_t FileSize(const std::string& path);
std::optional<std::string> ReadWholeFile(const std::string& path);
// Replaces the file's contents; false when it cannot be written.
bool WriteWholeFile(const std::string& path, std::string_view contents);
bool DeleteFile(const std::string& path);
// Creates a new empty file under a unique temporary name in the folder of target, to be written
// and then renamed over target. Gives its descriptor, open for writing, and sets path; -1 when it
// cannot be made.
int CreateFileBeside(const std::string& target, std::string& path);
// Writes the whole contents under a temporary name beside the file and then puts it in place in
// one step, so the file is never seen half written.
bool WriteFileAtomically(const std::string& path, std::string_view contents);
// Fails when the target exists.
bool MoveFile(const std::string& from, const std::string& to);
// Replaces the target in one step.
bool ReplaceFile(const std::string& from, const std::string& to);
// A second name for the file (a copy where the file system has no hard links); fails when the
// target exists.
bool LinkOrCopyFile(const std::string& from, const std::string& to);
// Replaces the target.
bool CopyFile(const std::string& from, const std::string& to);
std::optional<LocalDateTime> LastWriteTime(const std::string& path);
// Whole hours since the last write as the local wall clock counts them, a part of an hour
// dropped: across a daylight-saving change the count follows the clock, not the time elapsed.
// Nothing for a missing path.
std::optional<std::int64_t> WallClockHoursSinceLastWrite(const std::string& path);
// Creates one directory level; true when it exists afterwards.
bool CreateDirectory(const std::string& path);

enum class ListFilter { Everything, DirectoriesOnly };

// Entry names of a folder in the order the file system returns them, "." and ".." left out.
// The pattern accepts "*" and "?" wildcards ("*" or "*.*" for all). An unreadable folder gives
// an empty listing.
std::vector<std::string> ListDirectory(const std::string& folder, ListFilter filter,
                                       std::string_view pattern = "*");
// The same entries handed over one at a time, for callers that keep them more compactly; false
// when the folder cannot be opened (missing, not a folder, no permission).
bool ForEachDirectoryEntry(const std::string& folder, ListFilter filter, std::string_view pattern,
                           const std::function<void(std::string_view name)>& visit);

// True when the folder can be opened for listing.
bool CanListDirectory(const std::string& folder);
// What a folder entry is. A symbolic link counts as what it points to, except that one pointing to
// a folder is told apart from a real folder, so a walk of a tree can refuse to follow it.
enum class EntryKind { Directory, LinkToDirectory, Other };

// Every entry of a folder with its kind, in the order the file system returns them, "." and ".."
// left out. An unreadable folder gives nothing.
void ForEachDirectoryEntryKind(
    const std::string& folder,
    const std::function<void(std::string_view name, EntryKind kind)>& visit);

bool MatchesWildcard(std::string_view name, std::string_view pattern);

// The directory that holds the running executable, without a trailing separator.
std::string ExecutableDirectory();

}  // namespace kestavel
