#include "ui/QtTextBoxes.h"

#include <QTextCursor>

#include "ui/QtText.h"

namespace kestavel {
namespace {

QString FromCrLf(std::string_view text) {
    QString converted = ToQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

}  // namespace

std::string LineEditBox::text() const {
    return ToUtf8(edit_->text());
}
void LineEditBox::setText(std::string_view text) {
    edit_->setText(ToQString(text));
}
void LineEditBox::append(std::string_view text) {
    edit_->setText(edit_->text() + ToQString(text));
}

std::string PlainTextBox::text() const {
    QString plain = edit_->toPlainText();
    plain.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return ToUtf8(plain);
}
void PlainTextBox::setText(std::string_view text) {
    edit_->setPlainText(FromCrLf(text));
}
void PlainTextBox::append(std::string_view text) {
    QTextCursor cursor(edit_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(FromCrLf(text));
    edit_->setTextCursor(cursor);
    edit_->ensureCursorVisible();
}

std::string GroupCaptionBox::text() const {
    return ToUtf8(group_->title());
}
void GroupCaptionBox::setText(std::string_view text) {
    group_->setTitle(ToQString(text));
}
void GroupCaptionBox::append(std::string_view text) {
    group_->setTitle(group_->title() + ToQString(text));
}

std::string LabelBox::text() const {
    return ToUtf8(label_->text());
}
void LabelBox::setText(std::string_view text) {
    label_->setText(ToQString(text));
}
void LabelBox::append(std::string_view text) {
    label_->setText(label_->text() + ToQString(text));
}

}  // namespace kestavel
