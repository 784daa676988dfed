// Storing the entry through the logging library, and showing a record of the log.
#include "log/ExportQso.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/LogButton.h"
#include "logwindows/entry/LogCharacters.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/LOGDATAVIEW.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "rig/RigGlobals.h"

#include <QDate>

using namespace hamlog;

namespace {

QString firstChar(const QLineEdit* box) {
    return box->text().isEmpty() ? QStringLiteral(" ") : box->text().left(1);
}

// "YY-MM-DD" as "YYYY-MM-DD", years 30 to 99 in the 1900s; a text that is no
// date is shown as it is stored.
QString shownDate(const QString& stored) {
    const QString t = stored.trimmed();
    QDate d = QDate::fromString(t, QStringLiteral("yy-MM-dd"));
    if (!d.isValid()) return t;
    if (d.year() < 1930) d = d.addYears(100);
    if (d.year() >= 2030) d = d.addYears(-100);
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

bool isMegahertz(const QString& text) {
    bool ok = false;
    const double mhz = text.toDouble(&ok);
    return ok && mhz > 0;
}

} // namespace

bool TEMP_LOG::entryCanBeStored() {
    if (Text1->text().isEmpty()) {
        ui::msgBox(QStringLiteral("CALL DATA がありません"), ui::OkOnly);
        return false;
    }
    Label17->setText(Combo1->currentText());
    if (Label17->text().isEmpty()) {
        ui::msgBox(QStringLiteral("Band DATA がありません"), ui::OkOnly);
        return false;
    }
    const std::pair<QWidget*, const char*> boxes[] = {
        {Text1, "CallSign"}, {Text2, "CallSign"}, {Text5, "His"},  {Text6, "My"},    {Combo1, "MHz"},
        {Text8, "Mode"},     {Text9, "Code"},     {Text10, "GL"},  {Text11, "QSL"},  {Text16, "QSL"},
        {Text17, "QSL"},     {Text12, "Name"},    {Text13, "QTH"}, {Text14, "Rem1"}, {Text15, "Rem2"}};
    std::vector<logwindows::LogField> fields;
    for (const auto& [box, name] : boxes) {
        const auto* line = qobject_cast<const QLineEdit*>(box);
        fields.push_back({box, QString::fromLatin1(name), line ? line->text() : Combo1->currentText()});
    }
    if (!logwindows::LogFieldsHold(fields)) return false;
    // A new QSO's band is a number of MHz ("7..0" or "." is a slip of the
    // keys); a stored record keeps what it was stored with.
    if (logbook::g.LogEditMode == 0 && !isMegahertz(Label17->text())) {
        ui::msgBox(QStringLiteral("Band DATA が正しくありません"), ui::OkOnly);
        return false;
    }
    // A date or time that does not read back would stop every export of the log.
    if (!QDate::fromString(Text3->text(), QStringLiteral("yyyy-MM-dd")).isValid()) {
        ui::msgBox(QStringLiteral("Date DATA が正しくありません (YYYY-MM-DD)"), ui::OkOnly);
        return false;
    }
    if (!logbook::exportTime(Text4->text())) {
        ui::msgBox(QStringLiteral("Time DATA が正しくありません (HH:MM と J か U)"), ui::OkOnly);
        return false;
    }
    return true;
}

void TEMP_LOG::LSave_Click() {
    logbook::Globals& g = logbook::g;
    if (!entryCanBeStored() || !mayAppend()) return;
    if (g.LogEditMode == 0 && rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPollMode != 2)
        logwindows::ReadRigOnce();
    // Another window may have closed the log since the record was shown: every
    // save writes through a freshly opened log.
    logwindows::ReopenLog();
    const bool appending = g.LogEditMode == 0;
    WriteHamlogRecord();
    logwindows::RefreshChosenLogViewer();
    if (g.LogEntrySaved == 1) ReloadHamlogRecord();
    // The stored record is shown again; the item still says the new QSO is in the log.
    if (appending && g.LogEntrySaved == 1) showSaved();
    HLQ->setEnabled(true);
    logwindows::BringWindowToFront();
    logwindows::SaveLogWindowPos();
}

bool TEMP_LOG::mayAppend() const {
    return logbook::g.LogEditMode != 0 || logwindows::MayStoreAgain(logbook::entryCall(
                                              Text1->text(), Text2->text(), Text14->text(), Text15->text()));
}

void TEMP_LOG::showSaved() {
    LSave->setText(QStringLiteral("保存完了"));
    LSave->setEnabled(false);
}

void TEMP_LOG::WriteHamlogRecord() {
    logbook::Globals& g = logbook::g;
    g.HamlogConfirmOn = g.HamlogConfirmText == QLatin1String("YES") ? 1 : 0;
    const int updateFlag = g.HamlogConfirmOn == 1 ? 0 : 17;
    SetQsoOrMaster(1);
    const QString qsl = firstChar(Text11) + firstChar(Text16) + firstChar(Text17);
    const std::pair<int, QString> sources[] = {
        {FieldCall, logbook::entryCall(Text1->text(), Text2->text(), Text14->text(), Text15->text())},
        {FieldDate, Text3->text().right(8)},
        {FieldTime, Text4->text()},
        {FieldHis, Text5->text()},
        {FieldMy, Text6->text()},
        {FieldFreq, Label17->text()},
        {FieldMode, Text8->text()},
        {FieldCode, Text9->text()},
        {FieldGl, Text10->text()},
        {FieldQsl, qsl},
        {FieldName, Text12->text()},
        {FieldQth, Text13->text()},
        {FieldRem1, Text14->text()},
        {FieldRem2, Text15->text()},
    };
    for (const auto& [no, text] : sources) {
        QString& field = *g.NewQso.field(no);
        field = fitChars(text, fieldWidth(no));
        SetThBuffer(g.HamlogHandle, field, no);
    }
    const bool append = g.LogEditMode == 0;
    const int result = append
                           ? THW_append(g.HamlogHandle, 16, g.HamlogConfirmOn)
                           : THW_update(g.HamlogHandle, g.HamlogHandleShown, g.HamlogRecNo, 16, updateFlag);
    if (result != Done) {
        g.LogEntrySaved = 0;
        logwindows::CloseLog();
        ui::msgBox(QStringLiteral("書き込みに失敗しました"), ui::OkOnly);
        return;
    }
    logwindows::EndNewPageNotice();
    if (append) {
        const int n = Vdbf_rcount(g.HamlogHandle);
        // A count that did not grow: the operator declined in the library's
        // question. Nothing of this entry is in the log to print a card for.
        const bool added = n >= g.HamlogRecNo;
        g.LoggedRecNo = added ? n : 0;
        if (added) ++g.HamlogRecNo;
        if (added) logwindows::NoteStored(sources[0].second);
        if (added)
            showSaved();
        else
            LSave->setText(QStringLiteral("LOG保存(F1)"));
        LSave->setEnabled(!added);
        g.LogEntrySaved = added ? 1 : 0;
        Command4->show();
    } else {
        g.LogEntrySaved = 1;
        g.LoggedRecNo = g.HamlogRecNo;
    }
    logwindows::CloseLog();
}

void TEMP_LOG::ReloadHamlogRecord() {
    logbook::Globals& g = logbook::g;
    logwindows::ReopenLog();
    logwindows::ClearHamlogRecord();
    if (THW_read(g.HamlogHandle, g.LoggedRecNo, 3) != Done) return;
    ShowHamlogRecord();
    if (g.QslPrintProgKind == 1) HLQ->setEnabled(true);
    g.LogEditMode = 1;
    g.LoggedRecNo = g.HamlogRecNo;
}

void TEMP_LOG::ShowHamlogRecord() {
    logbook::Globals& g = logbook::g;
    LSave->setText(QStringLiteral("LOG保存(F1)"));
    LSave->setEnabled(true);
    Command4->show();
    for (const FieldSpec& f : kFields) {
        QString buffer = QString(f.width, QLatin1Char(' '));
        ThwString(buffer, g.HamlogHandle, f.no);
        *g.CurQso.field(f.no) = fitChars(buffer, f.width);
    }
    const QsoRecord& r = g.CurQso;
    const logbook::EntryCallBoxes call = logbook::entryCallBoxes(r.CALL, r.REM1, r.REM2);
    Text1->setText(call.call);
    Text2->setText(call.part);
    Text3->setText(shownDate(r.DATE));
    Text4->setText(r.TIME);
    Text5->setText(r.HIS.trimmed());
    Text6->setText(r.MY.trimmed());
    Combo1->setEditText(r.FREQ.trimmed());
    Text8->setText(r.MODE.trimmed());
    Text9->setText(r.CODE.trimmed());
    Text10->setText(r.GL.trimmed());
    Text12->setText(r.NAME.trimmed());
    Text13->setText(r.QTH.trimmed());
    Text14->setText(r.REM1.trimmed());
    Text15->setText(r.REM2.trimmed());
    for (QLineEdit* box : {Text9, Text10, Text12, Text13})
        logwindows::ForgetFill(box);
    Text11->setText(r.QSL.mid(0, 1));
    Text16->setText(r.QSL.mid(1, 1));
    Text17->setText(r.QSL.mid(2, 1));
    QString recNoText(32, QLatin1Char(' '));
    g.HamlogRecNo = ThwString(recNoText, g.HamlogHandle, FieldRecNo);
    StatusBar1->setText(1, QStringLiteral("Record No=") + QString::number(g.HamlogRecNo));
    g.HamlogHandleShown = g.HamlogHandle;
    shownBoxes_ = boxTexts();
}
