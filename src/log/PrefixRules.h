#pragma once
// The rules of the prefix look-up over the master data: which entry stands for
// which, which entries share the call's prefix, and where the band marks go.
#include "platform/hamlog/HamlogMaster.h"

#include <QList>
#include <QString>

namespace logbook {

struct Redirection {
    enum Kind { Stay, Search, Unknown } kind = Stay;
    QString code; // the code to look up in the code index (Search)
};

// An entry "732" is decided by the call-area digit (the call's character at
// matchLen): 1 and 3 to 6 are "733A", 8, 9 and 0 "732A", anything else (7, 2,
// none) no entity the master data knows. An entry with "_" as its 4th code
// character stands for the entry of its first three characters and "A".
Redirection redirectionOf(const QString& code, const QString& call, int matchLen);

// True for an entry that joins the list of the call's prefix: its prefix and
// area begin as the call does over matchLen characters, and it stands for no
// other entry.
bool sharesPrefix(const hamlog::MasterRecord& record, const QString& call, int matchLen);

// The home country's entries.
bool isHomeCountry(const QString& code);

// The columns marked for the set bits of a band byte, the lowest bit first,
// from col on. col and bits move on as the marks are written; at least one
// column is passed, so bits 0 only advances col by one.
QList<int> qslBitColumns(int& col, int& bits);

} // namespace logbook
