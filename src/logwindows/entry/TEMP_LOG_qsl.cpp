// QSL printing: the QSO last stored or browsed to, read back from the log, is
// handed to the configured QSL card printing program, the logging program's
// HLQSLN.EXE through its hand-over file or MMQSL through its automation object.
#include "log/ExportQso.h"
#include "log/LogGlobals.h"
#include "log/QslPrint.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Paths.h"
#include "platform/qsl/MmqslAutomation.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

using namespace hamlog;

namespace {

const QString kMmqslError = QStringLiteral("MMQSLでのｴﾗｰです(^^ゞ");
constexpr int kPrintPollMsecs = 50;

// The stored record, nothing when the log does not open or the record does not read.
std::optional<QsoRecord> readStored(int recNo) {
    logbook::Globals& g = logbook::g;
    SetQsoOrMaster(1);
    if (logwindows::ReopenLog() != Done || THW_read(g.HamlogHandle, recNo, 3) != Done) {
        logwindows::CloseLog();
        return std::nullopt;
    }
    QsoRecord r;
    for (const FieldSpec& f : kFields)
        ThwString(*r.field(f.no), g.HamlogHandle, f.no);
    logwindows::CloseLog();
    return r;
}

// Lets pending events run for a moment between two readings of the print state.
void pause() {
    forms::pause(kPrintPollMsecs);
}

enum class Printed { Failed, Done, NotQueued };

// MMQSL prints the one card: Done once its print state says the print is
// done, NotQueued when the card was not taken into the print.
Printed printOnMmqsl(const QString& program, const QString& line) {
    mmqsl::Application app(program);
    const QString doc = paths::fromStored(logbook::g.MmqslSetting.trimmed());
    const bool handed = app.created() && app.OpenDoc(doc) && app.DeleteLog() && app.AddLog(line) &&
                        app.SortLog97(1) && app.SetPrintMax() &&
                        app.set(QStringLiteral("EnableLogFile"), 0) &&
                        app.set(QStringLiteral("DisableExit"), 3) && app.Foreground() &&
                        app.set(QStringLiteral("PrintStat"), 0) && app.DoPrint();
    if (!handed) return Printed::Failed;
    const std::optional<int> pos = app.GetPrintedPos(0);
    if (!pos) return Printed::Failed;
    if (*pos != 0) return Printed::NotQueued;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const std::optional<int> state = app.PrintStat();
        if (!state) return Printed::Failed;
        if (*state == 2) return Printed::Done;
        if (waited.elapsed() >= logbook::g.MmqslPrintWaitMs) return Printed::Failed;
        pause();
    }
}

} // namespace

void TEMP_LOG::HLQ_Click() {
    const logbook::Globals& g = logbook::g;
    if (g.LoggedRecNo == 0) {
        ui::msgBox(QStringLiteral("このLOG は未だ登録されていません"), ui::OkOnly);
        return;
    }
    const QString program = paths::fromStored(g.QslPrintProgPath.trimmed());
    if (logbook::isMmqslProgram(program)) {
        PrintQslWithMmqsl();
        return;
    }
    logwindows::CloseLog();
    const QFileInfo printer(program);
    if (!printer.isFile()) {
        ui::msgBox(program + QStringLiteral("が見つかりません、環境設定を確認してください"), ui::OkOnly);
        return;
    }
    const std::optional<QsoRecord> r = readStored(g.LoggedRecNo);
    if (!r) {
        ui::msgBox(QStringLiteral("このLOG は未だ登録されていません"), ui::OkOnly);
        return;
    }
    const QString handOver = paths::join(printer.absolutePath(), QStringLiteral("WORK2.DAT"));
    QString call = r->CALL;
    call.remove(QChar(0));
    if (!files::replaceWhole(handOver, logbook::qslHandOver(call.trimmed(), g.LoggedRecNo))) {
        ui::msgBox(handOver + QStringLiteral("のファイルを作成できませんでした"), ui::OkOnly);
        return;
    }
    if (!QProcess::startDetached(printer.absoluteFilePath(), {QStringLiteral("LINK")},
                                 printer.absolutePath()))
        ui::msgBox(program + QStringLiteral("が見つかりません、環境設定を確認してください"), ui::OkOnly);
}

void TEMP_LOG::PrintQslWithMmqsl() {
    logbook::Globals& g = logbook::g;
    if (!g.MmqslSetting.toUpper().contains(QLatin1String(".MQL"))) {
        ui::msgBox(QStringLiteral("QSL定義ﾌｧｲﾙが設定されていません、環境設定で*.MQLﾌｧｲﾙを指定して下さい。"),
                   ui::OkOnly);
        return;
    }
    std::optional<QsoRecord> r = readStored(g.LoggedRecNo);
    // The log keeps only the call box; while the window still shows the QSO,
    // the card carries the call as the entry writes it ("JD1/KH0XYZ").
    if (r && r->CALL.trimmed().remove(QChar(0)) == Text1->text().trimmed())
        r->CALL = logbook::entryCall(Text1->text(), Text2->text(), Text14->text(), Text15->text());
    const std::optional<QString> line = r ? logbook::mmqslLogLine(*r) : std::nullopt;
    const Printed printed =
        line ? printOnMmqsl(paths::fromStored(g.QslPrintProgPath.trimmed()), *line) : Printed::Failed;
    if (printed == Printed::Failed) {
        logwindows::CloseLog();
        ui::msgBox(kMmqslError, ui::OkOnly);
        return;
    }
    if (printed == Printed::NotQueued) return;
    const QString question =
        QStringLiteral("交信番号") + QString::number(g.LoggedRecNo) +
        QStringLiteral("をＭＭＱＳＬで差込印刷しました.\r\nHAMLOG に Sendマークをつけますか？");
    if (ui::msgBox(question, ui::YesNo | ui::Question, QStringLiteral("ＱＳＬ印刷")) != ui::Yes) return;
    if (logwindows::ReopenLog() != Done) return;
    const QChar mark = g.QslSendMark.isEmpty() ? QLatin1Char('*') : g.QslSendMark.at(0);
    QSL_Send(g.HamlogHandle, g.LoggedRecNo, mark.unicode());
    logwindows::ClearHamlogRecord();
    if (THW_read(g.HamlogHandle, g.LoggedRecNo, 3) == Done) ShowHamlogRecord();
}
