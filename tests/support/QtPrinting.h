#pragma once

#include <QString>

#include <ostream>

// Lets failing assertions print Qt strings as text rather than as raw bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
