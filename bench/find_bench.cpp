// Sorts MainWindow's list of 100,000 rows by a text, a date and the 编码 column and by all three
// at once, and searches it fuzzily by "MOD信息" and by "名称" (thousands of hits, the list view
// shown); each time is printed as a ratio to a plain baseline measured in the same run.
#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/DisplayText.h"
#include "find/ColumnSort.h"
#include "find/DateRead.h"
#include "find/MainSearch.h"
#include "find/MultiSort.h"
#include "find/SortState.h"
#include "platform/CodePage.h"
#include "support/FakePorts.h"
#include "ui/ItemListView.h"

namespace {

using Clock = std::chrono::steady_clock;
using kestavel::GbkText;
using kestavel::ItemRow;

constexpr int kRows = 100000;
constexpr int kRounds = 5;
constexpr int kCodeColumn = 1;
constexpr int kNameColumn = 2;
constexpr int kDescriptionColumn = 6;
constexpr int kDateColumn = 18;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::vector<ItemRow> MakeRows() {
    std::mt19937 random(20151004);
    const std::vector<GbkText> words = {
        kestavel::Utf8ToGbk("道路"),   kestavel::Utf8ToGbk("高速公路"),
        kestavel::Utf8ToGbk("公园"),   kestavel::Utf8ToGbk("车站"),
        kestavel::Utf8ToGbk("桥梁"),   GbkText::fromAscii("Road "),
        GbkText::fromAscii("Bridge "), GbkText::fromAscii("Park "),
        GbkText::fromAscii("Train "),  GbkText::fromAscii("Station "),
        GbkText::fromAscii("pack "),   GbkText::fromAscii("Zoning "),
    };
    const std::string filler =
        "This asset adds a set of props and buildings for your city. Works with all DLCs. ";
    std::vector<ItemRow> rows;
    rows.reserve(kRows);
    for (int n = 1; n <= kRows; ++n) {
        ItemRow row(19);
        row[0] = kestavel::DisplayNumber(n);
        row[1] =
            kestavel::DisplayNumber(400000000 + static_cast<std::int64_t>(random() % 3000000000u));
        GbkText title;
        for (int w = 0; w < 4; ++w) title += words[random() % words.size()];
        // One title in 15 names a metro line, so a search for it finds thousands of rows.
        if (n % 15 == 7) title += GbkText::fromAscii(n % 2 == 0 ? "Metro Line" : "METRO depot");
        row[2] = title;
        row[3] = GbkText::fromAscii("Author" + std::to_string(random() % 5000));
        row[5] = kestavel::Utf8ToGbk(random() % 10 == 0 ? "真" : "假");
        std::string description;
        for (int line = 0; line < 6; ++line) {
            description += filler.substr(random() % 20) + words[random() % words.size()].bytes();
            description += "<br>";
        }
        // A rare word, so the search finds a few hundred rows.
        if (random() % 200 == 0) description += "Tramway";
        for (int piece = 0; piece < 8 && piece * 256 < static_cast<int>(description.size());
             ++piece) {
            row[static_cast<std::size_t>(kDescriptionColumn + piece)] =
                GbkText::fromBytes(description.substr(static_cast<std::size_t>(piece) * 256, 256));
        }
        const kestavel::LocalDateTime when{
            2012 + static_cast<int>(random() % 10), 1 + static_cast<int>(random() % 12),
            1 + static_cast<int>(random() % 28),    static_cast<int>(random() % 24),
            static_cast<int>(random() % 60),        0};
        row[18] = kestavel::DisplayDate(when);
        rows.push_back(std::move(row));
    }
    return rows;
}

void Refill(kestavel::ItemList& list, const std::vector<ItemRow>& rows) {
    list.removeAllRows();
    list.appendRows(rows);
}

struct Baseline {
    double sortOnly = 1e9;  // std::stable_sort of the row order by precomputed byte keys
    double withMove = 1e9;  // the same, then the list's rows put in that order
};

Baseline ByteKeySort(kestavel::ItemList& list, const std::vector<ItemRow>& rows, int column) {
    Baseline best;
    for (int round = 0; round < kRounds; ++round) {
        Refill(list, rows);
        std::vector<std::string> keys;
        keys.reserve(rows.size());
        for (const ItemRow& row : rows)
            keys.push_back(row[static_cast<std::size_t>(column)].bytes());
        const auto start = Clock::now();
        std::vector<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        best.sortOnly = std::min(best.sortOnly, Seconds(start));
        list.reorderRows(order);
        best.withMove = std::min(best.withMove, Seconds(start));
    }
    return best;
}

double EngineSort(kestavel::SortState& state, kestavel::ItemList& list,
                  const std::vector<ItemRow>& rows, int column, kestavel::KeyKind kind) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        Refill(list, rows);
        const auto start = Clock::now();
        kestavel::ColumnSort(state, list, column, kind);
        best = std::min(best, Seconds(start));
    }
    return best;
}

