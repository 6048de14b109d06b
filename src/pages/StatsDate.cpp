#include "pages/StatsDate.h"

#include <chrono>
#include <string_view>
#include <vector>

#include "pages/PageMarkers.h"

namespace kestavel {
namespace {

constexpr std::string_view kMonthWords[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};

// 1 to 12, or 0 when the word is no month word.
int MonthOf(std::string_view word) {
    for (int month = 1; month <= 12; ++month) {
        if (EqualsFolded(word, kMonthWords[month - 1])) return month;
    }
    return 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A word of one to `most` digits and nothing else, or -1.
int Number(std::string_view word, std::size_t most) {
    if (word.empty() || word.size() > most) return -1;
    int value = 0;
    for (char c : word) {
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The word without a comma that closes it, and whether there was one.
std::string_view WithoutComma(std::string_view word, bool& comma) {
    comma = !word.empty() && word.back() == ',';
    return comma ? word.substr(0, word.size() - 1) : word;
}

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
};

// h:mm followed by am or pm (any letter case), the hour 0 to 12 and the minute 0 to 59.
std::optional<TimeOfDay> ReadTime(std::string_view word) {
    const std::size_t colon = word.find(':');
    if (colon == std::string_view::npos || word.size() < colon + 4) return std::nullopt;
    const std::string_view half = word.substr(word.size() - 2);
    const bool am = EqualsFolded(half, "am");
    if (!am && !EqualsFolded(half, "pm")) return std::nullopt;
    TimeOfDay time;
    time.hour = Number(word.substr(0, colon), 2);
    time.minute = Number(word.substr(colon + 1, word.size() - colon - 3), 2);
    if (time.hour < 0 || time.hour > 12 || time.minute < 0 || time.minute > 59) {
        return std::nullopt;
    }
    if (am && time.hour == 12) time.hour = 0;
    if (!am && time.hour != 12) time.hour += 12;
    return time;
}

std::optional<LocalDateTime> DateOf(int year, int month, int day, const TimeOfDay& time) {
    if (year < 1 || year > 9999 || month < 1 || day < 1) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok()) return std::nullopt;
    return LocalDateTime{year, month, day, time.hour, time.minute, 0};
}

// The text's words at every space, empty words kept (two spaces in a row give one).
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (;;) {
        const std::size_t space = text.find(' ');
        words.push_back(text.substr(0, space));
        if (space == std::string_view::npos) return words;
        text.remove_prefix(space + 1);
    }
}

// The day at the start of the first word, the month word second, any third word, the time
// fourth; later words are not looked at.
std::optional<LocalDateTime> ReadDayMonthForm(const std::vector<std::string_view>& words,
                                              int pageFileYear) {
    if (words.size() < 4) return std::nullopt;
    const int month = MonthOf(words[1]);
    if (month == 0) return std::nullopt;
    std::string_view first = words[0];
    int day = 0;
    std::size_t digits = 0;
    for (; digits < first.size() && digits < 3 && IsDigit(first[digits]); ++digits) {
        day = day * 10 + (first[digits] - '0');
    }
    const auto time = ReadTime(words[3]);
    if (!time) return std::nullopt;
    return DateOf(pageFileYear, month, day, *time);
}

// "D Mon[, YYYY] @ TIME" and "Mon D[, YYYY] @ TIME", with nothing after the time.
std::optional<LocalDateTime> ReadCommaForms(const std::vector<std::string_view>& words,
                                            int pageFileYear) {
    if (words.size() != 4 && words.size() != 5) return std::nullopt;
    bool comma = false;
    const std::string_view second = WithoutComma(words[1], comma);
    const bool withYear = words.size() == 5;
    if (comma != withYear || words[words.size() - 2] != "@") return std::nullopt;
    int month = MonthOf(words[0]);
    int day = Number(second, 2);
    if (month == 0) {
        month = MonthOf(second);
        day = Number(words[0], 2);
    }
    if (month == 0 || day < 0) return std::nullopt;
    int year = pageFileYear;
    if (withYear) {
        if (words[2].size() != 4) return std::nullopt;
        year = Number(words[2], 4);
        if (year < 0) return std::nullopt;
    }
    const auto time = ReadTime(words.back());
    if (!time) return std::nullopt;
    return DateOf(year, month, day, *time);
}

}  // namespace

std::optional<LocalDateTime> ReadStatsDate(std::string_view text, int pageFileYear) {
    const std::vector<std::string_view> words = Words(text);
    if (auto date = ReadDayMonthForm(words, pageFileYear)) return date;
    return ReadCommaForms(words, pageFileYear);
}

}  // namespace kestavel
