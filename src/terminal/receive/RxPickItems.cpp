#include "terminal/receive/RxPickItems.h"

#include "settings/dialogs/CFG_Contest.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/text/TextRule.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/ContestEnd.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/receive/RxPicking.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>

namespace terminal::receive {

namespace {

QString clipText() {
    return clipboard::text().trimmed();
}

void say(const QString& text) {
    core::g.StatusMessage = text;
    core::ShowTimedMessage(text, 3000);
}

// Each item ends with the carets at the ends and the focus in the transmit box.
void backToTransmitBox(PSK31MAIN& w) {
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    w.Text1->setSelStart(w.Text1->length());
    w.Text1->setFocus();
}

// A text the field's width would refuse is not cut to it: the operator is told.
bool fits(QLineEdit* field, const QString& text) {
    return ui::checkTakes(field, text);
}

// A QSO the boxes hold and the operator keeps is no fault of the call.
bool setCall(PSK31MAIN& w, const QString& call) {
    if (!logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, call.toUpper())) return true;
    if (logwindows::CheckCallSign(w.Text5->text().toUpper())) return true;
    say(QStringLiteral("CallSign 不備です"));
    return false;
}

// The QTH taken from received text goes where QthOperation says as well.
void qthToLog() {
    const QString& op = core::g.QthOperation;
    const QString& qth = g.QthText;
    ::TEMP_LOG& log = forms::TEMP_LOG();
    if (op == QLatin1String("QTH"))
        writeLogField(log.Text13, qth);
    else if (op == QLatin1String("Rem1"))
        appendToLogField(log.Text14, QStringLiteral(",QTH="), qth);
    else if (op == QLatin1String("Rem2"))
        appendToLogField(log.Text15, QStringLiteral(",QTH="), qth);
}

// A received contest exchange, such as "599-012": the RST goes to My RST, the
// rest to the code, the whole to the remarks as the contest dialog set.
void takeContestNo(const QString& text) {
    QString x = text.trimmed();
    x.remove(QLatin1Char(' ')).remove(QLatin1Char('-')).remove(QLatin1Char('/'));
    if (x.isEmpty()) {
        say(QStringLiteral("Contest No 不備です"));
        return;
    }
    ::TEMP_LOG& log = forms::TEMP_LOG();
    if (g.ContestNoToCode == 1 && !writeLogField(log.Text9, x.mid(3))) return;
    if (!writeLogField(log.Text6, x.left(3))) return;
    if (g.ContestNoToRem1 == 1 && !writeLogField(log.Text14, log.Text14->text() + x)) return;
    if (g.ContestNoToRem2 == 1) writeLogField(log.Text15, log.Text15->text() + x);
}

// Remarks name what they hold: "QTH=" leads the QTH, also in an empty field.
void qthToRemarks(QLineEdit* field) {
    const QString now = field->text();
    const QString qth = QStringLiteral("QTH=") + g.QthText;
    writeLogField(field, now.trimmed().isEmpty() ? qth : now + QLatin1Char(',') + qth);
}

} // namespace

bool writeLogField(QLineEdit* field, const QString& text) {
    if (!fits(field, text)) {
        say(QStringLiteral("LOG帳の欄に入りきりません"));
        return false;
    }
    field->setText(text);
    return true;
}

bool appendToLogField(QLineEdit* field, const QString& joint, const QString& text) {
    const QString now = field->text();
    return writeLogField(field, now.trimmed().isEmpty() ? text : now + joint + text);
}

void connectPickItems(PSK31MAIN& w) {
    auto on = [&w](QAction* a, auto f) { QObject::connect(a, &QAction::triggered, &w, f); };
    PSK31MAIN* m = &w;

    // On the selection, which the clipboard holds.
    on(w.TOCALL, [m] {
        if (setCall(*m, clipText())) backToTransmitBox(*m);
    });
    on(w.TONAME, [m] {
        logwindows::PutIntoQsoBox(m->Text6, clipText());
        clipboard::empty();
        backToTransmitBox(*m);
    });
    on(w.TOQTHREM1, [m] {
        g.QthText = clipText();
        logwindows::PutIntoQsoBox(m->Text14, g.QthText);
        qthToLog();
        clipboard::empty();
        backToTransmitBox(*m);
    });
    on(w.TOCLPB, [m] { backToTransmitBox(*m); });
    on(w.CLIPCLR, [m] {
        clipboard::empty();
        m->Text1->setSelStart(m->Text1->length());
        m->Text1->setFocus();
    });
    on(w.CALLSR, [] {
        logwindows::callCheck.CallSearchOnly = 1;
        logwindows::callCheck.SearchCall = clipText().toUpper();
        clipboard::empty();
        logwindows::CheckCallSign(logwindows::callCheck.SearchCall);
    });
    on(w.GetContestNo, [m] {
        takeContestNo(g.PickedSelection);
        backToTransmitBox(*m);
    });

    // On the picked word.
    on(w.PSTCALL, [m] { setCall(*m, g.PickedWord); });
    on(w.PSTNAME, [m] { logwindows::PutIntoQsoBox(m->Text6, g.PickedWord); });
    on(w.PSTQTH, [m] {
        logwindows::PutIntoQsoBox(m->Text14, g.PickedWord);
        qthToLog();
    });
    on(w.TOCLIP2, [m] {
        clipboard::hold(g.PickedWord);
        backToTransmitBox(*m);
    });
    on(w.PSTTOREM1, [] { appendToLogField(forms::TEMP_LOG().Text14, QStringLiteral(","), g.PickedWord); });
    on(w.PSTTOREM2, [] { appendToLogField(forms::TEMP_LOG().Text15, QStringLiteral(","), g.PickedWord); });
    on(w.PSTCON_NO, [] { takeContestNo(g.PickedWord); });
    on(w.DATCLR, [m] {
        clipboard::empty();
        m->Text1->setFocus();
    });

    // The QTH label's pop-up (library link): the QTH into the log entry.
    on(w.ADDQTHUPD, [] { writeLogField(forms::TEMP_LOG().Text13, g.QthText); });
    on(w.ADDREM1, [] { qthToRemarks(forms::TEMP_LOG().Text14); });
    on(w.ADDREM2, [] { qthToRemarks(forms::TEMP_LOG().Text15); });

    // The contest items serve while contest logging is on; its start enables them.
    for (QAction* contest : {w.GetContestNo, w.PSTCON_NO})
        contest->setEnabled(core::g.ContestMode != 0);

    // In contest mode the contest item ends contest logging; otherwise it opens
    // the contest dialog, whose start checks the item.
    on(w.CONON, [m] {
        if (core::g.ContestMode != 0) {
            SaveContestNo(*m);
            return;
        }
        m->CONON->setChecked(false);
        forms::CFG_Contest().show();
    });

    // The QTH box keeps QthText outside contest mode.
    // With the library link the log entry's QTH follows it as QthOperation says.
    QObject::connect(w.Text14, &QLineEdit::textChanged, &w, [&w](const QString& text) {
        if (core::g.ContestMode != 0) return;
        g.QthText = text.trimmed();
        if (!CheckLogScrolling(w.Text14, &TEMP_LOG::Text13) || logbook::g.HamlogLink != 1) return;
        if (core::g.QthOperation == QLatin1String("QTH")) writeLogField(forms::TEMP_LOG().Text13, g.QthText);
    });
}

} // namespace terminal::receive
