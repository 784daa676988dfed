#pragma once
// The configuration store over ZORVATEK.INI in the program folder. The section
// is core::g.IniSection, which every caller sets just before the call.
// A key that is missing (or its section, or the file) reads back as the
// section's name, which callers take as "missing" and replace by their default;
// "Key=" reads back as the empty text.
//
// A write that cannot be made (a read-only file, a full disk) leaves the file
// as it was, returns false and says once on the message line that the
// settings cannot be saved; the next write that succeeds ends that run. What
// was written still holds for the rest of the run: it reads back, and goes
// into the file with the next write the file takes.
#include "core/ini/IniKey.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace core {

// True when the file can be opened for reading (a folder or an empty path is not a file).
bool FileExists(const QString& path);
// The full path of ZORVATEK.INI, built anew at each call.
QString IniFilePath();

void GetIniString(const QString& key, QString& value);
// Writes Key=Value in section IniSection; the key "NEW" (exactly) deletes the
// file instead. The value is written on one line: each line break in it
// becomes one blank. A value with a character the file would give back as
// another is not written, unless the key already reads back as it; nothing is
// said here (the box that took the text says it, through IniHolds), so the
// call never waits on the operator. True when the file holds
// the value (or was deleted), or when the run already holds it for want of a writable file; on a failed write
// the file is left as it was. Inside a batch, true when the file may be written; the write itself comes when
// the batch ends. A key built at run time that names a name key is not
// written (false): names go through PutIniName.
bool PutIniString(const IniKey& key, const QString& value);

// The file's one way in for a value: the text writer above and the name
// writer (PutIniName) alone reach it.
class IniWriter {
    static bool write(const QString& key, const QString& value);
    friend bool PutIniString(const IniKey& key, const QString& value);
    friend bool PutIniName(const QString& section, const QString& key, const QString& name);
};

// The characters of the text that ZORVATEK.INI would give back as others in
// its encoding (Shift-JIS, or UTF-8 or UTF-16 by its byte-order mark), each
// once: a value holding one is not stored. One Shift-JIS holds under another
// code point of the same look (the wave dash) is stored in that form.
QString IniUncarried(const QString& text);

// The same for the name of a file or folder: only characters that come back
// as the same code points count, or the setting would name another file.
QString IniUncarriedPath(const QString& path);

// True when ZORVATEK.INI can hold the text as it stands. Otherwise the
// operator is told which characters it lacks, in the settings sheet's words,
// and false: such a text is never stored with "?" in their place.
bool IniHolds(const QString& text);
// The same, said with the box that holds the text, as every writer says it.
bool IniHolds(const QString& text, const QString& boxName);
// The same for a path the settings are to name (IniUncarriedPath).
bool IniHoldsPath(const QString& path);
// The same for a name the settings are to keep (a font family), said with the
// box that chose it.
bool IniHoldsName(const QString& name, const QString& boxName);

// A file or folder the operator picks for the settings to name: while the
// part to be stored (the whole path, or the folder it lies in) has a character
// ZORVATEK.INI cannot hold, the operator is told and the dialog comes again.
// The empty text when the dialog is cancelled.
enum class StoredPart { WholePath, Folder };
QString IniHeldChoice(const std::function<QString()>& choose, StoredPart stored);

// What is said of a folder used for the run and not remembered, by default.
inline const QString kFolderUsedAllTheSame =
    QStringLiteral("ファイルはこのフォルダに保存（または読み込み）しました。");
// Remembers the folder of a file the operator chose (and that was saved or
// read all the same) under the key (PutIniName): one the settings cannot name
// is not remembered, which is said once for that folder in the run, with what
// was done with it all the same. False then.
bool RememberFolder(const QString& section, const QString& key, const QString& folder,
                    const QString& used = kFolderUsedAllTheSame);
// Says once in the run, in one box, that these folders are not remembered for
// the characters lost, and what is done with them all the same.
void TellNotRemembered(const QStringList& folders, const QString& lost, const QString& used);

// The value of a key, or defaultValue when the key is missing (reads back as the section).
QString IniValueOr(const QString& section, const QString& key, const QString& defaultValue);

// The message line's words for a write that was refused or failed.
extern const QString kSettingsNotSaved;

// What this run holds that ZORVATEK.INI has not taken, as "section key" each,
// in the order written: lost at the end of the run unless a write succeeds first.
QStringList UnsavedSettings();
// At the end of the run: says once which settings are lost, when any are.
void TellUnsavedSettings();

// Reads and writes that belong together (a window's load, the column layout):
// while a batch is open the file is read once, and what is written goes into
// the file in one write when the outermost batch closes. Batches nest; an
// inner one joins the outer. What is written reads back at once.
class IniBatch {
  public:
    IniBatch();
    ~IniBatch();
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;
};

} // namespace core
