#include "platform/hamlog/HamlogDemoData.h"

#include "platform/hamlog/Hamlog.h"

#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace hamlog::demo {

namespace {

constexpr int kWest = 128;

MasterRecord entry(const char* code, const QString& name, const char* kind, const QString& prefix,
                   const char* area, int longitude, int westFlags = 0, int worked = 0, int confirmed = 0) {
    MasterRecord r;
    r.Code = QString::fromLatin1(code);
    r.Name = name;
    r.Kind = QString::fromLatin1(kind);
    r.Prefix = prefix;
    r.Area = QString::fromLatin1(area);
    r.LongitudeDeg = longitude;
    r.LongitudeFlags = westFlags;
    r.WorkedBits1 = worked & 0xFF;
    r.WorkedBits2 = worked >> 8;
    r.ConfirmedBits1 = confirmed & 0xFF;
    r.ConfirmedBits2 = confirmed >> 8;
    return r;
}

QsoRecord qso(const char* call, const char* date, const char* time, const char* freq, const char* mode,
              const char* code, const QString& name, const QString& qth) {
    QsoRecord r;
    r.CALL = QString::fromLatin1(call);
    r.DATE = QString::fromLatin1(date);
    r.TIME = QString::fromLatin1(time);
    r.HIS = r.MY = QStringLiteral("599");
    r.FREQ = QString::fromLatin1(freq);
    r.MODE = QString::fromLatin1(mode);
    r.CODE = QString::fromLatin1(code);
    r.QSL = QStringLiteral("J  ");
    r.NAME = name;
    r.QTH = qth;
    return r;
}

} // namespace

// Band bits: bit 0 = 1.9M ... bit 7 = 24M, bit 8 = 28M ... bit 14 = 5.6G.
std::vector<MasterRecord> masterRecords() {
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    return {
        entry("500", s("日本"), "3", s("JA"), "", 135),
        entry("500", s("日本"), "3", s("JH"), "", 135),
        entry("500", s("日本"), "3", s("7K"), "", 135),
        // The fictional calls of the demo log and the tests are home calls.
        entry("500", s("日本"), "3", s("QQ"), "", 135),
        entry("500", s("日本"), "3", s("QX"), "", 135),
        // The call-area digit decides between the two entities of "JD"; the
        // digit 7 names neither.
        entry("732", s("小笠原・南鳥島"), "3", s("JD"), "1", 142),
        entry("732", s("小笠原・南鳥島"), "3", s("JD"), "0", 142),
        entry("732", s("小笠原・南鳥島"), "3", s("JD"), "7", 142),
        entry("733A", s("小笠原"), "3", s("JD"), "1", 142),
        entry("732A", s("南鳥島"), "3", s("JD"), "1", 154),
        entry("758", s("アメリカ合衆国"), "3", s("K"), "", 95, kWest, 0x0114, 0x0004),
        entry("758", s("アメリカ合衆国"), "3", s("W"), "", 95, kWest, 0x0114, 0x0004),
        entry("140A", s("ハワイ"), "3", s("KH"), "6", 157, kWest, 0x0010),
        // Stands for the Hawaii entry above.
        entry("140_", s("ハワイ(AH6)"), "3", s("AH"), "6", 157, kWest),
        entry("784", s("カナダ"), "3", s("VE"), "", 100, kWest, 0x0010),
        entry("230", s("ドイツ"), "3", s("DL"), "", 10, 0, 0x0014, 0x0010),
        entry("223", s("イングランド"), "3", s("G"), "", 0, 0, 0x0010),
        entry("227", s("フランス"), "3", s("F"), "", 2),
        entry("137", s("韓国"), "3", s("HL"), "", 127, 0, 0x0114, 0x0114),
        entry("318", s("中国"), "3", s("BY"), "", 116, 0, 0x0010),
        entry("150", s("オーストラリア"), "3", s("VK"), "", 135, 0, 0x0100),
        entry("170", s("ニュージーランド"), "3", s("ZL"), "", 175),
        // A retired entity, passed over in favour of the next entry of its key.
        entry("024", s("*旧タンザニア"), "3", s("5H"), "", 35),
        entry("025", s("タンザニア"), "3", s("5H"), "", 35),
        entry("1002", s("八王子市"), "4", s("は"), "1", 139, 0, 0x0014, 0x0004),
        entry("1003", s("立川市"), "4", s("た"), "1", 139),
        entry("1101", s("横浜市"), "4", s("よ"), "1", 139, 0, 0x0110),
        entry("0101", s("札幌市"), "4", s("さ"), "8", 141),
        entry("0102", s("函館市"), "4", s("は"), "8", 140, 0, 0x0004),
        entry("2501", s("大津市"), "4", s("お"), "3", 135),
        entry("2701", s("大阪市"), "4", s("お"), "3", 135, 0, 0x0114, 0x0010),
        entry("10001", s("西多摩郡"), "5", s("に"), "1", 139),
        entry("25001", s("蒲生郡"), "5", s("が"), "3", 136),
        entry("110101", s("鶴見区"), "6", s("つ"), "1", 139),
        entry("270101", s("都島区"), "6", s("み"), "3", 135),
        entry("10001A", s("瑞穂町"), "7", s("み"), "1", 139),
        entry("10001C", s("檜原村"), "8", s("ひ"), "1", 139),
    };
}

std::vector<QsoRecord> qsos() {
    const auto s = [](const char* text) { return QString::fromUtf8(text); };
    return {
        qso("QQ1AAA", "24-05-03", "10:15J", "7", "PSK31", "1002", s("太郎"), s("東京都八王子市")),
        qso("QQ9ABC", "24-06-11", "12:40U", "14.070", "PSK31", "230", s("Hans"), s("Berlin")),
        qso("QQ3OSA", "24-07-20", "21:05J", "7", "RTTY", "2701", s("花子"), s("大阪府大阪市")),
        qso("QQ1AAA", "25-01-02", "09:30J", "3.5", "PSK31", "1002", s("太郎"), s("東京都八王子市")),
    };
}

QByteArray jcaFile() {
    return cp932::encode(QStringLiteral("\"AAA\",\"2024/05/03\",\"八王子市\",\"済\"\r\n"
                                        "\"OSA\",\"2024/07/20\",\"大阪市\",\"未\"\r\n"
                                        "\"NEW\",\"\",\"\",\"\"\r\n"));
}

bool writeMasterData(const QString& dataPath) {
    return writeMasterFile(masterFile(dataPath, "mst"), masterRecords()) && writeMasterIndexes(dataPath);
}

bool writeDemoSetup(const QString& dataPath) {
    if (!writeMasterData(dataPath)) return false;
    const QString jca = QFileInfo(dataPath).dir().filePath(QStringLiteral("実績.txt"));
    if (!QFile::exists(jca) && !files::replaceWhole(jca, jcaFile())) return false;
    const bool newLog = !QFile::exists(dataPath + QStringLiteral(".HDB"));
    if (!createLog(dataPath)) return false;
    return !newLog || appendRecords(dataPath, qsos());
}

} // namespace hamlog::demo
