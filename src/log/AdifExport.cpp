#include "log/AdifExport.h"

#include "log/ExportText.h"
#include "platform/os/Cp932.h"

namespace logbook {

namespace {

const QByteArray kEol = "\r\n";

// Builds the file line by line; a QSO whose date or time does not convert stops it.
// The receiving services take the file from its first line: "<EOH>" alone.
template <typename Line> ExportFile build(const std::vector<ExportQso>& qsos, Line line) {
    ExportFile file;
    file.bytes = "<EOH>" + kEol;
    for (size_t i = 0; i < qsos.size(); ++i) {
        const std::optional<UtcStamp> at = utcStamp(qsos[i].date, qsos[i].time);
        if (!at) return ExportFile{{}, static_cast<int>(i)};
        file.bytes += line(qsos[i], *at) + "<eor>" + kEol;
    }
    return file;
}

// An empty tag says nothing and some receivers refuse it: a field with no
// value is left out.
QByteArray unlessEmpty(const char* tag, const QString& value) {
    return value.isEmpty() ? QByteArray() : adifField(tag, value);
}

// The band where the logged text is only a band's label; the frequency as
// logged where no band fits it, so that the QSO still says where it was.
QByteArray freqOrBand(const ExportQso& q) {
    if (isBandFrequency(q.freq)) return adifField("FREQ", q.freq);
    if (const QString band = exportBand(q.freq); !band.isEmpty()) return adifField("BAND", band);
    return unlessEmpty("FREQ", q.freq.trimmed());
}

} // namespace

QByteArray adifField(const char* tag, const QString& value, const char* type) {
    const QByteArray bytes = cp932::encode(withoutControls(value));
    QByteArray out = '<' + QByteArray(tag) + ':' + QByteArray::number(bytes.size());
    if (type) out += ':' + QByteArray(type);
    return out + '>' + bytes;
}

ExportFile eqslAdif(const std::vector<ExportQso>& qsos, const QString& qslMessage) {
    const QByteArray message =
        adifField("QSLMSG", qslMessage.isEmpty() ? kAdifDefaultQslMessage : qslMessage);
    return build(qsos, [&](const ExportQso& q, const UtcStamp& at) {
        return adifField("CALL", q.call) + adifField("QSO_DATE", at.date, "d") +
               adifField("TIME_ON", at.time) + freqOrBand(q) + adifField("MODE", ExportModeName(q.mode)) +
               adifField("RST_SENT", q.his) + adifField("RST_RCVD", q.my) + message;
    });
}

ExportFile logAdif(const std::vector<ExportQso>& qsos, const QString& userCall) {
    const QByteArray op = adifField("OPERATOR", userCall.trimmed());
    return build(qsos, [&](const ExportQso& q, const UtcStamp& at) {
        const QString qsl = q.qsl.leftJustified(3, QLatin1Char(' '));
        QByteArray line = op + adifField("CALL", q.call) + adifField("QSO_DATE", at.date, "d") +
                          adifField("TIME_ON", at.time);
        // The frequency goes as logged, also a band's label ("10", "5600"):
        // the band beside it says where it lies.
        line += adifField("FREQ", q.freq) + unlessEmpty("BAND", exportBand(q.freq)) +
                adifField("MODE", ExportModeName(q.mode)) + adifField("RST_SENT", q.his) +
                adifField("RST_RCVD", q.my) + adifField("QTH", q.qth) + adifField("NAME", q.name) +
                adifField("GRIDSQUARE", q.grid) + adifField("QSL_VIA", qsl.mid(0, 1).trimmed()) +
                adifField("QSL_SENT", qsl.mid(1, 1).trimmed()) +
                adifField("QSL_RCVD", qsl.mid(2, 1).trimmed()) + adifField("COMMENT", q.rem1);
        return line;
    });
}

} // namespace logbook