void ReportSort(const char* what, double engine, const Baseline& baseline) {
    std::printf("sort by %-10s %.3f s; byte-key stable_sort %.3f s (%.3f s with the row move)\n",
                what, engine, baseline.sortOnly, baseline.withMove);
    std::printf(
        "  ratio to stable_sort alone: %.2f; to stable_sort with the row move: %.2f "
        "(target at most 4)\n",
        engine / baseline.sortOnly, engine / baseline.withMove);
}

struct SearchBaseline {
    double prejoined = 1e9;  // find over texts joined before timing
    double joining = 1e9;    // the cells read from the list, joined and searched
    int hits = 0;
};

SearchBaseline PlainSearch(const kestavel::ItemList& list, const std::string& needle) {
    SearchBaseline best;
    std::vector<std::string> joined;
    for (int row = 0; row < list.rowCount(); ++row) {
        std::string text;
        for (int piece = 0; piece < 8; ++piece)
            text += list.cell(row, kDescriptionColumn + piece).bytes();
        joined.push_back(std::move(text));
    }
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        int prejoinedHits = 0;
        for (const std::string& text : joined) {
            prejoinedHits += text.find(needle) != std::string::npos ? 1 : 0;
        }
        best.prejoined = std::min(best.prejoined, Seconds(start));

        start = Clock::now();
        int hits = 0;
        for (int row = 0; row < list.rowCount(); ++row) {
            std::string text;
            for (int piece = 0; piece < 8; ++piece) {
                text += list.cell(row, kDescriptionColumn + piece).bytes();
            }
            hits += text.find(needle) != std::string::npos ? 1 : 0;
        }
        best.joining = std::min(best.joining, Seconds(start));
        // Printed, so the loops cannot be left out, and checked against each other.
        best.hits = hits == prejoinedHits ? hits : -1;
    }
    return best;
}

// The baseline of the three-key sort: the keys built before timing (collation keys of the
// names, the 编码 as numbers, the dates read), then only std::stable_sort of the row order by
// them, in the same directions, is timed.
class PrecomputedKeySort {
  public:
    PrecomputedKeySort(const std::vector<ItemRow>& rows, const kestavel::Collation& collation) {
        keys_.reserve(rows.size());
        kestavel::GbkDecoder decoder;
        std::u16string name;
        for (const ItemRow& row : rows) {
            Keys key;
            decoder.toUtf16(row[kNameColumn], name);
            collation.appendSortKey(name, key.name);
            key.code = std::strtod(row[kCodeColumn].bytes().c_str(), nullptr);
            key.updated = kestavel::DateRead(row[kDateColumn]);
            keys_.push_back(std::move(key));
        }
    }

    double run() const {
        std::vector<int> order(keys_.size());
        std::iota(order.begin(), order.end(), 0);
        const auto start = Clock::now();
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            const Keys& x = keys_[static_cast<std::size_t>(a)];
            const Keys& y = keys_[static_cast<std::size_t>(b)];
            return std::tie(x.name, y.code, x.updated) < std::tie(y.name, x.code, y.updated);
        });
        return Seconds(start);
    }

  private:
    struct Keys {
        std::string name;
        double code;
        kestavel::LocalDateTime updated;
    };
    std::vector<Keys> keys_;
};

