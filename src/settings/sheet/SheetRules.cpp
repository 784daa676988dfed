#include "settings/sheet/SheetRules.h"

#include "core/ini/IniValues.h"
#include "core/ini/SettingRanges.h"
#include "platform/os/SerialComm.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace settings {
namespace {

constexpr double kHzPerBin = 3.90625;
constexpr int kClockLimit = 10000;
constexpr int kSpanFloorHz = 150;
constexpr int kSpanCeilingHz = 3500;

// To the nearest whole number, halves to the even one.
int evenRound(double v) {
    return int(std::nearbyint(v));
}

int indexIn(const QStringList& texts, const QString& value) {
    return int(texts.indexOf(value));
}

} // namespace

FftDisplay FftFromScroll(int value) {
    const int mode = (value / 10) * 10;
    if (mode < 10) return {QStringLiteral("1"), QStringLiteral("NoClip")};
    return {QString::number(mode), QString::number(mode) + QLatin1Char('%')};
}

FftPosition FftFromMode(const QString& mode) {
    const int n = core::WholeNumber(mode).value_or(0);
    if (n < 10) return {QStringLiteral("1"), QStringLiteral("NoClip"), 0};
    return {mode.trimmed(), mode.trimmed() + QLatin1Char('%'), n};
}

CentreSpan SpanForCentre(int centreHz, int zoom) {
    CentreSpan s;
    s.txBin = evenRound(centreHz / kHzPerBin);
    s.lowHz = std::max(centreHz - zoom * 100, kSpanFloorHz);
    s.highHz = std::min(centreHz + zoom * 100, kSpanCeilingHz);
    s.lowBin = evenRound(s.lowHz / kHzPerBin);
    s.highBin = evenRound(s.highHz / kHzPerBin);
    s.binsFromLow = s.txBin - s.lowBin;
    s.binsToHigh = s.highBin - s.txBin;
    s.rxBin = evenRound(centreHz / kHzPerBin);
    return s;
}

ClockBox ClockBoxValue(const QString& text, Typing typing) {
    static const QRegularExpression kNumberStart(QStringLiteral("^[+-]?$"));
    bool ok = false;
    const QString t = text.trimmed();
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        if (typing == Typing::Going && kNumberStart.match(t).hasMatch()) return {};
        return {QStringLiteral("0"), 0};
    }
    const int value = evenRound(std::clamp<double>(v, -kClockLimit, kClockLimit));
    if (typing == Typing::Going || text == QString::number(value)) return {std::nullopt, value};
    return {QString::number(value), value};
}

QString RigIntervalFor(const QString& typed) {
    if (typed.isEmpty() || typed.trimmed() < QStringLiteral("0")) return QStringLiteral("300");
    // No longer than the stored range allows: a longer pause only holds up a
    // mode change or a port opening (the default 300 with digits typed after it).
    QString t = typed.trimmed();
    if (!std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); })) return typed;
    while (t.size() > 1 && t.startsWith(QLatin1Char('0')))
        t.remove(0, 1);
    const int longest = RangeHigh("RIG_CON_CFG", "Interval");
    if (t.size() > 4 || t.toInt() > longest) return QString::number(longest);
    return typed;
}

QString IcomAddressFor(const QString& typed) {
    return typed.left(2).leftJustified(2, QLatin1Char(' '));
}

std::optional<QString> TypedWholeNumber(const QString& typed) {
    // Six digits at most: a count of MHz or milliseconds, never one that overflows.
    static const QRegularExpression kNumber(QStringLiteral("^[0-9]{1,6}$"));
    const QString t = typed.trimmed();
    if (!kNumber.match(t).hasMatch()) return std::nullopt;
    return t;
}

int SoundCardIndex(const QString& number) {
    if (number == QLatin1String("0")) return 1;
    if (number == QLatin1String("1")) return 2;
    return 0;
}

int CwIdSpeedIndex(const QString& speed) {
    return indexIn({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")},
                   speed);
}

int BaudIndex(const QString& baud) {
    return indexIn({QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200"),
                    QStringLiteral("38400"), QStringLiteral("1200")},
                   baud);
}

int StopBitsIndex(const QString& bits) {
    return indexIn({QStringLiteral("1"), QStringLiteral("2")}, bits);
}

int RigPortIndex(const QString& name) {
    if (name == QLatin1String("NONE")) return 0;
    for (int n = 1; n <= 8; ++n)
        if (name == QStringLiteral("COM%1").arg(n)) return n;
    return -1;
}

QStringList RigDeviceChoices(const QStringList& listed, const QString& stored) {
    QStringList numbered;
    for (int n = 1; n <= 8; ++n)
        numbered << SerialComm::deviceFor(QStringLiteral("COM%1").arg(n));
    QStringList choices;
    for (const QString& device : listed)
        if (!numbered.contains(device) && !choices.contains(device)) choices << device;
    if (stored.startsWith(QLatin1Char('/')) && !choices.contains(stored)) choices << stored;
    return choices;
}

std::optional<QString> SheetNumber(const QString& section, const QString& key) {
    const std::optional<QString> stored = core::IniStored(section, key);
    if (!stored) return std::nullopt;
    const std::optional<int> n = core::WholeNumber(*stored);
    if (!n) return std::nullopt;
    if (const core::StoredRange* row = core::StoredRangeOf(section, key);
        row && !core::InStoredRange(*row, *n))
        return std::nullopt;
    return stored->trimmed();
}

int RangeLow(const char* section, const char* key) {
    return core::StoredRangeOf(QString::fromLatin1(section), QString::fromLatin1(key))->lowest;
}

int RangeHigh(const char* section, const char* key) {
    return core::StoredRangeOf(QString::fromLatin1(section), QString::fromLatin1(key))->highest;
}

} // namespace settings
