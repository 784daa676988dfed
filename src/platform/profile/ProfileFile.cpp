#include "platform/profile/ProfileFile.h"

#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"
#include "platform/profile/ProfileEdit.h"
#include "platform/profile/ProfileParse.h"

#include <QFile>

namespace profile {

std::optional<QByteArray> readFile(const QString& filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) {
        if (QFile::exists(filePath)) return std::nullopt;
        return QByteArray();
    }
    return f.readAll();
}

QString stringIn(const QByteArray& bytes, const QString& section, const QString& key,
                 const QString& defaultValue) {
    return valueIn(bytes, section, key).value_or(defaultValue);
}

QByteArray edited(const QByteArray& bytes, const Edit& edit) {
    // A key that already reads back as the value is left as the operator wrote
    // it: its bytes may say more than the text that was read from them.
    const std::optional<QString> held = valueIn(bytes, edit.section, edit.key);
    if (held == edit.value) return bytes;
    const QByteArray updated = withValue(bytes, edit.section, edit.key, edit.value);
    if (held && held == valueIn(updated, edit.section, edit.key)) return bytes;
    return updated;
}

QString uncarried(const QByteArray& bytes, const QString& text, Reading reading) {
    const Encoding encoding = parsedView(bytes).encoding;
    // Shift-JIS by the code page's one rule of what reads back as typed.
    if (encoding == Encoding::ShiftJis)
        return reading == Reading::AsName ? cp932::uncarriedInName(text) : cp932::uncarried(text);
    QString lost;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray written = encode(one, encoding);
        if (decode(written, Span{0, written.size()}, encoding) != one && !lost.contains(one)) lost += one;
    }
    return lost;
}

QString getString(const QString& section, const QString& key, const QString& defaultValue,
                  const QString& filePath) {
    return stringIn(readFile(filePath).value_or(QByteArray()), section, key, defaultValue);
}

bool writeString(const QString& section, const QString& key, const QString& value, const QString& filePath) {
    return writeStrings({Edit{section, key, value}}, filePath);
}

bool writeStrings(const QList<Edit>& edits, const QString& filePath) {
    const std::optional<QByteArray> old = readFile(filePath);
    if (!old) return false;
    QByteArray updated = *old;
    for (const Edit& e : edits)
        updated = edited(updated, e);
    if (updated == *old) return true;
    return files::replaceWhole(filePath, updated);
}

} // namespace profile
