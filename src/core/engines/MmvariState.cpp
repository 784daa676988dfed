#include "core/engines/MmvariState.h"

#include <cmath>

namespace mmvstate {

Globals g;

double OffsetFromStored(const QString& stored) {
    bool ok = false;
    const double v = stored.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return 0.0;
    return std::round(v * 100.0) / 100.0;
}

QString CwIdForControl(QString text) {
    text.replace(QLatin1Char('*'), QLatin1Char(':'));
    text.replace(QLatin1Char('+'), QLatin1Char(';'));
    return text;
}

QString ErrorText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("受信サウンドが欠落しました");
    case 2:
        return QStringLiteral("送信サウンドが欠落しました");
    case 3:
        return QStringLiteral("サウンドカードがオープンできませんでした");
    case 4:
        return QStringLiteral("COM回線がオープンできませんでした");
    default:
        return {};
    }
}

} // namespace mmvstate
