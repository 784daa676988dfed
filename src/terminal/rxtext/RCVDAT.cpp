#include "terminal/rxtext/RCVDAT.h"

#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/rxtext/RxTextFiles.h"

#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QTextCursor>

namespace terminal::rxtext {

Globals g;

namespace {

const QString kPos = QStringLiteral("CFGPOS");
constexpr int kDefaultWidth = 10920;
constexpr int kDefaultHeight = 5400;
constexpr int kBoxNarrower = 135;
constexpr int kBoxShorter = 30;

bool writeWhole(const QString& path, const QString& text) {
    return files::replaceWhole(paths::fromStored(path), fileBytes(text));
}

void cannotSave(const QString& path) {
    ui::msgBox(QStringLiteral("受信データを保存できませんでした。\r\n") + path, ui::OkOnly | ui::Exclamation);
}

} // namespace

} // namespace terminal::rxtext

using namespace terminal::rxtext;

RCVDAT::RCVDAT() : Text1(new ui::ShownLinesEdit) {
    setWindowTitle(QStringLiteral("受信ﾃﾞｰﾀ表示"));
    auto* canvas = new QWidget;
    Text1->setParent(canvas);
    setCentralWidget(canvas);
    RCVMEMO = menuBar()->addAction(QStringLiteral("受信ﾃﾞｰﾀとして保存"));
    DELRCVDAT = menuBar()->addAction(QStringLiteral("Ｆｉｌｅ削除"));
    RDEND = menuBar()->addAction(QStringLiteral("閲覧終了"));
    connect(RCVMEMO, &QAction::triggered, this, &RCVDAT::RCVMEMO_Click);
    connect(DELRCVDAT, &QAction::triggered, this, &RCVDAT::DELRCVDAT_Click);
    connect(RDEND, &QAction::triggered, this, [this] { RDEND_Click(); });
}

void RCVDAT::Form_Load() {
    const QRect screen = winframe::screenPx();
    int top = 0;
    int left = 0;
    int width = kDefaultWidth;
    // Only a complete stored place is used; a key that is no number gives the defaults.
    if (core::IniStored(kPos, QStringLiteral("RCVPOSTop"))) {
        const auto t = core::IniWhole(kPos, QStringLiteral("RCVPOSTop"));
        const auto l = core::IniWhole(kPos, QStringLiteral("RCVPOSLeft"));
        const auto w = core::IniWhole(kPos, QStringLiteral("RCVPOSWidth"));
        // A width larger than the screen gives them too.
        if (t && l && w && *w > 0 && *w <= twips::fromPx(screen.width())) {
            top = *t;
            left = *l;
            width = *w;
        }
    }
    // Stored and designed sizes are outer sizes; the place keeps the window whole at its size.
    const QSize frame = winframe::framePx(this);
    resize(std::max(1, twips::toPx(width) - frame.width()),
           std::max(1, twips::toPx(kDefaultHeight) - frame.height()));
    winframe::placeOnScreen(this, left, top);
    g.RcvViewerOpen = 1;
}

void RCVDAT::Form_Unload() {
    SaveRcvDatPos();
    g.RcvViewerOpen = 0;
}

void RCVDAT::SaveRcvDatPos() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QRect screen = winframe::screenPx();
    auto put = [](const core::IniKey& key, int t) { core::PutIniText(kPos, key, QString::number(t)); };
    put("RCVPOSTop", twips::fromPx(pos().y() - screen.top()));
    put("RCVPOSLeft", twips::fromPx(pos().x() - screen.left()));
    put("RCVPOSWidth", twips::fromPx(width() + winframe::framePx(this).width()));
}

void RCVDAT::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    const QWidget* canvas = centralWidget();
    const int inner = canvas->height();
    Text1->setGeometry(0, 0, std::max(0, width() - twips::toPx(kBoxNarrower)),
                       inner <= 0 ? 0 : std::max(0, inner - twips::toPx(kBoxShorter)));
}

void RCVDAT::closeEvent(QCloseEvent* e) {
    // The operator's close keeps the text; a close from code only unloads.
    if (e->spontaneous() && !RDEND_Click()) {
        e->ignore();
        return;
    }
    e->accept();
    if (forms::isLoaded<RCVDAT>()) forms::unload<RCVDAT>();
}

void RCVDAT::appendText(const QString& text, const QString& unreadable) {
    // Once the operator has changed the text it stays changed.
    const QString before = ui::typedText(*Text1->document());
    const bool unchanged = before == programText_;
    const bool typedKept = before == keptText_;
    QTextCursor end(Text1->document());
    end.movePosition(QTextCursor::End);
    ui::insertShown(end, text);
    const QString after = ui::typedText(*Text1->document());
    if (unchanged) programText_ = after;
    if (typedKept) keptText_ = after;
    if (!unreadable.isEmpty())
        unreadable_ += (unreadable_.isEmpty() ? QString() : QStringLiteral(" ")) + unreadable;
}

