#pragma once
// The main window's CW identification list (Combo1 in Frame2): entry 0 is
// "DE " + own call once a CW ID is stored, the entries after it are [PSKCFG]
// MESG1..MESGn with MSG_CNT = n.
// Picking an entry chooses it; typing makes the typed text the CW ID; Enter adds
// the typed text as a new entry, or with an empty text deletes the entry picked last.
#include <QString>

class PSK31MAIN;

namespace terminal::macros {

// The item data of the own call's entry, which the list has only once a CW ID is stored.
inline const QString CwIdOwnCallEntry = QStringLiteral("own call");

void Combo1_Click(int index);
void Combo1_Change(const QString& text);
void Combo1_Enter();
// Leaving the box says what of the typed text the settings cannot hold.
void Combo1_Leave();
void connectCwIdCombo(PSK31MAIN& w);

} // namespace terminal::macros
