#include "rig/RigFinish.h"

namespace rig {
namespace {

// hz / divisor rounded half away from zero (the shown frequency is never negative here).
qint64 roundedDiv(qint64 hz, qint64 divisor) {
    return (hz + divisor / 2) / divisor;
}

qint64 signalOf(const FinishInput& in) {
    const bool lsb = in.modeText == QLatin1String("LSB");
    const bool usb = in.modeText == QLatin1String("USB");
    switch (in.family) {
    case Family::Ft1000mp: {
        const bool lower = lsb || in.modeText == in.dataModeText || in.modeText == QLatin1String("PKT");
        if (lower && !in.sstv) return in.dialHz - in.audioOffsetHz;
        return usb ? in.dialHz + in.audioOffsetHz : in.dialHz;
    }
    case Family::Kenwood:
        if (lsb && !in.sstv) return in.dialHz - in.audioOffsetHz + in.clarifierSteps;
        return usb ? in.dialHz + in.audioOffsetHz + in.clarifierSteps : in.dialHz;
    default:
        if (lsb && !in.sstv) return in.dialHz - in.audioOffsetHz;
        return usb ? in.dialHz + in.audioOffsetHz : in.dialHz;
    }
}

} // namespace

Finished finishReading(const FinishInput& in) {
    Finished f;
    f.signalHz = signalOf(in);
    const qint64 dialShown = in.family == Family::Kenwood ? in.dialHz + in.clarifierSteps : in.dialHz;
    f.shownHz = in.modeCheckOn && !in.sstv ? f.signalHz : dialShown;
    f.show = f.shownHz > 0;
    if (f.show) {
        f.freqText = formatMHz3(f.shownHz);
        f.labelText = formatFreqLabel(f.shownHz, traits(in.family).labelDecimals);
    }
    return f;
}

QString formatMHz3(qint64 hz) {
    const qint64 khz = roundedDiv(hz, 1000);
    return QStringLiteral("%1.%2").arg(khz / 1000).arg(khz % 1000, 3, 10, QLatin1Char('0'));
}

QString formatFreqLabel(qint64 hz, int decimals) {
    const qint64 step = decimals == 5 ? 10 : 1;
    const qint64 perMHz = 1000000 / step;
    const qint64 units = roundedDiv(hz, step);
    const qint64 frac = units % perMHz;
    const int tailWidth = decimals - 3;
    const qint64 tailDiv = decimals == 5 ? 100 : 1000;
    return QStringLiteral("%1.%2.%3")
        .arg(units / perMHz)
        .arg(frac / tailDiv, 3, 10, QLatin1Char('0'))
        .arg(frac % tailDiv, tailWidth, 10, QLatin1Char('0'));
}

} // namespace rig
