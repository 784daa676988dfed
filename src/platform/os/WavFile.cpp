#include "platform/os/WavFile.h"

#include <QFileInfo>
#include <QtEndian>

namespace wavfile {
namespace {

constexpr int FormatPcm = 1;

std::uint32_t le32(const char* p) {
    return qFromLittleEndian<std::uint32_t>(p);
}
std::uint16_t le16(const char* p) {
    return qFromLittleEndian<std::uint16_t>(p);
}

bool readFormat(const QByteArray& body, Info* info) {
    if (body.size() < 16) return false;
    info->format = le16(body.constData());
    info->channels = le16(body.constData() + 2);
    info->sampleRate = int(le32(body.constData() + 4));
    info->bitsPerSample = le16(body.constData() + 14);
    return true;
}

bool supported(const Info& info) {
    return info.format == FormatPcm && info.channels == 1 && info.sampleRate == SampleRate &&
           info.bitsPerSample == BitsPerSample;
}

// Walks the chunks after "RIFF....WAVE" up to the data chunk.
Result readChunks(QIODevice& file, Info* info) {
    bool haveFormat = false;
    while (true) {
        const QByteArray head = file.read(8);
        if (head.isEmpty()) return haveFormat ? NoData : Invalid;
        if (head.size() < 8) return Invalid;
        const qint64 size = le32(head.constData() + 4);
        const qint64 bodyAt = file.pos();
        if (bodyAt + size > file.size()) return Invalid;
        if (head.startsWith("fmt ")) {
            if (!readFormat(file.read(size), info)) return Invalid;
            haveFormat = true;
        } else if (head.startsWith("data")) {
            if (!haveFormat) return Invalid;
            if (!supported(*info)) return Unsupported;
            info->dataOffset = bodyAt;
            info->dataBytes = size;
            return size > 0 ? Playable : NoData;
        }
        file.seek(bodyAt + size + (size & 1));
    }
}

void putLe32(QByteArray& b, int at, std::uint32_t v) {
    qToLittleEndian<std::uint32_t>(v, b.data() + at);
}
void putLe16(QByteArray& b, int at, std::uint16_t v) {
    qToLittleEndian<std::uint16_t>(v, b.data() + at);
}

} // namespace

Result check(const QString& path, Info* info) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return CantOpen;
    return check(file, info);
}

Result check(QIODevice& file, Info* info) {
    const QByteArray riff = file.read(12);
    if (riff.size() < 12) return riff.startsWith("RIFF") ? Invalid : NotRiffWave;
    if (!riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE") return NotRiffWave;
    Info local;
    const Result r = readChunks(file, &local);
    if (info) *info = local;
    return r;
}

QVector<std::int16_t> readSamples(const QString& path) {
    Info info;
    if (check(path, &info) != Playable) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(info.dataOffset)) return {};
    const QByteArray bytes = file.read(info.dataBytes);
    QVector<std::int16_t> samples(bytes.size() / 2);
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<std::int16_t>(bytes.constData() + 2 * i);
    return samples;
}

bool canWrite(const QString& path) {
    const QFileInfo fi(path);
    if (fi.exists()) return fi.isFile() && fi.isWritable();
    const QFileInfo dir(fi.absolutePath());
    return !fi.fileName().isEmpty() && dir.isDir() && dir.isWritable();
}

bool Writer::open(const QString& path, bool append) {
    close();
    Info info;
    const bool continuing = append && check(path, &info) == Playable;
    QVector<std::int16_t> earlier;
    if (continuing &&
        (info.dataOffset != HeaderBytes || info.dataOffset + info.dataBytes != QFileInfo(path).size()))
        earlier = readSamples(path);
    const bool inPlace = continuing && earlier.isEmpty();
    file_.setFileName(path);
    if (!file_.open(inPlace ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    dataBytes_ = inPlace ? info.dataBytes : 0;
    writeHeader();
    if (!earlier.isEmpty()) write(earlier.constData(), int(earlier.size()));
    return true;
}

void Writer::write(const std::int16_t* samples, int count) {
    if (!file_.isOpen() || count <= 0) return;
    QByteArray bytes(count * 2, '\0');
    for (int i = 0; i < count; ++i)
        qToLittleEndian<std::int16_t>(samples[i], bytes.data() + 2 * i);
    file_.seek(HeaderBytes + dataBytes_);
    dataBytes_ += file_.write(bytes);
    writeHeader();
}

void Writer::close() {
    if (!file_.isOpen()) return;
    writeHeader();
    file_.close();
}

void Writer::writeHeader() {
    QByteArray h(HeaderBytes, '\0');
    h.replace(0, 4, "RIFF");
    putLe32(h, 4, std::uint32_t(36 + dataBytes_));
    h.replace(8, 8, "WAVEfmt ");
    putLe32(h, 16, 16);
    putLe16(h, 20, FormatPcm);
    putLe16(h, 22, 1);
    putLe32(h, 24, SampleRate);
    putLe32(h, 28, SampleRate * BitsPerSample / 8);
    putLe16(h, 32, BitsPerSample / 8);
    putLe16(h, 34, BitsPerSample);
    h.replace(36, 4, "data");
    putLe32(h, 40, std::uint32_t(dataBytes_));
    file_.seek(0);
    file_.write(h);
    // Readers see a whole wave file at every moment, not what sits in our buffer.
    file_.flush();
}

} // namespace wavfile
