#include "spots/SpotPick.h"

#include "rig/RigFamily.h"

#include <cfenv>
#include <cmath>

namespace spots {

namespace {

constexpr int MinOffsetHz = 200;
constexpr int MaxOffsetHz = 2900;

// The leading number of a text as the grid's cells are read: blanks skipped,
// an optional sign, digits with one decimal point; no number reads as 0.
double leadingNumber(const QString& text) {
    QString t = text;
    t.remove(QLatin1Char(' '));
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+'))) ++end;
    bool point = false;
    while (end < t.size() && (t[end].isDigit() || (t[end] == QLatin1Char('.') && !point))) {
        point = point || t[end] == QLatin1Char('.');
        ++end;
    }
    bool ok = false;
    const double v = t.left(end).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// To the nearest whole number, halves to the even one.
double roundEven(double v) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(mode);
    return r;
}

// The rig listens on the lower sideband: LSB, packet, or its data mode.
bool lowerSide(const QString& rigMode, const QString& dataModeText) {
    return rigMode == QLatin1String("LSB") || rigMode == QLatin1String("PKT") || rigMode == dataModeText;
}

} // namespace

int spotModeOf(const QString& remarks) {
    if (remarks.contains(QLatin1String("PSK"))) return 1;
    if (remarks.contains(QLatin1String("RTTY"))) return 2;
    return 0;
}

int spotAudioOffset(const QString& remarks) {
    const qsizetype p = remarks.indexOf(QLatin1String("HZ"));
    if (p < 4) return 0;
    const double hz = roundEven(leadingNumber(remarks.mid(p - 4, 4)));
    return hz < MinOffsetHz || hz > MaxOffsetHz ? 0 : static_cast<int>(hz);
}

qint64 spotDialHz(const QString& freqCell) {
    const double hz = roundEven(leadingNumber(freqCell) * 1000.0);
    // Beyond any amateur band by far: no frequency a rig could take.
    if (hz <= 0 || hz > 1e15) return 0;
    return static_cast<qint64>(hz);
}

PskTuning pskSpotTuning(qint64 dialHz, int offsetHz, int txFreqHz, const QString& rigMode,
                        const QString& dataModeText, bool correct) {
    if (!correct) return {dialHz, offsetHz != 0 ? offsetHz : txFreqHz};
    const qint64 shift = txFreqHz - offsetHz;
    if (lowerSide(rigMode, dataModeText)) return {dialHz + shift, txFreqHz};
    if (rigMode == QLatin1String("USB")) return {dialHz - shift, txFreqHz};
    return {dialHz, txFreqHz};
}

QString spotSideband(const QString& spotCode, const QString& lsbCode, const QString& usbCode,
                     const QString& rigMode) {
    if (spotCode.isEmpty()) return rigMode;
    if (spotCode == lsbCode) return QStringLiteral("LSB");
    if (spotCode == usbCode) return QStringLiteral("USB");
    return rigMode;
}

qint64 rttySpotDial(qint64 dialHz, int audioOffsetHz, const QString& rigMode, const QString& dataModeText,
                    bool correct) {
    if (!correct) return dialHz;
    if (lowerSide(rigMode, dataModeText)) return dialHz + audioOffsetHz;
    if (rigMode == QLatin1String("USB")) return dialHz - audioOffsetHz;
    return dialHz;
}

QString spotDialDigits(const QString& rigType, qint64 hz) {
    const std::optional<rig::Family> family = rig::familyOf(rigType);
    if (!family || hz <= 0) return {};
    const int digits = rig::traits(*family).qsyDigits;
    const QString text = QString::number(hz);
    if (text.size() > digits) return {};
    return text.rightJustified(digits, QLatin1Char('0'));
}

QString spotFreqText(qint64 hz) {
    return QStringLiteral("%1.%2").arg(hz / 1'000'000).arg(hz % 1'000'000, 6, 10, QLatin1Char('0'));
}

} // namespace spots
