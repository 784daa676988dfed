#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/ProfileEdit.h"
#include "platform/ProfileParse.h"

#include <QFile>
#include <optional>

namespace profile {
namespace {

// The file's bytes; empty when there is no file; nothing when a file is there
// but cannot be read (a write must not replace what it could not read).
std::optional<QByteArray> readBytes(const QString& filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) {
        if (QFile::exists(filePath)) return std::nullopt;
        return QByteArray();
    }
    return f.readAll();
}

} // namespace

QString getString(const QString& section, const QString& key, const QString& defaultValue,
                  const QString& filePath) {
    return valueIn(readBytes(filePath).value_or(QByteArray()), section, key).value_or(defaultValue);
}

bool writeString(const QString& section, const QString& key, const QString& value, const QString& filePath) {
    const std::optional<QByteArray> old = readBytes(filePath);
    if (!old) return false;
    const QByteArray updated = withValue(*old, section, key, value);
    if (updated == *old) return true;
    // A key that already reads back as the value is left as the operator wrote it.
    const std::optional<QString> held = valueIn(*old, section, key);
    if (held && held == valueIn(updated, section, key)) return true;
    return files::replaceWhole(filePath, updated);
}

} // namespace profile
