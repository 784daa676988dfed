#include "sstv/overlay/SSTVMACRO.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "sstv/overlay/SstvFonts.h"
#include "sstv/overlay/mojiinput.h"
#include "sstv/window/SstvWindowPlace.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QString kPos = QStringLiteral("SSTVMARO_POS");

QString macFile() {
    return paths::join(paths::programFolder(), QStringLiteral("MACmenu.DAT"));
}

} // namespace

SSTVMACRO::SSTVMACRO()
    : Text1(new QPlainTextEdit(this)), Frame1(new QGroupBox(QStringLiteral("マクロ変数"), this)),
      menuBar(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("マクロ文作成"));
    setWindowFlag(Qt::Tool);
    MACcls = menuBar->addAction(QStringLiteral("閉じる"));
    connect(MACcls, &QAction::triggered, this, &SSTVMACRO::CloseByOperator);
    const char* legend[] = {"%m MyCall   %c HisCall   %r HisRSV   %n HisName   %J HisName+さん",
                            "%q HisQTH   %s MyRSV     %g Greet.   %f GM/GA/GE  %B Freq",
                            "%D DateUTC  %T UTC hh:mm  %t UTC hhmm   ",
                            "%L DateJST  %U JST hh:mm  %u JST hhmm", "%N ContestNo              %v Version"};
    auto* frameLayout = new QVBoxLayout(Frame1);
    for (std::size_t i = 0; i < Legend.size(); ++i) {
        Legend[i] = new QLabel(QString::fromUtf8(legend[i]), Frame1);
        frameLayout->addWidget(Legend[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Text1, 1);
    layout->addWidget(Frame1);
    resize(420, 360);
}

void SSTVMACRO::Form_Load() {
    sstv::RestorePlace(this, kPos);
    Text1->clear();
    // Without the file the window opens empty and, as a failed read, neither
    // places the caret nor goes on top.
    const auto lines = sstv::ReadListFile(macFile(), false);
    if (!lines) return;
    QString text;
    for (const QString& line : *lines)
        text += line.trimmed() + QLatin1Char('\n');
    Text1->setPlainText(text);
    Text1->moveCursor(QTextCursor::End);
    sstv::SetTopmost(this, true);
}

bool SSTVMACRO::store() {
    // The whole text and one line end, each line ended by CR LF.
    const QStringList lines = Text1->toPlainText().split(QLatin1Char('\n'));
    TextWritten = sstv::WriteListFile(macFile(), lines);
    return TextWritten;
}

bool SSTVMACRO::holdsText() {
    // Checked as typed: the plain text has made a no-break space a blank and a
    // line separator a line break (a stock text of its own).
    return ui::shiftJisHolds(ui::typedText(*Text1->document()), Text1, windowTitle(),
                             QStringLiteral("MACmenu.DAT に保存"));
}

bool SSTVMACRO::WriteText() {
    if (!holdsText()) return false;
    if (store()) return true;
    ui::msgBox(notStored(), ui::OkOnly | ui::Exclamation);
    return false;
}

QString SSTVMACRO::notStored() {
    return QStringLiteral("定型文を保存できませんでした: ") + QDir::toNativeSeparators(macFile());
}

bool SSTVMACRO::MayUnload() {
    const bool held = cp932::uncarried(ui::typedText(*Text1->document())).isEmpty();
    if (held && store()) return true;
    show();
    raise();
    // Which characters hold the text back is said on its box first.
    if (!held) holdsText();
    const ui::MsgResult answer = ui::msgBox((held ? notStored() + QStringLiteral("\r\n") : QString()) +
                                                QStringLiteral("入力した定型文を破棄して続けますか？"),
                                            ui::YesNo | ui::Exclamation | ui::DefaultButton2);
    TextDropped = answer == ui::Yes;
    return TextDropped;
}

void SSTVMACRO::CloseByOperator() {
    // A text that could not be stored stays on the screen, so that the
    // operator can copy it or free the file and close again.
    if (WriteText()) forms::unload<SSTVMACRO>();
}

void SSTVMACRO::Form_Unload() {
    sstv::StorePlace(this, kPos);
    if (!TextWritten && !TextDropped) WriteText();
    // Only an editor already open takes the new list; none is opened for it.
    if (forms::isLoaded<mojiinput>()) {
        QListWidget* list = forms::mojiinput().List2;
        list->clear();
        list->addItems(sstv::ReadListFile(macFile(), false).value_or(QStringList()));
    }
    sstv::SetTopmost(this, false);
}

void SSTVMACRO::closeEvent(QCloseEvent* e) {
    e->ignore();
    CloseByOperator();
}

namespace sstv {

bool MayCloseMacroEditor() {
    return !forms::isLoaded<::SSTVMACRO>() || forms::SSTVMACRO().MayUnload();
}

} // namespace sstv
