#include "log/ExportQso.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <array>

namespace logbook {

namespace {

QString clean(const QString& text) {
    QString t = text;
    t.remove(QChar(0));
    return t.trimmed();
}

QString cell(const QStringList& cells, int col) {
    return col < cells.size() ? cells[col].trimmed() : QString();
}

struct BandRange {
    double low, high; // MHz, both inclusive
    const char* band;
};

// The bands of the ADIF band list, by frequency.
constexpr std::array<BandRange, 33> kBandRanges{{
    {0.1357, 0.1378, "2190M"},   {0.472, 0.479, "630M"},      {0.501, 0.504, "560M"},
    {1.8, 2.0, "160M"},          {3.5, 4.0, "80M"},           {5.06, 5.45, "60M"},
    {7.0, 7.3, "40M"},           {10.1, 10.15, "30M"},        {14.0, 14.35, "20M"},
    {18.068, 18.168, "17M"},     {21.0, 21.45, "15M"},        {24.89, 24.99, "12M"},
    {28.0, 29.7, "10M"},         {40.0, 45.0, "8M"},          {50.0, 54.0, "6M"},
    {54.000001, 69.9, "5M"},     {70.0, 71.0, "4M"},          {144.0, 148.0, "2M"},
    {222.0, 225.0, "1.25M"},     {420.0, 450.0, "70CM"},      {902.0, 928.0, "33CM"},
    {1240.0, 1300.0, "23CM"},    {2300.0, 2450.0, "13CM"},    {3300.0, 3500.0, "9CM"},
    {5650.0, 5925.0, "6CM"},     {10000.0, 10500.0, "3CM"},   {24000.0, 24250.0, "1.25CM"},
    {47000.0, 47200.0, "6MM"},   {75500.0, 81000.0, "4MM"},   {119980.0, 123000.0, "2.5MM"},
    {134000.0, 149000.0, "2MM"}, {241000.0, 250000.0, "1MM"}, {300000.0, 7500000.0, "SUBMM"},
}};

// The band box's labels name a band even where the number itself lies just
// below the band's range ("10" for 10.1 MHz, "5600" for 5650 MHz).
struct BandLabel {
    const char* label;
    const char* band;
};
constexpr std::array<BandLabel, 15> kBandLabels{{
    {"1.9", "160M"},
    {"3.5", "80M"},
    {"7", "40M"},
    {"10", "30M"},
    {"14", "20M"},
    {"18", "17M"},
    {"21", "15M"},
    {"24", "12M"},
    {"28", "10M"},
    {"50", "6M"},
    {"144", "2M"},
    {"430", "70CM"},
    {"1200", "23CM"},
    {"2400", "13CM"},
    {"5600", "6CM"},
}};

std::optional<double> plainNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    if (!number.match(text).hasMatch()) return std::nullopt;
    return text.toDouble();
}

const BandRange* rangeOf(const QString& freq) {
    const std::optional<double> mhz = plainNumber(freq.trimmed());
    if (!mhz) return nullptr;
    for (const BandRange& r : kBandRanges)
        if (*mhz >= r.low && *mhz <= r.high) return &r;
    return nullptr;
}

} // namespace

ExportQso exportQsoFromRecord(const hamlog::QsoRecord& r) {
    ExportQso q;
    q.call = clean(r.CALL);
    q.date = clean(r.DATE);
    q.time = clean(r.TIME);
    q.freq = clean(r.FREQ);
    q.mode = clean(r.MODE);
    q.his = clean(r.HIS);
    q.my = clean(r.MY);
    // The QSL field's characters keep their places: a blank is "not yet".
    q.qsl = QString(r.QSL).remove(QChar(0));
    q.name = clean(r.NAME);
    q.qth = clean(r.QTH);
    q.grid = clean(r.GL);
    q.rem1 = clean(r.REM1);
    return q;
}

