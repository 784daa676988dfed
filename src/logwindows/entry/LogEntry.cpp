#include "logwindows/entry/LogEntry.h"

#include "core/Globals.h"
#include "log/ExportQso.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Clock.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCoreApplication>

#include <utility>

namespace logwindows {

namespace {

const QString kCaption = QStringLiteral("PSKログ LogData=>");

bool sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}

QString fixedRst() {
    return sstvMode() ? QStringLiteral("595") : QStringLiteral("599");
}

void showSaveItemsForContest(TEMP_LOG& w) {
    if (core::g.ContestMode == 0) {
        w.LSave->setText(QStringLiteral("LOG保存(F1)"));
        w.LSave->setEnabled(true);
    } else if (core::g.ContestMode == 1) {
        w.LSave->setVisible(false);
        w.LSave->setEnabled(false);
        w.Contest->setVisible(true);
        w.Contest->setEnabled(true);
    }
}

void presetReports(TEMP_LOG& w) {
    w.Text5->setText(core::g.HisRstPresetOn == QLatin1String("1") ? fixedRst() : QString());
    if (core::g.ContestRst599 == 1) {
        w.Text5->setText(fixedRst());
        w.Text6->setText(fixedRst());
    } else {
        w.Text6->clear();
    }
}

void blankFields(TEMP_LOG& w) {
    for (QLineEdit* b :
         {w.Text9, w.Text10, w.Text13, w.Text14, w.Text1, w.Text2, w.Text15, w.Text16, w.Text17})
        b->clear();
    w.Text11->setText(logbook::g.QslMark);
    w.Text12->setText(textOf(operatingBoxes().name));
}

// The presets of a new record. Editing ends only after the boxes are reset,
// so that what they held goes back to no operating window.
void presetNewRecord(TEMP_LOG& w) {
    w.Command8->setEnabled(false);
    w.Command9->setEnabled(false);
    logbook::g.ExportFromRecNo = 0;
    logbook::g.ExportToRecNo = 0;
    showSaveItemsForContest(w);
    w.Combo1->setEditText(bandOfIndex(logbook::g.LastBand));
    w.Label17->setText(w.Combo1->currentText());
    w.Text8->setText(core::g.ModeDisplayText);
    presetReports(w);
    blankFields(w);
    w.setWindowTitle(kCaption + logbook::g.HamlogPath);
    w.LT->setVisible(false);
    w.LT->setText(QStringLiteral("LocalTime=> "));
    logbook::g.LogEditMode = 0;
    logbook::g.LogEntrySaved = 0;
    w.QSOEND->setEnabled(true);
    w.HLQ->setEnabled(false);
    w.Command4->hide();
}

void clearOperatingStatus() {
    if (StatusPanels* status = operatingBoxes().status) status->setText(1, QString());
}

void prepareOpening(TEMP_LOG& w) {
    if (core::g.ContestMode == 1 && core::g.ContestRst599 == 1) {
        w.Text5->setText(fixedRst());
        w.Text6->setText(fixedRst());
        showSaveItemsForContest(w);
    } else if (core::g.ContestMode != 1) {
        // A new record: the "保存完了" of the one stored before no longer holds.
        w.LSave->setText(QStringLiteral("LOG保存(F1)"));
        w.LSave->setVisible(true);
        w.LSave->setEnabled(true);
        w.Contest->setVisible(false);
        w.Contest->setEnabled(false);
    }
    if (!sstvMode() && forms::isLoaded<PSK31MAIN>()) forms::PSK31MAIN().INSAISATU->setEnabled(true);
    w.LT->setVisible(!logbook::g.LocalTimeText.isEmpty());
    w.Label9->setStyleSheet(QStringLiteral("color: #FF00FF"));
    w.setWindowTitle(kCaption + logbook::g.HamlogPath);
    w.HLQ->setVisible(logbook::g.QslPrintProgKind == 1);
    w.HLQ->setEnabled(false);
    if (logbook::g.EqslEnabled == 0) {
        for (QPushButton* b : {w.Command7, w.Command8, w.Command9})
            b->setEnabled(false);
    } else {
        w.Command7->setEnabled(true);
    }
    w.Command7->setText(logbook::eqslButtonCaption(logbook::g.EqslType));
}

// The QSO comes whole from the boxes of the window the log button belongs to,
// as they stand: a hidden entry may still hold what another window's boxes or
// an earlier QSO left in it, and an entry on show may have turned a page since
// the boxes were typed. An entry on show for the same call keeps a name or QTH
// typed into it that the boxes lack, and every field the boxes do not feed.
void takeOperatingBoxes(TEMP_LOG& w) {
    // A call written with "/" may stand split in the two boxes already (the
    // SSTV window splits it as it is typed); it is the same call.
    const bool sameCall = logbook::entryCall(w.Text1->text(), w.Text2->text(), w.Text14->text(),
                                             w.Text15->text()) == core::g.HisCall;
    const bool keepOwn = sameCall && w.isVisible();
    if (!sameCall) {
        w.Text1->setText(core::g.HisCall);
        w.Text2->clear();
    }
    const auto take = [keepOwn](QLineEdit* field, const QString& text) {
        if (!keepOwn || !text.isEmpty()) field->setText(text);
    };
    const QsoBoxes boxes = operatingBoxes();
    if (core::g.ContestMode != 1 || core::g.ContestRst599 != 1) w.Text5->setText(textOf(boxes.rst));
    take(w.Text12, textOf(boxes.name));
    if (core::g.QthOperation == QLatin1String("QTH")) take(w.Text13, textOf(boxes.qth).trimmed());
}

} // namespace

