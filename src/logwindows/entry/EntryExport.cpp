#include "logwindows/entry/EntryExport.h"

#include "log/AdifExport.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "log/QsoBankXml.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/EqslExport.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/AtomicFile.h"

namespace logwindows {

namespace {

using logbook::ExportQso;

// What a writer gathered: the QSOs to write and the record number of each
// (0 for the QSO on the window), or the record that could not be read.
struct Gathered {
    std::vector<ExportQso> qsos;
    std::vector<int> recNos;
    int unreadable = 0;
    bool fromWindow = false;
};

void readCurrentRecord() {
    logbook::Globals& g = logbook::g;
    for (const hamlog::FieldSpec& f : hamlog::kFields) {
        QString buffer(f.width, QLatin1Char(' '));
        hamlog::ThwString(buffer, g.HamlogHandle, f.no);
        *g.CurQso.field(f.no) = hamlog::fitChars(buffer, f.width);
    }
}

// Reads the range from the open log into the QSOs to write.
Gathered gatherRange(const logbook::RecordRange& range) {
    logbook::Globals& g = logbook::g;
    Gathered got;
    for (int recNo = range.first; recNo <= range.last; ++recNo) {
        g.ExportRecNo = recNo;
        ClearHamlogRecord();
        if (hamlog::THW_read(g.HamlogHandle, recNo, 3) != hamlog::Done) {
            got.unreadable = recNo;
            return got;
        }
        readCurrentRecord();
        ExportQso q = logbook::exportQsoFromRecord(g.CurQso);
        if (logbook::isExcludedQsl(q.qsl, g.EqslMark)) continue;
        got.qsos.push_back(std::move(q));
        got.recNos.push_back(recNo);
    }
    return got;
}

// The QSO on the entry window; the frequency is the band box's text for the
// ADIF file and the stored frequency text for the XML file.
ExportQso windowQso(bool storedFreq) {
    TEMP_LOG& w = forms::TEMP_LOG();
    ExportQso q;
    q.call = logbook::entryCall(w.Text1->text(), w.Text2->text(), w.Text14->text(), w.Text15->text());
    q.date = w.Text3->text();
    q.time = w.Text4->text();
    q.freq = (storedFreq ? w.Label17->text() : w.Combo1->currentText()).trimmed();
    q.mode = w.Text8->text().trimmed();
    q.his = w.Text5->text().trimmed();
    q.my = w.Text6->text().trimmed();
    return q;
}

enum class Stage { OpenFailed, Gathered };

// Normalises the range, opens the log and reads it; the log is closed again.
Stage gatherFromLog(Gathered& got) {
    logbook::Globals& g = logbook::g;
    const logbook::RecordRange range = logbook::normalisedRange(g.ExportFromRecNo, g.ExportToRecNo);
    g.ExportFromRecNo = range.first;
    g.ExportToRecNo = range.last;
    hamlog::SetQsoOrMaster(1);
    if (ReopenLog() != hamlog::Done) {
        ui::msgBox(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\n") + LibraryVersionsText(),
                   ui::OkOnly);
        CloseLog();
        return Stage::OpenFailed;
    }
    got = gatherRange(range);
    CloseLog();
    return Stage::Gathered;
}

// Gathers the QSOs of the range or of the window. False after a failed open.
// The window's own QSO leaves the range unset: taking its record number as the
// range would make the next press read a record that an unsaved entry does not
// have yet, and the reload after the write would replace the entry's boxes.
bool gather(Gathered& got, bool storedFreq) {
    logbook::Globals& g = logbook::g;
    if (g.ExportFromRecNo > 0) return gatherFromLog(got) == Stage::Gathered;
    g.ExportRecNo = g.HamlogRecNo;
    got.fromWindow = true;
    got.qsos.push_back(windowQso(storedFreq));
    got.recNos.push_back(g.HamlogRecNo);
    return true;
}

// Asked before the file is replaced; the values are the log's (or the
// window's) and the file is the same for both services.
bool mayWrite(const Gathered& got) {
    std::vector<QString> recNos;
    recNos.reserve(got.recNos.size());
    for (int recNo : got.recNos)
        recNos.push_back(QString::number(recNo));
    return mayWriteUncarried(logbook::eqslAdifUncarried(got.qsos, logbook::g.EqslMessage), recNos);
}

// After a range was written the window shows its own record again.
void finish(const Gathered& got) {
    if (!got.fromWindow && forms::isLoaded<TEMP_LOG>()) forms::TEMP_LOG().ReloadHamlogRecord();
    CloseLog();
}

} // namespace

QString exportErrorMessage() {
    const logbook::Globals& g = logbook::g;
    // Without a range the window's own record was the one written.
    if (g.ExportFromRecNo <= 0) return exportErrorText(g.HamlogRecNo, g.HamlogRecNo, g.ExportRecNo);
    return exportErrorText(g.ExportFromRecNo, g.ExportToRecNo, g.ExportRecNo);
}

QString exportErrorText(int from, int to, int recNo) {
    return QStringLiteral("EQSL_ERROR!!! ") + QStringLiteral(" STRT=") + QString::number(from) +
           QStringLiteral("  END=") + QString::number(to) + QStringLiteral(" stop >>") +
           QString::number(recNo);
}

bool WriteEqslAdif() {
    logbook::Globals& g = logbook::g;
    Gathered got;
    if (!gather(got, false)) return false;
    const QString failed = g.ExportFilePath + QStringLiteral("のファイルを作成できませんでした");
    const auto recordFailed = [&](int recNo) {
        ui::msgBox(failed + QStringLiteral("\r\nRecord No=") + QString::number(recNo) +
                   QStringLiteral(" を書き出せませんでした"));
        return false;
    };
    if (got.unreadable) return recordFailed(got.unreadable);
    if (!mayWrite(got)) return false;
    const logbook::ExportFile file = logbook::eqslAdif(got.qsos, g.EqslMessage);
    if (!file.ok()) return recordFailed(got.recNos[file.failedAt]);
    if (!files::replaceWhole(g.ExportFilePath, file.bytes)) {
        ui::msgBox(failed);
        return false;
    }
    finish(got);
    return true;
}

bool WriteQsoBankXml() {
    logbook::Globals& g = logbook::g;
    Gathered got;
    const auto failed = [&] {
        ui::msgBox(exportErrorMessage(), ui::OkOnly);
        return false;
    };
    if (!gather(got, true)) return failed();
    if (got.unreadable) return failed();
    if (!mayWrite(got)) return false;
    const logbook::ExportFile file = logbook::qsoBankXml(got.qsos, g.EqslMessage);
    if (!file.ok()) {
        g.ExportRecNo = got.recNos[file.failedAt];
        return failed();
    }
    if (!files::replaceWhole(g.ExportFilePath, file.bytes)) return failed();
    finish(got);
    return true;
}

} // namespace logwindows
