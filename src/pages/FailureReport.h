#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestavel {

// The failed items of a batch command, in the order they were met: 序号 and 编码 as text.
struct FailureList {
    std::vector<std::string> numbers;  // UTF-8 display text of 序号
    std::vector<std::string> codes;    // 编码 as UTF-8
    void add(std::string number, std::string code) {
        numbers.push_back(std::move(number));
        codes.push_back(std::move(code));
    }
    std::size_t size() const { return numbers.size(); }
    bool empty() const { return numbers.empty(); }
};

inline constexpr std::string_view kDownloadFailedHeading = "\r\n\r\n其中下载失败";
inline constexpr std::string_view kRefreshFailedHeading = "\r\n\r\n其中更新失败";

// The FailureReport lines for the result box (UTF-8); empty when nothing failed.
std::string FailureReport(std::string_view heading, const FailureList& failures);

}  // namespace kestavel
