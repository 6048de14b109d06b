#include "ui/QtShell.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include "ui/QtText.h"

namespace kestavel {

void QtShell::openFolder(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)));
}

void QtShell::setClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}

}  // namespace kestavel
