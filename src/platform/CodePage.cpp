#include "platform/CodePage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace kestavel {
namespace {

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenConverter(const char* to, const char* from) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(handle);
}

// Converts as far as possible; stops at the first unconvertible or invalid sequence and reports
// how many input bytes were consumed.
bool ConvertRun(iconv_t handle, std::string_view input, std::string& output,
                std::size_t& consumed) {
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    bool ok = true;
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            ok = false;
            break;
        }
    }
    consumed = input.size() - inLeft;
    return ok;
}

// Converts from GBK; each byte that does not start a valid character gives the replacement
// and the conversion goes on after it.
void DecodeMarkingBrokenBytes(void* converter, std::string_view gbk, std::string_view replacement,
                              std::string& out) {
    out.clear();
    if (converter == nullptr) return;
    const auto handle = static_cast<iconv_t>(converter);
    std::string_view rest = gbk;
    while (!rest.empty()) {
        std::size_t consumed = 0;
        if (ConvertRun(handle, rest, out, consumed)) break;
        out += replacement;
        rest.remove_prefix(consumed + 1);
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
}

// ASCII reads the same in UTF-8 and GBK, and most texts (ids, addresses, numbers) are ASCII.
bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

constexpr unsigned char kFirstLead = 0x81;
constexpr unsigned char kLastLead = 0xFE;
constexpr unsigned char kFirstTrail = 0x40;
constexpr unsigned char kLastTrail = 0xFE;
constexpr std::size_t kTrails = kLastTrail - kFirstTrail + 1;

// The UTF-16 unit of every GBK double-byte character, 0 where a pair is none. It is filled by
// the converter itself, pair by pair, so decoding through it gives what the converter gives:
// GBK holds no state from one character to the next.
class GbkPairs {
  public:
    static const GbkPairs& get() {
        static const GbkPairs pairs;
        return pairs;
    }

    char16_t unit(unsigned char lead, unsigned char trail) const {
        return units_[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
    }

  private:
    GbkPairs() : units_((kLastLead - kFirstLead + 1) * kTrails, 0) {
        const IconvHandle converter = OpenConverter(
            std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE", "GBK");
        if (!converter) return;
        const auto handle = static_cast<iconv_t>(converter.get());
        for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
                char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char16_t unit[2] = {0, 0};
                char* in = pair;
                std::size_t inLeft = sizeof pair;
                char* out = reinterpret_cast<char*>(unit);
                std::size_t outLeft = sizeof unit;
                iconv(handle, nullptr, nullptr, nullptr, nullptr);
                const std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
                if (result != static_cast<std::size_t>(-1) && inLeft == 0 &&
                    outLeft == sizeof(char16_t)) {
                    units_[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] = unit[0];
                }
            }
        }
    }

    std::vector<char16_t> units_;
};

// Decodes through the table of pairs, far quicker than a converter call per text. False when a
// byte does not start a character the table holds; such texts are left to the converter, which
// marks the broken bytes.
bool DecodeByPairs(std::string_view gbk, std::u16string& out) {
    const GbkPairs& pairs = GbkPairs::get();
    out.resize(gbk.size());
    std::size_t units = 0;
    for (std::size_t i = 0; i < gbk.size();) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            out[units++] = lead;
            ++i;
            continue;
        }
        if (lead < kFirstLead || lead > kLastLead || i + 1 == gbk.size()) return false;
        const auto trail = static_cast<unsigned char>(gbk[i + 1]);
        if (trail < kFirstTrail || trail > kLastTrail) return false;
        const char16_t unit = pairs.unit(lead, trail);
        if (unit == 0) return false;
        out[units++] = unit;
        i += 2;
    }
    out.resize(units);
    return true;
}

}  // namespace

bool TryUtf8ToGbk(std::string_view utf8, GbkText& out) {
    if (IsAscii(utf8)) {
        out = GbkText::fromBytes(std::string(utf8));
        return true;
    }
    // One converter per thread, reset before each use, instead of one opened per text.
    thread_local IconvHandle handle = OpenConverter("GBK", "UTF-8");
    if (!handle) return false;
    iconv(static_cast<iconv_t>(handle.get()), nullptr, nullptr, nullptr, nullptr);
    std::string bytes;
    std::size_t consumed = 0;
    if (!ConvertRun(static_cast<iconv_t>(handle.get()), utf8, bytes, consumed)) return false;
    out = GbkText::fromBytes(std::move(bytes));
    return true;
}

GbkText Utf8ToGbk(std::string_view utf8) {
    GbkText result;
    if (!TryUtf8ToGbk(utf8, result)) return GbkText();
    return result;
}

std::string GbkToUtf8(const GbkText& gbk) {
    if (IsAscii(gbk.view())) return gbk.bytes();
    thread_local GbkDecoder decoder;
    std::string utf8;
    decoder.toUtf8(gbk, utf8);
    return utf8;
}

// Each converter is opened on its first use, so a decoder for one text opens only one.
GbkDecoder::GbkDecoder() : utf8_(nullptr), utf16_(nullptr) {}

GbkDecoder::~GbkDecoder() {
    IconvCloser close;
    if (utf8_ != nullptr) close(utf8_);
    if (utf16_ != nullptr) close(utf16_);
}

void GbkDecoder::toUtf8(const GbkText& gbk, std::string& out) {
    if (utf8_ == nullptr) utf8_ = OpenConverter("UTF-8", "GBK").release();
    if (utf8_ != nullptr) iconv(static_cast<iconv_t>(utf8_), nullptr, nullptr, nullptr, nullptr);
    DecodeMarkingBrokenBytes(utf8_, gbk.view(), "\xEF\xBF\xBD", out);
}

void GbkDecoder::toUtf16(const GbkText& gbk, std::u16string& out) {
    if (DecodeByPairs(gbk.view(), out)) return;
    static constexpr char16_t kReplacement = u'\uFFFD';
    if (utf16_ == nullptr) {
        utf16_ = OpenConverter(std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE",
                               "GBK")
                     .release();
    }
    DecodeMarkingBrokenBytes(
        utf16_, gbk.view(),
        std::string_view(reinterpret_cast<const char*>(&kReplacement), sizeof kReplacement),
        bytes_);
    out.resize(bytes_.size() / sizeof(char16_t));
    std::memcpy(out.data(), bytes_.data(), out.size() * sizeof(char16_t));
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || i + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace kestavel
