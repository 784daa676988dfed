// The SSTV window's QSO boxes: call, name, RSV, QTH and contest number with
// their keys, the log entry window kept in step with them (library link), the
// call-sign check, and the titles following every change.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/CallParts.h"
#include "log/LogGlobals.h"
#include "log/QsoBoxText.h"
#include "log/QsoRecord.h"
#include "logwindows/entry/CallFills.h"
#include "logwindows/entry/HamlogLink.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "platform/forms/text/OneLine.h"
#include "platform/forms/text/TextRule.h"
#include "sstv/qso/SstvQsoRoutines.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/workshop/SstvTitles.h"
#include "terminal/macros/MacroState.h"
#include "terminal/receive/ContestNumber.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/receive/RxPicking.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

constexpr int CallLength = 20;
constexpr int QthContestLength = 28;

bool libraryLink() {
    return logbook::g.HamlogLink == 1;
}

// A log entry field takes the text unless it holds it already (setting the
// same text again would move the caret in the middle of typing).
void follow(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
}

// The left button let go over the control.
bool isClick(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::MouseButtonRelease) return false;
    const auto* m = static_cast<QMouseEvent*>(e);
    return m->button() == Qt::LeftButton &&
           static_cast<QWidget*>(watched)->rect().contains(m->position().toPoint());
}

// A typed a..z, to be written in upper case; nothing for any other key.
std::optional<QString> lowerLetter(const QKeyEvent& key) {
    const QString text = key.text();
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return std::nullopt;
    if (text.size() != 1 || text[0] < QLatin1Char('a') || text[0] > QLatin1Char('z')) return std::nullopt;
    return text.toUpper();
}

void refreshWhileEditing() {
    if (sstv::titles.SstvTitleRefreshOn == 1) sstv::SstvRefreshTitles();
}

} // namespace

void SSTVForm::makeQsoControls() {
    Label2 = new QLabel(QStringLiteral("Call Sign"));
    Label2->setToolTip(QStringLiteral("ｸﾘｯｸでCall検索"));
    Label5 = new QLabel(QStringLiteral("HisRSV"));
    Label47 = new QLabel(QStringLiteral("QTH "));
    Command3 = new QPushButton(QStringLiteral("RSVmenu set"));
    Command3->setFocusPolicy(Qt::NoFocus);
    Text10 = new QPlainTextEdit(this);
    Text10->resize(90, 150);
    Text10->hide();
    List4->resize(60, 120);
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Text5->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui::keepRule(Text1, logbook::callBoxText);
    ui::setTextLimit(Text1, CallLength);
    ui::keepRule(Text5, logbook::reportBoxText);
    ui::keepOneLine(Text7);
    ui::keepOneLine(Text14);
    ui::keepOneLine(Text11);
    // No box holds more than the log field it feeds, typed, pasted or picked.
    ui::setTextLimit(Text7, hamlog::fieldWidth(hamlog::FieldName));
    ui::setTextLimit(Text5, hamlog::fieldWidth(hamlog::FieldHis));
    ui::setTextLimit(Text14, hamlog::fieldWidth(hamlog::FieldQth));
    QTHPST = new QMenu(QStringLiteral("QTHデータの取り扱い方"), this);
    ADDQTHUPD = QTHPST->addAction(QStringLiteral("LOG帳のQTH欄を書き換え"));
    ADDREM1 = QTHPST->addAction(QStringLiteral("LOG帳のRem1 欄へ追記"));
    ADDREM2 = QTHPST->addAction(QStringLiteral("LOG帳のRem2 欄へ追記"));
}

