// The log tab's two list editors: one button opens its file in a box for
// editing, the next press writes the box back whole and fills the list that
// the file feeds (the reports beside the main window's RST box, the extra
// modes of the log entry window).
#include "core/Globals.h"
#include "core/ListFiles.h"
#include "core/SharedRoutines.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "settings/sheet/CFGSHEET.h"
#include "settings/sheet/SheetControls.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QFile>

namespace {

using Entries = QStringList (*)(const QByteArray&);

// The list file in the program folder, as it is spelt there when it exists.
QString listPath(const QString& name) {
    core::g.SearchFolder = paths::programFolder();
    const QString found = core::FindFileOnPath(name);
    return found.isEmpty() ? paths::join(paths::programFolder(), name) : found;
}

// The entries of the file; nothing when it is missing or cannot be read.
QStringList readEntries(const QString& name, Entries entries) {
    QFile f(listPath(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return entries(f.readAll());
}

// The report file's lines for its editor: whole, so that a line longer than
// the list takes is not cut by being edited; blank lines left out as the list
// leaves them, and blanks at a line's end (which the list never reaches).
QStringList reportLines(const QByteArray& file) {
    QStringList lines;
    for (QString line : core::ListFileLines(file)) {
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        if (!line.isEmpty()) lines << line;
    }
    return lines;
}

// One editor: its box, its button, its file, the list the file fills, and the
// file's lines as the box shows them.
struct Editor {
    QPlainTextEdit* box;
    QPushButton* button;
    bool& open;
    QString file;
    Entries entries;
    QString openCaption;
    QString savedCaption;
    Entries shown;
};

void openEditor(const Editor& e) {
    e.box->show();
    e.open = true;
    e.button->setText(e.openCaption);
    e.box->setFocus();
    e.box->clear();
    QString text;
    for (const QString& entry : readEntries(e.file, e.shown))
        text += entry + QLatin1Char('\n');
    e.box->setPlainText(text);
    e.box->document()->setModified(false);
}

// Reports longer than the list takes are said before they are stored: the
// list shows only their first three characters. False when the operator
// goes back to the box.
bool longReportsAgreed(const Editor& e) {
    if (e.entries != core::RstMenuEntries) return true;
    QStringList cut;
    for (const QString& line : reportLines(cp932::encode(e.box->toPlainText()))) {
        const QStringList taken = core::RstMenuEntries(cp932::encode(line));
        if (line.size() > 3) cut << line + QStringLiteral(" → ") + taken.value(0);
    }
    if (cut.isEmpty()) return true;
    const QString prompt = QStringLiteral("RSTの一覧には各行の先頭3文字だけが使われます:\r\n") +
                           cut.join(QStringLiteral("\r\n")) +
                           QStringLiteral("\r\n行はこのまま保存します。よろしいですか？");
    if (ui::msgBox(prompt, ui::YesNo | ui::Exclamation) == ui::Yes) return true;
    e.box->setFocus();
    return false;
}

// Writes the box to the file; on failure the editor stays open with what was
// typed and the operator is told which file could not be written. The list
// files are Shift-JIS: a character they would give back as another is never
// written ("?", "\" for "¥").
bool saveEditor(const Editor& e) {
    const QString path = listPath(e.file);
    // Left as it was shown, the file keeps its bytes.
    if (e.box->document()->isModified() || !QFile::exists(path)) {
        // Checked as typed: the plain text has made a no-break space a blank and a
        // line separator a line break (an entry of its own).
        if (!ui::shiftJisHolds(ui::typedText(*e.box->document()), e.box, e.savedCaption,
                               e.file + QStringLiteral(" に保存")) ||
            !longReportsAgreed(e))
            return false;
        if (!files::replaceWhole(path, core::ListFileBytes(e.box->toPlainText()))) {
            ui::msgBox(e.file + QStringLiteral(" に書き込めません。入力した内容はそのまま残しています。\n") +
                           path,
                       ui::OkOnly + ui::Exclamation);
            return false;
        }
    }
    e.open = false;
    e.button->setText(e.savedCaption);
    return true;
}

Editor rstEditor(QPlainTextEdit* box, QPushButton* button, bool& open) {
    return {box,
            button,
            open,
            QStringLiteral("RSTmenu.DAT"),
            core::RstMenuEntries,
            QStringLiteral("RST set完了"),
            QStringLiteral("RST menuset"),
            reportLines};
}

Editor modeEditor(QPlainTextEdit* box, QPushButton* button, bool& open) {
    return {box,
            button,
            open,
            QStringLiteral("otherMODE.DAT"),
            core::OtherModeEntries,
            QStringLiteral("MODEset完了"),
            QStringLiteral("other MODE"),
            core::OtherModeEntries};
}

} // namespace

void CFGSHEET::Command15_Click() {
    if (core::g.OpMode == core::ModeSstv) {
        ui::msgBox(QStringLiteral("SSTVのRSV List はSSTV Main画面の「設定」から行って下さい。"), ui::OkOnly);
        return;
    }
    if (!rstEditorOpen_) return openEditor(rstEditor(Text10, Command15, rstEditorOpen_));
    storeListEditor(true);
}

void CFGSHEET::Command16_Click() {
    if (!modeEditorOpen_) return openEditor(modeEditor(Text12, Command16, modeEditorOpen_));
    storeListEditor(false);
}

bool CFGSHEET::storeListEditor(bool rst) {
    const Editor e =
        rst ? rstEditor(Text10, Command15, rstEditorOpen_) : modeEditor(Text12, Command16, modeEditorOpen_);
    if (!saveEditor(e)) return false;
    const QStringList entries = readEntries(e.file, e.entries);
    if (rst) {
        if (PSK31MAIN* main = settings::LoadedMain()) {
            main->List4->clear();
            main->List4->addItems(entries);
        }
    } else {
        QListWidget* modes = forms::TEMP_LOG().List1;
        modes->clear();
        modes->addItems(entries);
    }
    e.box->hide();
    return true;
}

bool CFGSHEET::listEditorsStored() {
    // The sheet's closing keeps what is typed in an open editor as the
    // editor's own button does; a refusal keeps the sheet open on the box.
    for (const bool rst : {true, false}) {
        if (!(rst ? rstEditorOpen_ : modeEditorOpen_) || storeListEditor(rst)) continue;
        QPlainTextEdit* box = rst ? Text10 : Text12;
        for (int tab = 0; tab < SSTab1->count(); ++tab)
            if (SSTab1->widget(tab)->isAncestorOf(box)) SSTab1->setCurrentIndex(tab);
        raise();
        activateWindow();
        box->setFocus();
        return false;
    }
    return true;
}
