#pragma once
// The benchmarks' big log: 1,000,000 QSOs with 100,000 fictional stations,
// generated once per run in a temporary folder on first use.
#include "platform/hamlog/Hamlog.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <random>

namespace biglog {

constexpr int kQsos = 1'000'000;
constexpr int kStations = 100'000;

inline QString stationCall(int n) {
    // Fictional calls: "QQ", a digit and three letters.
    QString call = QStringLiteral("QQ") + QChar('0' + n % 10);
    for (int i = 0, v = n / 10; i < 3; ++i, v /= 26)
        call += QChar('A' + v % 26);
    return call;
}

inline hamlog::QsoRecord qso(int n, std::mt19937& random) {
    hamlog::QsoRecord r;
    r.CALL = stationCall(static_cast<int>(random() % kStations));
    r.DATE = QStringLiteral("24-%1-%2").arg(1 + n % 12, 2, 10, QChar('0')).arg(1 + n % 28, 2, 10, QChar('0'));
    r.TIME = QStringLiteral("12:34J");
    r.HIS = r.MY = QStringLiteral("599");
    r.FREQ = QStringLiteral("14.070");
    r.MODE = QStringLiteral("PSK31");
    r.CODE = QStringLiteral("1002");
    r.QSL = QStringLiteral("J  ");
    r.NAME = QStringLiteral("太郎");
    r.QTH = QStringLiteral("東京都八王子市");
    r.REM1 = QStringLiteral("QSO %1").arg(n);
    return r;
}

// The log's data path (without ".HDB").
inline const QString& bigLog() {
    static QTemporaryDir dir;
    static const QString dataPath = [] {
        const QString path = dir.path() + QStringLiteral("/BIG");
        hamlog::createLog(path);
        std::mt19937 random(4242);
        std::vector<hamlog::QsoRecord> chunk;
        for (int n = 0; n < kQsos; ++n) {
            chunk.push_back(qso(n, random));
            if (chunk.size() == 50'000 || n + 1 == kQsos) {
                if (!hamlog::appendRecords(path, chunk)) std::abort();
                chunk.clear();
            }
        }
        return path;
    }();
    return dataPath;
}

} // namespace biglog