void SSTVForm::connectQso() {
    connect(Text1, &QLineEdit::textChanged, this, &SSTVForm::Text1_Change);
    connect(Text7, &QLineEdit::textChanged, this, &SSTVForm::Text7_Change);
    connect(Text5, &QLineEdit::textChanged, this, &SSTVForm::Text5_Change);
    connect(Text14, &QLineEdit::textChanged, this, &SSTVForm::Text14_Change);
    connect(Text11, &QLineEdit::textChanged, this, &SSTVForm::Text11_Change);
    connect(VScroll4, &QScrollBar::valueChanged, this, &SSTVForm::VScroll4_Change);
    connect(Text1, &QLineEdit::returnPressed, Text7, [this] { Text7->setFocus(); });
    connect(Text7, &QLineEdit::returnPressed, Text5, [this] { Text5->setFocus(); });
    connect(Text5, &QLineEdit::returnPressed, Text14, [this] { Text14->setFocus(); });
    connect(Text14, &QLineEdit::returnPressed, Text1, [this] {
        if (core::g.ContestMode == 1) Text1->setFocus();
    });
    connect(List4, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List4_Click(item->text()); });
    // Setting the box from code runs its handler as a click would.
    connect(Check1, &QCheckBox::toggled, this, &SSTVForm::Check1_Click);
    Check1->setEnabled(true);
    connect(Command1, &QPushButton::clicked, this, &SSTVForm::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &SSTVForm::Command3_Click);
    connect(Command7, &QPushButton::clicked, this, &SSTVForm::Command7_Click);
    connect(ADDQTHUPD, &QAction::triggered, this, &SSTVForm::ADDQTHUPD_Click);
    connect(ADDREM1, &QAction::triggered, this, &SSTVForm::ADDREM1_Click);
    connect(ADDREM2, &QAction::triggered, this, &SSTVForm::ADDREM2_Click);
}

bool SSTVForm::qsoEvent(QObject* watched, QEvent* e) {
    if (watched == Text1) return callBoxEvent(e);
    if (watched == Label2 && isClick(watched, e)) Label2_Click();
    if (watched == Label5 && isClick(watched, e)) Label5_Click();
    if (watched == Label47 && isClick(watched, e))
        Label47_Click(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
    if (watched == List4 && e->type() == QEvent::FocusOut) List4->hide();
    if (watched == Text14 && e->type() == QEvent::KeyPress) return qthKeyEvent(*static_cast<QKeyEvent*>(e));
    return false;
}

// In a contest the exchange is kept to its length as it is typed or pasted;
// what the box already holds (typed before the contest, or put there by the
// log) stays whole.
bool SSTVForm::qthKeyEvent(const QKeyEvent& key) {
    if (core::g.ContestMode != 1) return false;
    const bool paste = key.matches(QKeySequence::Paste);
    const QString typed =
        paste ? ui::oneLine(QGuiApplication::clipboard()->text()) : lowerLetter(key).value_or(key.text());
    const bool command = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!paste && (command || typed.isEmpty() || !typed.front().isPrint())) return false;
    const qsizetype kept = Text14->text().size() - Text14->selectedText().size();
    logwindows::TypeIntoQsoBox(Text14,
                               QthLimit > 0 ? typed.left(std::max<qsizetype>(0, QthLimit - kept)) : typed);
    return true;
}

bool SSTVForm::callBoxEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonDblClick:
        Text1_DblClick();
        return false;
    case QEvent::FocusOut: // Return too leaves the box, for the name box
        if (isVisible()) logwindows::SettleTypedCallOnLeaving(Text1, static_cast<QFocusEvent*>(e)->reason());
        return false;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Down) {
            lookUpCall();
            return true;
        }
        if (const auto upper = lowerLetter(*key)) {
            logwindows::TypeIntoQsoBox(Text1, *upper);
            return true;
        }
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(e);
        if (!drag->mimeData()->hasText()) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(e);
        if (!drop->mimeData()->hasText()) return false;
        drop->acceptProposedAction();
        callDropped(drop->mimeData()->text());
        return true;
    }
    default:
        return false;
    }
}

void SSTVForm::callDropped(const QString& text) {
    if (!logwindows::QsoBoxesDoor(logwindows::DropCause::Lookup, sstv::DroppedCall(text))) return;
    logwindows::CheckCallSign(Text1->text().toUpper());
    refreshWhileEditing();
}

void SSTVForm::lookUpCall() {
    if (terminal::macros::g.MacroMoveMode == 1) return;
    logwindows::CheckCallSign(core::g.HisCall);
    refreshWhileEditing();
}

void SSTVForm::Text1_DblClick() {
    lookUpCall();
}

