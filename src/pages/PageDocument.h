#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/GbkText.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// A page is live when one of its lines holds this marker; otherwise it is dead.
inline constexpr std::string_view kLivePageMarker = "var session_id";
// The workshop's error page for a removed item holds the live marker too these days; a page that
// holds either of these is dead whatever else it holds.
inline constexpr std::string_view kErrorTitleMarker = "<title>Steam Community :: Error</title>";
inline constexpr std::string_view kRemovedItemMarker = "There was a problem accessing the item.";

// The live rule on what the markers found: the live marker, and neither form of the removed-item
// page.
constexpr bool IsLiveByMarkers(bool liveMarker, bool errorTitle, bool removedItem) {
    return liveMarker && !errorTitle && !removedItem;
}

// The workshop page prefix immediately followed by the 编码, nothing inserted or encoded.
std::string PageAddress(std::string_view pagePrefix, const GbkText& code);

// The failure rule: a file of 3 bytes or fewer, or none (a negative size), is a failed download.
constexpr bool IsFailedDownload(std::int64_t size) {
    return size <= 3;
}

// One open PageDocument, read as lines: a line ends at a line feed, a carriage return right
// before it is not part of the line, the last line needs no line feed.
//
// The file is read from its start in blocks, only as far as a search needs, and every byte is
// read from disk once however many searches run; searching a block for a marker finds the first
// line holding it without cutting the block into lines. A line's text is a view that stays
// valid until the next call that may read on (any find, lineAfter or nextLine).
class PageDocument {
  public:
    // A line of the page: where it starts in the page and its length without the line end.
    struct Line {
        std::size_t start = 0;
        std::size_t length = 0;
        std::size_t next = 0;  // where the next line would start: after this line's line feed
        bool last = true;      // no line feed ends it, so no line follows
    };
    struct MarkerHit {
        Line line;
        std::size_t position = 0;  // 1-based position of the marker in the line
    };

    // Nothing when the file cannot be opened for reading (missing, a folder, no permission).
    static std::unique_ptr<PageDocument> open(const std::string& path);
    // A page held in memory, for tests and benchmarks.
    static std::unique_ptr<PageDocument> fromBytes(std::string bytes);
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    // The first line of the page that holds the marker (markers found with letters case folded).
    std::optional<MarkerHit> findFirst(std::string_view marker);
    // The first line holding each of the markers, found in one pass over the page: hits[i]
    // answers markers[i] as findFirst would, and the page is read only as far as the last of
    // them (to its end when one is missing).
    void findFirstOfEach(const std::string_view* markers, std::size_t count,
                         std::optional<MarkerHit>* hits);
    // The first line after the given one that holds the marker.
    std::optional<MarkerHit> findNextAfter(std::string_view marker, const Line& line);
    // The first occurrence of any of the markers (up to kMaxMarkersAtOnce) that starts at or
    // after byte `from` of the page, with *which set to its marker's index: one pass for
    // readers that visit every occurrence of several markers, going on from the byte after
    // each hit (hit.line.start + hit.position).
    std::optional<MarkerHit> findAnyFrom(const std::string_view* markers, std::size_t count,
                                         std::size_t from, std::size_t* which);
    // Where a marker may stand in a line for findFirstOpening: at its first byte, or after any
    // run of blanks and tabs.
    enum class Indent { None, Blanks };
    // The first line of the page that opens with the marker.
    std::optional<Line> findFirstOpening(std::string_view marker, Indent indent = Indent::None);
    // The line right after the given one; nothing when the given line is the last.
    std::optional<Line> lineAfter(const Line& line);
    std::string_view text(const Line& line) const;

    // Reads the rest of the file at once, for readers that go through the whole page anyway: a
    // page not read yet then costs one read.
    void readToEnd();

    // Sequential reading from the page's start, for readers that walk every line.
    bool nextLine(std::string_view& line);
    void rewind() { cursor_ = 0; }

    // Bytes read from the file so far.
    std::size_t bytesRead() const { return size_; }
    // The file's last write as it was when opened, in local time; nothing for a page held in
    // memory.
    std::optional<LocalDateTime> lastWriteTime() const;

  private:
    PageDocument() = default;
    // Reads the next block (all the file holds beyond what was read, when asked or after the
    // first block); false when the file has ended.
    bool readMore(bool toEnd = false);
    // Makes sure the line that starts at this offset is complete in the buffer; false when no
    // line starts there.
    bool completeLineAt(std::size_t start);
    Line lineAround(std::size_t offset) const;
    // The hit of a marker found at this offset of the page.
    MarkerHit hitAt(std::size_t offset) const;
    // The first line starting at or after this offset (a line's start) that holds the marker.
    std::optional<MarkerHit> findFrom(std::string_view marker, std::size_t from);

    void reserve(std::size_t capacity);
    const char* data() const { return data_.get(); }

    int file_ = -1;
    std::optional<std::time_t> modified_;
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t complete_ = 0;  // bytes up to and with the last line feed read (all once ended)
    bool ended_ = false;
    std::size_t cursor_ = 0;
};

// Whether the page is live, the three markers of the live rule looked for in one pass.
bool IsLivePage(PageDocument& page);

}  // namespace kestavel
