#pragma once
// The folder of transmit pictures, kept in TxBmpFolder and stored as TXbmpFol
// of BMP_POS; the SSTV window's picture dialogs and the picture library share it.
#include <QString>

namespace sstv {

// Reads the stored folder into TxBmpFolder (the program folder when none is
// stored) and returns it.
QString ReadTxBmpFolder();
// Makes the folder TxBmpFolder and stores it; one the settings cannot name
// is said once and used while the window is up.
void StoreTxBmpFolder(const QString& folder);
// The same folder, written either way.
bool SameFolder(const QString& a, const QString& b);

} // namespace sstv
