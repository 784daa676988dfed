#include "SpotPageBuilder.h"

#include "platform/os/Cp932.h"

namespace spotsrv {

namespace {

QString fit(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString fitRight(const QString& text, int width) {
    return text.left(width).rightJustified(width, QLatin1Char(' '));
}

// What a page shows of the remarks: "<" and ">" as references, as the real pages do.
QString escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('<'), QLatin1StringView("&lt;"));
    out.replace(QLatin1Char('>'), QLatin1StringView("&gt;"));
    return out;
}

QByteArray page(const QString& title, const QStringList& lines) {
    const QString html =
        QStringLiteral("<html><head><title>%1</title></head><body><center>\n<h2>%1</h2>\n<pre>\n%2\n"
                       "</pre></center></body></html>\n")
            .arg(title, lines.join(QLatin1Char('\n')));
    return cp932::encode(html);
}

} // namespace

// Columns: call 1-13 (the link's text), time 14-18, frequency 19-27,
// remarks 29-59, spotter 61-69.
QString primaryLine(const Spot& s) {
    const QString call = s.call.left(13);
    return QStringLiteral("<a href=\"webjump.cgi?call=%1\" target=\"_blank\">%1</a>").arg(call) +
           QString(13 - call.size(), QLatin1Char(' ')) + fit(s.time, 4) + QLatin1Char('Z') +
           fitRight(s.freqKhz, 9) + QLatin1Char(' ') + escaped(fit(s.remarks, 31)) + QLatin1Char(' ') +
           fit(s.spotter, 9);
}

// Columns: spotter 1-8, frequency 10-17, call 19-29, remarks 31-60, time 61-64.
QString fallbackLine(const Spot& s) {
    return fit(s.spotter, 8) + QLatin1Char(' ') + fitRight(s.freqKhz, 8) + QLatin1Char(' ') +
           fit(s.call, 11) + QLatin1Char(' ') + escaped(fit(s.remarks, 30)) + fit(s.time, 4) +
           QLatin1Char('Z');
}

QByteArray primaryPage(const QString& title, const QList<Spot>& spots) {
    QStringList lines;
    for (const Spot& s : spots)
        lines << primaryLine(s);
    return page(title, lines);
}

QByteArray fallbackPage(const QList<Spot>& spots) {
    QStringList lines;
    for (const Spot& s : spots)
        lines << fallbackLine(s);
    return page(QStringLiteral("DX spots"), lines);
}

} // namespace spotsrv
