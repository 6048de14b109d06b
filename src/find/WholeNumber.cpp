#include "find/WholeNumber.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "find/AsciiForms.h"

namespace kestavel {
namespace {

// Far beyond any text a cell holds, and far inside the range of the digit count.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000;

// As many digits as always fit in 64 bits.
constexpr std::int64_t kLeadingDigits = 19;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The parts of the number a cell begins with, before any scaling.
struct ScannedNumber {
    int sign = 1;
    std::string mantissa;  // every digit, those after the decimal point included
    std::int64_t integerDigits = 0;
    std::int64_t exponent = 0;
};

ScannedNumber ScanNumber(const GbkText& cell) {
    std::string buffer;
    const std::string_view text = AsciiForms(cell, buffer);
    ScannedNumber number;
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number.sign = -1;
        ++i;
    }

    for (; i < text.size() && IsDigit(text[i]); ++i, ++number.integerDigits) {
        number.mantissa += text[i];
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) number.mantissa += text[i];
    }
    if (number.mantissa.empty()) return number;

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        int exponentSign = 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            if (text[j] == '-') exponentSign = -1;
            ++j;
        }
        // Without a digit the "e" is not part of the number.
        for (; j < text.size() && IsDigit(text[j]); ++j) {
            number.exponent = std::min(number.exponent * 10 + (text[j] - '0'), kExponentLimit);
        }
        number.exponent *= exponentSign;
    }
    return number;
}

}  // namespace

std::strong_ordering operator<=>(const WholeNumber& left, const WholeNumber& right) {
    if (left.sign_ != right.sign_) return left.sign_ <=> right.sign_;
    std::strong_ordering magnitude = left.digitCount_ <=> right.digitCount_;
    if (magnitude == 0) magnitude = left.leading_ <=> right.leading_;
    // Without trailing zeros, the further digits of equally long numbers order as texts do.
    if (magnitude == 0) magnitude = left.rest_.compare(right.rest_) <=> 0;
    return left.sign_ < 0 ? 0 <=> magnitude : magnitude;
}

std::optional<std::int64_t> WholeNumber::value() const {
    if (digitCount_ > kLeadingDigits - 1) return std::nullopt;
    return sign_ * static_cast<std::int64_t>(leading_);
}

int NumberSign(const GbkText& cell) {
    const ScannedNumber number = ScanNumber(cell);
    return number.mantissa.find_first_not_of('0') == std::string::npos ? 0 : number.sign;
}

WholeNumber ReadWholeNumber(const GbkText& cell, int decimalPlaces) {
    const ScannedNumber scanned = ScanNumber(cell);
    const std::string& mantissa = scanned.mantissa;
    // How many digits stand before the decimal point once the number is scaled, counted from
    // its first digit that is not 0.
    std::int64_t point = scanned.integerDigits + scanned.exponent + decimalPlaces;
    const std::size_t firstNonZero = mantissa.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return WholeNumber();
    point -= static_cast<std::int64_t>(firstNonZero);
    if (point <= 0) return WholeNumber();

    std::string_view digits = std::string_view(mantissa).substr(firstNonZero);
    digits = digits.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(
                                  point, static_cast<std::int64_t>(digits.size()))));

    WholeNumber number;
    number.sign_ = scanned.sign;
    number.digitCount_ = point;
    // The leading digits stand at their places, the ones cut off or never written being 0.
    const std::int64_t leadingPlaces = std::min(point, kLeadingDigits);
    for (std::int64_t place = 0; place < leadingPlaces; ++place) {
        const auto at = static_cast<std::size_t>(place);
        number.leading_ = number.leading_ * 10 + (at < digits.size() ? digits[at] - '0' : 0);
    }
    if (digits.size() > static_cast<std::size_t>(kLeadingDigits)) {
        const std::string_view rest = digits.substr(static_cast<std::size_t>(kLeadingDigits));
        number.rest_ = std::string(rest.substr(0, rest.find_last_not_of('0') + 1));
    }
    return number;
}

}  // namespace kestavel
