// The log tab's two list editors: one button opens its file in a box for
// editing, the next press writes back what was changed and fills the list that
// the file feeds (the reports beside the main window's RST box, the extra
// modes of the log entry window).
#include "core/Globals.h"
#include "core/SharedRoutines.h"
#include "core/lists/ListBoxes.h"
#include "core/lists/ListFiles.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
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

// What the report list takes of a line: its first three characters, blanks
// trimmed after the cut.
QString takenReport(const QString& line) {
    return core::RstMenuEntries(cp932::encode(line)).value(0);
}

// One editor: its box, its button, its file, the list the file fills.
struct Editor {
    core::ListBox list;
    QPushButton* button;
    bool& open;
    Entries entries;
    QString openCaption;
    QString savedCaption;
};

void openEditor(const Editor& e) {
    e.list.box->show();
    e.open = true;
    e.button->setText(e.openCaption);
    e.list.box->setFocus();
    core::OpenListBox(e.list);
}

// Writes the box to the file; on failure the editor stays open with what was
// typed and the operator is told which file could not be written.
bool saveEditor(const Editor& e) {
    switch (core::StoreListBox(e.list)) {
    case core::ListBoxStore::Refused:
        return false;
    case core::ListBoxStore::NotWritten:
        ui::msgBox(e.list.file + QStringLiteral(" に書き込めません。入力した内容はそのまま残しています。\n") +
                       e.list.path,
                   ui::OkOnly + ui::Exclamation);
        return false;
    case core::ListBoxStore::Stored:
        break;
    }
    e.open = false;
    e.button->setText(e.savedCaption);
    return true;
}

Editor rstEditor(QPlainTextEdit* box, QPushButton* button, bool& open) {
    const QString file = QStringLiteral("RSTmenu.DAT");
    return {{box, file, listPath(file), core::ShownReport, takenReport, QStringLiteral("RST"),
             QStringLiteral("RST menuset")},
            button,
            open,
            core::RstMenuEntries,
            QStringLiteral("RST set完了"),
            QStringLiteral("RST menuset")};
}

Editor modeEditor(QPlainTextEdit* box, QPushButton* button, bool& open) {
    const QString file = QStringLiteral("otherMODE.DAT");
    return {{box, file, listPath(file), core::ShownMode, nullptr, QString(), QStringLiteral("other MODE")},
            button,
            open,
            core::OtherModeEntries,
            QStringLiteral("MODEset完了"),
            QStringLiteral("other MODE")};
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
    const QStringList entries = readEntries(e.list.file, e.entries);
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
    e.list.box->hide();
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
