#include "core/ListFiles.h"

#include "platform/os/Cp932.h"

#include <QRegularExpression>

namespace core {
QStringList ListFileLines(const QByteArray& file) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = cp932::decode(file).split(breaks);
    // The break that ends the last line starts no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

namespace {

// Blanks only, as the lists were always trimmed: tabs and line breaks stay.
QString trimBlanks(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

} // namespace

QStringList RstMenuEntries(const QByteArray& file) {
    QStringList entries;
    for (const QString& line : ListFileLines(file)) {
        const QString report = trimBlanks(line.left(3));
        if (!report.isEmpty()) entries << report;
    }
    return entries;
}

QStringList OtherModeEntries(const QByteArray& file) {
    QStringList entries;
    for (const QString& line : ListFileLines(file)) {
        const QString mode = trimBlanks(line);
        if (!mode.isEmpty()) entries << mode;
    }
    return entries;
}

QByteArray ListFileBytes(const QString& boxText) {
    QString text = trimBlanks(boxText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return cp932::encode(text + QStringLiteral("\r\n"));
}

} // namespace core
