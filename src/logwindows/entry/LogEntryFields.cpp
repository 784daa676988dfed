#include "logwindows/entry/LogEntryFields.h"

#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "log/QsoBoxText.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/QsoBoxes.h"
#include "logwindows/entry/QsoDoor.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CheckCallSign.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/forms/text/OneLine.h"
#include "platform/forms/text/TextRule.h"
#include "platform/hamlog/HamlogRecord.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "rig/RigGlobals.h"

#include <QKeyEvent>
#include <QValidator>

namespace logwindows {

namespace {

bool editing() {
    return logbook::g.LogEditMode == 1;
}

QString hhmm(const QTime& t) {
    return t.toString(QStringLiteral("HH:mm"));
}

QString ymd(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

// The logging program counts its field widths in Shift-JIS bytes; Japanese
// text that would not fit is refused as it is typed rather than cut on saving.
class ByteWidth : public QValidator {
  public:
    ByteWidth(int width, QObject* parent) : QValidator(parent), width_(width) {}
    State validate(QString& input, int&) const override {
        return cp932::byteLength(input) <= width_ ? Acceptable : Invalid;
    }

  private:
    int width_;
};

// A paste, a drop or the middle button's text passes the band box's keys:
// what they would take of it, the rest left out. A band the program puts
// there (a stored record's, the rig's dial) is no edit: nothing could undo
// it, and it shows as it stands.
class BandTyping : public QValidator {
  public:
    explicit BandTyping(QLineEdit* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int& pos) const override {
        if (!box_->isUndoAvailable()) return Acceptable;
        pos = static_cast<int>(bandBoxText(input.left(pos)).size());
        input = bandBoxText(input);
        return Acceptable;
    }

  private:
    QLineEdit* box_;
};

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiUpper(QChar c) {
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

// The QSO's own date in JST: its time lies in the past, so a time later in
// the day than now was yesterday's (a QSO begun before midnight).
QDate qsoJstDate() {
    const QDateTime now = sysclock::jstNow();
    return logbook::g.QsoTime > now.time() ? now.date().addDays(-1) : now.date();
}

void writeUtc(TEMP_LOG& w) {
    const QTime t = logbook::g.QsoTime;
    w.Text4->setText(hhmm(t.addSecs(-9 * 3600)) + QLatin1Char('U'));
    const QDate day = qsoJstDate();
    w.Text3->setText(ymd(t.hour() >= 9 ? day : day.addDays(-1)));
}

void toggleIme(TEMP_LOG& w, int& on, void (TEMP_LOG::*apply)(), QLineEdit* box, const core::IniKey& key) {
    on = on == 1 ? 0 : 1;
    (w.*apply)();
    box->setFocus();
    core::PutIniText(QStringLiteral("PSKCFG"), key, on == 1 ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

void SwitchLogTimeZone(TEMP_LOG& w, bool toUtc) {
    if (!logbook::g.QsoTime.isValid()) logbook::g.QsoTime = sysclock::jstNow().time();
    if (!toUtc && core::g.LogTimeUtc != 0) {
        w.Text3->setText(ymd(qsoJstDate()));
        w.Text4->setText(hhmm(logbook::g.QsoTime) + QLatin1Char('J'));
        w.Label4->setText(QStringLiteral("Time(JST)"));
        core::g.LogTimeUtc = 0;
        return;
    }
    writeUtc(w);
    w.Label4->setText(QStringLiteral("Time(UTC)"));
    core::g.LogTimeUtc = 1;
}

void RefreshLogTime(TEMP_LOG& w) {
    const QDateTime now = sysclock::jstNow();
    logbook::g.QsoTime = now.time();
    if (w.Text4->text().endsWith(QLatin1Char('U'))) {
        writeUtc(w);
        return;
    }
    w.Text3->setText(ymd(now.date()));
    w.Text4->setText(hhmm(logbook::g.QsoTime) + QLatin1Char('J'));
}

LogEntryFields::LogEntryFields(TEMP_LOG& w) : QObject(&w), w_(w) {
    using A = Accept;
    rules_ = {
        {w.Text1, {A::Alnum, true, w.Text6, 1, false}},
        {w.Text2, {A::Alnum, true, w.Text4, 0, false}},
        {w.Text3, {A::DateDigits, false, w.Text4, 1, false, true}},
        {w.Text4, {A::Time, true, w.Text5, 1, false, true}},
        {w.Text5, {A::Digits, false, w.Text6, 1, false, true}},
        {w.Text6, {A::Digits, false, w.Combo1, 1, false, true}},
        {w.Text8, {A::Alnum, true, w.Text9, 16, false}},
        {w.Text9, {A::Alnum, true, w.Text10, 0, false}},
        {w.Text10, {A::Alnum, true, w.Text12, 0, false}},
        {w.Text12, {A::Any, false, w.Text13, 0, false}},
        {w.Text13, {A::Any, false, w.Text11, 0, false}},
        {w.Text11, {A::Letters, true, w.Text16, 1, false, true}},
        {w.Text16, {A::Any, false, w.Text17, 1, true, true}},
        {w.Text17, {A::Any, false, w.Text14, 1, true, true}},
        {w.Text14, {A::Any, false, w.Text15, 0, false}},
        {w.Text15, {A::Any, false, w.Text4, 0, false}},
    };
    for (QObject* field : rules_.keys())
        field->installEventFilter(this);
    for (QWidget* label : {w.Label4, w.Label7, w.Label8, w.Label11, w.Label12, w.Label14, w.Label15})
        label->installEventFilter(this);
    w.List1->installEventFilter(this);
    w.List1->hide();
    w.Label4->setToolTip(QStringLiteral("ここをｸﾘｯｸするとJST/UTCを切り替えます"));
    w.Text4->setToolTip(QStringLiteral("↓で現在時刻"));
    const std::pair<QLineEdit*, int> widths[] = {{w.Text12, hamlog::fieldWidth(hamlog::FieldName)},
                                                 {w.Text13, hamlog::fieldWidth(hamlog::FieldQth)},
                                                 {w.Text14, hamlog::fieldWidth(hamlog::FieldRem1)},
                                                 {w.Text15, hamlog::fieldWidth(hamlog::FieldRem2)}};
    for (const auto& [box, width] : widths)
        ui::keepCheck(box, new ByteWidth(width, box));
    for (QLineEdit* call : {w.Text1, w.Text2})
        ui::keepRule(call, logbook::callBoxText);
    for (QLineEdit* report : {w.Text5, w.Text6})
        ui::keepRule(report, logbook::reportBoxText);
    for (QObject* field : rules_.keys())
        ui::keepOneLine(static_cast<QLineEdit*>(field));
    ui::keepOneLine(w.Combo1->lineEdit());
    ui::keepCheck(w.Combo1->lineEdit(), new BandTyping(w.Combo1->lineEdit()));
    connect(w.Text5, &QLineEdit::textChanged, this, [](const QString& text) {
        if (!editing()) PutIntoQsoBox(operatingBoxes().rst, text);
    });
}

bool LogEntryFields::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
        if (auto it = rules_.find(watched); it != rules_.end()) {
            pressedIn_ = watched;
            return keyPress(static_cast<QLineEdit*>(watched), *it, *static_cast<QKeyEvent*>(e));
        }
        break;
    case QEvent::KeyRelease:
        if (watched == pressedIn_ && !static_cast<QKeyEvent*>(e)->isAutoRepeat())
            keyRelease(static_cast<QLineEdit*>(watched));
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) return labelClicked(watched);
        break;
    case QEvent::FocusIn:
        if (watched == w_.Text13) w_.SetQthImeMode();
        if (watched == w_.Text14) w_.SetRem1ImeMode();
        if (watched == w_.Text15) w_.SetRem2ImeMode();
        break;
    case QEvent::FocusOut:
        if (watched == w_.List1) w_.List1->hide();
        break;
    default:
        break;
    }
    return false;
}

// True when the key is used up here: dropped, or typed by this filter.
bool LogEntryFields::keyPress(QLineEdit* box, const Rule& rule, QKeyEvent& key) {
    const int k = key.key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        enterPressed(box, rule);
        return true;
    }
    if (k == Qt::Key_Down || k == Qt::Key_Delete) return specialKey(box, k);
    const bool fixedSet = rule.accept != Accept::Any;
    if (k == Qt::Key_Backspace) {
        if (rule.everyKey) ui::selectOvertype(box, 1, rule.fixedPlaces);
        return rule.accept == Accept::DateDigits || rule.accept == Accept::Time;
    }
    if (fixedSet && (key.matches(QKeySequence::Paste) || key.matches(QKeySequence::Cut))) return true;
    const QString text = key.text();
    const bool plain = !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (text.size() != 1 || !text[0].isPrint() || !plain) return false;
    if (rule.everyKey) ui::selectOvertype(box, 1, rule.fixedPlaces);
    if (!fixedSet) return false;
    QChar c = text[0];
    if (rule.upper && c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
    bool ok = false;
    switch (rule.accept) {
    case Accept::Alnum:
        ok = isAsciiDigit(c) || isAsciiUpper(c);
        break;
    case Accept::Digits:
    case Accept::DateDigits:
        ok = isAsciiDigit(c);
        break;
    case Accept::Time:
        ok = isAsciiDigit(c) || isAsciiUpper(c) || c == QLatin1Char(':');
        break;
    case Accept::Letters:
        ok = isAsciiUpper(c);
        break;
    case Accept::Any:
        break;
    }
    // A "/" in the call goes on in the "/" part box, so that the call is
    // stored whole and never as another call.
    // What follows the "/" is that part anew: it replaces what the box held.
    if (box == w_.Text1 && c == QLatin1Char('/')) {
        w_.Text2->setFocus();
        w_.Text2->selectAll();
        return true;
    }
    if (!ok) return true;
    // The time box steps over its colon by itself: a ":" typed there is that colon.
    if (rule.accept == Accept::Time && c == QLatin1Char(':') && !box->hasSelectedText() &&
        box->cursorPosition() == 3 && box->text().mid(2, 1) == QLatin1String(":"))
        return true;
    if (rule.overwrite > 0) ui::selectOvertype(box, rule.overwrite, rule.fixedPlaces);
    box->insert(QString(c));
    return true;
}

bool LogEntryFields::specialKey(QLineEdit* box, int key) {
    if (key == Qt::Key_Delete) return box == w_.Text3 || (box == w_.Text4 && !editing());
    if (box == w_.Text1) {
        const QString call = box->text().trimmed();
        if (call.isEmpty()) return true;
        logbook::g.WkdCall = call;
        if (logbook::g.HamlogLink == 1 && !editing()) {
            CheckCallSign(logbook::g.WkdCall);
            // The entry's own call decides the area and the local time again,
            // with the entry's longitude rather than a district's.
            logbook::g.DistrictLongitudeOn = 0;
            LookupPrefix(w_.Text1->text(), true);
        }
        focusField(w_.Text4);
        return true;
    }
    if (box == w_.Text2) {
        SwitchLogTimeZone(w_, true);
        focusField(w_.Text4);
        return true;
    }
    if (box == w_.Text4 && !editing()) {
        RefreshLogTime(w_);
        focusField(w_.Text5);
        return true;
    }
    return false;
}

void LogEntryFields::keyRelease(QLineEdit* box) {
    const int at = box->cursorPosition();
    if (box == w_.Text1 && !editing()) {
        QsoBoxesDoor(DropCause::Typed, box->text().trimmed());
    } else if (box == w_.Text3) {
        if (at == 4 || at == 7) box->setCursorPosition(at + 1);
        if (at == 10) focusField(w_.Text4);
    } else if (box == w_.Text4) {
        if (at == 2) box->setCursorPosition(3);
    } else if (box == w_.Text5) {
        if (at == 3) focusField(w_.Text6);
    }
}

void LogEntryFields::enterPressed(QLineEdit* box, const Rule& rule) {
    if (box == w_.Text12) {
        PutIntoQsoBox(operatingBoxes().name, box->text().trimmed());
    }
    if (rule.next == w_.Combo1) {
        w_.Combo1->setFocus();
        w_.Combo1->lineEdit()->end(false);
        return;
    }
    focusField(rule.next);
}

bool LogEntryFields::labelClicked(QObject* label) {
    if (label == w_.Label4) {
        if (!editing()) SwitchLogTimeZone(w_, false);
    } else if (label == w_.Label7) {
        if (!editing() && rig::g.RigPortName != QLatin1String("NONE") && rig::g.RigPollMode != 2)
            ReadRigOnce();
    } else if (label == w_.Label8) {
        w_.List1->show();
        w_.List1->setFocus();
    } else if (label == w_.Label11) {
        const QString name = textOf(operatingBoxes().name);
        if (!editing()) w_.Text12->setText(cp932::leftBytes(name, hamlog::fieldWidth(hamlog::FieldName)));
    } else if (label == w_.Label12) {
        toggleIme(w_, logbook::g.QthImeOn, &TEMP_LOG::SetQthImeMode, w_.Text13, "QTHIME_SW");
    } else if (label == w_.Label14) {
        toggleIme(w_, logbook::g.Rem1ImeOn, &TEMP_LOG::SetRem1ImeMode, w_.Text14, "Rem1IME_SW");
    } else if (label == w_.Label15) {
        toggleIme(w_, logbook::g.Rem2ImeOn, &TEMP_LOG::SetRem2ImeMode, w_.Text15, "Rem2IME_SW");
    } else {
        return false;
    }
    return true;
}

// A fixed-format field is entered at its first character, ready for overwrite typing.
void LogEntryFields::focusField(QWidget* target) {
    target->setFocus();
    auto it = rules_.find(target);
    if (it != rules_.end() && it->overwrite == 1) static_cast<QLineEdit*>(target)->home(false);
}

} // namespace logwindows
