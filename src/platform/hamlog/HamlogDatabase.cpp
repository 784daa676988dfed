#include "platform/hamlog/HamlogDatabase.h"

#include <QFile>
#include <QStringDecoder>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hamlog {

namespace {

// Marks a database as one of our logs, so that no other file is taken for one.
constexpr int kApplicationId = 0x5A56484C;

const char* const kSchema = "CREATE TABLE qso ("
                            " recno INTEGER PRIMARY KEY,"
                            " call TEXT NOT NULL, date TEXT NOT NULL, time TEXT NOT NULL,"
                            " his TEXT NOT NULL, my TEXT NOT NULL, freq TEXT NOT NULL,"
                            " mode TEXT NOT NULL, code TEXT NOT NULL, gl TEXT NOT NULL,"
                            " qsl TEXT NOT NULL, name TEXT NOT NULL, qth TEXT NOT NULL,"
                            " rem1 TEXT NOT NULL, rem2 TEXT NOT NULL, flag TEXT NOT NULL);"
                            "PRAGMA application_id = 1515604044;"
                            "PRAGMA user_version = 1;";
static_assert(kApplicationId == 1515604044);

// The call index carries every field, so that a look-up walks a call's QSOs
// in the index alone instead of seeking each of them in the table.
const char* const kCallIndex =
    "CREATE INDEX IF NOT EXISTS qso_call_rows ON qso(call, recno, date, time, his, my,"
    " freq, mode, code, gl, qsl, name, qth, rem1, rem2, flag)";

void bindText(sqlite3_stmt* s, int column, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(s, column, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// The column's text into `field`, decoded straight into the field's own
// memory (a UTF-8 text never has fewer bytes than UTF-16 units). Bytes that are
// no UTF-8 become U+FFFD, as QString::fromUtf8 makes them.
// The bytes are taken as a blob, through the column's value (one call into the
// statement instead of two): the text as the page holds it, where asking for it
// as text makes SQLite copy every field of every row to end it in a nul. The
// value is read at once, on the connection's only thread.
void takeColumnText(sqlite3_stmt* s, int column, QString& field) {
    sqlite3_value* value = sqlite3_column_value(s, column);
    const auto* text = static_cast<const char*>(sqlite3_value_blob(value));
    const int bytes = sqlite3_value_bytes(value);
    // Most fields keep their length from one QSO to the next.
    if (field.size() != bytes) field.resize(bytes);
    QChar* out = field.data();
    // Most fields are ASCII throughout; the rest is decoded from its first other byte.
    int ascii = 0;
    for (; ascii < bytes && static_cast<unsigned char>(text[ascii]) < 0x80; ++ascii)
        out[ascii] = QLatin1Char(text[ascii]);
    if (ascii == bytes) return;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar* end = utf8.appendToBuffer(out + ascii, QByteArrayView(text + ascii, bytes - ascii));
    field.resize(end - field.constData());
}

// Steps a statement that gives at most one row; true when it gave one.
bool stepRow(sqlite3_stmt* s) {
    return sqlite3_step(s) == SQLITE_ROW;
}

struct Reset {
    sqlite3_stmt* s;
    ~Reset() {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
};

int intQuery(sqlite3* db, const char* sql, bool& ok) {
    sqlite3_stmt* s = nullptr;
    ok = sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW;
    const int value = ok ? sqlite3_column_int(s, 0) : 0;
    sqlite3_finalize(s);
    return value;
}

// The write-ahead files take the log's permissions when they are made: made
// while the log was read-only they stay read-only after the log is writable
// again, and every write fails. A log we may write gets them writable too
// (the operator's own files; another user's are left as they are).
void matchCompanionPermissions(const QString& file) {
    if (::access(QFile::encodeName(file).constData(), W_OK) != 0) return;
    for (const char* suffix : {"-wal", "-shm"}) {
        const QByteArray companion = QFile::encodeName(file + QLatin1String(suffix));
        struct stat st {};
        if (::stat(companion.constData(), &st) != 0 || ::access(companion.constData(), W_OK) == 0) continue;
        if (st.st_uid == ::geteuid()) ::chmod(companion.constData(), (st.st_mode & 07777) | S_IWUSR);
    }
}

} // namespace

LogDatabase::~LogDatabase() {
    finalizeAll();
    sqlite3_close(db_);
}

void LogDatabase::finalizeAll() {
    for (sqlite3_stmt** s : {&count_, &read_, &insert_, &update_, &walkStart_, &walkAfter_}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    walk_ = nullptr;
}

bool LogDatabase::runSql(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

LogDatabase::OpenResult LogDatabase::open(const QString& file, bool create) {
    if (!create && !QFile::exists(file)) return OpenResult::Missing;
    // SQLite's memory statistics serve nothing here and cost a lock around
    // every allocation of every step; they can only be turned off before the
    // library's first use in the process.
    [[maybe_unused]] static const int noMemoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    // A connection is only ever used by the thread that opened it: it needs
    // no lock of its own around every call (every column of every QSO read).
    matchCompanionPermissions(file);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, flags, nullptr) != SQLITE_OK)
        return OpenResult::Missing;
    sqlite3_busy_timeout(db_, 5000);
    bool ok = false;
    const int tables = intQuery(db_, "SELECT count(*) FROM sqlite_master", ok);
    if (!ok) return OpenResult::NotALog;
    if (tables == 0) {
        // An empty file is a new log.
        if (!runSql("BEGIN IMMEDIATE") || !runSql(kSchema) || !runSql(kCallIndex) || !runSql("COMMIT"))
            return OpenResult::NotALog;
    } else if (intQuery(db_, "PRAGMA application_id", ok) != kApplicationId || !ok) {
        return OpenResult::NotALog;
    }
    runSql("PRAGMA journal_mode = WAL");
    upgradeCallIndex();
    runSql("PRAGMA synchronous = FULL");
    // Reads come from the mapped file instead of a copy per page and call:
    // a look-up touches a page or two of a large log for every QSO it lists.
    runSql("PRAGMA mmap_size = 1073741824");
    return prepareAll() ? OpenResult::Opened : OpenResult::NotALog;
}

// A log made when the call index held the call alone gets the index of every
// field in its place, once; a log that cannot be written keeps its old index.
void LogDatabase::upgradeCallIndex() {
    bool ok = false;
    const char* const has =
        "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = 'qso_call_rows'";
    if (intQuery(db_, has, ok) == 1 || !ok) return;
    if (!runSql("BEGIN IMMEDIATE")) return;
    if (runSql(kCallIndex) && runSql("DROP INDEX IF EXISTS qso_call") && runSql("COMMIT")) {
        written_ = true;
        return;
    }
    runSql("ROLLBACK");
}

bool LogDatabase::prepareAll() {
    const struct {
        sqlite3_stmt** stmt;
        const char* sql;
    } statements[] = {
        {&count_, "SELECT coalesce(max(recno), 0) FROM qso"},
        {&read_, "SELECT call, date, time, his, my, freq, mode, code, gl, qsl, name, qth, rem1, rem2, flag"
                 " FROM qso WHERE recno = ?1"},
        {&insert_, "INSERT INTO qso (recno, call, date, time, his, my, freq, mode, code, gl, qsl, name,"
                   " qth, rem1, rem2, flag) VALUES (?16, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11,"
                   " ?12, ?13, ?14, ?15)"},
        {&update_, "UPDATE qso SET call = ?1, date = ?2, time = ?3, his = ?4, my = ?5, freq = ?6,"
                   " mode = ?7, code = ?8, gl = ?9, qsl = ?10, name = ?11, qth = ?12, rem1 = ?13,"
                   " rem2 = ?14, flag = ?15 WHERE recno = ?16"},
        // A pass from a call's first record needs no comparison of the
        // record number on every step.
        {&walkStart_, "SELECT call, date, time, his, my, freq, mode, code, gl, qsl, name, qth, rem1, rem2,"
                      " flag, recno FROM qso WHERE call >= ?1 ORDER BY call, recno"},
        {&walkAfter_, "SELECT call, date, time, his, my, freq, mode, code, gl, qsl, name, qth, rem1, rem2,"
                      " flag, recno FROM qso WHERE (call, recno) > (?1, ?2) ORDER BY call, recno"},
    };
    for (const auto& st : statements)
        if (sqlite3_prepare_v3(db_, st.sql, -1, SQLITE_PREPARE_PERSISTENT, st.stmt, nullptr) != SQLITE_OK)
            return false;
    return true;
}

int LogDatabase::count() {
    endWalk();
    Reset r{count_};
    return stepRow(count_) ? sqlite3_column_int(count_, 0) : 0;
}

namespace {

void readFields(sqlite3_stmt* s, QsoRecord& record) {
    for (int i = 0; i < static_cast<int>(kFields.size()); ++i)
        takeColumnText(s, i, *record.field(kFields[i].no));
}

} // namespace

bool LogDatabase::read(int recNo, QsoRecord& record) {
    Reset r{read_};
    sqlite3_bind_int(read_, 1, recNo);
    if (!stepRow(read_)) return false;
    readFields(read_, record);
    return true;
}

bool LogDatabase::walkFrom(const QString& call, int after, int& recNo, QString& callOut) {
    endWalk();
    walk_ = after == 0 ? walkStart_ : walkAfter_;
    bindText(walk_, 1, call);
    if (after != 0) sqlite3_bind_int(walk_, 2, after);
    walking_ = true;
    return walkNext(recNo, callOut);
}

bool LogDatabase::walkNext(int& recNo, QString& callOut) {
    if (!walking_ || !stepRow(walk_)) {
        endWalk();
        return false;
    }
    takeColumnText(walk_, 0, callOut);
    recNo = walkRecNo_ = sqlite3_column_int(walk_, static_cast<int>(kFields.size()));
    return true;
}

bool LogDatabase::readWalkRow(QsoRecord& record) {
    if (!walking_) return false;
    readFields(walk_, record);
    return true;
}

bool LogDatabase::settle() {
    endWalk();
    if (!written_) return false;
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    written_ = false;
    return true;
}

void LogDatabase::endWalk() {
    walking_ = false;
    walkRecNo_ = 0;
    if (!walk_) return;
    sqlite3_reset(walk_);
    sqlite3_clear_bindings(walk_);
}

bool LogDatabase::insert(const QsoRecord& record, int recNo) {
    Reset r{insert_};
    for (int i = 0; i < static_cast<int>(kFields.size()); ++i)
        bindText(insert_, i + 1, *record.field(kFields[i].no));
    sqlite3_bind_int(insert_, 16, recNo);
    return sqlite3_step(insert_) == SQLITE_DONE;
}

int LogDatabase::append(const QsoRecord& record) {
    endWalk();
    written_ = true;
    if (!runSql("BEGIN IMMEDIATE")) return 0;
    const int recNo = count() + 1;
    if (insert(record, recNo) && runSql("COMMIT")) return recNo;
    runSql("ROLLBACK");
    return 0;
}

bool LogDatabase::appendAll(const std::vector<QsoRecord>& records) {
    endWalk();
    written_ = true;
    if (!runSql("BEGIN IMMEDIATE")) return false;
    int recNo = count();
    for (const QsoRecord& record : records) {
        if (!insert(record, ++recNo)) {
            runSql("ROLLBACK");
            return false;
        }
    }
    if (runSql("COMMIT")) return true;
    runSql("ROLLBACK");
    return false;
}

bool LogDatabase::update(int recNo, const QsoRecord& record) {
    endWalk();
    written_ = true;
    if (!runSql("BEGIN IMMEDIATE")) return false;
    bool ok = false;
    {
        Reset r{update_};
        for (int i = 0; i < static_cast<int>(kFields.size()); ++i)
            bindText(update_, i + 1, *record.field(kFields[i].no));
        sqlite3_bind_int(update_, 16, recNo);
        ok = sqlite3_step(update_) == SQLITE_DONE && sqlite3_changes(db_) == 1;
    }
    if (ok && runSql("COMMIT")) return true;
    runSql("ROLLBACK");
    return false;
}

} // namespace hamlog
