#include "catalogue/ModRecord.h"

namespace kestavel {

const std::array<FieldInfo, kFieldCount> kFields = {{
    {"序号", FieldKind::WholeNumber},  {"编码", FieldKind::Text},
    {"名称", FieldKind::Text},         {"作者", FieldKind::Text},
    {"图片地址", FieldKind::Text},     {"是否失效", FieldKind::Logical},
    {"描述1", FieldKind::Text},        {"描述2", FieldKind::Text},
    {"描述3", FieldKind::Text},        {"描述4", FieldKind::Text},
    {"描述5", FieldKind::Text},        {"描述6", FieldKind::Text},
    {"描述7", FieldKind::Text},        {"描述8", FieldKind::Text},
    {"主分类", FieldKind::Text},       {"明细分类1", FieldKind::Text},
    {"明细分类2", FieldKind::Text},    {"明细分类3", FieldKind::Text},
    {"更新日期", FieldKind::DateTime},
}};

const FieldInfo& InfoOf(int position) {
    return kFields.at(static_cast<std::size_t>(position - 1));
}

int PositionOf(std::string_view name) {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].name == name) return static_cast<int>(i) + 1;
    }
    return 0;
}

FieldValue EmptyValue(FieldKind kind) {
    switch (kind) {
        case FieldKind::WholeNumber:
            return std::int64_t{0};
        case FieldKind::Text:
            return GbkText();
        case FieldKind::Logical:
            return false;
        case FieldKind::DateTime:
            break;
    }
    return std::optional<LocalDateTime>();
}

}  // namespace kestavel
