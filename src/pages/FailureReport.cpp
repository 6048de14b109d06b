#include "pages/FailureReport.h"

namespace kestavel {

std::string FailureReport(std::string_view heading, const FailureList& failures) {
    if (failures.empty()) return {};
    std::string report(heading);
    report += std::to_string(failures.size());
    report += "个，序号是：\r\n";
    for (std::size_t i = 0; i < failures.numbers.size(); ++i) {
        if (i > 0) report += "，";
        report += failures.numbers[i];
    }
    report += "\r\n\r\n编码是：\r\n";
    for (std::size_t i = 0; i < failures.codes.size(); ++i) {
        if (i > 0) report += "，";
        report += failures.codes[i];
    }
    return report;
}

}  // namespace kestavel
