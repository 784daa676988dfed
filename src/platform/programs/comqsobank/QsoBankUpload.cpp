#include "platform/programs/comqsobank/QsoBankUpload.h"

#include <QXmlStreamReader>
#include <array>

namespace qsobank {

namespace {

constexpr std::array<const char*, 7> kElements{"daytime", "callsign", "frequency",  "mode",
                                               "his_rpt", "my_rpt",   "qsl_remarks"};

QString* slotOf(UploadQso& q, int i) {
    const std::array<QString*, 7> fields{&q.daytime, &q.callsign, &q.frequency, &q.mode,
                                         &q.hisRpt,  &q.myRpt,    &q.qslRemarks};
    return fields[i];
}

int elementIndex(QStringView name) {
    for (int i = 0; i < static_cast<int>(kElements.size()); ++i)
        if (name == QLatin1String(kElements[i])) return i;
    return -1;
}

// One qso_record, its start element just read.
QString readRecord(QXmlStreamReader& xml, UploadQso& q) {
    std::array<bool, 7> seen{};
    while (xml.readNextStartElement()) {
        const int i = elementIndex(xml.name());
        if (i < 0) return QStringLiteral("unknown element ") + xml.name().toString();
        if (seen[i]) return QStringLiteral("element twice: ") + xml.name().toString();
        seen[i] = true;
        *slotOf(q, i) = xml.readElementText();
        if (xml.hasError()) return xml.errorString();
    }
    if (xml.hasError()) return xml.errorString();
    for (size_t i = 0; i < seen.size(); ++i)
        if (!seen[i]) return QStringLiteral("record without ") + QLatin1String(kElements[i]);
    return {};
}

} // namespace

Upload parseUpload(const QByteArray& bytes) {
    Upload upload;
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("putqsodata_body")) {
        upload.error = xml.hasError() ? xml.errorString() : QStringLiteral("no putqsodata_body");
        return upload;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("qso_record")) {
            upload.error = QStringLiteral("unknown element ") + xml.name().toString();
            return upload;
        }
        UploadQso q;
        upload.error = readRecord(xml, q);
        if (!upload.ok()) return upload;
        upload.qsos.push_back(q);
    }
    // Nothing but blanks and comments may follow the root.
    while (!xml.atEnd() && !xml.hasError())
        if (xml.readNext() == QXmlStreamReader::StartElement) xml.raiseError(QStringLiteral("a second root"));
    if (xml.hasError()) upload.error = xml.errorString();
    return upload;
}

} // namespace qsobank
