#include "terminal/transmit/TxInsert.h"

#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/transmit/TxState.h"
#include "terminal/transmit/TypedText.h"

#include <QCheckBox>
#include <utility>

namespace terminal::transmit {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString crLfBreaks(QString text) {
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}

// Appends to the box and puts the caret behind the last character.
bool appendToBox(PSK31MAIN& w, const QString& text) {
    const bool wasEmpty = w.Text1->length() == 0;
    w.Text1->appendText(text);
    w.Text1->setSelStart(w.Text1->length());
    return wasEmpty;
}

} // namespace

QPoint insertKeyMenuPoint() {
    return {twips::toPx(2200), twips::toPx(1300)};
}

void PopupInsertMenu(const QPoint& at) {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.PSTCLIP->setEnabled(clipboard::holdsText());
    w.Text1->setSelStart(w.Text1->length());
    w.Text1->setFocus();
    w.MACCOM->popup(w.mapToGlobal(at));
}

void InsertIntoTx(const QString& text) {
    if (text.isEmpty()) return;
    const bool wasEmpty = appendToBox(forms::PSK31MAIN(), text);
    SendInsertedText(text, wasEmpty);
}

namespace {
QString typedKept;
}

void KeepTypedForNextStart(const QString& text) {
    typedKept = text;
    if (forms::PSK31MAIN().Text1->text().isEmpty()) InsertIntoTx(text);
}

void ForgetTypedKept() {
    typedKept.clear();
}

void EmptyTxBoxAtOverEnd(PSK31MAIN& w) {
    const QString kept = std::exchange(typedKept, QString());
    if (kept.isEmpty() || w.Text1->text() != kept) return w.Text1->setText(QString());
    SendInsertedText(kept, true);
}

QString hisNameText() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString name = w.Text6->text();
    if (name.isEmpty()) return QStringLiteral(" Dear Friend ");
    if (!w.Check1->isChecked()) return name;
    return name + (core::g.ImeState == 2 ? QStringLiteral("さん ") : QStringLiteral(" San "));
}

QString quotedPasteText(const QString& clip, bool quote, const QString& mark) {
    const QString text = crLfBreaks(clip);
    if (!quote) return text;
    return mark + QString(text).replace(kCrLf, kCrLf + mark) + kCrLf;
}

void PasteClipboardToTx() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString clip = clipboard::text();
    if (clip.isEmpty()) return;
    if (clip.size() > kLongestPaste) {
        ui::msgBox(QStringLiteral("貼り付けできません: クリップボードの文字が多すぎます (%1文字まで)")
                       .arg(kLongestPaste),
                   ui::OkOnly | ui::Exclamation);
        return;
    }
    core::Globals& cg = core::g;
    g.PasteText = quotedPasteText(clip, cg.UseQuoteMark == QLatin1String("YES"), cg.QuoteMark);
    clipboard::empty();
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    const bool wasEmpty = appendToBox(w, g.PasteText);
    w.Text1->setFocus();
    SendInsertedText(g.PasteText, wasEmpty);
    g.PasteText.clear();
}

void PasteToRemarks(QLineEdit* box) {
    PSK31MAIN& w = forms::PSK31MAIN();
    const QString clip = clipboard::text().trimmed();
    box->setText(box->text().isEmpty() ? clip : box->text() + QLatin1Char('/') + clip);
    clipboard::empty();
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    w.Text1->setFocus();
}

void connectInsertMenu(PSK31MAIN& w) {
    auto on = [&w](QAction* a, auto f) { QObject::connect(a, &QAction::triggered, &w, f); };
    on(w.PSTCLIP, [] { PasteClipboardToTx(); });
    on(w.INSAISATU, [] {
        if (logbook::g.HamlogLink == 0) return;
        logwindows::ShowLocalTime();
        if (!logbook::g.GreetingText.isEmpty()) InsertIntoTx(logbook::g.GreetingText);
    });
    on(w.INSHisCall, [&w] { InsertIntoTx(w.Text5->text()); });
    on(w.INSHisName, [] {
        g.HisNameText = hisNameText();
        InsertIntoTx(g.HisNameText);
    });
    on(w.INSHisQTH, [&w] { InsertIntoTx(w.Text14->text()); });
    on(w.INSHISRST, [&w] { InsertIntoTx(w.Text7->text()); });
    on(w.INSTimeStamp, [] {
        receive::MakeTimeStamp();
        InsertIntoTx(core::g.TimeStampText + kCrLf);
    });
    on(w.INSMyCall, [] { InsertIntoTx(core::g.UserCall); });
    on(w.PSTREM1, [] { PasteToRemarks(forms::TEMP_LOG().Text14); });
    on(w.PSTREM2, [] { PasteToRemarks(forms::TEMP_LOG().Text15); });
}

} // namespace terminal::transmit
