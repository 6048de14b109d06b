#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace kestavel {

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString ToQString(const GbkText& gbk) {
    return ToQString(GbkToUtf8(gbk));
}
inline std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace kestavel
