#pragma once
// A picked spot handed to the logging program's window: its entry cleared,
// then the call sign, the mode and the frequency, and the entry brought
// forward with its cursor moved on from the call sign.
#include <QList>
#include <QString>

namespace spots {

struct HamlogSpotItem {
    quint32 code;
    QString text;
};
// The items that fill the entry, in order, up to (not including) the entry
// check and the second frequency: the fifteen that clear it, the call sign,
// field 1, field 14 (not when "NOR"), field 8 and the mode (not when empty)
// and the frequency.
QList<HamlogSpotItem> spotHamlogItems(const QString& call, const QString& field1, const QString& field14,
                                      const QString& freq, const QString& field8, const QString& mode);

// Fills the logging program's entry from the spot. Without the program's
// window the operator is told; any later failure ends the hand-off quietly.
void SendSpotToHamlog(const QString& call, const QString& field1, const QString& field14, const QString& freq,
                      const QString& field8, const QString& mode);

} // namespace spots
