#include "pages/PageDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/FoldedSearch.h"

#if defined(__SANITIZE_ADDRESS__)
#define KESTAVEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTAVEL_ASAN 1
#endif
#endif
#if defined(KESTAVEL_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace kestavel {
namespace {

// Under AddressSanitizer the unused end of the page buffer is marked unreadable, so a search
// that looked past the bytes read would be caught even inside the allocation.
void MarkUnused(const char* from, std::size_t bytes) {
#if defined(KESTAVEL_ASAN)
    ASAN_POISON_MEMORY_REGION(from, bytes);
#else
    (void)from;
    (void)bytes;
#endif
}

void MarkUsed(const char* from, std::size_t bytes) {
#if defined(KESTAVEL_ASAN)
    ASAN_UNPOISON_MEMORY_REGION(from, bytes);
#else
    (void)from;
    (void)bytes;
#endif
}

// The first block is small enough that a search satisfied in the page's head reads little more;
// the next read asks for the rest of the file as it was when opened, so a page read to its end
// costs two reads, or one when asked to be read whole (a file that grew since it was opened goes
// on in blocks at least this large).
constexpr std::size_t kFirstBlockBytes = 32 * 1024;
constexpr std::size_t kBlockBytes = 64 * 1024;

// The buffer of the last page closed, kept for the next page: a command opens page after page
// of about the same size, and a fresh allocation of that size would come from the system each
// time and fault in every one of its memory pages again. Buffers above the cap go back at once.
constexpr std::size_t kSpareCapBytes = 4 * 1024 * 1024;
constexpr std::size_t kBufferStepBytes = 64 * 1024;

struct SpareBuffer {
    std::unique_ptr<char[]> data;
    std::size_t capacity = 0;
};

SpareBuffer& Spare() {
    thread_local SpareBuffer spare;
    return spare;
}

}  // namespace

std::string PageAddress(std::string_view pagePrefix, const GbkText& code) {
    return std::string(pagePrefix) + GbkToUtf8(code);
}

std::unique_ptr<PageDocument> PageDocument::open(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return nullptr;
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        return nullptr;
    }
    std::unique_ptr<PageDocument> page(new PageDocument());
    page->file_ = file;
    page->modified_ = info.st_mtime;
    // One byte more than the file holds, so the read that reaches its end comes back short.
    page->reserve(static_cast<std::size_t>(info.st_size) + 1);
    return page;
}

std::unique_ptr<PageDocument> PageDocument::fromBytes(std::string bytes) {
    std::unique_ptr<PageDocument> page(new PageDocument());
    page->reserve(bytes.size() + 1);
    MarkUsed(page->data_.get(), bytes.size());
    if (!bytes.empty()) std::memcpy(page->data_.get(), bytes.data(), bytes.size());
    page->size_ = bytes.size();
    page->complete_ = page->size_;
    page->ended_ = true;
    return page;
}

PageDocument::~PageDocument() {
    if (file_ >= 0) ::close(file_);
    if (!data_) return;
    MarkUsed(data_.get(), capacity_);
    SpareBuffer& spare = Spare();
    if (capacity_ <= kSpareCapBytes && capacity_ > spare.capacity) {
        spare.data = std::move(data_);
        spare.capacity = capacity_;
    }
}

void PageDocument::reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    // Uninitialised: every byte below size_ is written by a read before it is looked at.
    std::unique_ptr<char[]> grown;
    SpareBuffer& spare = Spare();
    if (spare.data && spare.capacity >= capacity) {
        grown = std::move(spare.data);
        capacity = spare.capacity;
        spare.capacity = 0;
    } else {
        // Rounded up, so the next page of about the same size fits the same buffer.
        capacity = (capacity + kBufferStepBytes - 1) / kBufferStepBytes * kBufferStepBytes;
        grown.reset(new char[capacity]);
    }
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    if (data_) MarkUsed(data_.get(), capacity_);
    data_ = std::move(grown);
    capacity_ = capacity;
    MarkUnused(data_.get() + size_, capacity_ - size_);
}

std::optional<LocalDateTime> PageDocument::lastWriteTime() const {
    if (!modified_) return std::nullopt;
    return ToLocal(*modified_);
}

void PageDocument::readToEnd() {
    while (readMore(true)) {
    }
}

bool PageDocument::readMore(bool toEnd) {
    if (ended_) return false;
    const std::size_t block =
        size_ == 0 && !toEnd ? kFirstBlockBytes : std::max(kBlockBytes, capacity_ - size_);
    // A file that grew since it was opened makes the buffer grow as well.
    if (capacity_ - size_ < block) reserve(std::max(capacity_ * 2, size_ + block));
    MarkUsed(data_.get() + size_, block);
    ssize_t got = 0;
    do {
        got = ::read(file_, data_.get() + size_, block);
    } while (got < 0 && errno == EINTR);
    const std::size_t before = size_;
    size_ += got > 0 ? static_cast<std::size_t>(got) : 0;
    MarkUnused(data_.get() + size_, capacity_ - size_);
    if (got < static_cast<ssize_t>(block)) {
        // A regular file reads short only at its end; a read error ends the page where the
        // reading stopped.
        ended_ = true;
        complete_ = size_;
        ::close(file_);
        file_ = -1;
        return got > 0;
    }
    for (std::size_t i = size_; i > before; --i) {
        if (data_[i - 1] == '\n') {
            complete_ = i;
            break;
        }
    }
    return true;
}

