#include "terminal/macros/MacroExpand.h"

#include "core/SharedRoutines.h"

namespace terminal::macros {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kMaxRepeatSeconds = 65;

bool isPskMode(int mode) {
    return mode >= 0 && mode <= 2;
}

QString kw(const char* word) {
    return QLatin1Char('\'') + QLatin1String(word) + QLatin1Char('\'');
}

QString cwIdKeyword(int n) {
    return QStringLiteral("'CWID%1'").arg(n);
}

void readFlags(const QString& raw, Expansion& e) {
    if (raw.contains(kw("TXON"))) e.MacroTxOn = 1;
    if (raw.contains(kw("TXOFF"))) {
        e.MacroTxOff = 1;
        if (e.MacroTxOn == 0) e.MacroTxOffPending = 1;
    }
    if (raw.contains(kw("CWID"))) e.MacroCwId = 1;
    for (int n = 1; n <= 5 && e.MacroCwId == 0; ++n)
        if (raw.contains(cwIdKeyword(n))) e.MacroCwId = 1;
}

QString hisNameText(const QsoState& s) {
    if (!s.HisName.isEmpty()) {
        if (!s.SanChecked) return s.HisName;
        return s.HisName + (s.ImeState == 2 ? QStringLiteral("さん ") : QStringLiteral(" San "));
    }
    return s.ContestMode == 1 ? QString() : QStringLiteral(" Dear Friend ");
}

void expandQth(QString& t, const QString& qth) {
    if (!qth.isEmpty()) {
        t.replace(kw("HISQTH"), qth);
        return;
    }
    for (const char* phrase : {"FROM 'HISQTH'", "from 'HISQTH'", "From 'HISQTH'"})
        t.remove(QLatin1String(phrase));
    t.remove(kw("HISQTH"));
}

void expandTxOnOff(QString& t) {
    if (t.contains(kw("TXON"))) {
        t.remove(kw("TXON"));
        if (!t.startsWith(kCrLf)) t.prepend(kCrLf);
    }
    if (t.contains(kw("TXOFF"))) {
        t.remove(kw("TXOFF"));
        if (!t.isEmpty() && !t.endsWith(kCrLf)) t += kCrLf;
    }
}

void expandCwId(const QString& raw, const QsoState& s, Expansion& e) {
    if (e.MacroCwId != 1) return;
    e.MacroText.remove(kw("CWID"));
    e.CwIdText = s.DefaultCwId.trimmed();
    int entry = 0;
    for (int n = 1; n <= 5; ++n) {
        if (!raw.contains(cwIdKeyword(n))) continue;
        // Only the first occurrence: a second numbered keyword is sent as typed.
        e.MacroText.remove(cwIdKeyword(n));
        e.CwIdText = s.CwIdList[static_cast<std::size_t>(n - 1)];
        entry = n;
        break;
    }
    // An identification that does not name the station is not sent; the
    // over it was to end still ends after the text.
    if (core::CwIdSendable(*e.CwIdText)) return;
    e.MacroTxOff = 1;
    e.MacroCwId = 0;
    e.cwIdRefused = core::CwIdRefusedText(*e.CwIdText, entry);
    e.CwIdText.reset();
}

// 'LOGTIME': the QSO time in UTC for the log entry window; the PC runs on JST.
void takeLogTime(const QDateTime& jst, Expansion& e) {
    e.logTime = true;
    e.qsoTime = jst.time();
    const QDateTime utc = jst.addSecs(-9 * 3600);
    e.logTimeBox = utc.toString(QStringLiteral("HH:mm")) + QLatin1Char('U');
    e.logDateBox = utc.date().toString(QStringLiteral("yyyy-MM-dd"));
}

void expandPskModes(const QString& raw, int opMode, Expansion& e) {
    static const char* const tx[] = {"TXBPSK", "TXQPSKU", "TXQPSKL"};
    static const char* const rx[] = {"RXBPSK", "RXQPSKU", "RXQPSKL"};
    int mode = opMode;
    for (int k = 0; k < 3; ++k) {
        if (!raw.contains(kw(tx[k]))) continue;
        e.MacroText.remove(kw(tx[k]));
        mode = k;
        e.OpMode = k;
        e.shownPskMode = k;
    }
    // A repeat sends again in the transmit mode the macro went out in.
    e.RepeatPskMode = mode;
    e.MacroRxPskMode = mode;
    for (int k = 0; k < 3; ++k) {
        if (!raw.contains(kw(rx[k]))) continue;
        e.MacroText.remove(kw(rx[k]));
        e.MacroRxPskMode = k;
        e.shownPskMode = k;
        break;
    }
}

} // namespace

RepeatRequest parseRepeat(const QString& raw) {
    RepeatRequest r;
    const qsizetype p = raw.indexOf(QLatin1String("'RPT"));
    if (p < 0) return r;
    r.present = true;
    const qsizetype q = raw.indexOf(QLatin1Char('\''), p + 1);
    if (q < 0) return r;
    r.closed = true;
    r.countText = raw.mid(p + 4, q - p - 4);
    const QString digits = r.countText.trimmed();
    bool ok = !digits.isEmpty();
    for (QChar c : digits)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!ok) return r;
    const int value = digits.size() > 3 ? kMaxRepeatSeconds + 1 : digits.toInt();
    r.valid = value > 0;
    r.seconds = std::min(value, kMaxRepeatSeconds);
    return r;
}

bool needsTimeStamp(const QString& raw) {
    return raw.contains(kw("TIME"));
}

bool needsLocalTime(const QString& raw) {
    return raw.contains(QLatin1String("'GREET"));
}

Expansion expandMacro(const QString& raw, const QsoState& s) {
    Expansion e;
    readFlags(raw, e);
    e.repeat = parseRepeat(raw);
    e.HisNameText = hisNameText(s);

    QString& t = e.MacroText;
    t = raw;
    t.replace(kw("MYCALL"), s.UserCall);
    t.replace(kw("CP"), s.RoundQsoText);
    t.replace(kw("HISCALL"), s.HisCall);
    t.replace(kw("HISNAME"), e.HisNameText);
    expandQth(t, s.QthText);
    t.replace(kw("HISRST"), s.HisRst);
    t.replace(kw("NUMB"), s.SerialNo);
    expandTxOnOff(t);
    expandCwId(raw, s, e);
    t.replace(kw("TIME"), s.TimeStampText);
    const QString nowText = s.pcClock.addSecs(s.TimeZoneOffsetH * 3600).toString(QStringLiteral("HHmm"));
    if (e.repeat.closed) t.remove(QStringLiteral("'RPT") + e.repeat.countText + QLatin1Char('\''));
    t.replace(kw("NOW"), nowText);
    t.replace(kw("GREET"), s.GreetingText);
    if (t.contains(kw("LOGTIME"))) {
        takeLogTime(s.pcClock, e);
        t.remove(kw("LOGTIME"));
    }
    if (t.contains(kw("RIGCALL"))) {
        e.rigCall = true;
        t.remove(kw("RIGCALL"));
    }
    t.replace(kw("VARITYPE"), s.OpMode == 99 ? s.VariType : QStringLiteral("VariSTD/JA"));
    if (isPskMode(s.OpMode)) expandPskModes(raw, s.OpMode, e);
    return e;
}

} // namespace terminal::macros
