#include "pages/FailureReport.h"

#include "app/JoinedList.h"

namespace kestavel {

std::string FailureReport(std::string_view heading, const FailureList& failures) {
    if (failures.empty()) return {};
    std::string report(heading);
    report += std::to_string(failures.size());
    report += "个，序号是：\r\n" + JoinedList(failures.numbers);
    report += "\r\n\r\n编码是：\r\n" + JoinedList(failures.codes);
    return report;
}

}  // namespace kestavel
