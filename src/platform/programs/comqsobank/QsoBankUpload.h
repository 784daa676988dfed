#pragma once
// The upload file of the QSOBank service as the sender reads it: an XML
// document whose root "putqsodata_body" holds one "qso_record" per QSO, each
// with daytime, callsign, frequency, mode, his_rpt, my_rpt and qsl_remarks.
// The document's own encoding declaration is honoured (Shift_JIS).
#include <QByteArray>
#include <QString>
#include <vector>

namespace qsobank {

struct UploadQso {
    QString daytime, callsign, frequency, mode, hisRpt, myRpt, qslRemarks;
};

struct Upload {
    std::vector<UploadQso> qsos;
    // Why the file cannot be uploaded; empty when it can.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Refuses a document that is not well formed, has another root, an unknown
// element, a record without its seven elements or one of them twice.
Upload parseUpload(const QByteArray& bytes);

} // namespace qsobank
