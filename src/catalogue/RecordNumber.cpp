#include "catalogue/RecordNumber.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kestavel {

int RecordNumberOf(const GbkText& numberCell) {
    errno = 0;
    const long number = std::strtol(numberCell.bytes().c_str(), nullptr, 10);
    if (errno != 0 || number < 0 || number > INT_MAX) return 0;
    return static_cast<int>(number);
}

}  // namespace kestavel
