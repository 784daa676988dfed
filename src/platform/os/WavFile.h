#pragma once
// The wave files the PSK core library plays back and records: RIFF WAVE, PCM,
// 16-bit, mono, 8000 Hz, the sound card's own format. Checking a file gives the
// library's result codes, so that a caller can say what is wrong with it.
#include <QFile>
#include <QString>
#include <QVector>
#include <cstdint>

namespace wavfile {

enum Result : std::int32_t {
    Playable = 0,
    CantOpen = 34,      // "can't open wave file"
    NotRiffWave = 35,   // "file is not a RIFF wave type"
    Invalid = 36,       // "Invalid wave file": broken chunks or cut off
    NoData = 37,        // "no data in file"
    Unsupported = 38,   // "not a supported data type"
    CantOpenOutput = 41 // the file cannot be opened for output
};

constexpr int SampleRate = 8000;
constexpr int BitsPerSample = 16;
constexpr int HeaderBytes = 44;

struct Info {
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    qint64 dataOffset = 0;
    qint64 dataBytes = 0;
    qint64 samples() const {
        return bitsPerSample > 0 ? dataBytes / (bitsPerSample / 8) / qMax(1, channels) : 0;
    }
};

// Reads the header and the chunk layout (not the samples).
Result check(const QString& path, Info* info = nullptr);
// The same for a device open for reading, from its start.
Result check(QIODevice& device, Info* info = nullptr);
// The samples of a playable file; empty for any other.
QVector<std::int16_t> readSamples(const QString& path);
// Whether a recording could be written to the path.
bool canWrite(const QString& path);

// Writes a recording. The header is brought up to date after every block, so
// the file is always a complete wave file.
class Writer {
  public:
    // append: continue a playable file of the same format; any other file is replaced.
    bool open(const QString& path, bool append);
    void write(const std::int16_t* samples, int count);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    qint64 samplesWritten() const { return dataBytes_ / 2; }

  private:
    void writeHeader();
    QFile file_;
    qint64 dataBytes_ = 0;
};

} // namespace wavfile
