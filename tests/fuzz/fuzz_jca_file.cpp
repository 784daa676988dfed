// The award program's achievement file, as found beside the award program.
// The first line of the input is the suffix looked up, the rest the file.
#include "log/CallParts.h"
#include "log/EarlierQsos.h"
#include "log/JcaFile.h"

#include <QDate>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype end = bytes.indexOf('\n');
    const QString call = QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
    const int state =
        logbook::jcaStateOf(end < 0 ? QByteArray() : bytes.mid(end + 1), logbook::jcaSuffix(call));
    if (state < 0 || state > 3) std::abort();
    // A stored log date is outside input too: whatever it holds is shown whole or as a date.
    const QString date = logbook::logDateText(call);
    QString stored = call;
    stored.remove(QChar(0));
    if (date != stored.trimmed() && !QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
        std::abort();
    return 0;
}
