#include "core/lists/ListFiles.h"

#include "core/Blanks.h"
#include "platform/os/AtomicFile.h"
#include "platform/profile/ProfileParse.h"

#include <QFile>

#include <algorithm>
#include <vector>

namespace core {
namespace {

QString withoutEndBlanks(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

// The file's lines decoded one by one, each with where its bytes lie. An odd
// byte left at the end of a UTF-16 file is no line: it stays at the end.
struct FileLines {
    profile::Parsed parsed;
    QStringList texts;
    QByteArray oddTail;
};

FileLines fileLines(const QByteArray& file) {
    FileLines f{profile::parse(file), {}, {}};
    QList<profile::Line>& lines = f.parsed.lines;
    if (profile::isUtf16(f.parsed.encoding) && !lines.isEmpty() && lines.last().whole.end % 2) {
        f.oddTail = file.mid(lines.last().whole.begin);
        lines.removeLast();
    }
    for (const profile::Line& line : lines)
        f.texts << profile::decode(file, line.text, f.parsed.encoding);
    return f;
}

// A line as the matching sees it. A line of the file is its shown text, or,
// for a line the list leaves out, the line itself; an edited line is what
// was typed, and whether the list would leave it out.
struct Key {
    bool shown = false;
    QString text;
};

Key oldKey(const QString& line, ShownLine shown) {
    if (const auto s = shown(line)) return {true, *s};
    return {false, line};
}

Key editedKey(const QString& line, ShownLine shown) {
    return {shown(line).has_value(), line};
}

// An edited line is a line of the file when it reads as that line is shown;
// a line left out only by a line typed as it stands and left out too.
bool same(const Key& old, const Key& edited) {
    return old.text == edited.text && (old.shown || !edited.shown);
}

// Pairs (old, edited) of equal keys, both in rising order, as many as can be.
// Beyond a size where the table would take too much memory, equal lines are
// paired as they come.
std::vector<std::pair<qsizetype, qsizetype>> matching(const QList<Key>& a, const QList<Key>& b) {
    std::vector<std::pair<qsizetype, qsizetype>> pairs;
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && same(a[head], b[head])) {
        pairs.emplace_back(head, head);
        ++head;
    }
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           same(a[a.size() - 1 - tail], b[b.size() - 1 - tail]))
        ++tail;
    const qsizetype n = a.size() - head - tail;
    const qsizetype m = b.size() - head - tail;
    constexpr qsizetype Cells = 1 << 22;
    if (n > 0 && m > 0 && (n + 1) * (m + 1) <= Cells) {
        // Longest common run, filled from the ends so that it is read forwards.
        std::vector<std::uint32_t> len(std::size_t((n + 1) * (m + 1)), 0);
        auto at = [&](qsizetype i, qsizetype j) -> std::uint32_t& {
            return len[std::size_t(i * (m + 1) + j)];
        };
        for (qsizetype i = n - 1; i >= 0; --i)
            for (qsizetype j = m - 1; j >= 0; --j)
                at(i, j) = same(a[head + i], b[head + j]) ? at(i + 1, j + 1) + 1
                                                          : std::max(at(i + 1, j), at(i, j + 1));
        qsizetype i = 0;
        qsizetype j = 0;
        while (i < n && j < m) {
            if (same(a[head + i], b[head + j])) {
                pairs.emplace_back(head + i, head + j);
                ++i;
                ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    } else if (n > 0 && m > 0) {
        qsizetype i = head;
        for (qsizetype j = head; j < head + m && i < head + n; ++j) {
            qsizetype k = i;
            while (k < head + n && !same(a[k], b[j]))
                ++k;
            if (k == head + n) continue;
            pairs.emplace_back(k, j);
            i = k + 1;
        }
    }
    for (qsizetype t = tail; t > 0; --t)
        pairs.emplace_back(a.size() - t, b.size() - t);
    return pairs;
}

} // namespace

QStringList ListFileLines(const QByteArray& file) {
    return fileLines(file).texts;
}

QStringList RstMenuEntries(const QByteArray& file) {
    QStringList entries;
    for (const QString& line : ListFileLines(file)) {
        const QString report = TrimBlanks(line.left(3));
        if (!report.isEmpty()) entries << report;
    }
    return entries;
}

QStringList OtherModeEntries(const QByteArray& file) {
    return ShownListLines(file, ShownMode);
}

std::optional<QString> ShownUnlessEmpty(const QString& line) {
    if (line.isEmpty()) return std::nullopt;
    return line;
}

std::optional<QString> ShownUnlessBlank(const QString& line) {
    if (line.trimmed().isEmpty()) return std::nullopt;
    return line;
}

std::optional<QString> ShownTrimmed(const QString& line) {
    const QString shown = line.trimmed();
    if (shown.isEmpty()) return std::nullopt;
    return shown;
}

std::optional<QString> ShownReport(const QString& line) {
    const QString shown = withoutEndBlanks(line);
    if (shown.isEmpty()) return std::nullopt;
    return shown;
}

std::optional<QString> ShownMode(const QString& line) {
    const QString shown = TrimBlanks(line);
    if (shown.isEmpty()) return std::nullopt;
    return shown;
}

QStringList ShownListLines(const QByteArray& file, ShownLine shown) {
    QStringList lines;
    for (const QString& line : ListFileLines(file))
        if (const auto s = shown(line)) lines << *s;
    return lines;
}

KeptList KeptListBytes(const QByteArray& file, const QStringList& edited, ShownLine shown) {
    const FileLines old = fileLines(file);
    const profile::Parsed& parsed = old.parsed;
    QList<Key> oldKeys;
    for (const QString& line : old.texts)
        oldKeys << oldKey(line, shown);
    QList<Key> editedKeys;
    for (const QString& line : edited)
        editedKeys << editedKey(line, shown);

    const QByteArray lineEnd = profile::lineEndOf(file, parsed);
    KeptList out{file.left(parsed.bodyStart), QList<bool>(edited.size(), false)};
    bool open = false; // the last line put out has no line end of its own
    auto keep = [&](qsizetype i) {
        const profile::Line& line = parsed.lines[i];
        if (open) out.bytes += lineEnd;
        out.bytes += file.mid(line.whole.begin, line.whole.end - line.whole.begin);
        open = line.whole.end == line.text.end;
    };
    auto write = [&](qsizetype j) {
        if (open) out.bytes += lineEnd;
        out.bytes += profile::encode(edited[j], parsed.encoding) + lineEnd;
        open = false;
    };

    auto pairs = matching(oldKeys, editedKeys);
    pairs.emplace_back(oldKeys.size(), editedKeys.size());
    qsizetype i = 0;
    qsizetype j = 0;
    for (const auto& [mi, mj] : pairs) {
        // Between two kept lines: an edited line takes the place of a line
        // shown and changed or gone; lines left out stay where they were.
        for (; i < mi; ++i) {
            if (!oldKeys[i].shown)
                keep(i);
            else if (j < mj)
                write(j++);
        }
        while (j < mj)
            write(j++);
        if (mi == oldKeys.size()) break;
        keep(mi);
        out.kept[mj] = true;
        i = mi + 1;
        j = mj + 1;
    }
    out.bytes += old.oddTail;
    return out;
}

ListFileRead ReadListFileBytes(const QString& path, QByteArray& bytes) {
    bytes.clear();
    QFile file(path);
    if (!file.exists()) return ListFileRead::Missing;
    if (!file.open(QIODevice::ReadOnly)) return ListFileRead::Unreadable;
    // Read to its size and a byte beyond: a file that grows meanwhile, or a
    // device that has no size, is refused rather than read without end.
    const qint64 size = file.size();
    if (size <= kLargestListFile) bytes = file.read(size + 1);
    // Lines as ListFileLines splits them: at CR LF, LF or a lone CR.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < bytes.size() && breaks <= kMostListLines; ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++breaks;
    if (size <= kLargestListFile && bytes.size() <= size && breaks <= kMostListLines)
        return ListFileRead::Read;
    bytes.clear();
    SayListFileTooLarge(path);
    return ListFileRead::TooLarge;
}

bool StoreListFile(const QString& path, const QStringList& edited, ShownLine shown) {
    QByteArray old;
    const ListFileRead read = ReadListFileBytes(path, old);
    if (read != ListFileRead::Read && read != ListFileRead::Missing) return false;
    const bool exists = read == ListFileRead::Read;
    const QByteArray bytes = KeptListBytes(old, edited, shown).bytes;
    if (exists && bytes == old) return true;
    return files::replaceWhole(path, bytes);
}

} // namespace core