// A plain case-folded search over the same cells: each cell copied, its ASCII letters lowered
// and searched for the lower-case needle.
double FoldedNameSearch(const kestavel::ItemList& list, const std::string& needle, int& hits) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        int found = 0;
        std::string folded;
        for (int row = 0; row < list.rowCount(); ++row) {
            folded = list.cell(row, kNameColumn).bytes();
            for (char& c : folded) {
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            }
            found += folded.find(needle) != std::string::npos ? 1 : 0;
        }
        best = std::min(best, Seconds(start));
        hits = found;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::vector<kestavel::ItemTableModel::Column> columns(19, {QStringLiteral("c"), 80});
    kestavel::ItemListView list(columns, nullptr);
    list.resize(936, 408);
    const std::vector<ItemRow> rows = MakeRows();
    std::printf("rows: %d\n", kRows);

    kestavel::SortState state(kestavel::Collation::ForLocale("zh_CN"));
    ReportSort("名称", EngineSort(state, list, rows, kNameColumn, kestavel::KeyKind::Text),
               ByteKeySort(list, rows, kNameColumn));
    ReportSort("更新日期", EngineSort(state, list, rows, kDateColumn, kestavel::KeyKind::Date),
               ByteKeySort(list, rows, kDateColumn));
    ReportSort("编码", EngineSort(state, list, rows, kCodeColumn, kestavel::KeyKind::Number),
               ByteKeySort(list, rows, kCodeColumn));

    // 名称 ascending, rows of one name by 编码 descending, then by 更新日期 ascending.
    const std::vector<kestavel::SortKey> keys = {{kNameColumn, true, kestavel::KeyKind::Text},
                                                 {kCodeColumn, false, kestavel::KeyKind::Number},
                                                 {kDateColumn, true, kestavel::KeyKind::Date}};
    // Engine and baseline take turns, so that both meet the same load on the machine.
    const PrecomputedKeySort precomputedKeySort(rows, state.collation);
    double multiSort = 1e9;
    double precomputed = 1e9;
    for (int round = 0; round < 3 * kRounds; ++round) {
        Refill(list, rows);
        const auto start = Clock::now();
        kestavel::MultiSort(state, list, keys);
        multiSort = std::min(multiSort, Seconds(start));
        precomputed = std::min(precomputed, precomputedKeySort.run());
    }
    std::printf(
        "three-key multi-column sort (名称, 编码, 更新日期): %.3f s; stable_sort by precomputed "
        "keys %.3f s\n",
        multiSort, precomputed);
    std::printf("  ratio to stable_sort by precomputed keys: %.2f (target at most 3)\n",
                multiSort / precomputed);

    Refill(list, rows);
    kestavel::test::FakeWindow window;
    window.context.window.list = &list;
    window.searchCondition.value = "tramway";
    window.fuzzySearch.checked = true;
    double search = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        kestavel::MainSearch(window.context, "MOD信息", kestavel::SearchStart::Button);
        search = std::min(search, Seconds(start));
    }
    const SearchBaseline plain = PlainSearch(list, "Tramway");
    // The engine's own count, from the last summary it appended.
    const std::string& summaries = window.resultBox.value;
    const std::string countLabel = "已查找到MOD个数：";
    const int found =
        std::atoi(summaries.c_str() + summaries.rfind(countLabel) + countLabel.size());
    std::printf(
        "fuzzy search by MOD信息: %.3f s, %d hits (engine: %d); plain byte find %.3f s over "
        "joined texts (%.3f s joining the cells as it goes)\n",
        search, plain.hits, found, plain.prejoined, plain.joining);
    std::printf(
        "  ratio to the find over joined texts: %.2f; to the find joining as it goes: "
        "%.2f (target at most 3)\n",
        search / plain.prejoined, search / plain.joining);

    // A search with thousands of hits: every hit is highlighted and scrolled to.
    Refill(list, rows);
    list.show();
    // Laid out and painted once, as a window on screen would be.
    QApplication::processEvents();
    window.searchCondition.value = "metro";
    double nameSearch = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        list.verticalScrollBar()->setValue(0);
        const auto start = Clock::now();
        kestavel::MainSearch(window.context, "名称", kestavel::SearchStart::Button);
        nameSearch = std::min(nameSearch, Seconds(start));
    }
    int nameHits = 0;
    const double foldedSearch = FoldedNameSearch(list, "metro", nameHits);
    std::printf(
        "fuzzy search by 名称 with the list view shown: %.3f s, %d rows selected (plain: %d hits); "
        "plain case-folded find %.3f s\n",
        nameSearch, static_cast<int>(list.highlightedRows().size()), nameHits, foldedSearch);
    std::printf("  ratio to the plain case-folded find: %.2f (target at most 5)\n",
                nameSearch / foldedSearch);
    return 0;
}