// The count of records, which gives the next record its number. A log that
// cannot be opened leaves the numbers as they were.
bool ReadRecordCount() {
    hamlog::SetQsoOrMaster(1);
    if (ReopenLog() != hamlog::Done) return false;
    const int n = hamlog::Vdbf_rcount(logbook::g.HamlogHandle);
    if (n < 0) return false;
    logbook::g.HamlogRecCount = n;
    logbook::g.HamlogRecNo = n + 1;
    return true;
}

// "50300" in hexadecimal digits shows as 5.03; 116 as 1.16.
QString LibraryVersionsText() {
    const double hamlog = QString::number(hamlog::GetThdllVersion(), 16).toInt() / 10000.0;
    const QString psk = QString::number(pskcore::lib().fnGetDLLVersion());
    return QStringLiteral("HAMLOG50.DLL=") + QString::number(hamlog) + QStringLiteral("\r\nPSKCore.DLL=") +
           psk.left(1) + QLatin1Char('.') + psk.right(2);
}

QString bandOfIndex(const QString& indexText) {
    bool ok = false;
    const int i = indexText.trimmed().toInt(&ok);
    return ok && i >= 0 && i < kBands.size() ? kBands[i] : kBands[0];
}

bool isBandChar(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
}

QString bandBoxText(const QString& text) {
    QString band;
    for (QChar c : text)
        if (isBandChar(c)) band += c;
    return band;
}

int ReopenLog() {
    hamlog::HamlogClose(logbook::g.HamlogHandle, 0);
    return hamlog::HamlogOpen(0, logbook::g.HamlogHandle, logbook::g.HamlogDataPath, 0);
}

void CloseLog() {
    hamlog::HamlogClose(logbook::g.HamlogHandle, 0);
}

void ClearHamlogRecord() {
    hamlog::blankRecord(logbook::g.CurQso);
}

void ReadRigOnce() {
    rig::RigReadStatus();
}

void StartLogEntry() {
    TEMP_LOG& w = forms::TEMP_LOG();
    presetNewRecord(w);
    ReadRecordCount();
    CloseLog();
    logbook::g.QsoTime = sysclock::jstNow().time();
    w.Text3->setText(sysclock::jstNow().toString(QStringLiteral("yyyy-MM-dd")));
    w.Text4->setText(logbook::g.QsoTime.toString(QStringLiteral("HH:mm")) + QLatin1Char('J'));
    w.StatusBar1->setText(1, QStringLiteral("Record No=") + QString::number(logbook::g.HamlogRecNo));
    w.StatusBar1->setText(2, QString());
    clearOperatingStatus();
    if (rig::g.RigPortName != QLatin1String("NONE") && !sstvMode() && rig::g.RigPollMode != 2) ReadRigOnce();
}

