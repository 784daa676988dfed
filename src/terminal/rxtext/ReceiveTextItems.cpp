#include "terminal/rxtext/ReceiveTextItems.h"

#include "core/Blanks.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/RxPicking.h"
#include "terminal/rxtext/RCVDAT.h"
#include "terminal/rxtext/RxTextFiles.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

namespace terminal::rxtext {
namespace {

const QString kDataTitleSave = QStringLiteral("受信ﾃﾞｰﾀ保存");

void cannotSave(const QString& path) {
    ui::msgBox(QStringLiteral("受信データを保存できませんでした。\r\n") + path, ui::OkOnly | ui::Exclamation);
}

void cannotRead(const QString& what, const QString& path, ViewerFileProblem why) {
    QString reason;
    if (why == ViewerFileProblem::TooLarge) reason = QStringLiteral("（ファイルが大きすぎます）");
    if (why == ViewerFileProblem::NotText) reason = QStringLiteral("（テキストファイルではありません）");
    ui::msgBox(QStringLiteral("%1を読み込めませんでした%2。\r\n").arg(what, reason) + path,
               ui::OkOnly | ui::Exclamation);
}

void storeFolder(const QString& chosen) {
    const QString folder = folderOf(chosen);
    if (core::RememberFolder(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL"), folder))
        forms::PSK31MAIN().ReceiveFolder = folder;
}

void showViewer() {
    ::RCVDAT& v = forms::RCVDAT();
    v.show();
    v.raise();
}

// After a memo item: the clipboard emptied, the receive pane's caret at its
// end, the focus in the transmit box.
void backToTransmitBox() {
    clipboard::empty();
    PSK31MAIN& w = forms::PSK31MAIN();
    w.RichTextBox1->setSelStart(w.RichTextBox1->length());
    w.Text1->setFocus();
}

} // namespace

bool writeMemo(const QString& line) {
    // Nothing is written as "?": the text stays on the clipboard or in the pane.
    if (!ui::shiftJisHolds(line, nullptr, QStringLiteral("メモ書き"), kMemoFile + QStringLiteral(" に保存")))
        return false;
    if (!appendMemoLine(line)) return false;
    if (g.RcvViewerOpen == 1) forms::RCVDAT().appendLine(line);
    return true;
}

void RSAVE_Click() {
    const QString suggested =
        paths::join(receiveFolder(),
                    QStringLiteral("ZORVAT_") + sysclock::jstNow().toString(QStringLiteral("yyMMddHHmm")));
    // A folder the settings cannot name is used all the same, only not remembered.
    QString chosen = ui::saveFileName(kDataTitleSave, suggested, QStringLiteral("受信ﾃﾞｰﾀ (*.TXT)"));
    if (chosen.isEmpty()) return;
    chosen = withExtension(chosen, QStringLiteral(".TXT"));
    g.ViewedFilePath = chosen;
    if (!files::replaceWhole(paths::fromStored(chosen),
                             fileBytes(forms::PSK31MAIN().RichTextBox1->fileText()))) {
        cannotSave(chosen);
        return;
    }
    storeFolder(chosen);
}

void RDRCVDAT_Click() {
    const QString chosen =
        ui::openFileName(QStringLiteral("受信ﾃﾞｰﾀ閲覧"), receiveFolder(),
                         QStringLiteral("受信ﾃﾞｰﾀ (*.TXT);;受信ﾃﾞｰﾀ (*.LOG);;受信ﾃﾞｰﾀ (*.DAT)"));
    if (chosen.isEmpty()) return;
    g.ViewedFilePath = chosen;
    ViewerFileProblem why = ViewerFileProblem::None;
    QString unreadable;
    const std::optional<QString> text = readViewerFile(chosen, &why, &unreadable);
    if (!text) {
        cannotRead(QStringLiteral("受信データ"), chosen, why);
        return;
    }
    forms::RCVDAT().appendText(*text, unreadable);
    showViewer();
    storeFolder(chosen);
}

void MEMOR_Click() {
    const QString memo = paths::join(paths::programFolder(), kMemoFile);
    QString unreadable;
    ViewerFileProblem why = ViewerFileProblem::None;
    if (const std::optional<QString> text = readViewerFile(memo, &why, &unreadable)) {
        forms::RCVDAT().appendText(*text, unreadable);
        showViewer();
        return;
    }
    // A memo that is there but not shown is not offered to be made anew: the
    // viewer's close would write its empty text over it.
    if (why != ViewerFileProblem::CannotRead) return cannotRead(QStringLiteral("メモ帳"), memo, why);
    const ui::MsgResult answer =
        ui::msgBox(QStringLiteral("メモ帳がOPEN出来ませんでした。新しく作成しますか？"), ui::YesNo);
    if (answer != ui::Yes) return;
    QFile created(memo);
    if (!created.exists() && !created.open(QIODevice::WriteOnly)) {
        cannotSave(memo);
        return;
    }
    showViewer();
}

void MEMOW_Click() {
    if (!writeMemo(core::TrimBlanks(QGuiApplication::clipboard()->text()))) return;
    backToTransmitBox();
}

void PSTMEMO_Click() {
    if (!writeMemo(core::TrimBlanks(receive::g.PickedWord))) return;
    backToTransmitBox();
}

void connectReceiveTextItems(PSK31MAIN& w) {
    QObject::connect(w.RSAVE, &QAction::triggered, &w, &RSAVE_Click);
    QObject::connect(w.RDRCVDAT, &QAction::triggered, &w, &RDRCVDAT_Click);
    QObject::connect(w.MEMOR, &QAction::triggered, &w, &MEMOR_Click);
    QObject::connect(w.MEMOW, &QAction::triggered, &w, &MEMOW_Click);
    QObject::connect(w.PSTMEMO, &QAction::triggered, &w, &PSTMEMO_Click);
}

} // namespace terminal::rxtext
