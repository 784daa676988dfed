#include "platform/hamlog/HamlogMaster.h"

#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"

#include <QFile>
#include <algorithm>

namespace hamlog {

namespace {

// Byte layout of one record: offset and width of each text field.
struct TextSlot {
    QString MasterRecord::*field;
    int offset;
    int width;
};
const TextSlot kTextSlots[] = {
    {&MasterRecord::Code, 0, 6},    {&MasterRecord::Name, 6, 34}, {&MasterRecord::Kind, 40, 1},
    {&MasterRecord::Prefix, 41, 2}, {&MasterRecord::Area, 43, 1},
};
struct ByteSlot {
    int MasterRecord::*field;
    int offset;
};
const ByteSlot kByteSlots[] = {
    {&MasterRecord::ConfirmedBits1, 45}, {&MasterRecord::ConfirmedBits2, 46},
    {&MasterRecord::WorkedBits1, 47},    {&MasterRecord::WorkedBits2, 48},
    {&MasterRecord::LongitudeDeg, 52},   {&MasterRecord::LongitudeFlags, 54},
};

constexpr int kHeaderSize = 290;

QByteArray fixedText(const QString& text, int width) {
    QByteArray bytes = cp932::encode(cp932::leftBytes(text, width));
    return bytes.leftJustified(width, ' ');
}

struct IndexLine {
    QString key;
    int recNo;
};

bool writeIndex(const QString& path, const char* name, std::vector<IndexLine> lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const IndexLine& a, const IndexLine& b) {
        return a.key < b.key || (a.key == b.key && a.recNo < b.recNo);
    });
    QByteArray bytes = QByteArray("ZVIDX1 ") + name + '\n';
    for (const IndexLine& line : lines)
        bytes += line.key.toUtf8() + '\t' + QByteArray::number(line.recNo) + '\n';
    return files::replaceWhole(path, bytes);
}

} // namespace

QString masterFile(const QString& dataPath, const char* extension) {
    return dataPath + QLatin1Char('.') + QLatin1String(extension);
}

QByteArray encodeMasterRecord(const MasterRecord& record) {
    QByteArray bytes(kMasterRecordSize, '\0');
    for (const TextSlot& slot : kTextSlots)
        bytes.replace(slot.offset, slot.width, fixedText(record.*slot.field, slot.width));
    for (const ByteSlot& slot : kByteSlots)
        bytes[slot.offset] = static_cast<char>(record.*slot.field & 0xFF);
    return bytes;
}

MasterRecord decodeMasterRecord(const QByteArray& bytes) {
    MasterRecord record;
    if (bytes.size() < kMasterRecordSize) return record;
    for (const TextSlot& slot : kTextSlots)
        record.*slot.field = cp932::decode(bytes.mid(slot.offset, slot.width));
    for (const ByteSlot& slot : kByteSlots)
        record.*slot.field = static_cast<unsigned char>(bytes[slot.offset]);
    return record;
}

std::optional<MasterRecord> readMasterRecord(QIODevice& file, int recNo) {
    if (recNo < 1 || !file.seek(masterRecordOffset(recNo))) return std::nullopt;
    const QByteArray bytes = file.read(kMasterRecordSize);
    if (bytes.size() != kMasterRecordSize) return std::nullopt;
    return decodeMasterRecord(bytes);
}

std::optional<MasterRecord> readMasterRecord(const QString& mstPath, int recNo) {
    QFile file(mstPath);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return readMasterRecord(file, recNo);
}

bool writeMasterFile(const QString& mstPath, const std::vector<MasterRecord>& records) {
    QByteArray bytes(kHeaderSize, '\0');
    bytes.replace(0, 6, "ZVMST1");
    for (const MasterRecord& record : records)
        bytes += encodeMasterRecord(record);
    return files::replaceWhole(mstPath, bytes);
}

QString codeKey(const MasterRecord& record) {
    return record.Code.trimmed();
}

QString initialKey(const MasterRecord& record) {
    return record.Kind.trimmed() + record.Prefix.trimmed() + record.Area.trimmed();
}

bool writeMasterIndexes(const QString& dataPath) {
    QFile mst(masterFile(dataPath, "mst"));
    if (!mst.open(QIODevice::ReadOnly)) return false;
    std::vector<IndexLine> byCode, byInitial;
    for (int recNo = 1;; ++recNo) {
        const auto record = readMasterRecord(mst, recNo);
        if (!record) break;
        if (!codeKey(*record).isEmpty()) byCode.push_back({codeKey(*record), recNo});
        if (!record->Kind.trimmed().isEmpty()) byInitial.push_back({initialKey(*record), recNo});
    }
    return writeIndex(masterFile(dataPath, "dx2"), "code", byCode) &&
           writeIndex(masterFile(dataPath, "dx4"), "initial", byInitial);
}

void rebuildMissingMasterIndexes(const QString& dataPath) {
    if (!QFile::exists(masterFile(dataPath, "mst"))) return;
    if (QFile::exists(masterFile(dataPath, "dx2")) && QFile::exists(masterFile(dataPath, "dx4"))) return;
    writeMasterIndexes(dataPath);
}

} // namespace hamlog
