#pragma once
// The values of the MMVARI settings dialog, apart from its controls: the
// stored clock offsets as the scroll bars take them, their texts, and the end
// of the transmit-offset measurement.
#include <QString>
#include <optional>

namespace settings {

// A stored offset (TXoffset, RXoffset) in hundredths of a hertz: 0 when it is
// missing, no number, or beyond ±99.99.
int offsetScrollValue(const std::optional<QString>& stored);
// An offset in hertz as "#0.00".
QString offsetText(double hz);
// The ppm of a transmit offset at 11025 Hz: × 90.7, rounded, followed by "ppm".
QString mmvariPpmText(double hz);
// The measurement's end: the offset less the reading (ppm) over 90, two
// decimals, kept within ±99.99, in hundredths of a hertz. A reading that is
// no number counts 0.
int measuredOffsetScrollValue(double txOffsetHz, const QString& reading);
// The scroll step of the option chosen: x0.01, x0.10, x1.00.
int offsetStep(int option);

} // namespace settings
