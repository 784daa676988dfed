#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QStringList>

namespace profile {
namespace {

QStringList readLines(const QString& filePath, bool* exists = nullptr) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) {
        if (exists) *exists = false;
        return {};
    }
    if (exists) *exists = true;
    QString text = cp932::decode(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// "[Name]" gives Name; any other line gives a null string.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return {};
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0) return {};
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';'));
}

// Splits "key = value" into its trimmed key and the raw value after "=".
bool splitKey(const QString& line, QString* key, QString* value) {
    if (isComment(line)) return false;
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1);
    return true;
}

QString cleanValue(const QString& raw) {
    QString v = raw.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString getString(const QString& section, const QString& key, const QString& defaultValue,
                  const QString& filePath) {
    const QStringList lines = readLines(filePath);
    bool inSection = false;
    for (const QString& line : lines) {
        const QString s = sectionOf(line);
        if (!s.isNull()) {
            inSection = sameName(s, section);
            continue;
        }
        QString k, v;
        if (inSection && splitKey(line, &k, &v) && sameName(k, key)) return cleanValue(v);
    }
    return defaultValue;
}

bool writeString(const QString& section, const QString& key, const QString& value, const QString& filePath) {
    QStringList lines = readLines(filePath);
    const QString entry = key + QLatin1Char('=') + value;

    int sectionLine = -1;
    int lastContentLine = -1; // last non-blank line of the section
    bool written = false;
    for (int i = 0; i < lines.size() && !written; ++i) {
        const QString s = sectionOf(lines[i]);
        if (!s.isNull()) {
            if (sectionLine >= 0) break; // the next section begins
            if (sameName(s, section)) {
                sectionLine = i;
                lastContentLine = i;
            }
            continue;
        }
        if (sectionLine < 0) continue;
        QString k, v;
        if (splitKey(lines[i], &k, &v) && sameName(k, key)) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            lastContentLine = i;
        }
    }
    if (!written) {
        if (sectionLine >= 0) {
            lines.insert(lastContentLine + 1, entry);
        } else {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        }
    }

    return files::replaceWhole(filePath,
                               cp932::encode(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")));
}

} // namespace profile
