#include "settings/dialogs/MmvariDialogValues.h"

#include "terminal/displays/TuningMath.h"

#include <algorithm>
#include <cmath>

namespace settings {

namespace {

using terminal::displays::nearest;

constexpr double kLimitHz = 99.99;

int hundredths(double hz) {
    return nearest(hz * 100.0);
}

} // namespace

int offsetScrollValue(const std::optional<QString>& stored) {
    if (!stored) return 0;
    bool ok = false;
    const double hz = stored->trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(hz) || hz < -kLimitHz || hz > kLimitHz) return 0;
    return hundredths(hz);
}

QString offsetText(double hz) {
    const QString t = QString::number(hz, 'f', 2);
    return t == QLatin1String("-0.00") ? QStringLiteral("0.00") : t;
}

QString mmvariPpmText(double hz) {
    return QString::number(nearest(hz * 90.7)) + QStringLiteral("ppm");
}

int measuredOffsetScrollValue(double txOffsetHz, const QString& reading) {
    bool ok = false;
    double ppm = reading.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(ppm)) ppm = 0.0;
    // Limited before rounding, so that a wild reading cannot overflow.
    return hundredths(std::clamp(txOffsetHz - ppm / 90.0, -kLimitHz, kLimitHz));
}

int offsetStep(int option) {
    static constexpr int steps[] = {1, 10, 100};
    return option >= 0 && option < 3 ? steps[option] : 1;
}

} // namespace settings