void SSTVForm::Label2_Click() {
    logwindows::CheckCallSign(core::g.HisCall);
    refreshWhileEditing();
}

void SSTVForm::Text1_Change() {
    core::Globals& g = core::g;
    g.HisCall = Text1->text().trimmed();
    const bool goOn = terminal::receive::CheckLogScrolling(Text1, &::TEMP_LOG::Text1);
    if (goOn) logwindows::DropFillsOfOtherCalls(g.HisCall);
    if (libraryLink() && goOn) {
        ::TEMP_LOG& log = forms::TEMP_LOG();
        const logbook::LogCall call = logbook::logCallFor(g.HisCall, Check4->isChecked(), log.Text15->text());
        if (g.HisCall.contains(QLatin1Char('/'))) {
            g.HisCallBase = call.base;
            g.HisCallSuffix = call.suffix;
        }
        follow(log.Text1, call.call);
        follow(log.Text2, call.other);
        if (call.rem2) follow(log.Text15, *call.rem2);
        if (logbook::g.LogEditMode == 0) logwindows::SetQsoTime();
    }
    sstv::SstvRefreshTitles();
}

void SSTVForm::Text7_Change() {
    if (terminal::receive::CheckLogScrolling(Text7, &::TEMP_LOG::Text12) && libraryLink()) {
        follow(forms::TEMP_LOG().Text12, Text7->text());
    }
    sstv::SstvRefreshTitles();
}

void SSTVForm::Text5_Change() {
    if (terminal::receive::CheckLogScrolling(Text5, &::TEMP_LOG::Text5) && libraryLink()) {
        follow(forms::TEMP_LOG().Text5, Text5->text());
    }
    sstv::SstvRefreshTitles();
}

// Just above the RSV box's right end, where it does not hide the box.
void SSTVForm::placeBesideRsv(QWidget* popup) {
    const QPoint corner = Text5->mapTo(this, QPoint(Text5->width(), 0));
    popup->move(corner.x(), std::max(0, corner.y() - popup->height()));
}

void SSTVForm::Label5_Click() {
    placeBesideRsv(List4);
    List4->show();
    List4->raise();
    List4->setFocus();
}

void SSTVForm::List4_Click(const QString& entry) {
    logwindows::PutIntoQsoBox(Text5, entry);
    List4->hide();
    Text1->setFocus();
}

void SSTVForm::Text14_Change() {
    if (core::g.ContestMode == 1) return;
    QString& qth = terminal::receive::g.QthText;
    qth = Text14->text().trimmed();
    if (terminal::receive::CheckLogScrolling(Text14, &::TEMP_LOG::Text13) && libraryLink()) {
        if (core::g.QthOperation == QLatin1String("QTH")) follow(forms::TEMP_LOG().Text13, qth);
    }
    sstv::SstvRefreshTitles();
}

// The exchange's limit holds while the contest runs and goes with it.
void SSTVForm::ContestStateChanged() {
    QthLimit = core::g.ContestMode == 1 ? QthContestLength : 0;
}

void SSTVForm::Label47_Click(const QPoint& globalPos) {
    if (logbook::g.HamlogLink == 1) {
        QTHPST->popup(globalPos);
    } else if (logbook::g.HamlogLink == 2) {
        logbook::g.HamlogSending = 0;
        logwindows::HamlogAskQth();
    }
}

void SSTVForm::Text11_Change() {
    if (!Text11->text().isEmpty()) VScroll4->setValue(contestNumberOf(Text11->text()));
    sstv::SstvRefreshTitles();
}

void SSTVForm::VScroll4_Change() {
    const QString text = sstv::ContestNoText(VScroll4->value());
    Text11->setText(text);
    Text11->setCursorPosition(int(text.size()));
    core::PutIniText(QStringLiteral("PSKCFG"), "ContestNo", Text11->text());
}

void SSTVForm::Check1_Click() {
    const bool utc = Check1->isChecked();
    core::g.LogTimeUtc = utc ? 1 : 0;
    core::g.TimeZoneOffsetH = utc ? -9 : 0;
    sstv::SstvRefreshTitles();
}
