#pragma once
// A reader of the ADIF export files as a receiving program reads them, written
// apart from the writers: fields taken by their byte lengths, values back as
// Unicode text. (The QSOBank file is read by the sender stand-in's parser.)
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

// Nothing when the bytes are no ADIF file a strict reader accepts: a file
// that starts with "<" other than its "<EOH>" mark, a length that runs past the end, a field outside a
// record's place, a record left open at the end.
std::optional<AdifFile> readAdif(const QByteArray& bytes);

} // namespace zvtest
