#include "sstv/overlay/SstvFonts.h"

#include "core/lists/ListFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace sstv {

bool IsTrueText(const QString& text) {
    return text == QLatin1String("True");
}

namespace {

const QString kGap = QStringLiteral("  ");

QString truthText(const QString& text) {
    return IsTrueText(text) ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString FavouriteEntry(const TitleFont& font) {
    return QStringList{font.name, font.size, font.color, font.bold, font.italic}.join(kGap);
}

std::optional<TitleFont> ParseFavourite(const QString& entry) {
    // Each field ends at the next double blank; the last one runs to the end.
    std::array<QString, 4> heads;
    qsizetype from = 0;
    for (QString& head : heads) {
        const qsizetype gap = entry.indexOf(kGap, from);
        if (gap < 0) return std::nullopt;
        head = entry.mid(from, gap - from);
        from = gap + kGap.size();
    }
    TitleFont font;
    font.name = heads[0];
    font.size = heads[1];
    font.color = heads[2];
    font.bold = truthText(heads[3]);
    font.italic = truthText(entry.mid(entry.lastIndexOf(kGap) + kGap.size()));
    return font;
}

bool HoldsFavourite(const QStringList& entries, const QString& entry) {
    for (const QString& e : entries)
        if (e.contains(entry, Qt::CaseSensitive)) return true;
    return false;
}

QString FontSizeText(double points) {
    return QString::number(points, 'g', 6);
}

double FontSizeValue(const QString& text) {
    static const QRegularExpression leading(QStringLiteral("^\\s*([0-9]+(\\.[0-9]*)?|\\.[0-9]+)"));
    const QRegularExpressionMatch m = leading.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 12.0;
}

int RoundedSize(double points) {
    return int(std::nearbyint(points));
}

int OutlineIndexFor(std::uint32_t colour, int on) {
    if (on == 0) return 0;
    for (int index : OutlineIndices) {
        const auto row = OutlineFor(index);
        if (row && row->on == 1 && row->colour == colour) return index;
    }
    return 0;
}

std::optional<OutlineRow> OutlineFor(int index) {
    switch (index) {
    case 0:
        return OutlineRow{0xFFFFFF, 0};
    case 1:
        return OutlineRow{0x000000, 1};
    case 10:
        return OutlineRow{0xFF0000, 1};
    case 11:
        return OutlineRow{0x00FF00, 1};
    case 13:
        return OutlineRow{0x0000FF, 1};
    case 15:
        return OutlineRow{0x00FFFF, 1};
    case 16:
        return OutlineRow{0xFFFFFF, 1};
    default:
        return std::nullopt;
    }
}

GradientBars ChooseRunning(GradientBars bars, int index) {
    if (index < 0 || index > 2) return bars;
    for (int c = 0; c < 3; ++c)
        if (c != bars.running) bars.kept[std::size_t(c)] = bars.value[std::size_t(c)];
    bars.running = index;
    for (int c = 0; c < 3; ++c) {
        const bool runs = c == index;
        bars.value[std::size_t(c)] = runs ? 255 : bars.kept[std::size_t(c)];
        bars.enabled[std::size_t(c)] = !runs;
    }
    return bars;
}

std::array<QString, 3> GradientLabels(const GradientBars& bars) {
    std::array<QString, 3> labels;
    for (int c = 0; c < 3; ++c)
        labels[std::size_t(c)] =
            c == bars.running ? QStringLiteral("変") : QString::number(bars.value[std::size_t(c)]);
    return labels;
}

namespace {

core::ShownLine listLine(bool skipBlank) {
    return skipBlank ? core::ShownUnlessBlank : core::ShownUnlessEmpty;
}

} // namespace

std::optional<QStringList> ReadListFile(const QString& path, bool skipBlank) {
    QByteArray bytes;
    if (core::ReadListFileBytes(path, bytes) != core::ListFileRead::Read) return std::nullopt;
    return core::ShownListLines(bytes, listLine(skipBlank));
}

bool WriteListFile(const QString& path, const QStringList& entries, bool skipBlank) {
    return core::StoreListFile(path, entries, listLine(skipBlank));
}

} // namespace sstv
