#include "core/ini/IniStore.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniNames.h"
#include "core/ini/SettingRanges.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/OneLine.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Paths.h"
#include "platform/profile/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace core {

const QString kSettingsNotSaved = QStringLiteral("ZORVATEK.INI に書き込めないため、設定を保存できません");

namespace {

constexpr int kNotSavedMsecs = 5000;

// The open batch: the file as read at its first read, with the batch's own
// writes made, and those writes to make when it closes.
struct Batch {
    int depth = 0;
    QString path;
    std::optional<QByteArray> bytes;
    QList<profile::Edit> edits;
};

Batch& batch() {
    static Batch b;
    return b;
}

// Writes the file could not take: they hold for the rest of the run, read back
// over the file's bytes, and go into the file with the next write it takes.
// They belong to the file they were meant for.
QList<profile::Edit>& unsaved(const QString& path) {
    static QString forPath;
    static QList<profile::Edit> edits;
    if (path != forPath) {
        forPath = path;
        edits.clear();
    }
    return edits;
}

QByteArray withUnsaved(QByteArray bytes, const QString& path) {
    for (const profile::Edit& e : unsaved(path))
        bytes = profile::edited(bytes, e);
    return bytes;
}

// Writes the edits, with those the file could not take before; on failure
// they join those.
bool writeWithUnsaved(const QList<profile::Edit>& edits, const QString& path) {
    const bool ok = profile::writeStrings(unsaved(path) + edits, path);
    if (ok)
        unsaved(path).clear();
    else
        unsaved(path) += edits;
    return ok;
}

// The file's path, found once for the whole batch.
QString storePath() {
    Batch& b = batch();
    if (b.depth == 0) return IniFilePath();
    if (b.path.isEmpty()) b.path = IniFilePath();
    return b.path;
}

const QByteArray& batchBytes(const QString& path) {
    Batch& b = batch();
    if (!b.bytes) b.bytes = withUnsaved(profile::readFile(path).value_or(QByteArray()), path);
    return *b.bytes;
}

// Said once for a run of failed writes: every setting the operator changes
// after the first would otherwise repeat it. The run ends when the file may be
// written again (a value the file already held needs no write either way).
void noteWrite(bool ok, const QString& path) {
    if (ok) {
        if (files::mayReplace(path)) g.SettingsNotSavedShown = 0;
        return;
    }
    if (g.SettingsNotSavedShown == 1) return;
    if (ShowTimedMessageIfLoaded(kSettingsNotSaved, kNotSavedMsecs)) g.SettingsNotSavedShown = 1;
}

bool deleteFile(const QString& path) {
    unsaved(path).clear();
    ForgetNumbersInUse(path);
    Batch& b = batch();
    if (b.depth > 0) {
        b.bytes = QByteArray();
        b.edits.clear();
    }
    if (FileExists(path)) return QFile::remove(path);
    return true;
}

QByteArray currentBytes(const QString& path) {
    if (batch().depth > 0) return batchBytes(path);
    return withUnsaved(profile::readFile(path).value_or(QByteArray()), path);
}

bool alreadyHolds(const profile::Edit& edit, const QString& path) {
    const QString none = QStringLiteral("\x01");
    return profile::stringIn(currentBytes(path), edit.section, edit.key, none) == edit.value;
}

// The folder part of a chosen path, whichever separator it was written with.
QString folderPart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut);
}

} // namespace

bool FileExists(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadOnly);
    f.close();
    return ok;
}

QString IniFilePath() {
    return paths::join(paths::programFolder(), QStringLiteral("ZORVATEK.INI"));
}

void GetIniString(const QString& key, QString& value) {
    // Values are read whole: the store keeps no fixed-size buffer that could cut them.
    const QString path = storePath();
    if (batch().depth > 0)
        value = profile::stringIn(batchBytes(path), g.IniSection, key, g.IniSection);
    else
        value = profile::stringIn(withUnsaved(profile::readFile(path).value_or(QByteArray()), path),
                                  g.IniSection, key, g.IniSection);
    // A value ends at its first NUL, as a text handed over by the store always has.
    const qsizetype nul = value.indexOf(QChar(0));
    if (nul >= 0) value.truncate(nul);
    if (const std::optional<QString> used = NumberInUse(path, g.IniSection, key)) value = *used;
}

bool PutIniString(const IniKey& key, const QString& value) {
    if (key.isBuilt() && IsNameKey(g.IniSection, key.text())) return false;
    return IniWriter::write(key.text(), value);
}

