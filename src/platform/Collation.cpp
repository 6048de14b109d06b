#include "platform/Collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

namespace kestavel {

struct Collation::Collator {
    UCollator* handle = nullptr;
    // Scratch space reused by every key, so building keys for many rows does not allocate.
    mutable std::u16string utf16;
    mutable std::string key;

    ~Collator() {
        if (handle != nullptr) ucol_close(handle);
    }
};

Collation::Collation(std::unique_ptr<Collator> collator) : collator_(std::move(collator)) {}
Collation::~Collation() = default;
Collation::Collation(Collation&&) noexcept = default;
Collation& Collation::operator=(Collation&&) noexcept = default;

Collation Collation::ForDefaultLocale() {
    return ForLocale(uloc_getDefault());
}

Collation Collation::ForLocale(const std::string& localeName) {
    auto collator = std::make_unique<Collator>();
    UErrorCode status = U_ZERO_ERROR;
    collator->handle = ucol_open(localeName.c_str(), &status);
    if (U_FAILURE(status)) {
        if (collator->handle != nullptr) ucol_close(collator->handle);
        collator->handle = nullptr;
    } else {
        ucol_setStrength(collator->handle, UCOL_TERTIARY);
    }
    return Collation(std::move(collator));
}

std::string Collation::sortKey(std::string_view utf8) const {
    if (collator_->handle == nullptr) return std::string(utf8);
    std::u16string& utf16 = collator_->utf16;
    // UTF-16 never needs more code units than UTF-8 has bytes.
    utf16.resize(utf8.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                         &status);
    if (U_FAILURE(status)) return std::string(utf8);

    std::string& key = collator_->key;
    if (key.size() < 64) key.resize(64);
    const auto* text = reinterpret_cast<const UChar*>(utf16.data());
    int32_t needed =
        ucol_getSortKey(collator_->handle, text, length, reinterpret_cast<uint8_t*>(key.data()),
                        static_cast<int32_t>(key.size()));
    if (needed > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(needed));
        needed = ucol_getSortKey(collator_->handle, text, length,
                                 reinterpret_cast<uint8_t*>(key.data()), needed);
    }
    // The count includes the closing zero byte, which every key ends with and adds nothing.
    return needed > 0 ? key.substr(0, static_cast<std::size_t>(needed) - 1) : std::string();
}

}  // namespace kestavel
