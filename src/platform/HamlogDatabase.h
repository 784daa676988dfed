#pragma once
// The SQLite store behind the logging library: one database file per log, one
// row per QSO numbered from 1, an index on the call sign. Every write is one
// transaction; the journal is written ahead and synced, so a killed program or
// a power cut loses at most the write in progress.
#include "platform/HamlogRecord.h"

#include <QString>
#include <optional>

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
    // First record of exactly this call, 0 = none.
    int firstOfCall(const QString& call);
    // The entry after (call, recNo) in call-index order; nullopt at the end.
    struct IndexEntry {
        QString call;
        int recNo;
    };
    std::optional<IndexEntry> nextInCallOrder(const QString& call, int recNo);

  private:
    bool exec(const char* sql);
    bool prepareAll();
    bool insert(const QsoRecord& record, int recNo);
    void finalizeAll();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* count_ = nullptr;
    sqlite3_stmt* read_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* update_ = nullptr;
    sqlite3_stmt* firstOfCall_ = nullptr;
    sqlite3_stmt* nextSameCall_ = nullptr;
    sqlite3_stmt* nextCall_ = nullptr;
};

} // namespace hamlog
