#include "catalogue/ItemFolder.h"
#include "pages/PageDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pages/FailureReport.h"
#include "pages/PageMarkers.h"
#include "platform/FileSystem.h"
#include "platform/FoldedSearch.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

std::vector<std::string> LinesOf(PageDocument& page) {
    std::vector<std::string> lines;
    std::string_view line;
    while (page.nextLine(line)) lines.emplace_back(line);
    return lines;
}

std::vector<std::string> LinesOf(std::string bytes) {
    auto page = PageDocument::fromBytes(std::move(bytes));
    return LinesOf(*page);
}

using Lines = std::vector<std::string>;

TEST(PagePaths, FolderFileAndAddress) {
    const GbkText code = GbkText::fromAscii("3000000001");
    EXPECT_EQ(ItemFolder("/w/content/255710", code).page(),
              "/w/content/255710/3000000001/3000000001.info.txt");
    EXPECT_EQ(ItemFolder("/w", code).temporaryPage(), "/w/3000000001/3000000001.info.tmp.txt");
    // Nothing is inserted between the prefix and the id, and nothing is encoded.
    EXPECT_EQ(PageAddress("http://127.0.0.1:8080/sharedfiles/filedetails/?id=", code),
              "http://127.0.0.1:8080/sharedfiles/filedetails/?id=3000000001");
    EXPECT_EQ(PageAddress("http://h/x/", code), "http://h/x/3000000001");
}

TEST(PageFailureRule, ThreeBytesOrFewerOrNoFileFail) {
    EXPECT_TRUE(IsFailedDownload(-1));
    EXPECT_TRUE(IsFailedDownload(0));
    EXPECT_TRUE(IsFailedDownload(3));
    EXPECT_FALSE(IsFailedDownload(4));
    EXPECT_FALSE(IsFailedDownload(150000));
}

