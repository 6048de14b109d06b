#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel {

// Strict: any input that is not valid UTF-8 or holds a character GBK lacks gives an empty text.
GbkText Utf8ToGbk(std::string_view utf8);

// Strict as well; an empty result for valid non-empty input cannot happen.
bool TryUtf8ToGbk(std::string_view utf8, GbkText& out);

// For showing stored text: bytes that are not valid GBK become U+FFFD, so a damaged cell still
// shows.
std::string GbkToUtf8(const GbkText& gbk);

// Decodes many GBK texts in a row, such as every cell of a column, with converters opened once
// instead of once per text. Bytes that are not valid GBK become U+FFFD, as in GbkToUtf8.
class GbkDecoder {
  public:
    GbkDecoder();
    ~GbkDecoder();
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    // Each replaces out with the text, so one buffer can serve a whole column.
    void toUtf8(const GbkText& gbk, std::string& out);
    void toUtf16(const GbkText& gbk, std::u16string& out);

  private:
    void* utf8_;   // iconv_t, kept out of this header
    void* utf16_;  // the same, to UTF-16 in this machine's byte order
    std::string bytes_;
};

bool IsValidUtf8(std::string_view text);

}  // namespace kestavel
