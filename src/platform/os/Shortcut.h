#pragma once
// Internet-shortcut files ("[InternetShortcut]", then "URL=<address>"), opened
// as the shell opens them: the address goes to the desktop's browser.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace shortcut {

// The web address of a shortcut file's bytes: the first line starting "URL="
// (any letter case) that holds an http or https address. Nothing otherwise.
std::optional<QUrl> address(const QByteArray& file);

// Opens the shortcut file's address in the browser; false when the file is
// missing, holds no web address, or nothing opened it.
bool open(const QString& path);

} // namespace shortcut
