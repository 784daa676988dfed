// The QSOBank sender's reading of an upload file. Whatever it accepts, the
// system's own writer must write again as a file the sender accepts, with as
// many QSOs. The daytime texts also try the export's date and time reading.
#include "log/QsoBankXml.h"
#include "platform/programs/comqsobank/QsoBankUpload.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsobank::Upload upload = qsobank::parseUpload(bytes);
    if (!upload.ok()) return 0;
    std::vector<logbook::ExportQso> qsos;
    for (const qsobank::UploadQso& u : upload.qsos) {
        // Whatever date and time a text gives, the UTC stamp is whole or none.
        const auto at = logbook::utcStamp(u.daytime.left(10), u.daytime.mid(11));
        if (at && (at->date.size() != 8 || at->time.size() != 4)) std::abort();
        logbook::ExportQso q;
        q.call = u.callsign;
        q.date = QStringLiteral("2025-01-01");
        q.time = QStringLiteral("12:34J");
        q.freq = u.frequency;
        q.mode = u.mode;
        q.his = u.hisRpt;
        q.my = u.myRpt;
        qsos.push_back(q);
    }
    const logbook::ExportFile file =
        logbook::qsoBankXml(qsos, upload.qsos.empty() ? QString() : upload.qsos[0].qslRemarks);
    const qsobank::Upload again = qsobank::parseUpload(file.bytes);
    if (!file.ok() || !again.ok() || again.qsos.size() != upload.qsos.size()) std::abort();
    return 0;
}
