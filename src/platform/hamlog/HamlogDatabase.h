#pragma once
// The SQLite store behind the logging library: one database file per log, one
// row per QSO numbered from 1, an index on the call sign that carries every
// field (a look-up reads a call's QSOs from the index alone). Every write is
// one transaction; the journal is written ahead and synced, so a killed
// program or a power cut loses at most the write in progress.
#include "platform/hamlog/HamlogRecord.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace hamlog {

class LogDatabase {
  public:
    enum class OpenResult { Opened, Missing, NotALog };

    LogDatabase() = default;
    ~LogDatabase();
    LogDatabase(const LogDatabase&) = delete;
    LogDatabase& operator=(const LogDatabase&) = delete;

    // create: make the file when it is missing.
    OpenResult open(const QString& file, bool create);
    int count();
    bool read(int recNo, QsoRecord& record);
    // Number of the new record, 0 when the store failed.
    int append(const QsoRecord& record);
    bool appendAll(const std::vector<QsoRecord>& records);
    bool update(int recNo, const QsoRecord& record);
    // One pass over the call index from the first call at or after `call`, in
    // call order: a look-up reads all of a call's QSOs in one query and one read
    // transaction. The pass holds its read transaction until it ends, so every
    // write and count ends it first.
    // A step gives the record's number and call only (into `callOut`, in the
    // memory it already holds); readWalkRow then takes the whole record from
    // where the pass stands, so that the record after a call's last QSO, which
    // a look-up only looks at to stop, is never read whole.
    // The pass starts after (call, after); after 0 starts at the call's first record.
    bool walkFrom(const QString& call, int after, int& recNo, QString& callOut);
    // False at the end of the index or when no pass is under way.
    bool walkNext(int& recNo, QString& callOut);
    // True while a pass stands on record recNo.
    bool walkingAt(int recNo) const { return walking_ && recNo == walkRecNo_; }
    // The record the pass stands on into `record`, in the memory its fields
    // already hold; false when no pass is under way.
    bool readWalkRow(QsoRecord& record);
    void endWalk();
    bool walking() const { return walking_; }
    // Moves what was written since into the log file itself, so that the closed
    // log is whole in one file even while its connection is kept; true when
    // there was anything to move.
    bool settle();

  private:
    bool runSql(const char* sql);
    bool prepareAll();
    void upgradeCallIndex();
    bool insert(const QsoRecord& record, int recNo);
    void finalizeAll();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* count_ = nullptr;
    sqlite3_stmt* read_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* update_ = nullptr;
    sqlite3_stmt* walkStart_ = nullptr;
    sqlite3_stmt* walkAfter_ = nullptr;
    sqlite3_stmt* walk_ = nullptr; // the pass under way: walkStart_ or walkAfter_
    bool walking_ = false;
    int walkRecNo_ = 0;
    bool written_ = false;
};

} // namespace hamlog
