#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/GbkText.h"

namespace kestavel {

// A whole number of any size, held exactly, so workshop ids far beyond 32 or 64 bits still
// order by value.
class WholeNumber {
  public:
    WholeNumber() = default;  // zero

    friend bool operator==(const WholeNumber&, const WholeNumber&) = default;
    friend std::strong_ordering operator<=>(const WholeNumber& left, const WholeNumber& right);

    // The number, when it has at most 18 digits and so fits any 64-bit integer.
    std::optional<std::int64_t> value() const;

  private:
    friend WholeNumber ReadWholeNumber(const GbkText& cell, int decimalPlaces);

    // -1, 0 or 1 as the number a cell begins with, read the same way but never cut, is below, at or
    // above zero; a fraction such as 0.5 is above zero though it cuts to 0.
    int NumberSign(const GbkText& cell);

    int sign_ = 0;                 // -1, 0 or 1
    std::int64_t digitCount_ = 0;  // digits of the magnitude; 0 for zero
    // The magnitude's first 19 digit places as a number, so that numbers of everyday size
    // compare without looking at any text.
    std::uint64_t leading_ = 0;
    std::string rest_;  // the digits after those, without the magnitude's trailing zeros
};

// The number a cell begins with, multiplied by 10 to the power decimalPlaces and cut toward
// zero. Full-width forms count as ASCII; leading white space is skipped; then an optional sign,
// digits, an optional decimal point with digits and an optional exponent are read up to the
// first character that does not fit. A cell that does not begin with a number reads as 0.
WholeNumber ReadWholeNumber(const GbkText& cell, int decimalPlaces);

// -1, 0 or 1 as the number a cell begins with, read the same way but never cut, is below, at or
// above zero; a fraction such as 0.5 is above zero though it cuts to 0.
int NumberSign(const GbkText& cell);

}  // namespace kestavel
