#pragma once
// Readers of the export files as a receiving program reads them, written apart
// from the writers: ADIF fields taken by their byte lengths, the QSOBank file
// through Qt's XML reader. Values come back as Unicode text.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zvtest {

using AdifRecord = QMap<QString, QString>; // upper-case tag -> value

struct AdifFile {
    QString preamble;  // the text before the first field of the header
    AdifRecord header; // the header's fields
    std::vector<AdifRecord> records;
};

// Nothing when the bytes are no ADIF file a strict reader accepts: a header
// that starts with "<", a length that runs past the end, a field outside a
// record's place, a record left open at the end.
std::optional<AdifFile> readAdif(const QByteArray& bytes);

struct XmlQso {
    QString daytime, callsign, frequency, mode, hisRpt, myRpt, qslRemarks;
};
// Nothing when the XML is not well formed or its root is not putqsodata_body.
std::optional<std::vector<XmlQso>> readQsoBankXml(const QByteArray& bytes);

} // namespace zvtest
