#include "log/QsoBankXml.h"

#include "log/ExportText.h"

namespace logbook {

namespace {

const QByteArray kEol = "\r\n";

QByteArray element(const char* name, const QString& value) {
    return '<' + QByteArray(name) + '>' + xmlText(value) + "</" + QByteArray(name) + '>';
}

} // namespace

std::optional<QString> qsoBankDaytime(const QString& dateText, const QString& timeText) {
    const std::optional<QDate> date = exportDate(dateText);
    const std::optional<LoggedTime> time = exportTime(timeText);
    if (!date || !time) return std::nullopt;
    QString text =
        date->toString(QStringLiteral("yyyy-MM-dd ")) + time->time.toString(QStringLiteral("HH:mm"));
    if (time->zone == 'J') text += QStringLiteral(":00 JST");
    if (time->zone == 'U') text += QStringLiteral(":00 UTC");
    return text;
}

ExportFile qsoBankXml(const std::vector<ExportQso>& qsos, const QString& qslMessage) {
    const QByteArray remarks =
        element("qsl_remarks", qslMessage.isEmpty() ? kXmlDefaultQslMessage : qslMessage) + kEol;
    ExportFile file;
    file.bytes = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + kEol + "<putqsodata_body>" + kEol;
    for (size_t i = 0; i < qsos.size(); ++i) {
        const ExportQso& q = qsos[i];
        const std::optional<QString> daytime = qsoBankDaytime(q.date, q.time);
        if (!daytime) return ExportFile{{}, static_cast<int>(i)};
        file.bytes += "<qso_record>" + kEol;
        file.bytes += element("daytime", *daytime) + kEol;
        file.bytes += element("callsign", q.call) + kEol;
        file.bytes += element("frequency", q.freq) + element("mode", ExportModeName(q.mode)) + kEol;
        file.bytes += element("his_rpt", q.his) + element("my_rpt", q.my) + kEol;
        file.bytes += remarks;
        file.bytes += "</qso_record>" + kEol;
    }
    file.bytes += "</putqsodata_body>" + kEol;
    return file;
}

} // namespace logbook
