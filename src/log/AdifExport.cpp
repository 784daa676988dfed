#include "log/AdifExport.h"

#include "log/ExportText.h"
#include "platform/os/Cp932.h"

namespace logbook {

namespace {

const QByteArray kEol = "\r\n";

// One field of a line: its tag, its value and, for the date, its type.
struct Field {
    const char* tag;
    QString value;
    const char* type = nullptr;
};
using Fields = std::vector<Field>;

// Builds the file line by line; a QSO whose date or time does not convert stops it.
// The receiving services take the file from its first line: "<EOH>" alone.
template <typename Layout> ExportFile build(const std::vector<ExportQso>& qsos, Layout fields) {
    ExportFile file;
    file.bytes = "<EOH>" + kEol;
    for (size_t i = 0; i < qsos.size(); ++i) {
        const std::optional<UtcStamp> at = utcStamp(qsos[i].date, qsos[i].time);
        if (!at) return ExportFile{{}, static_cast<int>(i)};
        for (const Field& f : fields(qsos[i], *at))
            file.bytes += adifField(f.tag, f.value, f.type);
        file.bytes += "<eor>" + kEol;
    }
    return file;
}

// The fields of the same lines that Shift-JIS would not give back as logged.
template <typename Layout>
std::vector<Uncarried> uncarriedIn(const std::vector<ExportQso>& qsos, Layout fields) {
    std::vector<Uncarried> found;
    for (size_t i = 0; i < qsos.size(); ++i) {
        const std::optional<UtcStamp> at = utcStamp(qsos[i].date, qsos[i].time);
        if (!at) continue;
        for (const Field& f : fields(qsos[i], *at))
            if (const QString lost = cp932::uncarried(withoutControls(f.value)); !lost.isEmpty())
                found.push_back({static_cast<int>(i), QString::fromLatin1(f.tag), lost});
    }
    return found;
}

// An empty tag says nothing and some receivers refuse it: a field with no
// value is left out.
void addUnlessEmpty(Fields& fields, const char* tag, const QString& value) {
    if (!value.isEmpty()) fields.push_back({tag, value});
}

// The band where the logged text is only a band's label; the frequency as
// logged where no band fits it, so that the QSO still says where it was.
void addFreqOrBand(Fields& fields, const ExportQso& q) {
    if (isBandFrequency(q.freq)) return fields.push_back({"FREQ", q.freq});
    if (const QString band = exportBand(q.freq); !band.isEmpty()) return fields.push_back({"BAND", band});
    addUnlessEmpty(fields, "FREQ", q.freq.trimmed());
}

QString qslMessageOrDefault(const QString& qslMessage) {
    return qslMessage.isEmpty() ? kAdifDefaultQslMessage : qslMessage;
}

Fields eqslFields(const ExportQso& q, const UtcStamp& at, const QString& message) {
    Fields f{{"CALL", q.call}, {"QSO_DATE", at.date, "d"}, {"TIME_ON", at.time}};
    addFreqOrBand(f, q);
    f.insert(
        f.end(),
        {{"MODE", ExportModeName(q.mode)}, {"RST_SENT", q.his}, {"RST_RCVD", q.my}, {"QSLMSG", message}});
    return f;
}

Fields logFields(const ExportQso& q, const UtcStamp& at, const QString& op) {
    const QString qsl = q.qsl.leftJustified(3, QLatin1Char(' '));
    // The frequency goes as logged, also a band's label ("10", "5600"): the
    // band beside it says where it lies.
    Fields f{{"OPERATOR", op},
             {"CALL", q.call},
             {"QSO_DATE", at.date, "d"},
             {"TIME_ON", at.time},
             {"FREQ", q.freq}};
    addUnlessEmpty(f, "BAND", exportBand(q.freq));
    f.insert(f.end(), {{"MODE", ExportModeName(q.mode)},
                       {"RST_SENT", q.his},
                       {"RST_RCVD", q.my},
                       {"QTH", q.qth},
                       {"NAME", q.name},
                       {"GRIDSQUARE", q.grid},
                       {"QSL_VIA", qsl.mid(0, 1).trimmed()},
                       {"QSL_SENT", qsl.mid(1, 1).trimmed()},
                       {"QSL_RCVD", qsl.mid(2, 1).trimmed()},
                       {"COMMENT", q.rem1}});
    return f;
}

} // namespace

QByteArray adifField(const char* tag, const QString& value, const char* type) {
    const QByteArray bytes = cp932::encode(withoutControls(value));
    QByteArray out = '<' + QByteArray(tag) + ':' + QByteArray::number(bytes.size());
    if (type) out += ':' + QByteArray(type);
    return out + '>' + bytes;
}

ExportFile eqslAdif(const std::vector<ExportQso>& qsos, const QString& qslMessage) {
    const QString message = qslMessageOrDefault(qslMessage);
    return build(qsos, [&](const ExportQso& q, const UtcStamp& at) { return eqslFields(q, at, message); });
}

ExportFile logAdif(const std::vector<ExportQso>& qsos, const QString& userCall) {
    const QString op = userCall.trimmed();
    return build(qsos, [&](const ExportQso& q, const UtcStamp& at) { return logFields(q, at, op); });
}

std::vector<Uncarried> eqslAdifUncarried(const std::vector<ExportQso>& qsos, const QString& qslMessage) {
    const QString message = qslMessageOrDefault(qslMessage);
    return uncarriedIn(qsos,
                       [&](const ExportQso& q, const UtcStamp& at) { return eqslFields(q, at, message); });
}

std::vector<Uncarried> logAdifUncarried(const std::vector<ExportQso>& qsos, const QString& userCall) {
    const QString op = userCall.trimmed();
    return uncarriedIn(qsos, [&](const ExportQso& q, const UtcStamp& at) { return logFields(q, at, op); });
}

} // namespace logbook
