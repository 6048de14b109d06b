#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kestavel {

// Locale-aware, case-sensitive text order: an ICU collator at tertiary strength. Sorts compare
// sort keys, which are built once per text and order bytewise exactly as the texts collate.
class Collation {
  public:
    // The collator of the user's text order: LC_ALL, else LC_COLLATE, else LANG, as the C
    // library ranks them. The C and POSIX locales (or none) give ICU's root order, which sorts
    // as people read rather than by code point.
    static Collation ForDefaultLocale();
    // The ICU locale name for a POSIX locale name ("zh_CN.UTF-8" gives "zh_CN"; "C", "POSIX"
    // and "" give the root locale "").
    static std::string IcuLocaleOf(std::string_view posixName);
    // A named locale such as "en_US" or "zh_CN"; an unknown name gives ICU's root order.
    static Collation ForLocale(const std::string& localeName);

    // An independent copy for another thread: one collator is not to be used by two at once.
    Collation clone() const;

    ~Collation();
    Collation(Collation&&) noexcept;
    Collation& operator=(Collation&&) noexcept;

    // Appends the text's sort key: bytes whose plain byte order is the collation order of the
    // texts they were built from. Without a working collator the key is the text's UTF-16 code
    // units, high byte first, which order as the code units do.
    void appendSortKey(std::u16string_view text, std::string& keys) const;

  private:
    struct Collator;
    explicit Collation(std::unique_ptr<Collator> collator);
    std::unique_ptr<Collator> collator_;
};

}  // namespace kestavel