TEST(PageLines, LineFeedEndsALineAndACarriageReturnBeforeItIsDropped) {
    EXPECT_EQ(LinesOf("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(LinesOf("a\n"), (Lines{"a"}));
    EXPECT_EQ(LinesOf("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(LinesOf(""), Lines{});
    EXPECT_EQ(LinesOf("\r\n"), (Lines{""}));
    // Only a carriage return right before a line feed is dropped.
    EXPECT_EQ(LinesOf("a\r"), (Lines{"a\r"}));
    EXPECT_EQ(LinesOf("a\r\r\nb\rc\n"), (Lines{"a\r", "b\rc"}));
    EXPECT_EQ(LinesOf("no line end at all"), (Lines{"no line end at all"}));
}

TEST(PageLines, RewindStartsAgain) {
    auto page = PageDocument::fromBytes("one\ntwo\n");
    EXPECT_EQ(LinesOf(*page), (Lines{"one", "two"}));
    page->rewind();
    EXPECT_EQ(LinesOf(*page), (Lines{"one", "two"}));
}

TEST(PageMarkerSearch, FirstOccurrenceOneBasedWithAsciiCaseFolded) {
    EXPECT_EQ(FindMarker("abc var session_id var session_id", "var session_id"), 5u);
    EXPECT_EQ(FindMarker("VAR SESSION_ID = 1", "var session_id"), 1u);
    EXPECT_EQ(FindMarker("<DIV Class=\"LinkAuthor\">", "<div class=\"linkAuthor\">"), 1u);
    EXPECT_EQ(FindMarker("var session", "var session_id"), 0u);
    EXPECT_EQ(FindMarker("", "x"), 0u);
    // Only letters fold: '@' is not '`', '[' is not '{', and bytes above 127 stand as they are.
    EXPECT_EQ(FindMarker("a`b", "a@b"), 0u);
    EXPECT_EQ(FindMarker("{x", "[x"), 0u);
    EXPECT_EQ(FindMarker("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0u);
    EXPECT_EQ(FindMarker("\xC3\xA9T\xC3\xA9", "\xC3\xA9t\xC3\xA9"), 1u);
}

TEST(PageMarkerSearch, OpensWithMarker) {
    EXPECT_TRUE(OpensWithMarker("<LINK REL=\"IMAGE_SRC\" HREF=\"x", "<link rel=\"image_src\" href=\""));
    EXPECT_FALSE(OpensWithMarker("\t<link rel=\"image_src\" href=\"x", "<link rel=\"image_src\" href=\""));
    EXPECT_FALSE(OpensWithMarker("<link", "<link rel"));
}

TEST(PagePiece, CutsByOneBasedBytePositions) {
    EXPECT_EQ(Piece("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Piece("abcdef", 5, 10), "ef");  // cut short at the end of the line
    EXPECT_EQ(Piece("abcdef", 6, 1), "f");
    EXPECT_EQ(Piece("abcdef", 7, 1), "");
    EXPECT_EQ(Piece("abcdef", 0, 3), "");
    EXPECT_EQ(Piece("abcdef", -1, 3), "");
    EXPECT_EQ(Piece("abcdef", 1, 0), "");
    EXPECT_EQ(Piece("abcdef", 1, -5), "");
    EXPECT_EQ(Piece("", 1, 1), "");
}

TEST(PageFailureReport, ListsNumbersAndCodesJoinedByFullWidthCommas) {
    FailureList failures;
    failures.add("5", "111");
    failures.add("9", "222");
    EXPECT_EQ(FailureReport(kDownloadFailedHeading, failures),
              "\r\n\r\n其中下载失败2个，序号是：\r\n5，9\r\n\r\n编码是：\r\n111，222");
    EXPECT_EQ(FailureReport(kRefreshFailedHeading, failures).substr(0, 22),
              "\r\n\r\n其中更新失败");
    EXPECT_EQ(FailureReport(kDownloadFailedHeading, FailureList{}), "");
    FailureList one;
    one.add("12", "3000000001");
    EXPECT_EQ(FailureReport(kDownloadFailedHeading, one),
              "\r\n\r\n其中下载失败1个，序号是：\r\n12\r\n\r\n编码是：\r\n3000000001");
}

TEST(PageDocumentFile, MissingFileOrFolderCannotBeOpened) {
    test::TempDir dir;
    EXPECT_EQ(PageDocument::open(dir.file("none.info.txt")), nullptr);
    EXPECT_EQ(PageDocument::open(dir.makeFolder("folder.info.txt")), nullptr);
    auto empty = PageDocument::open(dir.write("empty.info.txt", ""));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(LinesOf(*empty), Lines{});
}

// Lines that run across the reader's block boundaries come out whole.
TEST(PageDocumentFile, LinesAcrossBlocksAndLongLines) {
    test::TempDir dir;
    std::string bytes;
    Lines expected;
    for (int i = 0; bytes.size() < 400 * 1024; ++i) {
        std::string line(static_cast<std::size_t>(i * 37 % 3001), static_cast<char>('a' + i % 26));
        line += std::to_string(i);
        expected.push_back(line);
        bytes += line + (i % 3 == 0 ? "\r\n" : "\n");
    }
    // One line longer than every block, and a last line without a line feed.
    const std::string huge(300 * 1024, 'h');
    bytes += huge + "\r\n";
    expected.push_back(huge);
    bytes += "var SESSION_id tail";
    expected.push_back("var SESSION_id tail");

    auto page = PageDocument::open(dir.write("p.info.txt", bytes));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(LinesOf(*page), expected);

    auto searched = PageDocument::open(dir.file("p.info.txt"));
    auto hit = searched->findFirst("var session_id");
    ASSERT_TRUE(hit);
    EXPECT_EQ(searched->text(hit->line), "var SESSION_id tail");
    EXPECT_EQ(hit->position, 1u);
    EXPECT_TRUE(hit->line.last);
    EXPECT_FALSE(searched->lineAfter(hit->line));
    EXPECT_EQ(searched->bytesRead(), bytes.size());
}

TEST(PageDocumentFile, ReadsOnlyAsFarAsASearchNeeds) {
    test::TempDir dir;
    std::string bytes = "<html>\n<link rel=\"image_src\" href=\"http://x/\">\n";
    while (bytes.size() < 600 * 1024) bytes += "<div class=\"filler\">text text text</div>\n";
    auto page = PageDocument::open(dir.write("p.info.txt", bytes));
    ASSERT_TRUE(page->findFirstOpening("<link rel=\"image_src\" href=\""));
    EXPECT_LT(page->bytesRead(), bytes.size() / 4);
    EXPECT_FALSE(page->findFirst("var session_id"));
    EXPECT_EQ(page->bytesRead(), bytes.size());
}

TEST(PageDocumentFile, ReadToEndAndTheLastWriteOfTheFile) {
    test::TempDir dir;
    std::string bytes;
    while (bytes.size() < 300 * 1024) bytes += "<div class=\"filler\">text text text</div>\n";
    const std::string path = dir.write("p.info.txt", bytes);
    auto page = PageDocument::open(path);
    ASSERT_TRUE(page);
    page->readToEnd();
    EXPECT_EQ(page->bytesRead(), bytes.size());
    EXPECT_EQ(LinesOf(*page).size(),
              static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    ASSERT_TRUE(page->lastWriteTime());
    EXPECT_EQ(page->lastWriteTime(), LastWriteTime(path));
    EXPECT_FALSE(PageDocument::fromBytes(bytes)->lastWriteTime());
}

TEST(PageDocumentSearch, FindsEveryOccurrenceOfSeveralMarkersInOnePass) {
    const std::string_view markers[] = {"<b>", "<i>"};
    auto page = PageDocument::fromBytes("x <I> <b>\n\n<B><b>\nnone\n<i>");
    std::vector<std::string> seen;
    std::size_t from = 0;
    std::size_t which = 0;
    while (auto hit = page->findAnyFrom(markers, 2, from, &which)) {
        from = hit->line.start + hit->position;
        seen.push_back(std::to_string(which) + "@" + std::to_string(hit->position) + ":" +
                       std::string(page->text(hit->line)));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1@3:x <I> <b>", "0@7:x <I> <b>", "0@1:<B><b>",
                                              "0@4:<B><b>", "1@1:<i>"}));
    auto next = page->findNextAfter("<b>", page->findFirst("<b>")->line);
    ASSERT_TRUE(next);
    EXPECT_EQ(page->text(next->line), "<B><b>");
    EXPECT_FALSE(page->findNextAfter("<b>", next->line));
}

TEST(PageDocumentSearch, FindsTheFirstLineHoldingTheMarker) {
    auto page = PageDocument::fromBytes(
        "<html>\r\n"
        "  <div class=\"x\">  <DIV class=\"LINKAUTHOR\"> first </div>\r\n"
        "<div class=\"linkAuthor\"> second\r\n");
    auto hit = page->findFirst("<div class=\"linkAuthor\">");
    ASSERT_TRUE(hit);
    EXPECT_EQ(page->text(hit->line), "  <div class=\"x\">  <DIV class=\"LINKAUTHOR\"> first </div>");
    EXPECT_EQ(hit->position, 20u);
    auto next = page->lineAfter(hit->line);
    ASSERT_TRUE(next);
    EXPECT_EQ(page->text(*next), "<div class=\"linkAuthor\"> second");
    // The page ends with a line feed: no line follows the last one.
    EXPECT_FALSE(page->lineAfter(*next));
    EXPECT_FALSE(page->findFirst("friendBlockContent"));
}

TEST(PageDocumentSearch, FindsTheFirstLineOpeningWithTheMarker) {
    const std::string marker = "<link rel=\"image_src\" href=\"";
    auto page = PageDocument::fromBytes(
        "\t<link rel=\"image_src\" href=\"tab\" />\n"
        "x <link rel=\"image_src\" href=\"inside\" />\n"
        "<LINK REL=\"IMAGE_SRC\" HREF=\"caps\" />\n"
        "<link rel=\"image_src\" href=\"later\" />\n");
    auto line = page->findFirstOpening(marker);
    ASSERT_TRUE(line);
    EXPECT_EQ(page->text(*line), "<LINK REL=\"IMAGE_SRC\" HREF=\"caps\" />");
    EXPECT_FALSE(PageDocument::fromBytes(" " + marker)->findFirstOpening(marker));
    EXPECT_TRUE(PageDocument::fromBytes(marker)->findFirstOpening(marker));
    // After blanks and tabs, when asked; other bytes before it still do not count.
    auto indented = page->findFirstOpening(marker, PageDocument::Indent::Blanks);
    ASSERT_TRUE(indented);
    EXPECT_EQ(page->text(*indented), "\t<link rel=\"image_src\" href=\"tab\" />");
    EXPECT_TRUE(PageDocument::fromBytes(" \t " + marker)
                    ->findFirstOpening(marker, PageDocument::Indent::Blanks));
    EXPECT_FALSE(PageDocument::fromBytes("x\t" + marker)
                     ->findFirstOpening(marker, PageDocument::Indent::Blanks));
}

TEST(MarkerSearchKernel, AgreesWithAPlainSearchAtEveryAlignment) {
    const std::string marker = "<div class=\"detailBox altFooter\">";
    for (std::size_t size = 0; size < 120; ++size) {
        for (std::size_t at = 0; at + marker.size() <= size; at += 7) {
            // Exactly sized, so a read past the end is a sanitizer error.
            std::unique_ptr<char[]> haystack(new char[size == 0 ? 1 : size]);
            for (std::size_t i = 0; i < size; ++i) haystack[i] = static_cast<char>('<' + i % 3);
            for (std::size_t i = 0; i < marker.size(); ++i) {
                haystack[at + i] = static_cast<char>(i % 2 ? std::toupper(marker[i]) : marker[i]);
            }
            const char* hit = FindFolded(haystack.get(), haystack.get() + size, marker);
            ASSERT_EQ(hit, haystack.get() + at) << size << " " << at;
        }
        std::unique_ptr<char[]> plain(new char[size == 0 ? 1 : size]);
        for (std::size_t i = 0; i < size; ++i) plain[i] = '<';
        EXPECT_EQ(FindFolded(plain.get(), plain.get() + size, marker), nullptr);
    }
}

}  // namespace
}  // namespace kestavel
