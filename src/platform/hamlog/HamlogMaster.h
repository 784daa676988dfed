#pragma once
// The logging program's master data beside a log: the record file ".mst" (one
// entry per DX entity and per Japanese city, county, ward, town and village)
// and its two indexes, ".dx2" by code and ".dx4" by kind and initial or prefix.
//
// The record file is a sequence of fixed 56-byte records, text in Shift-JIS;
// record n (from 1) starts at byte 56 * n + 234. The index files are ours
// (a first line naming the index, then one "key<TAB>record number" line per
// entry, UTF-8); the library reads them (idx_open in Hamlog.h) and rebuilds
// them from the record file whenever they are missing.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>
#include <vector>

namespace hamlog {

struct MasterRecord {
    QString Code;   // 6 bytes
    QString Name;   // 34 bytes
    QString Kind;   // 1: "3" DX entity, "4" city, "5" county, "6" ward, "7" town, "8" village
    QString Prefix; // 2 bytes; its first character is the initial
    QString Area;   // 1: call-area digit
    int ConfirmedBits1 = 0, ConfirmedBits2 = 0, WorkedBits1 = 0, WorkedBits2 = 0;
    int LongitudeDeg = 0;   // whole degrees
    int LongitudeFlags = 0; // 128 or more: west
};

inline constexpr int kMasterRecordSize = 56;
constexpr qint64 masterRecordOffset(int recNo) {
    return qint64{kMasterRecordSize} * recNo + 234;
}

// "<data path>.mst", ".dx2", ".dx4": the files beside the log "<data path>.HDB".
QString masterFile(const QString& dataPath, const char* extension);

QByteArray encodeMasterRecord(const MasterRecord& record);
// Text fields as read, blank padding included.
MasterRecord decodeMasterRecord(const QByteArray& bytes);

// Record recNo of an open record file; nothing below 1 or past the end.
std::optional<MasterRecord> readMasterRecord(QIODevice& file, int recNo);
std::optional<MasterRecord> readMasterRecord(const QString& mstPath, int recNo);

bool writeMasterFile(const QString& mstPath, const std::vector<MasterRecord>& records);
// Writes ".dx2" and ".dx4" from ".mst"; false when the record file cannot be read.
bool writeMasterIndexes(const QString& dataPath);
// Rebuilds whichever index is missing, when the record file is there.
void rebuildMissingMasterIndexes(const QString& dataPath);

// The index keys of a record: its code, and its kind, prefix and area.
QString codeKey(const MasterRecord& record);
QString initialKey(const MasterRecord& record);

} // namespace hamlog
