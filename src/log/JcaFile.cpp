#include "log/JcaFile.h"

#include "platform/os/Cp932.h"

namespace logbook {

QStringList jcaFields(const QByteArray& line) {
    QStringList fields;
    QByteArray field;
    bool quoted = false, wasQuoted = false;
    const auto finish = [&] {
        const QString text = cp932::decode(field);
        fields << (wasQuoted ? text : text.trimmed());
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == ',') {
            finish();
        } else if (c != '\r' && c != '\n') {
            // Text after a closing quote belongs to no field.
            if (!wasQuoted) field += c;
        }
    }
    finish();
    return fields;
}

int jcaStateOf(const QByteArray& file, const QString& suffix) {
    for (const QByteArray& line : file.split('\n')) {
        const QStringList f = jcaFields(line);
        if (f.size() < 4 || f[0] != suffix) continue;
        if (f[1].isEmpty()) return 1;
        return f[3] == QStringLiteral("未") ? 2 : 3;
    }
    return 0;
}

} // namespace logbook
