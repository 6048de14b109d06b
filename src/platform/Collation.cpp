#include "platform/Collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <cstdlib>

namespace kestavel {

struct Collation::Collator {
    UCollator* handle = nullptr;

    ~Collator() {
        if (handle != nullptr) ucol_close(handle);
    }
};

Collation::Collation(std::unique_ptr<Collator> collator) : collator_(std::move(collator)) {}
Collation::~Collation() = default;
Collation::Collation(Collation&&) noexcept = default;
Collation& Collation::operator=(Collation&&) noexcept = default;

std::string Collation::IcuLocaleOf(std::string_view posixName) {
    const std::string_view name = posixName.substr(0, posixName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return {};
    return std::string(name);
}

Collation Collation::ForDefaultLocale() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return ForLocale(IcuLocaleOf(value));
    }
    return ForLocale("");
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

Collation Collation::clone() const {
    auto copy = std::make_unique<Collator>();
    if (collator_->handle != nullptr) {
        UErrorCode status = U_ZERO_ERROR;
        copy->handle = ucol_clone(collator_->handle, &status);
        if (U_FAILURE(status)) {
            if (copy->handle != nullptr) ucol_close(copy->handle);
            copy->handle = nullptr;
        }
    }
    return Collation(std::move(copy));
}

void Collation::appendSortKey(std::u16string_view text, std::string& keys) const {
    UCollator* handle = collator_->handle;
    if (handle == nullptr) {
        for (const char16_t unit : text) {
            keys += static_cast<char>(unit >> 8);
            keys += static_cast<char>(unit & 0xFF);
        }
        return;
    }
    const auto length = static_cast<int32_t>(text.size());
    const std::size_t start = keys.size();
    // A first guess of the key's size; the collator says how much it needs when it is short.
    std::size_t room = 4 * text.size() + 16;
    for (;;) {
        keys.resize(start + room);
        const int32_t needed = ucol_getSortKey(handle, text.data(), length,
                                               reinterpret_cast<uint8_t*>(keys.data() + start),
                                               static_cast<int32_t>(room));
        if (needed <= 0) {
            keys.resize(start);
            return;
        }
        if (static_cast<std::size_t>(needed) <= room) {
            // The count includes the closing zero byte, which every key ends with.
            keys.resize(start + static_cast<std::size_t>(needed) - 1);
            return;
        }
        room = static_cast<std::size_t>(needed);
    }
}

}  // namespace kestavel
