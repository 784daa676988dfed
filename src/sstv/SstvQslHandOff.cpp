#include "sstv/SstvQslHandOff.h"

#include "log/LogGlobals.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"

#include <QDir>
#include <QSaveFile>

namespace sstv {

bool WriteQslHandOff(const QString& picture) {
    const QString program = paths::fromStored(logbook::g.QslPrintProgPath.trimmed());
    const qsizetype slash = program.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return false;
    QSaveFile file(paths::join(program.left(slash), QStringLiteral("ZORVATEK.DAT")));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(cp932::encode(QDir::toNativeSeparators(picture)) + "\r\n");
    return file.commit();
}

} // namespace sstv