void RCVDAT::appendLine(const QString& line) {
    appendText(line + QLatin1Char('\n'));
}

void RCVDAT::RCVMEMO_Click() {
    bool write = true;
    if (!textMayGo(QStringLiteral("受信ﾃﾞｰﾀとして保存"), false, &write)) return;
    const QString folder = receiveFolder();
    const QString suggested = paths::join(folder, sysclock::jstNow().toString(QStringLiteral("yyMMdd")));
    // A folder the settings cannot name is used all the same, only not remembered.
    QString chosen =
        ui::saveFileName(QStringLiteral("受信ﾃﾞｰﾀ保存"), suggested, QStringLiteral("受信ﾃﾞｰﾀ (*.TXT)"));
    if (chosen.isEmpty()) return;
    chosen = withExtension(chosen, QStringLiteral(".TXT"));
    if (!writeWhole(chosen, ui::plainText(*Text1->document()))) {
        cannotSave(chosen);
        return;
    }
    keptText_ = ui::typedText(*Text1->document());
    core::RememberFolder(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL"), folderOf(chosen));
}

bool RCVDAT::holdsTyping() const {
    return ui::typedText(*Text1->document()) != keptText_;
}

bool RCVDAT::mayDropTyping() {
    return terminal::engines::AgreesToDropTyping(
        this, Text1, windowTitle() + QStringLiteral("の変更は保存されません\r\n宜しいですか"));
}

bool RCVDAT::holdsText(const QString& what) {
    // Checked as typed: the plain text has made a no-break space a blank and a
    // line separator a line break.
    return ui::shiftJisHolds(ui::typedText(*Text1->document()), Text1, windowTitle(), what);
}

void RCVDAT::DELRCVDAT_Click() {
    const QString prompt =
        g.ViewedFilePath + QStringLiteral("\r\nこのデータを本当に消去（削除）しても宜しいですね？！");
    if (ui::msgBox(prompt, ui::YesNo | ui::Exclamation) != ui::Yes) return;
    if (!g.ViewedFilePath.isEmpty()) QFile::remove(paths::fromStored(g.ViewedFilePath));
    Text1->clear();
    programText_.clear();
    keptText_.clear();
    unreadable_.clear();
}

bool RCVDAT::textMayGo(const QString& what, bool closing, bool* write) {
    const QString typed = ui::typedText(*Text1->document());
    *write = true;
    if (!unreadable_.isEmpty() && typed.contains(QChar::ReplacementCharacter))
        return mayDropUnreadable(typed, what, closing, write);
    return holdsText(what);
}

bool RCVDAT::mayDropUnreadable(const QString& typed, const QString& what, bool closing, bool* write) {
    // What the operator typed is checked alone: U+FFFD stands for the file's bytes.
    QString typedLost = cp932::uncarried(typed);
    typedLost.remove(QChar::ReplacementCharacter);
    if (!ui::heldOrSaid(typedLost, Text1, windowTitle(), what)) return false;
    *write = typed != programText_;
    // Unchanged, the memo keeps its bytes by not being written; a copy saved
    // elsewhere cannot keep them.
    if (!*write && closing) return true;
    *write = true;
    const QString prompt = QStringLiteral("読み込んだファイルの次のバイトは文字ではないため、") + what +
                           QStringLiteral("すると「?」になります:\r\n") + unreadable_ +
                           (closing ? QStringLiteral("\r\n変更した内容を保存して閉じますか？")
                                    : QStringLiteral("\r\nこのまま保存しますか？"));
    if (ui::msgBox(prompt, ui::YesNo | ui::Exclamation | ui::DefaultButton2) == ui::Yes) return true;
    activateWindow();
    Text1->setFocus();
    return false;
}

bool RCVDAT::RDEND_Click() {
    bool write = true;
    // The viewer stays open on a text the memo pad would not give back as typed.
    if (!textMayGo(kMemoFile + QStringLiteral(" に保存"), true, &write)) return false;
    if (!write) {
        // Unchanged, the file keeps the bytes the program did not write.
        forms::unload<RCVDAT>();
        return true;
    }
    const QString memo = paths::join(receiveFolder(), kMemoFile);
    if (!writeWhole(memo, ui::plainText(*Text1->document()))) {
        ui::msgBox(QStringLiteral("メモ帳を保存できませんでした。\r\n") + memo, ui::OkOnly | ui::Exclamation);
        return false;
    }
    forms::unload<RCVDAT>();
    return true;
}
