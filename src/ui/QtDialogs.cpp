#include "ui/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/QtText.h"

namespace kestavel {

void QtDialogs::message(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

bool QtDialogs::confirm(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

bool QtDialogs::askYesNo(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::Warning, ToQString(title), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::chooseFolder(std::string_view prompt) {
    QString folder = QFileDialog::getExistingDirectory(parent_, ToQString(prompt), QString(),
                                                       QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(folder));
}

QString QtFileFilter(std::string_view filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt takes the patterns from the parentheses; the caption may show them too.
        entries << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    }
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) entries << parts.back();
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::chooseSaveFile(std::string_view title,
                                                     std::string_view filter,
                                                     std::string_view defaultName,
                                                     std::string_view startFolder) {
    QString start = ToQString(startFolder);
    if (!defaultName.empty()) start = QDir(start).filePath(ToQString(defaultName));
    QString file =
        QFileDialog::getSaveFileName(parent_, ToQString(title), start, QtFileFilter(filter));
    if (file.isEmpty()) return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(file));
}

std::optional<std::string> QtDialogs::chooseOpenFile(std::string_view title,
                                                     std::string_view filter,
                                                     std::string_view startFolder) {
    QString file = QFileDialog::getOpenFileName(parent_, ToQString(title), ToQString(startFolder),
                                                QtFileFilter(filter));
    if (file.isEmpty()) return std::nullopt;
    return ToUtf8(QDir::toNativeSeparators(file));
}

}  // namespace kestavel