ExportQso exportQsoFromRow(const QStringList& cells) {
    ExportQso q;
    q.call = cell(cells, 1);
    q.date = cell(cells, 3);
    q.time = cell(cells, 4);
    q.his = cell(cells, 5);
    q.my = cell(cells, 6);
    q.freq = cell(cells, 7);
    q.mode = cell(cells, 8);
    q.grid = cell(cells, 10);
    q.name = cell(cells, 11);
    q.qth = cell(cells, 12);
    for (int col = 13; col <= 15; ++col) {
        const QString c = col < cells.size() ? cells[col].left(1) : QString();
        q.qsl += c.isEmpty() ? QStringLiteral(" ") : c;
    }
    q.rem1 = cell(cells, 16);
    return q;
}

bool isEmptyRow(const QStringList& cells) {
    return cell(cells, 1).isEmpty() && cell(cells, 3).isEmpty() && cell(cells, 4).isEmpty();
}

namespace {

bool otherPartIsPrefix(const QString& rem1, const QString& rem2) {
    const QString marker = QStringLiteral("$DX");
    return rem1.toUpper().contains(marker) || rem2.contains(marker);
}

} // namespace

QString entryCall(const QString& call, const QString& part, const QString& rem1, const QString& rem2) {
    const QString own = call.trimmed(), other = part.trimmed();
    if (other.isEmpty()) return own;
    if (otherPartIsPrefix(rem1, rem2)) return other + QLatin1Char('/') + own;
    return own + QLatin1Char('/') + other;
}

EntryCallBoxes entryCallBoxes(const QString& stored, const QString& rem1, const QString& rem2) {
    const QString call = stored.trimmed();
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash < 0) return {call, {}};
    const QString front = call.left(slash), back = call.mid(slash + 1);
    if (otherPartIsPrefix(rem1, rem2)) return {back, front};
    return {front, back};
}

std::optional<QDate> exportDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{2}|[0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(1).toInt();
    if (m.capturedLength(1) == 2) year += year < 30 ? 2000 : 1900;
    const QDate date(year, m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::optional<LoggedTime> exportTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{2}):([0-9]{2})([JU]?)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const QTime time(m.captured(1).toInt(), m.captured(2).toInt());
    if (!time.isValid()) return std::nullopt;
    const QString zone = m.captured(3);
    return LoggedTime{time, zone.isEmpty() ? '\0' : zone[0].toLatin1()};
}

std::optional<UtcStamp> utcStamp(const QString& dateText, const QString& timeText) {
    const std::optional<QDate> date = exportDate(dateText);
    const std::optional<LoggedTime> time = exportTime(timeText);
    if (!date || !time) return std::nullopt;
    QDateTime at(*date, time->time, QTimeZone::utc());
    if (time->zone == 'J') at = at.addSecs(-9 * 3600);
    return UtcStamp{at.date().toString(QStringLiteral("yyyyMMdd")),
                    at.time().toString(QStringLiteral("HHmm"))};
}

QString ExportModeName(const QString& mode) {
    const QString text = mode.trimmed();
    const QString upper = text.toUpper();
    if (upper.startsWith(QLatin1String("MFSK"))) return QStringLiteral("MFSK");
    if (upper.contains(QLatin1String("PSK")) || upper.contains(QLatin1String("PK")))
        return QStringLiteral("PSK31");
    if (upper.contains(QLatin1String("TY")) || upper.contains(QLatin1String("RT")))
        return QStringLiteral("RTTY");
    if (upper.contains(QLatin1String("STV"))) return QStringLiteral("SSTV");
    return text;
}

QString exportBand(const QString& freq) {
    const QString text = freq.trimmed();
    for (const BandLabel& l : kBandLabels)
        if (text == QLatin1String(l.label)) return QString::fromLatin1(l.band);
    const BandRange* r = rangeOf(text);
    return r ? QString::fromLatin1(r->band) : QString();
}

bool isBandFrequency(const QString& freq) {
    return rangeOf(freq) != nullptr;
}

} // namespace logbook
