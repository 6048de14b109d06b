#include "catalogue/NamePool.h"

#include <algorithm>

#include "platform/LeadingBytes.h"

namespace kestavel {

bool NamePool::isAscii() const {
    return std::all_of(bytes_.begin(), bytes_.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Small keys are sorted rather than the names: most are told apart by their first eight bytes.
std::vector<std::uint32_t> BytewiseOrder(const NamePool& names) {
    struct Key {
        std::uint64_t leading;
        std::uint32_t index;
    };
    std::vector<Key> keys(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        keys[i] = {LeadingBytes(names[i]), static_cast<std::uint32_t>(i)};
    }
    const auto rest = [&names](std::uint32_t i) {
        const std::string_view name = names[i];
        return name.substr(std::min<std::size_t>(8, name.size()));
    };
    std::sort(keys.begin(), keys.end(), [&rest](const Key& a, const Key& b) {
        if (a.leading != b.leading) return a.leading < b.leading;
        return rest(a.index) < rest(b.index);
    });
    std::vector<std::uint32_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].index;
    return order;
}

}  // namespace kestavel
