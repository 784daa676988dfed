#include "platform/hamlog/Hamlog.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/hamlog/HamlogDatabase.h"
#include "platform/hamlog/HamlogMaster.h"
#include "platform/os/Cp932.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <pthread.h>
#include <sys/stat.h>

namespace hamlog {

namespace {

constexpr int kDefaultVersion = 0x50300;
int thdllVersion = kDefaultVersion;

struct FileStamp {
    dev_t dev = 0;
    ino_t ino = 0;
    qint64 ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

struct OpenLog {
    QString file;
    std::unique_ptr<LogDatabase> log;
    // The file's stamp when a kept connection was taken up: it still holds at
    // the close when this side wrote nothing meanwhile.
    std::optional<FileStamp> stamp;
};

// The logs open in this process, by the id kept in their handles. Ids are never
// reused, so a handle copied before a close cannot reach a later log.
std::map<quint64, OpenLog>& openLogs() {
    static std::map<quint64, OpenLog> logs;
    return logs;
}
quint64 lastOpenId = 0;

// Connections of closed logs, kept for the next open of the same file: an open
// of a large log costs far more than a look-up. An entry serves only the very
// file it was opened on, unchanged since (a file replaced or rewritten behind
// our back is opened afresh), and only in the process that opened it.
struct Idle {
    QString file;
    FileStamp stamp;
    std::unique_ptr<LogDatabase> log;
};
constexpr std::size_t kIdleKept = 4;
// Set in a forked child, which must not touch its parent's connections.
bool forkedSinceKept = false;
std::vector<Idle>& idleLogs() {
    static std::vector<Idle> idle;
    [[maybe_unused]] static const int watch =
        pthread_atfork(nullptr, nullptr, [] { forkedSinceKept = true; });
    if (forkedSinceKept) {
        // Leave them be.
        for (Idle& i : idle)
            (void)i.log.release();
        idle.clear();
        forkedSinceKept = false;
    }
    return idle;
}

std::optional<FileStamp> stampOf(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0) return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, qint64{st.st_ctim.tv_sec} * 1'000'000'000 + st.st_ctim.tv_nsec};
}

std::unique_ptr<LogDatabase> takeIdle(const QString& file, const FileStamp& stamp) {
    std::vector<Idle>& idle = idleLogs();
    for (auto it = idle.begin(); it != idle.end(); ++it) {
        if (it->file != file) continue;
        std::unique_ptr<LogDatabase> log = it->stamp == stamp ? std::move(it->log) : nullptr;
        idle.erase(it);
        return log;
    }
    return nullptr;
}

void keepIdle(const QString& file, std::optional<FileStamp> known, std::unique_ptr<LogDatabase> log) {
    const auto stamp = known ? known : stampOf(file);
    if (!stamp) return;
    std::vector<Idle>& idle = idleLogs();
    takeIdle(file, *stamp);
    if (idle.size() >= kIdleKept) idle.erase(idle.begin());
    idle.push_back({file, *stamp, std::move(log)});
}

// The log last found by its id: the reads of a look-up ask for the same one
// again and again.
struct Found {
    quint64 openId = 0;
    LogDatabase* log = nullptr;
} lastFound;

LogDatabase* logOf(const HamlogHandle& handle) {
    if (handle.openId != 0 && handle.openId == lastFound.openId) return lastFound.log;
    const auto it = openLogs().find(handle.openId);
    if (it == openLogs().end()) return nullptr;
    lastFound = {handle.openId, it->second.log.get()};
    return lastFound.log;
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

int sjisLength(const QString& text) {
    return isAscii(text) ? static_cast<int>(text.size()) : cp932::byteLength(text);
}

// A field as the record keeps it: at most `width` Shift-JIS bytes, never half a
// double-byte character, without the blank padding.
QString fitBytes(const QString& text, int width) {
    QString fitted = isAscii(text) || sjisLength(text) <= width
                         ? text.left(isAscii(text) ? width : text.size())
                         : cp932::leftBytes(text, width);
    while (fitted.endsWith(QLatin1Char(' ')))
        fitted.chop(1);
    return fitted;
}

// The field fitted and padded with blanks to its width in bytes.
QString fieldText(const QString& text, int width) {
    const QString fitted = fitBytes(text, width);
    return fitted + QString(std::max(0, width - sjisLength(fitted)), QLatin1Char(' '));
}

// The same into the caller's buffer. The look-ups read every field of every
// QSO they list into a buffer kept from the last one: a field that fits (as
// every field stored through the library does) is measured once and copied
// into the buffer's own memory, with no new text made on the way.
void putFieldText(QString& buffer, const QString& text, int width) {
    // ASCII text, as most fields are, has a byte for each character.
    char16_t bits = 0;
    for (const QChar c : text)
        bits |= c.unicode();
    const int bytes = bits < 0x80 ? static_cast<int>(text.size()) : cp932::byteLength(text);
    if (bytes > width) {
        buffer = fieldText(text, width);
        return;
    }
    const qsizetype chars = text.size();
    buffer.resize(chars + (width - bytes));
    QChar* out = buffer.data();
    std::copy(text.cbegin(), text.cend(), out);
    std::fill(out + chars, out + buffer.size(), QLatin1Char(' '));
}

QString logFile(const QString& dataPath) {
    const QString upper = dataPath + QStringLiteral(".HDB");
    const QString lower = dataPath + QStringLiteral(".hdb");
    return !QFile::exists(upper) && QFile::exists(lower) ? lower : upper;
}

void forgetCurrent(HamlogHandle& handle) {
    handle.currentRecNo = 0;
    blankRecord(handle.current);
}

// The record to write: staged fields, the rest from `base`.
QsoRecord takeStaged(HamlogHandle& handle, const QsoRecord& base) {
    QsoRecord record = base;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        if (handle.stagedSet[i]) *record.field(kFields[i].no) = *handle.staged.field(kFields[i].no);
    handle.stagedSet = {};
    return record;
}

bool operatorAgrees(const QString& question, const QsoRecord& record) {
    const QString prompt = question + QStringLiteral("\r\n") + record.CALL.trimmed();
    return ui::msgBox(prompt, ui::YesNo | ui::Question) == ui::Yes;
}

} // namespace

int HamlogOpen(int, HamlogHandle& handle, const QString& dataPath, int) {
    HamlogClose(handle, 0);
    // The log file as logFile() names it, with one look at the disk.
    QString file = dataPath + QStringLiteral(".HDB");
    auto stamp = stampOf(file);
    if (!stamp) {
        const QString lower = dataPath + QStringLiteral(".hdb");
        if (const auto lowerStamp = stampOf(lower)) {
            file = lower;
            stamp = lowerStamp;
        }
    }
    if (!stamp) {
        takeIdle(file, {});
        return NoSuchLog;
    }
    std::unique_ptr<LogDatabase> log = takeIdle(file, *stamp);
    const bool kept = log != nullptr;
    if (!log) {
        log = std::make_unique<LogDatabase>();
        switch (log->open(file, false)) {
        case LogDatabase::OpenResult::Missing:
            return NoSuchLog;
        case LogDatabase::OpenResult::NotALog:
            return NotALog;
        case LogDatabase::OpenResult::Opened:
            break;
        }
    }
    rebuildMissingMasterIndexes(dataPath);
    // Nothing of before is current, staged or walked; the handle's record
    // memory stays for the fields the next reads write into it.
    handle.openId = ++lastOpenId;
    handle.currentRecNo = 0;
    handle.stagedSet = {};
    handle.walkRecNo = 0;
    openLogs()[handle.openId] = {file, std::move(log), kept ? stamp : std::nullopt};
    return Done;
}

int HamlogClose(HamlogHandle& handle, int) {
    const auto it = openLogs().find(handle.openId);
    const bool wasOpen = it != openLogs().end();
    if (wasOpen) {
        if (lastFound.openId == handle.openId) lastFound = {};
        OpenLog open = std::move(it->second);
        openLogs().erase(it);
        const bool wrote = open.log->settle();
        keepIdle(open.file, wrote ? std::nullopt : open.stamp, std::move(open.log));
    }
    handle.openId = 0;
    handle.walkRecNo = 0;
    return wasOpen ? Done : NotOpen;
}

int SetQsoOrMaster(int which) {
    return which == 1 ? Done : Unsupported;
}

int Vdbf_rcount(HamlogHandle& handle) {
    LogDatabase* log = logOf(handle);
    return log ? log->count() : NotOpen;
}

int THW_read(HamlogHandle& handle, int recNo, int) {
    LogDatabase* log = logOf(handle);
    // The record the call-index walk stands on comes from the walk's own query.
    if (log && recNo > 0 && log->walkingAt(recNo) && log->readWalkRow(handle.current)) {
        handle.currentRecNo = recNo;
        return Done;
    }
    forgetCurrent(handle);
    if (!log) return NotOpen;
    if (recNo < 1 || !log->read(recNo, handle.current)) {
        forgetCurrent(handle);
        return NoSuchRecord;
    }
    handle.currentRecNo = recNo;
    return Done;
}

int ThwString(QString& buffer, HamlogHandle& handle, int field) {
    const bool hasCurrent = logOf(handle) && handle.currentRecNo > 0;
    if (field == FieldRecNo) {
        buffer = fitChars(hasCurrent ? QString::number(handle.currentRecNo) : QString(), 32);
        return hasCurrent ? handle.currentRecNo : 0;
    }
    const FieldSlot* slot = fieldSlot(field);
    if (!slot) return BadField;
    if (!hasCurrent) {
        buffer = QString(slot->width, QLatin1Char(' '));
        return NoSuchRecord;
    }
    putFieldText(buffer, handle.current.*slot->member, slot->width);
    return Done;
}

int SetThBuffer(HamlogHandle& handle, const QString& text, int field) {
    if (!logOf(handle)) return NotOpen;
    const int index = fieldIndex(field);
    if (index < 0) return BadField;
    *handle.staged.field(field) = fitBytes(text, fieldWidth(field));
    handle.stagedSet[static_cast<std::size_t>(index)] = true;
    return Done;
}

int THW_append(HamlogHandle& handle, int, int confirm) {
    LogDatabase* log = logOf(handle);
    if (!log) return NotOpen;
    QsoRecord empty;
    const QsoRecord record = takeStaged(handle, empty);
    if (confirm == 1 && !operatorAgrees(QStringLiteral("このQSOをログに登録しますか？"), record)) return Done;
    return log->append(record) > 0 ? Done : StoreFailed;
}

int THW_update(HamlogHandle& handle, const HamlogHandle&, int recNo, int, int flag) {
    LogDatabase* log = logOf(handle);
    if (!log) return NotOpen;
    QsoRecord stored;
    if (recNo < 1 || !log->read(recNo, stored)) {
        handle.stagedSet = {};
        return NoSuchRecord;
    }
    const QsoRecord record = takeStaged(handle, stored);
    if (flag == 0 && !operatorAgrees(QStringLiteral("このQSOのログを書き換えますか？"), record))
        return Declined;
    return log->update(recNo, record) ? Done : StoreFailed;
}

int QSL_Send(HamlogHandle& handle, int recNo, int mark) {
    LogDatabase* log = logOf(handle);
    if (!log) return NotOpen;
    QsoRecord stored;
    if (recNo < 1 || !log->read(recNo, stored)) return NoSuchRecord;
    if (mark < 0x20 || mark > 0x7E) return BadField;
    QString qsl = stored.QSL.leftJustified(fieldWidth(FieldQsl), QLatin1Char(' '));
    qsl[1] = QChar(mark);
    stored.QSL = qsl;
    return log->update(recNo, stored) ? Done : StoreFailed;
}

int GetThdllVersion() {
    return thdllVersion;
}

void setThdllVersionForTest(int version) {
    thdllVersion = version;
}

namespace {

// The step of the call-index walk just made: the record it stands on, 0 = none.
int walkTo(HamlogHandle& handle, bool found, int recNo) {
    handle.walkRecNo = found ? recNo : 0;
    return handle.walkRecNo;
}

} // namespace

int Vidx_search(HamlogHandle& handle, const QString& call, int) {
    handle.walkRecNo = 0;
    LogDatabase* log = logOf(handle);
    if (!log) return 0;
    QString key = call;
    key.remove(QChar(0));
    // As an ordered index places: on the first call at or after the text
    // asked, which holds when that call begins with it.
    key = fitBytes(key, fieldWidth(FieldCall)).trimmed();
    int recNo = 0;
    if (key.isEmpty() || !log->walkFrom(key, 0, recNo, handle.walkCall) || !handle.walkCall.startsWith(key)) {
        log->endWalk();
        return 0;
    }
    return walkTo(handle, true, recNo);
}

int Vidx_next(HamlogHandle& handle, int) {
    LogDatabase* log = logOf(handle);
    if (!log || handle.walkRecNo == 0) return 0;
    int recNo = 0;
    // A write or a count on the way ended the pass: it goes on where it was
    // (from a copy of the call, as the step rewrites the row it came from).
    const bool found =
        log->walking() ? log->walkNext(recNo, handle.walkCall)
                       : log->walkFrom(QString(handle.walkCall), handle.walkRecNo, recNo, handle.walkCall);
    return walkTo(handle, found, recNo);
}

bool createLog(const QString& dataPath) {
    LogDatabase log;
    return log.open(logFile(dataPath), true) == LogDatabase::OpenResult::Opened;
}

bool appendRecords(const QString& dataPath, const std::vector<QsoRecord>& records) {
    LogDatabase log;
    if (log.open(logFile(dataPath), false) != LogDatabase::OpenResult::Opened) return false;
    std::vector<QsoRecord> fitted = records;
    for (QsoRecord& record : fitted)
        for (const FieldSpec& f : kFields)
            *record.field(f.no) = fitBytes(*record.field(f.no), f.width);
    return log.appendAll(fitted);
}

} // namespace hamlog
