#include "sstv/overlay/SSTVMACRO.h"

#include "core/lists/ListBoxes.h"
#include "platform/forms/dialogs/Dialogs.h"
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

core::ListBox SSTVMACRO::box() const {
    return {Text1,        QStringLiteral("MACmenu.DAT"), macFile(), core::ShownTrimmed, nullptr, QString(),
            windowTitle()};
}

void SSTVMACRO::Form_Load() {
    sstv::RestorePlace(this, kPos);
    // Without the file the window opens empty and, as a failed read, neither
    // places the caret nor goes on top.
    if (!core::OpenListBox(box())) return;
    Text1->moveCursor(QTextCursor::End);
    sstv::SetTopmost(this, true);
}

bool SSTVMACRO::WriteText() {
    // Only the lines typed are checked and written; the others keep their bytes.
    const core::ListBoxStore stored = core::StoreListBox(box());
    if (stored == core::ListBoxStore::NotWritten) ui::msgBox(notStored(), ui::OkOnly | ui::Exclamation);
    TextWritten = stored == core::ListBoxStore::Stored;
    return TextWritten;
}

QString SSTVMACRO::notStored() {
    return QStringLiteral("定型文を保存できませんでした: ") + QDir::toNativeSeparators(macFile());
}

bool SSTVMACRO::MayUnload() {
    // Which characters hold the text back is said on its box first.
    const core::ListBoxStore stored = core::StoreListBox(box());
    TextWritten = stored == core::ListBoxStore::Stored;
    if (TextWritten) return true;
    show();
    raise();
    const ui::MsgResult answer = ui::msgBox(
        (stored == core::ListBoxStore::NotWritten ? notStored() + QStringLiteral("\r\n") : QString()) +
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