void OpenLogEntry() {
    if (logbook::g.HamlogLink != 1) return;
    TEMP_LOG& w = forms::TEMP_LOG();
    // A record read from the log (browsed to, or just stored) belongs to
    // another QSO: the new one takes the mode on the air and the QSL mark,
    // not that record's.
    if (logbook::g.LogEditMode == 1) presetNewRecord(w);
    prepareOpening(w);
    logbook::g.LogEditMode = 0;
    logbook::g.ExportFromRecNo = 0;
    logbook::g.ExportToRecNo = 0;
    if (!ReadRecordCount())
        ui::msgBox(QStringLiteral("HAMLOGのデータがOPEN出来ませんでした\r\n") + LibraryVersionsText(),
                   ui::OkOnly);
    CloseLog();
    SetQsoTime();
    w.StatusBar1->setText(1, QStringLiteral("Record No=") + QString::number(logbook::g.HamlogRecNo));
    takeOperatingBoxes(w);
    w.show();
    w.raise();
    w.activateWindow();
    forms::letEventsRun();
    if (rig::g.RigPortName != QLatin1String("NONE") && core::g.OtherAppRunning != 1 &&
        rig::g.RigPollMode != 2)
        ReadRigOnce();
}

void FollowModeOnNewPage(const QString& mode) {
    const logbook::Globals& g = logbook::g;
    if (g.HamlogLink != 1 || g.LogEditMode == 1) return;
    forms::TEMP_LOG().Text8->setText(mode);
}

void ChangeQslMark(const QString& mark) {
    logbook::Globals& g = logbook::g;
    const QString before = std::exchange(g.QslMark, mark);
    if (g.HamlogLink != 1 || !forms::isLoaded<TEMP_LOG>()) return;
    if (g.LogEditMode == 1 || g.LogEntrySaved == 1) return;
    QLineEdit* box = forms::TEMP_LOG().Text11;
    if (box->text() == before) box->setText(mark);
}

void SetQsoTime() {
    TEMP_LOG& w = forms::TEMP_LOG();
    const QDateTime now = sysclock::jstNow();
    logbook::g.QsoTime = now.time();
    if (core::g.LogTimeUtc == 1) {
        const QDateTime utc = sysclock::utcNow();
        w.Text4->setText(utc.toString(QStringLiteral("HH:mm")) + QLatin1Char('U'));
        w.Text3->setText(utc.toString(QStringLiteral("yyyy-MM-dd")));
        w.Label4->setText(QStringLiteral("Time(UTC)"));
    } else {
        w.Text3->setText(now.toString(QStringLiteral("yyyy-MM-dd")));
        w.Text4->setText(now.toString(QStringLiteral("HH:mm")) + QLatin1Char('J'));
        w.Label4->setText(QStringLiteral("Time(JST)"));
    }
}

namespace {
const QString kNewPage = QStringLiteral("LOG帳がスクロール中です\r\n新しいページにします");
} // namespace

void SayNewPage() {
    ui::notice(kNewPage);
}

void EndNewPageNotice() {
    ui::withdrawNotice(kNewPage);
}

bool AgreesToDropUnsaved() {
    return ui::msgBox(QStringLiteral("LOGﾃﾞｰﾀが未保存ですが宜しいですか"), ui::YesNo | ui::Exclamation) ==
           ui::Yes;
}

// An entry loaded hidden (the boxes keep it in step as the call is typed) was
// never opened by the operator: only an entry on show holds their typing.
bool EntryUnsaved() {
    return forms::isLoaded<TEMP_LOG>() && forms::TEMP_LOG().isVisible() &&
           forms::TEMP_LOG().holdsUnsavedTyping();
}

} // namespace logwindows
