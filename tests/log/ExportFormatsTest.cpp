// The export files: the value rules as tables, the files byte for byte against
// golden files, and every QSO read back by readers written apart from the writers.
#include "log/AdifExport.h"
#include "log/ExportSelection.h"
#include "log/QsoBankXml.h"
#include "platform/programs/comqsobank/QsoBankUpload.h"
#include "support/AdifReader.h"

#include <QFile>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <optional>

using namespace logbook;

namespace {

QByteArray golden(const char* name) {
    QFile f(QStringLiteral(ZV_GOLDEN_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

ExportQso qso(const char* call, const char* date, const char* time, const char* freq, const char* mode,
              const char* his = "599", const char* my = "599") {
    ExportQso q;
    q.call = QString::fromUtf8(call);
    q.date = QString::fromUtf8(date);
    q.time = QString::fromUtf8(time);
    q.freq = QString::fromUtf8(freq);
    q.mode = QString::fromUtf8(mode);
    q.his = QString::fromUtf8(his);
    q.my = QString::fromUtf8(my);
    return q;
}

std::vector<ExportQso> eqslCases() {
    return {qso("JA1ABC", "2025-01-01", "08:59J", "7.025", "BPSK31", "599", "579"),
            qso("JA1ABC", "2025-01-01", "09:00J", "10", "RTTY"),
            qso("W1AW/4", "95-06-15", "23:59U", "145.00", "MFSK16", "599", "589"),
            qso("A&B<C>D", "26-03-04", "12:34J", "5600", "CW", "5é9", "")};
}

std::vector<ExportQso> logCases() {
    std::vector<ExportQso> qsos{qso("JA1ABC", "2025-01-01", "08:59J", "7.025", "QPSK", "599", "579"),
                                qso("JA2XYZ", "2025-01-01", "09:00J", "7", "SSTV", "595", "595"),
                                qso("K1ABC", "95-06-15", "23:59U", "", "FT8", "-10", "-12")};
    qsos[0].qth = QStringLiteral("東京都八王子市");
    qsos[0].name = QStringLiteral("太郎");
    qsos[0].grid = QStringLiteral("PM95QP");
    qsos[0].qsl = QStringLiteral("J* ");
    qsos[0].rem1 = QStringLiteral("a&b <c> 初QSO");
    qsos[1].qsl = QStringLiteral("N  ");
    qsos[2].qth = QStringLiteral("éüñ");
    qsos[2].name = QStringLiteral("Jose");
    qsos[2].grid = QStringLiteral("FN42");
    qsos[2].qsl = QStringLiteral("E Y");
    return qsos;
}

std::vector<ExportQso> xmlCases() {
    return {qso("JA1ABC", "2025-01-01", "12:34J", "7.025", "BPSK", "599", "579"),
            qso("A&B<C>D", "95-06-15", "03:05U", "145.00", "RTTY", "5é9", "😀")};
}

} // namespace

TEST(ExportValues, UtcDateAndTime) {
    const struct {
        const char *date, *time, *qsoDate, *timeOn;
    } cases[] = {
        {"2025-01-01", "08:59J", "20241231", "2359"}, {"2025-01-01", "09:00J", "20250101", "0000"},
        {"2025-01-01", "23:59U", "20250101", "2359"}, {"2024-03-01", "00:00J", "20240229", "1500"},
        {"26-05-06", "12:34U", "20260506", "1234"},   {"95-05-06", "12:34U", "19950506", "1234"},
        {"29-12-31", "10:00J", "20291231", "0100"},   {"30-01-01", "10:00J", "19300101", "0100"},
        {"2025-01-01", "12:34", "20250101", "1234"},  {" 2025-01-01 ", " 12:34J ", "20250101", "0334"},
    };
    for (const auto& c : cases) {
        const auto at = utcStamp(QString::fromLatin1(c.date), QString::fromLatin1(c.time));
        ASSERT_TRUE(at) << c.date << " " << c.time;
        EXPECT_EQ(at->date, QLatin1String(c.qsoDate)) << c.date << " " << c.time;
        EXPECT_EQ(at->time, QLatin1String(c.timeOn)) << c.date << " " << c.time;
    }
}

TEST(ExportValues, DatesAndTimesThatDoNotConvert) {
    const char* dates[] = {"",         "24-02-30", "2023-02-29",  "2025-13-01", "2025-1-01",
                           "25/01/01", "abc",      "2025-01-01x", "99999-01-01"};
    for (const char* d : dates)
        EXPECT_FALSE(utcStamp(QString::fromLatin1(d), QStringLiteral("12:00J"))) << d;
    const char* times[] = {"", "12:3", "24:00J", "12:60U", "1234J", "12:34X", "12:34JU", "ab:cdJ"};
    for (const char* t : times)
        EXPECT_FALSE(utcStamp(QStringLiteral("2025-01-01"), QString::fromLatin1(t))) << t;
    EXPECT_FALSE(
        utcStamp(QStringLiteral("2025-01-01"), QStringLiteral("12:3") + QChar(0) + QStringLiteral("J")));
    EXPECT_FALSE(
        utcStamp(QStringLiteral("25-01") + QChar(0) + QStringLiteral("1"), QStringLiteral("12:30J")));
}

TEST(ExportValues, ModeNames) {
    const struct {
        const char *mode, *name;
    } cases[] = {{"BPSK31", "PSK31"}, {"QPSK", "PSK31"}, {"psk63", "PSK31"}, {"PK", "PSK31"},
                 {"MFSK16", "MFSK"},  {"mfsk8", "MFSK"}, {"RTTY", "RTTY"},   {"rtty", "RTTY"},
                 {"SSTV", "SSTV"},    {"CW", "CW"},      {" FT8 ", "FT8"},   {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(ExportModeName(QString::fromLatin1(c.mode)), QLatin1String(c.name)) << c.mode;
}

TEST(ExportValues, BandsAndFrequencies) {
    const struct {
        const char* freq;
        const char* band;
        bool freqWritten;
    } cases[] = {
        {"1.9", "160M", true},   {"3.5", "80M", true},   {"7", "40M", true},        {"7.025", "40M", true},
        {"10", "30M", false},    {"10.14", "30M", true}, {"14", "20M", true},       {"145.00", "2M", true},
        {"147", "2M", true},     {"24.9", "12M", true},  {"24", "12M", false},      {"430", "70CM", true},
        {"1200", "23CM", false}, {"2400", "13CM", true}, {"5600", "6CM", false},    {"50.1", "6M", true},
        {"7.5", "", false},      {"", "", false},        {"abc", "", false},        {"7.025MHz", "", false},
        {"-7", "", false},       {"7e0", "", false},     {" 21.074 ", "15M", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exportBand(QString::fromLatin1(c.freq)), QLatin1String(c.band)) << c.freq;
        EXPECT_EQ(isBandFrequency(QString::fromLatin1(c.freq)), c.freqWritten) << c.freq;
    }
}

TEST(ExportValues, EntryWindowCall) {
    const struct {
        const char *call, *part, *rem1, *rem2, *result;
    } cases[] = {{" JA1ABC ", "", "", "", "JA1ABC"},      {"JA1ABC", "1", "", "", "JA1ABC/1"},
                 {"JA1ABC", " P ", "", "", "JA1ABC/P"},   {"ABC", "KH0", "$DX", "", "KH0/ABC"},
                 {"ABC", "KH0", "xx $dx", "", "KH0/ABC"}, {"ABC", "KH0", "", "via $DX", "KH0/ABC"},
                 {"ABC", "KH0", "", "$dx", "ABC/KH0"}};
    for (const auto& c : cases)
        EXPECT_EQ(entryCall(QString::fromLatin1(c.call), QString::fromLatin1(c.part),
                            QString::fromLatin1(c.rem1), QString::fromLatin1(c.rem2)),
                  QLatin1String(c.result))
            << c.call << "/" << c.part;
    // A stored call comes back into the two boxes it was made of.
    for (const auto& c : cases) {
        const QString rem1 = QString::fromLatin1(c.rem1), rem2 = QString::fromLatin1(c.rem2);
        const EntryCallBoxes boxes = entryCallBoxes(QLatin1String(c.result), rem1, rem2);
        EXPECT_EQ(entryCall(boxes.call, boxes.part, rem1, rem2), QLatin1String(c.result)) << c.result;
        EXPECT_EQ(boxes.call, QString::fromLatin1(c.call).trimmed()) << c.result;
    }
}

TEST(ExportFiles, EqslAdifGolden) {
    const ExportFile file = eqslAdif(eqslCases(), QStringLiteral("ありがとう"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, golden("eqsl_cases.adi"));
    EXPECT_EQ(eqslAdif({}, QString()).bytes, golden("eqsl_none.adi"))
        << "with every QSO left out the file holds its <EOH> line alone";
}

TEST(ExportFiles, LogAdifGolden) {
    const ExportFile file = logAdif(logCases(), QStringLiteral("JR1ZZZ"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, golden("elog_page.adi"));
    // A band's label that lies outside the band's range keeps its frequency.
    for (const char* label : {"10", "5600"}) {
        const QByteArray line = logAdif({qso("QQ1AA", "2025-01-01", "09:00J", label, "CW", "599", "599")},
                                        QStringLiteral("JR1ZZZ"))
                                    .bytes;
        EXPECT_TRUE(line.contains("<FREQ:" + QByteArray::number(qstrlen(label)) + '>' + label + "<BAND:"))
            << line.constData();
    }
    // Where no band fits, the frequency goes as logged and no empty tag is written.
    const struct {
        const char *freq, *eqsl, *log;
    } noBand[] = {{"15.000", "<FREQ:6>15.000<MODE:", "<FREQ:6>15.000<MODE:"},
                  {"7.5", "<FREQ:3>7.5<MODE:", "<FREQ:3>7.5<MODE:"},
                  {"", "<TIME_ON:4>0000<MODE:", "<FREQ:0><MODE:"}};
    for (const auto& c : noBand) {
        const std::vector<ExportQso> q{qso("QQ1AA", "2025-01-01", "09:00J", c.freq, "CW", "599", "")};
        const QByteArray eqsl = eqslAdif(q, {}).bytes, log = logAdif(q, QStringLiteral("JR1ZZZ")).bytes;
        EXPECT_TRUE(eqsl.contains(c.eqsl)) << eqsl.constData();
        EXPECT_TRUE(log.contains(c.log)) << log.constData();
        for (const QByteArray& file : {eqsl, log})
            EXPECT_FALSE(file.contains("<BAND:0>")) << file.constData();
    }
}

TEST(ExportFiles, QsoBankXmlGolden) {
    const ExportFile file = qsoBankXml(xmlCases(), QStringLiteral("Tnx & 73 <3> ありがとう"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, golden("qsobank.xml"));
    EXPECT_EQ(qsoBankXml({}, QString()).bytes, golden("qsobank_none.xml"));
}

TEST(ExportFiles, DefaultMessages) {
    const auto eqsl = zvtest::readAdif(eqslAdif({qso("A", "2025-01-01", "12:00U", "7", "CW")}, {}).bytes);
    ASSERT_TRUE(eqsl);
    EXPECT_EQ(eqsl->records.at(0).value(QStringLiteral("QSLMSG")), QStringLiteral("Mny Tks FB QSO & CUL."));
    const qsobank::Upload xml =
        qsobank::parseUpload(qsoBankXml({qso("A", "2025-01-01", "12:00U", "7", "CW")}, {}).bytes);
    ASSERT_TRUE(xml.ok()) << xml.error.toStdString();
    EXPECT_EQ(xml.qsos[0].qslRemarks, QStringLiteral("Mny Tks FB QSO and CUL."));
}

TEST(ExportFiles, ABadDateOrTimeStopsTheFileAtItsQso) {
    std::vector<ExportQso> qsos = eqslCases();
    qsos[2].date = QStringLiteral("24-02-30");
    EXPECT_EQ(eqslAdif(qsos, {}).failedAt, 2);
    EXPECT_TRUE(eqslAdif(qsos, {}).bytes.isEmpty());
    EXPECT_EQ(logAdif(qsos, {}).failedAt, 2);
    EXPECT_EQ(qsoBankXml(qsos, {}).failedAt, 2);
    qsos[2] = eqslCases()[2];
    qsos[0].time = QStringLiteral("12:3");
    EXPECT_EQ(eqslAdif(qsos, {}).failedAt, 0);
    EXPECT_EQ(qsoBankXml(qsos, {}).failedAt, 0);
}

TEST(ExportFiles, EveryQsoReadsBackAsWritten) {
    std::vector<ExportQso> qsos = logCases();
    qsos[1].name = QStringLiteral("山田 <太郎> & 花子");
    qsos[1].rem1 = QStringLiteral("line\r\nbreak\ttab") + QChar(0) + QStringLiteral("nul");
    const auto adif = zvtest::readAdif(logAdif(qsos, QStringLiteral("JR1ZZZ")).bytes);
    ASSERT_TRUE(adif);
    EXPECT_TRUE(adif->preamble.isEmpty()) << "the file opens with <EOH> alone";
    EXPECT_TRUE(adif->header.isEmpty());
    ASSERT_EQ(adif->records.size(), qsos.size());
    for (size_t i = 0; i < qsos.size(); ++i) {
        const zvtest::AdifRecord& r = adif->records[i];
        EXPECT_EQ(r.value(QStringLiteral("CALL")), qsos[i].call);
        EXPECT_EQ(r.value(QStringLiteral("OPERATOR")), QStringLiteral("JR1ZZZ"));
        EXPECT_EQ(r.value(QStringLiteral("RST_SENT")), qsos[i].his);
        EXPECT_EQ(r.value(QStringLiteral("GRIDSQUARE")), qsos[i].grid);
    }
    EXPECT_EQ(adif->records[0].value(QStringLiteral("QTH")), QStringLiteral("東京都八王子市"));
    EXPECT_EQ(adif->records[0].value(QStringLiteral("COMMENT")), QStringLiteral("a&b <c> 初QSO"));
    EXPECT_EQ(adif->records[1].value(QStringLiteral("NAME")), QStringLiteral("山田 <太郎> & 花子"));
    EXPECT_EQ(adif->records[1].value(QStringLiteral("COMMENT")), QStringLiteral("linebreaktabnul"));
    EXPECT_EQ(adif->records[2].value(QStringLiteral("QTH")), QStringLiteral("???"));
    // What is written as other characters is known, by QSO and field, before
    // any file is written: the log keeps what it holds.
    qsos[0].name = QStringLiteral("José 〜 ¥");
    EXPECT_EQ(logAdifUncarried(qsos, QStringLiteral("JR1ZZZ")),
              (std::vector<Uncarried>{{0, QStringLiteral("NAME"), QStringLiteral("é¥")},
                                      {2, QStringLiteral("QTH"), QStringLiteral("éüñ")}}));
    EXPECT_EQ(eqslAdifUncarried(eqslCases(), QStringLiteral("Zürich €")),
              (std::vector<Uncarried>{{0, QStringLiteral("QSLMSG"), QStringLiteral("ü€")},
                                      {1, QStringLiteral("QSLMSG"), QStringLiteral("ü€")},
                                      {2, QStringLiteral("QSLMSG"), QStringLiteral("ü€")},
                                      {3, QStringLiteral("RST_SENT"), QStringLiteral("é")},
                                      {3, QStringLiteral("QSLMSG"), QStringLiteral("ü€")}}));

    std::vector<ExportQso> xmlQsos = xmlCases();
    xmlQsos[0].call = QStringLiteral("JA1<&>") + QChar(1) + QStringLiteral("漢字");
    const qsobank::Upload xml =
        qsobank::parseUpload(qsoBankXml(xmlQsos, QStringLiteral("a&b<c>d 日本語")).bytes);
    ASSERT_TRUE(xml.ok()) << xml.error.toStdString();
    ASSERT_EQ(xml.qsos.size(), 2u);
    EXPECT_EQ(xml.qsos[0].callsign, QStringLiteral("JA1<&>漢字"));
    EXPECT_EQ(xml.qsos[0].daytime, QStringLiteral("2025-01-01 12:34:00 JST"));
    EXPECT_EQ(xml.qsos[0].mode, QStringLiteral("PSK31"));
    EXPECT_EQ(xml.qsos[1].callsign, QStringLiteral("A&B<C>D"));
    EXPECT_EQ(xml.qsos[1].daytime, QStringLiteral("1995-06-15 03:05:00 UTC"));
    EXPECT_EQ(xml.qsos[1].hisRpt, QStringLiteral("5é9"));
    EXPECT_EQ(xml.qsos[1].myRpt, QStringLiteral("😀"));
    EXPECT_EQ(xml.qsos[1].qslRemarks, QStringLiteral("a&b<c>d 日本語"));
}

namespace {

// Every element's text, in document order, as libxml2 reads the file strictly
// (no recovery); nothing when it refuses the file.
std::optional<QStringList> strictXmlTexts(const QByteArray& bytes) {
    xmlDocPtr doc = xmlReadMemory(bytes.constData(), static_cast<int>(bytes.size()), "qsobank.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return std::nullopt;
    QStringList texts;
    const auto walk = [&texts](auto&& self, xmlNodePtr node) -> void {
        for (; node; node = node->next) {
            if (node->type != XML_ELEMENT_NODE) continue;
            if (node->children && node->children->type == XML_TEXT_NODE && !node->children->next) {
                xmlChar* text = xmlNodeGetContent(node);
                texts << QString::fromUtf8(reinterpret_cast<const char*>(text));
                xmlFree(text);
            } else {
                self(self, node->children);
            }
        }
    };
    walk(walk, xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    return texts;
}

} // namespace

TEST(ExportFiles, QsoBankXmlReadsInAStrictReader) {
    // The Windows variant's own characters, those the two variants map apart,
    // and plain ones, in a name-like call, the reports and the message.
    const QString windowsOnly = QStringLiteral("髙橋①㈱～－￢∥");
    const QString both = QStringLiteral("ｱｲｳ漢字ー―＼");
    std::vector<ExportQso> qsos = xmlCases();
    qsos[0].call = windowsOnly + both;
    qsos[0].his = QStringLiteral("a\\b~c");
    qsos[1].my = QStringLiteral("㈲");
    const QString message = QStringLiteral("髙 & ① <FB>");
    const ExportFile file = qsoBankXml(qsos, message);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.bytes.startsWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"));
    EXPECT_TRUE(file.bytes.contains("&#39641;")) << "髙 goes as a reference";

    const std::optional<QStringList> texts = strictXmlTexts(file.bytes);
    ASSERT_TRUE(texts) << "libxml2 refuses the file";
    const QStringList expected{QStringLiteral("2025-01-01 12:34:00 JST"),
                               windowsOnly + both,
                               QStringLiteral("7.025"),
                               QStringLiteral("PSK31"),
                               QStringLiteral("a\\b~c"),
                               QStringLiteral("579"),
                               message,
                               QStringLiteral("1995-06-15 03:05:00 UTC"),
                               QStringLiteral("A&B<C>D"),
                               QStringLiteral("145.00"),
                               QStringLiteral("RTTY"),
                               QStringLiteral("5é9"),
                               QStringLiteral("㈲"),
                               message};
    EXPECT_EQ(*texts, expected);
}

TEST(ExportSelection, MarksAndRanges) {
    EXPECT_EQ(toggledCell(QStringLiteral(" 03"), QStringLiteral(" 03")), QStringLiteral("eQSL"));
    EXPECT_EQ(toggledCell(QStringLiteral("eQSL"), QStringLiteral(" 03")), QStringLiteral(" 03"));
    EXPECT_EQ(toggledCell(QStringLiteral("eqsl"), QStringLiteral("12")), QStringLiteral("eQSL"));
    EXPECT_EQ(orderedSpan(10, 5).first, 5);
    EXPECT_EQ(orderedSpan(10, 5).last, 10);
    EXPECT_EQ(orderedSpan(3, 3).last, 3);
    const struct {
        int from, to, first, last;
    } ranges[] = {{120, 100, 100, 120}, {120, 0, 120, 120}, {100, 120, 100, 120}, {5, 5, 5, 5}};
    for (const auto& r : ranges) {
        EXPECT_EQ(normalisedRange(r.from, r.to).first, r.first) << r.from << " " << r.to;
        EXPECT_EQ(normalisedRange(r.from, r.to).last, r.last) << r.from << " " << r.to;
    }
    EXPECT_TRUE(isExcludedQsl(QStringLiteral("N  "), QStringLiteral("N")));
    EXPECT_FALSE(isExcludedQsl(QStringLiteral("J N"), QStringLiteral("N")));
    EXPECT_FALSE(isExcludedQsl(QStringLiteral("   "), QString()));
}

TEST(ExportSelection, MarkedRowsOfAGrid) {
    auto row = [](const char* first, const char* call, const char* qsl) {
        QStringList cells(19);
        cells[0] = QString::fromLatin1(first);
        cells[1] = QString::fromLatin1(call);
        if (*call) {
            cells[3] = QStringLiteral("2025-01-01");
            cells[4] = QStringLiteral("12:00J");
        }
        cells[13] = QString::fromLatin1(qsl);
        return cells;
    };
    const std::vector<QStringList> rows{row("eQSL", "JA1A", "J"), row(" 02", "JA1B", "J"),
                                        row("eQSL", "JA1C", "N"), row("eQSL", "JA1D", ""),
                                        row("eQSL", "", "")};
    const MarkedRows picked = pickMarkedRows(rows, QStringLiteral("N"));
    EXPECT_EQ(picked.marked, 4) << "an excluded row and a row without a QSO count as marked";
    ASSERT_EQ(picked.qsos.size(), 2u);
    EXPECT_EQ(picked.qsos[0].call, QStringLiteral("JA1A"));
    EXPECT_EQ(picked.qsos[1].call, QStringLiteral("JA1D"));
    EXPECT_EQ(picked.rowNos, (std::vector<int>{1, 4}));
}

TEST(ExportSelection, FileNamesAndFormats) {
    EXPECT_EQ(eqslFileName(QDate(2024, 5, 3)), QStringLiteral("ZORVATEK_EQSL240503"));
    EXPECT_EQ(elogFileName(1, 50), QStringLiteral("ELOG_1to50"));
    EXPECT_EQ(elogFileName(201, 300), QStringLiteral("ELOG_201to300"));
    EXPECT_EQ(withExtension(QStringLiteral("/d/ZORVATEK_EQSL240503"), QStringLiteral("ADI")),
              QStringLiteral("/d/ZORVATEK_EQSL240503.ADI"));
    EXPECT_EQ(withExtension(QStringLiteral("/d.x/a"), QStringLiteral("xml")), QStringLiteral("/d.x/a.xml"));
    EXPECT_EQ(withExtension(QStringLiteral("/d/a.adif"), QStringLiteral("ADI")), QStringLiteral("/d/a.adif"));
    EXPECT_EQ(withExtension(QString(), QStringLiteral("ADI")), QString());
    EXPECT_EQ(eqslKindOf(QStringLiteral("1")), EqslKind::QsoBank);
    EXPECT_EQ(eqslKindOf(QStringLiteral("0")), EqslKind::Adif);
    EXPECT_EQ(eqslKindOf(QString()), EqslKind::None);
    EXPECT_EQ(eqslKindOf(QStringLiteral("2")), EqslKind::None);
}
