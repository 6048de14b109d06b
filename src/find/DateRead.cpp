#include "find/DateRead.h"

#include <string>
#include <string_view>

#include "find/AsciiForms.h"

namespace kestavel {
namespace {

// GBK bytes of the date markers.
constexpr std::string_view kYear = "\xC4\xEA";    // 年
constexpr std::string_view kMonth = "\xD4\xC2";   // 月
constexpr std::string_view kDay = "\xC8\xD5";     // 日
constexpr std::string_view kHour = "\xCA\xB1";    // 时
constexpr std::string_view kMinute = "\xB7\xD6";  // 分
constexpr std::string_view kSecond = "\xC3\xEB";  // 秒

class DateScanner {
  public:
    explicit DateScanner(std::string_view text) : text_(text) {}

    int digits(int most) {
        int value = 0;
        for (int read = 0; read < most && position_ < text_.size(); ++read) {
            const char c = text_[position_];
            if (c < '0' || c > '9') break;
            value = value * 10 + (c - '0');
            ++position_;
        }
        return value;
    }

    // Steps over one separator: a sign of the list, or the part's own marker.
    void separator(std::string_view signs, std::string_view marker) {
        if (position_ >= text_.size()) return;
        if (signs.find(text_[position_]) != std::string_view::npos) {
            ++position_;
        } else if (text_.substr(position_).starts_with(marker)) {
            position_ += marker.size();
        }
    }

    // The text ends here, or goes on with the second's marker, after which nothing is read.
    bool atEnd() const {
        return position_ == text_.size() || text_.substr(position_).starts_with(kSecond);
    }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsRealDateTime(const LocalDateTime& t) {
    return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour < 24 && t.minute < 60 && t.second < 60;
}

}  // namespace

LocalDateTime DateRead(const GbkText& cell) {
    std::string buffer;
    DateScanner scan(AsciiForms(cell, buffer));
    constexpr std::string_view kSigns = "-/.:";
    constexpr std::string_view kDaySigns = "-/.: ";
    LocalDateTime t;
    t.year = scan.digits(4);
    scan.separator(kSigns, kYear);
    t.month = scan.digits(2);
    scan.separator(kSigns, kMonth);
    t.day = scan.digits(2);
    scan.separator(kDaySigns, kDay);
    t.hour = scan.digits(2);
    scan.separator(kSigns, kHour);
    t.minute = scan.digits(2);
    scan.separator(kSigns, kMinute);
    t.second = scan.digits(2);
    if (!scan.atEnd() || !IsRealDateTime(t)) return kEarliestDate;
    return t;
}

}  // namespace kestavel
