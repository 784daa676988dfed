#include "core/lists/ListBoxes.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/AtomicFile.h"

#include <QFile>
#include <QPlainTextEdit>

namespace core {
namespace {

std::optional<QByteArray> readFile(const QString& path) {
    QByteArray bytes;
    const ListFileRead read = ReadListFileBytes(path, bytes);
    if (read != ListFileRead::Read && read != ListFileRead::Missing) return std::nullopt;
    return bytes;
}

// The box's lines: the break that ends the last line starts none, and an
// empty box is one empty line.
QStringList boxLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The blanks before the first line and after the last are dropped, as the
// box was always trimmed, where those lines are typed ones.
bool trimTypedEnds(QStringList& lines, const QList<bool>& kept) {
    const QStringList before = lines;
    auto chopFront = [](QString& s) {
        while (s.startsWith(QLatin1Char(' ')))
            s.remove(0, 1);
    };
    auto chopBack = [](QString& s) {
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
    };
    if (!kept.first()) chopFront(lines.first());
    if (!kept.last()) chopBack(lines.last());
    return lines != before;
}

bool longerLinesAgreed(const ListBox& list, const QStringList& typed) {
    if (!list.taken) return true;
    QStringList cut;
    for (const QString& line : typed) {
        const QString taken = list.taken(line);
        if (taken != line.trimmed()) cut << line + QStringLiteral(" → ") + taken;
    }
    if (cut.isEmpty()) return true;
    const QString prompt = list.listName + QStringLiteral("の一覧には各行の先頭3文字だけが使われます:\r\n") +
                           cut.join(QStringLiteral("\r\n")) +
                           QStringLiteral("\r\n行はこのまま保存します。よろしいですか？");
    if (ui::msgBox(prompt, ui::YesNo | ui::Exclamation) == ui::Yes) return true;
    list.box->setFocus();
    return false;
}

} // namespace

bool OpenListBox(const ListBox& list) {
    list.box->clear();
    const std::optional<QByteArray> bytes = readFile(list.path);
    QString text;
    if (bytes)
        for (const QString& line : ShownListLines(*bytes, list.shown))
            text += line + QLatin1Char('\n');
    ui::setShownText(list.box, text);
    list.box->document()->setModified(false);
    return bytes.has_value() && QFile::exists(list.path);
}

ListBoxStore StoreListBox(const ListBox& list) {
    const bool exists = QFile::exists(list.path);
    const std::optional<QByteArray> old = readFile(list.path);
    if (!old) return ListBoxStore::NotWritten;
    // Checked as typed: the plain text has made a no-break space a blank and a
    // line separator a line break (an entry of its own).
    QStringList lines = boxLines(ui::typedText(*list.box->document()));
    KeptList kept = KeptListBytes(*old, lines, list.shown);
    if (trimTypedEnds(lines, kept.kept)) kept = KeptListBytes(*old, lines, list.shown);
    QStringList typed;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!kept.kept[i]) typed << lines[i];
    if (!ui::shiftJisHolds(typed.join(QLatin1Char('\n')), list.box, list.boxName,
                           list.file + QStringLiteral(" に保存")) ||
        !longerLinesAgreed(list, typed))
        return ListBoxStore::Refused;
    // Left as it was shown, the file keeps its bytes: it is not written at all.
    if (exists && kept.bytes == *old) return ListBoxStore::Stored;
    return files::replaceWhole(list.path, kept.bytes) ? ListBoxStore::Stored : ListBoxStore::NotWritten;
}

} // namespace core
