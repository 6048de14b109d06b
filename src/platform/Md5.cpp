#include "platform/Md5.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>

namespace kestavel {

std::optional<std::string> Md5OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) return std::nullopt;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        if (in.gcount() > 0 &&
            EVP_DigestUpdate(context.get(), buffer, static_cast<std::size_t>(in.gcount())) != 1) {
            return std::nullopt;
        }
    }
    if (in.bad()) return std::nullopt;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return std::nullopt;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0xF];
    }
    return text;
}

}  // namespace kestavel
