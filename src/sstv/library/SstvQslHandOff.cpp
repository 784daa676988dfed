#include "sstv/library/SstvQslHandOff.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "log/LogGlobals.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace sstv {

namespace {
constexpr int MessageMsecs = 3000;
} // namespace

HandOff WriteQslHandOff(const QString& picture) {
    const QString program = paths::fromStored(logbook::g.QslPrintProgPath.trimmed());
    const qsizetype slash = program.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return HandOff::NoProgram;
    const QString native = QDir::toNativeSeparators(picture);
    const QByteArray line = cp932::encode(native);
    if (cp932::decode(line) != native) return HandOff::NameNotShiftJis;
    QSaveFile file(paths::join(program.left(slash), QStringLiteral("ZORVATEK.DAT")));
    if (!file.open(QIODevice::WriteOnly)) return HandOff::NotWritten;
    file.write(line + "\r\n");
    return file.commit() ? HandOff::Written : HandOff::NotWritten;
}

// Every hand-off that is not made is told: the operator would otherwise print
// the card with the picture handed over before.
void HandOffToQsl(const QString& picture) {
    const QString program = paths::fromStored(logbook::g.QslPrintProgPath.trimmed());
    switch (WriteQslHandOff(picture)) {
    case HandOff::Written:
        return;
    case HandOff::NoProgram:
        core::g.StatusMessage = QStringLiteral("QSL 印刷プログラムが設定されていません");
        break;
    case HandOff::NotWritten:
        core::g.StatusMessage = QStringLiteral("QSL 印刷プログラムのフォルダへ渡せません: ") +
                                QDir::toNativeSeparators(QFileInfo(program).path());
        break;
    case HandOff::NameNotShiftJis:
        core::g.StatusMessage =
            QStringLiteral("QSL 印刷へ渡せない文字がファイル名にあります: ") + QFileInfo(picture).fileName();
        break;
    }
    core::ShowTimedMessage(core::g.StatusMessage, MessageMsecs);
}

} // namespace sstv
