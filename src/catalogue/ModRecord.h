#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "platform/GbkText.h"
#include "platform/LocalDateTime.h"

namespace kestavel {

// Field positions of a catalogue record, counted from 1 as every read and write names them.
enum class Field : int {
    Number = 1,      // 序号
    Code,            // 编码
    Name,            // 名称
    Author,          // 作者
    PictureAddress,  // 图片地址
    Gone,            // 是否失效
    Description1,    // 描述1 … 描述8
    Description2,
    Description3,
    Description4,
    Description5,
    Description6,
    Description7,
    Description8,
    MainCategory,  // 主分类
    Detail1,       // 明细分类1 … 明细分类3
    Detail2,
    Detail3,
    UpdateDate,  // 更新日期
};

inline constexpr int kFieldCount = 19;
// A 序号 read back as a real counts as the whole number it lies this close to.
inline constexpr double kNumberTolerance = 0.0000001;
inline constexpr int kDescriptionPieces = 8;
inline constexpr std::size_t kDescriptionPieceBytes = 256;

enum class FieldKind { WholeNumber, Text, Logical, DateTime };

struct FieldInfo {
    std::string_view name;  // the column name in the catalogue file (UTF-8 source text)
    FieldKind kind;
};

// Indexed by position − 1.
extern const std::array<FieldInfo, kFieldCount> kFields;

constexpr int Position(Field field) {
    return static_cast<int>(field);
}
const FieldInfo& InfoOf(int position);
// Position of the field with this column name, or 0.
int PositionOf(std::string_view name);

// One field's value with its kind. A date-time without a value is the empty date.
using FieldValue = std::variant<std::int64_t, GbkText, bool, std::optional<LocalDateTime>>;

FieldValue EmptyValue(FieldKind kind);

// A whole record as read in one go, in field order.
using ModRecord = std::array<FieldValue, kFieldCount>;

}  // namespace kestavel
