#pragma once
// The logging program's libraries, as the log code of the system calls them:
// the QSO log (open, count, read, stage, append, update, call-index walk) and
// the master data indexes. Each log is one SQLite database; the master data is
// the record file and two index files beside it (HamlogMaster.h).
//
// What callers rely on:
// - A log is the file "<data path>.HDB" (the settings' database path less its
//   ".HDB", as the system passes it). An open fails when the file is missing or
//   is no log of ours; nothing is then written into it.
// - Records are numbered 1 to the count and keep their numbers: nothing deletes.
// - Every write is one transaction: a program killed in the middle of a write
//   leaves the log as it was before the write, with every earlier QSO.
// - Results: 0 = done; any other value = failure (the HamlogResult codes).
//   Every call on a closed handle fails and changes nothing.
// - A failed read leaves no record current: the fields then read back blank and
//   field 27 gives 0, never the previous record.
// - Field widths count Shift-JIS bytes, as the record of the logging program
//   does: a field keeps at most its width in bytes and is cut before a
//   double-byte character that would not fit whole; ThwString gives the field
//   padded with blanks to its width in bytes.
// - A closed log's connection is kept for the next open of the same file; an
//   open still fails for a file gone and reads a file replaced on disk afresh,
//   and what another program stored in the log is seen at once.
// - The call index lives inside the log and is kept by every write. The index
//   files beside the log (".dx2", ".dx4") are the master data's; an open
//   rebuilds any that are missing from the master record file.
// Text crosses this boundary as QString; the byte widths above are those the
// text has in Shift-JIS.
#include "platform/hamlog/HamlogRecord.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace hamlog {

enum HamlogResult : int {
    Done = 0,
    NotOpen = -1,
    NoSuchLog = -2,
    NotALog = -3,
    NoSuchRecord = -4,
    BadField = -5,
    StoreFailed = -6,
    Declined = -7,
    NoIndex = -8,
    Unsupported = -9,
};

// The open-log handle record. The system only keeps it and passes it; a copy
// (the shown record's handle) is a snapshot that stays valid as a value but no
// longer reaches the log once the log it came from is closed.
struct HamlogHandle {
    quint64 openId = 0;   // 0 = closed
    int currentRecNo = 0; // record made current by THW_read, 0 = none
    QsoRecord current;    // its fields, as stored
    std::array<bool, kFields.size()> stagedSet{};
    QsoRecord staged;  // fields staged by SetThBuffer for the next write
    int walkRecNo = 0; // record of the last Vidx_search/Vidx_next, 0 = no walk
    QString walkCall;  // its call, read with it
};

int HamlogOpen(int reserved, HamlogHandle& handle, const QString& dataPath, int mode);
int HamlogClose(HamlogHandle& handle, int reserved);
// 1 selects the QSO database, the only kind this side opens; other values fail.
int SetQsoOrMaster(int which);
// Number of records; -1 on a closed handle.
int Vdbf_rcount(HamlogHandle& handle);
int THW_read(HamlogHandle& handle, int recNo, int mode);
// Buffer := field `field` of the current record; for field 27 the result is the
// record number (0 when no record is current) and Buffer its 32-character text.
int ThwString(QString& buffer, HamlogHandle& handle, int field);
int SetThBuffer(HamlogHandle& handle, const QString& text, int field);
// confirm 1 asks the operator first; a declined append stores nothing and gives 0.
int THW_append(HamlogHandle& handle, int mode, int confirm);
// flag 0 asks the operator first, 17 does not; a declined update gives Declined
// so that the caller keeps the operator's edits. Fields not staged since the
// last write keep what the record holds.
int THW_update(HamlogHandle& handle, const HamlogHandle& shown, int recNo, int mode, int flag);
// Marks record recNo's QSL card as sent: the second character of its QSL field
// becomes the character with the code `mark`. One write, like an update.
int QSL_Send(HamlogHandle& handle, int recNo, int mark);
int GetThdllVersion();
void setThdllVersionForTest(int version);
// The first record, in call order, whose call begins with the text asked (a
// portable form of a call follows the call itself), 0 = none; Vidx_next walks
// on in call order (call, then record number) to the end of the index, 0 there.
int Vidx_search(HamlogHandle& handle, const QString& call, int mode);
int Vidx_next(HamlogHandle& handle, int mode);

// A master data index, opened from its file. One entry per master record.
struct MasterIndex {
    struct Entry {
        QString key;
        int recNo;
    };
    std::shared_ptr<const std::vector<Entry>> entries; // null = closed
    bool byInitial = false;                            // the ".dx4" index of kind and initial
    int pos = -1;                                      // entry of the last search or next
};

int idx_open(const QString& fileName, MasterIndex& index);
// The entries of an index file's bytes, sorted by key; null for bytes that are
// no index (another first line, or a line without a tab and a record number).
std::shared_ptr<std::vector<MasterIndex::Entry>> parseMasterIndex(const QByteArray& bytes, bool& byInitial);
// Record number of the key, 0 = none. keyLength > 0: the key's first keyLength
// characters must match whole (a code). keyLength 0: the key must match whole,
// except that in the initial index a key of kind 4 to 8 also matches every
// entry that begins with it (an initial without an area finds every area).
int idx_search(MasterIndex& index, const QString& key, int keyLength);
// Next record number in index order, 0 at the end.
int idx_next(MasterIndex& index);
int idx_close(MasterIndex& index);

// Creates an empty log "<dataPath>.HDB" when there is none; true when a log is there.
bool createLog(const QString& dataPath);
// Appends the records in one transaction (demo set-up and benchmark logs);
// fields are fitted as SetThBuffer fits them. False when nothing was stored.
bool appendRecords(const QString& dataPath, const std::vector<QsoRecord>& records);

} // namespace hamlog
