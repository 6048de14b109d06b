#include "catalogue/DisplayText.h"

#include <string>

#include "platform/CodePage.h"

namespace kestavel {
namespace {

struct DateWords {
    GbkText year = Utf8ToGbk("年");
    GbkText month = Utf8ToGbk("月");
    GbkText day = Utf8ToGbk("日");
    GbkText hour = Utf8ToGbk("时");
    GbkText minute = Utf8ToGbk("分");
    GbkText second = Utf8ToGbk("秒");
    GbkText yes = Utf8ToGbk("真");
    GbkText no = Utf8ToGbk("假");
};

const DateWords& Words() {
    static const DateWords words;
    return words;
}

}  // namespace

GbkText DisplayNumber(std::int64_t number) {
    return GbkText::fromAscii(std::to_string(number));
}

GbkText DisplayDate(const LocalDateTime& t) {
    const DateWords& w = Words();
    GbkText text = DisplayNumber(t.year) + w.year + DisplayNumber(t.month) + w.month +
                   DisplayNumber(t.day) + w.day;
    if (t.second != 0) {
        text += DisplayNumber(t.hour) + w.hour + DisplayNumber(t.minute) + w.minute +
                DisplayNumber(t.second) + w.second;
    } else if (t.minute != 0) {
        text += DisplayNumber(t.hour) + w.hour + DisplayNumber(t.minute) + w.minute;
    } else if (t.hour != 0) {
        text += DisplayNumber(t.hour) + w.hour;
    }
    return text;
}

GbkText DisplayText(const FieldValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) return DisplayNumber(*number);
    if (const auto* text = std::get_if<GbkText>(&value)) return *text;
    if (const auto* flag = std::get_if<bool>(&value)) return *flag ? Words().yes : Words().no;
    const auto& date = std::get<std::optional<LocalDateTime>>(value);
    return date ? DisplayDate(*date) : GbkText();
}

}  // namespace kestavel