bool PageDocument::completeLineAt(std::size_t start) {
    while (!ended_ && complete_ <= start) readMore();
    return start < size_;
}

PageDocument::MarkerHit PageDocument::hitAt(std::size_t offset) const {
    MarkerHit found;
    found.line = lineAround(offset);
    found.position = offset - found.line.start + 1;
    return found;
}

PageDocument::Line PageDocument::lineAround(std::size_t offset) const {
    const char* bytes = data();
    std::size_t start = offset;
    while (start > 0 && bytes[start - 1] != '\n') --start;
    Line line;
    line.start = start;
    const void* feed = std::memchr(bytes + offset, '\n', size_ - offset);
    std::size_t end = size_;
    if (feed && static_cast<const char*>(feed) < bytes + complete_) {
        end = static_cast<std::size_t>(static_cast<const char*>(feed) - bytes);
        line.last = false;
        line.next = end + 1;
        if (end > start && bytes[end - 1] == '\r') --end;
    } else {
        line.last = true;
        line.next = size_;
    }
    line.length = end - start;
    return line;
}

std::string_view PageDocument::text(const Line& line) const {
    return std::string_view(data() + line.start, line.length);
}

std::optional<PageDocument::MarkerHit> PageDocument::findFirst(std::string_view marker) {
    return findFrom(marker, 0);
}

std::optional<PageDocument::MarkerHit> PageDocument::findNextAfter(std::string_view marker,
                                                                   const Line& line) {
    if (line.last) return std::nullopt;
    return findFrom(marker, line.next);
}

std::optional<PageDocument::MarkerHit> PageDocument::findFrom(std::string_view marker,
                                                              std::size_t from) {
    for (;;) {
        // Only whole lines are searched: a marker holds no line feed, so an occurrence never
        // reaches past the last line feed read, and a later search goes on where this one ended.
        if (from < complete_) {
            const char* hit = FindFolded(data() + from, data() + complete_, marker);
            if (hit) return hitAt(static_cast<std::size_t>(hit - data()));
            from = complete_;
        }
        if (ended_) return std::nullopt;
        readMore();
    }
}

void PageDocument::findFirstOfEach(const std::string_view* markers, std::size_t count,
                                   std::optional<MarkerHit>* hits) {
    std::vector<std::string_view> active(markers, markers + count);
    std::vector<std::size_t> index(count);
    for (std::size_t i = 0; i < count; ++i) {
        hits[i].reset();
        index[i] = i;
    }
    std::size_t from = 0;
    while (!active.empty()) {
        std::size_t which = 0;
        const char* hit =
            FindFoldedAny(data() + from, data() + complete_, active.data(), active.size(), &which);
        if (hit) {
            const auto offset = static_cast<std::size_t>(hit - data());
            MarkerHit found;
            found.line = lineAround(offset);
            found.position = offset - found.line.start + 1;
            hits[index[which]] = found;
            active.erase(active.begin() + static_cast<std::ptrdiff_t>(which));
            index.erase(index.begin() + static_cast<std::ptrdiff_t>(which));
            // Another marker may start at the same byte: the others go on from there.
            from = offset;
            continue;
        }
        if (ended_) return;
        from = complete_;
        readMore();
    }
}

std::optional<PageDocument::MarkerHit> PageDocument::findAnyFrom(const std::string_view* markers,
                                                                 std::size_t count,
                                                                 std::size_t from,
                                                                 std::size_t* which) {
    for (;;) {
        if (from < complete_) {
            const char* hit =
                FindFoldedAny(data() + from, data() + complete_, markers, count, which);
            if (hit) return hitAt(static_cast<std::size_t>(hit - data()));
            from = complete_;
        }
        if (ended_) return std::nullopt;
        readMore();
    }
}

std::optional<PageDocument::Line> PageDocument::findFirstOpening(std::string_view marker,
                                                                 Indent indent) {
    std::size_t from = 0;
    for (;;) {
        while (const char* hit = FindFolded(data() + from, data() + complete_, marker)) {
            auto offset = static_cast<std::size_t>(hit - data());
            std::size_t before = offset;
            if (indent == Indent::Blanks) {
                while (before > 0 && (data()[before - 1] == ' ' || data()[before - 1] == '\t')) {
                    --before;
                }
            }
            if (before == 0 || data()[before - 1] == '\n') return lineAround(offset);
            from = offset + 1;
        }
        if (ended_) return std::nullopt;
        from = std::max(from, complete_);
        readMore();
    }
}

std::optional<PageDocument::Line> PageDocument::lineAfter(const Line& line) {
    if (line.last || !completeLineAt(line.next)) return std::nullopt;
    return lineAround(line.next);
}

bool PageDocument::nextLine(std::string_view& line) {
    if (!completeLineAt(cursor_)) return false;
    const Line found = lineAround(cursor_);
    line = text(found);
    cursor_ = found.last ? size_ : found.next;
    return true;
}

bool IsLivePage(PageDocument& page) {
    // A live page holds neither removed-item form, so the pass reads it to its end, best at once.
    page.readToEnd();
    const std::string_view markers[] = {kLivePageMarker, kErrorTitleMarker, kRemovedItemMarker};
    std::optional<PageDocument::MarkerHit> hits[std::size(markers)];
    page.findFirstOfEach(markers, std::size(markers), hits);
    return IsLiveByMarkers(hits[0].has_value(), hits[1].has_value(), hits[2].has_value());
}

}  // namespace kestavel
