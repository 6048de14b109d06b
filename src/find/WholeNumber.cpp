#include "find/WholeNumber.h"

#include <algorithm>
#include <string_view>

#include "find/AsciiForms.h"

namespace kestavel {
namespace {

// Far beyond any text a cell holds, and far inside the range of the digit count.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::strong_ordering operator<=>(const WholeNumber& left, const WholeNumber& right) {
    if (left.sign_ != right.sign_) return left.sign_ <=> right.sign_;
    std::strong_ordering magnitude = left.digitCount_ <=> right.digitCount_;
    // Without trailing zeros, digit strings of equal length order as their texts do.
    if (magnitude == 0) magnitude = left.digits_.compare(right.digits_) <=> 0;
    return left.sign_ < 0 ? 0 <=> magnitude : magnitude;
}

WholeNumber ReadWholeNumber(const GbkText& cell, int decimalPlaces) {
    const GbkText ascii = AsciiForms(cell);
    const std::string_view text = ascii.view();
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') sign = -1;
        ++i;
    }

    std::string mantissa;
    std::int64_t integerDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++integerDigits) mantissa += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) mantissa += text[i];
    }
    if (mantissa.empty()) return WholeNumber();

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        int exponentSign = 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            if (text[j] == '-') exponentSign = -1;
            ++j;
        }
        // Without a digit the "e" is not part of the number.
        for (; j < text.size() && IsDigit(text[j]); ++j) {
            exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentLimit);
        }
        exponent *= exponentSign;
    }

    // Place of the decimal point after the first digit of the mantissa, once scaled.
    std::int64_t point = integerDigits + exponent + decimalPlaces;
    const std::size_t firstNonZero = mantissa.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return WholeNumber();
    point -= static_cast<std::int64_t>(firstNonZero);
    if (point <= 0) return WholeNumber();

    std::string_view digits = std::string_view(mantissa).substr(firstNonZero);
    digits = digits.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(
                                  point, static_cast<std::int64_t>(digits.size()))));
    digits = digits.substr(0, digits.find_last_not_of('0') + 1);

    WholeNumber number;
    number.sign_ = sign;
    number.digitCount_ = point;
    number.digits_ = std::string(digits);
    return number;
}

}  // namespace kestavel