bool IniWriter::write(const QString& key, const QString& value) {
    const QString path = storePath();
    if (key == QLatin1String("NEW")) return deleteFile(path);
    // A value is one line of the file, whoever writes it: a line break would
    // start lines of its own (a section, a key) that the operator never typed.
    const profile::Edit edit{g.IniSection, key, ui::oneLine(value)};
    // A number brought into its range for the run is stored only once it changes.
    if (StoredAsInUse(path, edit.section, key, edit.value)) return true;
    // Whoever writes, a character the file would give back as another is
    // refused, never turned into "?"; a value the key already holds is no
    // change. A name must come back as the same code points, whoever writes
    // it, or it would name another file or font. The store asks nothing: the
    // box or chooser that took the text says why (IniHolds, IniHoldsName), as
    // it alone knows where the operator typed it.
    const QString lost =
        IsNameKey(edit.section, key) ? IniUncarriedPath(edit.value) : IniUncarried(edit.value);
    if (!lost.isEmpty() && !alreadyHolds(edit, path)) return false;
    Batch& b = batch();
    if (b.depth > 0) {
        b.bytes = profile::edited(batchBytes(path), edit);
        b.edits.append(edit);
        return files::mayReplace(path);
    }
    if (!unsaved(path).isEmpty()) {
        // A value this run already holds for want of a writable file was said
        // then; writing it back unchanged says nothing more.
        const QByteArray seen = withUnsaved(profile::readFile(path).value_or(QByteArray()), path);
        if (profile::edited(seen, edit) == seen) return true;
    }
    const bool ok = writeWithUnsaved({edit}, path);
    noteWrite(ok, path);
    return ok;
}

QStringList UnsavedSettings() {
    QStringList keys;
    for (const profile::Edit& e : unsaved(IniFilePath())) {
        const QString key = e.section + QLatin1Char(' ') + e.key;
        keys.removeAll(key);
        keys.append(key);
    }
    return keys;
}

void TellUnsavedSettings() {
    const QStringList keys = UnsavedSettings();
    if (keys.isEmpty()) return;
    ui::msgBox(kSettingsNotSaved + QStringLiteral("。\r\n次の設定は今回の終了で失われます:\r\n") +
                   keys.join(QStringLiteral("\r\n")),
               ui::OkOnly | ui::Exclamation);
}

QString IniUncarried(const QString& text) {
    // Every file holds ASCII: most texts need no look at the file.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) return {};
    return profile::uncarried(currentBytes(storePath()), text);
}

QString IniUncarriedPath(const QString& path) {
    if (std::all_of(path.begin(), path.end(), [](QChar c) { return c.unicode() < 0x80; })) return {};
    return profile::uncarried(currentBytes(storePath()), path, profile::Reading::AsName);
}

namespace {

bool heldOrTold(const QString& lost, const std::function<void(const QString&)>& tell) {
    // The warning's own opening takes the focus from the box it is about,
    // whose leaving would say it a second time.
    static bool telling = false;
    if (lost.isEmpty()) return true;
    if (telling) return false;
    telling = true;
    tell(lost);
    telling = false;
    return false;
}

} // namespace

bool IniHolds(const QString& text) {
    return heldOrTold(IniUncarried(text), [](const QString& lost) { ui::sayUnstorable(lost); });
}

bool IniHolds(const QString& text, const QString& boxName) {
    return heldOrTold(IniUncarried(text), [&](const QString& lost) {
        ui::heldOrSaid(lost, nullptr, boxName, QStringLiteral("設定ファイルに保存"));
    });
}

bool IniHoldsPath(const QString& path) {
    return heldOrTold(IniUncarriedPath(path), [](const QString& lost) { ui::sayUnstorable(lost); });
}

bool IniHoldsName(const QString& name, const QString& boxName) {
    return heldOrTold(IniUncarriedPath(name), [&](const QString& lost) {
        ui::heldOrSaid(lost, nullptr, boxName, QStringLiteral("設定ファイルに保存"));
    });
}

QString IniHeldChoice(const std::function<QString()>& choose, StoredPart stored) {
    const ui::AskOver over;
    for (;;) {
        const QString chosen = choose();
        if (chosen.isEmpty() || IniHoldsPath(stored == StoredPart::Folder ? folderPart(chosen) : chosen))
            return chosen;
    }
}

bool RememberFolder(const QString& section, const QString& key, const QString& folder, const QString& used) {
    // A folder read back as another would point the setting at another folder.
    const QString lost = IniUncarriedPath(folder);
    if (lost.isEmpty() && PutIniName(section, key, folder)) return true;
    if (!lost.isEmpty()) TellNotRemembered({folder}, lost, used);
    return false;
}

void TellNotRemembered(const QStringList& folders, const QString& lost, const QString& used) {
    static QStringList told;
    const QString all = folders.join(QStringLiteral("\r\n"));
    if (told.contains(all)) return;
    told.append(all);
    ui::msgBox(
        all + QStringLiteral("\r\nこのフォルダ名の「") + lost +
            QStringLiteral("」は設定ファイルに保存できない文字のため、フォルダは記憶されません。\r\n") + used,
        ui::OkOnly | ui::Information);
}

QString IniValueOr(const QString& section, const QString& key, const QString& defaultValue) {
    g.IniSection = section;
    QString v;
    GetIniString(key, v);
    return v == section ? defaultValue : v;
}

IniBatch::IniBatch() {
    ++batch().depth;
}

IniBatch::~IniBatch() {
    Batch& b = batch();
    if (--b.depth > 0) return;
    const QList<profile::Edit> edits = b.edits;
    const QString path = b.path.isEmpty() ? IniFilePath() : b.path;
    b = {};
    // The file is read again: what another program changed meanwhile stays.
    if (!edits.isEmpty()) noteWrite(writeWithUnsaved(edits, path), path);
}

} // namespace core
