#include "settings/sheet/CFGSHEET.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/forms/windows/ScrolledBody.h"
#include "platform/forms/windows/WindowFrame.h"
#include "settings/sheet/SheetControls.h"
#include "terminal/mainwindow/HelpPage.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace settings {
PSK31MAIN* LoadedMain() {
    return forms::isLoaded<PSK31MAIN>() ? &forms::PSK31MAIN() : nullptr;
}

void MarkButton(QAbstractButton* b, std::uint32_t ref, const QString& tip) {
    colour::setBackColor(b, ref);
    b->setToolTip(tip);
}
} // namespace settings

namespace {

bool isLowerAscii(const QString& text) {
    return text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z');
}

} // namespace

CFGSHEET::CFGSHEET()
    : SSTab1(new QTabWidget), Frame2(new QGroupBox(QStringLiteral("Call Sign."))), Text1(new QLineEdit),
      Label32(new QLabel), menus(new QMenuBar(this)) {
    setWindowTitle(QStringLiteral("環境設定"));
    CFGEND = menus->addAction(QStringLiteral("設定完了"));
    CFGHLP = menus->addAction(QStringLiteral("Ｈｅｌｐ"));
    QTHDATA = menus->addMenu(QStringLiteral("QTH DATA"));
    const QStringList qthCaptions{QStringLiteral("その場で決める"), QStringLiteral("常にQTH欄へコピーする"),
                                  QStringLiteral("常にRem1欄へコピーする"),
                                  QStringLiteral("常にRem2欄へコピーする")};
    for (int i = 0; i < int(TOQTH.size()); ++i) {
        QAction* item = QTHDATA->addAction(qthCaptions[i]);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, i] { TOQTH_Click(i); });
        TOQTH[std::size_t(i)] = item;
    }
    connect(QTHDATA, &QMenu::aboutToShow, this, &CFGSHEET::tickQthItem);
    connect(CFGHLP, &QAction::triggered, this, &CFGSHEET::CFGHLP_Click);

    // Each page scrolls on a screen too small for the sheet.
    SSTab1->addTab(ui::scrolledBody(buildDisplayTab()), QStringLiteral("画面要素の設定"));
    SSTab1->addTab(ui::scrolledBody(buildSoundTab()), QStringLiteral("サウンド要素の設定"));
    SSTab1->addTab(ui::scrolledBody(buildLogTab()), QStringLiteral("ＬＯＧ 関係の設定"));
    SSTab1->addTab(ui::scrolledBody(buildRigTab()), QStringLiteral("リグ制御関係の設定"));
    connect(SSTab1->tabBar(), &QTabBar::tabBarClicked, this, &CFGSHEET::SSTab1_Click);

    ui::setTextLimit(Text1, 10, ui::PastLimit::Refuse);
    Text1->installEventFilter(this);
    auto* callLayout = new QFormLayout(Frame2);
    callLayout->addRow(Text1);
    Label32->setStyleSheet(QStringLiteral("color: red"));
    Label32->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(Frame2);
    layout->addWidget(Label32);
    layout->addWidget(SSTab1);
    // Its whole size (Qt would open a window at two thirds of the screen at
    // most); the place makes it smaller where the screen is.
    resize(sizeHint());

    connect(CFGEND, &QAction::triggered, this, [this] {
        if (!boxesHeld() || !listEditorsStored()) return;
        finish(true);
        forms::unload<CFGSHEET>();
    });
    for (QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::editingFinished, this, [this, box] { sayUncarried(box); });
}

// A box that holds the focus as the sheet is taken apart finishes its editing
// after the sheet's own part is gone: nothing of the sheet may answer it then.
CFGSHEET::~CFGSHEET() {
    for (QLineEdit* box : findChildren<QLineEdit*>())
        box->disconnect(this);
}

namespace settings {

std::optional<QString> AskHeld(const QString& prompt, const QString& title, const QString& preset) {
    std::optional<QString> answer = preset;
    do {
        answer = ui::inputBox(prompt, title, *answer);
    } while (answer && !core::IniHolds(*answer, title));
    return answer;
}

// The sheet's own closing, as its close box runs it. Only an owned sheet goes
// with a window; the first run's belongs to none.
bool MayCloseSheet() {
    return !forms::isLoaded<::CFGSHEET>() || !forms::CFGSHEET().parentWidget() || forms::CFGSHEET().close();
}

} // namespace settings

// The operator hears of a character the file cannot hold on leaving the box
// that holds it, and finds it still there to mend. A text the box was given
// from the file is the file's own: it goes back as it was read.
// The focus taken back makes the box it had gone to leave in turn: that one
// waits for the closing, or two such boxes would hand the focus on for ever.
void CFGSHEET::sayUncarried(QLineEdit* box) {
    if (takingFocusBack_ || !box->isModified() || core::IniHolds(box->text(), boxCaption(box))) return;
    takingFocusBack_ = true;
    box->setFocus();
    takingFocusBack_ = false;
}

// The caption the operator knows a box by, for the messages about it.
QString CFGSHEET::boxCaption(const QLineEdit* box) const {
    const QString mode = QStringLiteral("Mode表記 ");
    const QString special = QStringLiteral("Special Setting ");
    const std::pair<const QLineEdit*, QString> captions[] = {
        {Text1, Frame2->title()},
        {Text3, QStringLiteral("引用符記号")},
        {Text13, QStringLiteral("SoundCard Clock RX")},
        {Text14, QStringLiteral("SoundCard Clock TX")},
        {Text4, QStringLiteral("QSL区分")},
        {Text9, QStringLiteral("QSL除外区分")},
        {Text2, mode + QStringLiteral("PSK31")},
        {Text6, mode + QStringLiteral("RTTY")},
        {Text15, mode + QStringLiteral("SSTV")},
        {Text7, mode + Command11->text()},
        {Text8, mode + Command12->text()},
        {Text11, QStringLiteral("機種ｱﾄﾞﾚｽ")},
        {Text5, QStringLiteral("Interval Time")},
        {Text16, QStringLiteral("Transverter IF freq")},
        {Text21, special + QStringLiteral("PSK31")},
        {Text22, special + QStringLiteral("RTTY")},
        {Text23, special + QStringLiteral("CW")},
    };
    for (const auto& [b, caption] : captions)
        if (b == box) return caption;
    return windowTitle();
}

bool CFGSHEET::boxesHeld() {
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        if (!box->isModified() || core::IniUncarried(box->text()).isEmpty()) continue;
        for (int tab = 0; tab < SSTab1->count(); ++tab)
            if (SSTab1->widget(tab)->isAncestorOf(box)) SSTab1->setCurrentIndex(tab);
        core::IniHolds(box->text(), boxCaption(box));
        // Asked by a mode change or the end, the sheet may lie behind its owner.
        raise();
        activateWindow();
        box->setFocus();
        return false;
    }
    return true;
}

void CFGSHEET::openFrom(QWidget* owner, bool quietLoad) {
    if (!forms::isLoaded<CFGSHEET>()) {
        core::g.CfgSheetLoading = quietLoad ? 1 : 0;
        CFGSHEET& sheet = forms::CFGSHEET();
        sheet.setParent(owner, sheet.windowFlags() | Qt::Window);
    }
    CFGSHEET& sheet = forms::CFGSHEET();
    sheet.show();
    sheet.raise();
}

// The help page at the selected tab's section.
void CFGSHEET::CFGHLP_Click() {
    static constexpr int kContexts[] = {2, 161, 162, 163};
    const int tab = SSTab1->currentIndex();
    terminal::mainwindow::OpenHelpContext(tab >= 0 && tab < 4 ? kContexts[tab] : kContexts[0]);
}

void CFGSHEET::SSTab1_Click(int tab) {
    if (core::g.OpMode != core::ModeSstv) return;
    if (tab == 0) {
        Label32->setText(QStringLiteral("このページはPSK31/RTTYモード時についてのみ有効です"));
        Label32->show();
    } else if (tab == 1) {
        Label32->setText(QStringLiteral("このページの無効部分はPSK31モード時についてのみ有効です"));
        Label32->show();
    } else {
        Label32->hide();
    }
    // The note makes the sheet taller: it stays whole on the screen.
    winframe::keepOnScreen(this);
}

bool CFGSHEET::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Text5) {
        // Digits, Backspace and Enter; Enter confirms a new interval on an open port.
        const int k = key->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            if (rigPortChosen()) reopenRigPort();
            return true;
        }
        const bool digit = key->text().size() == 1 && key->text()[0].isDigit();
        const bool editing = k == Qt::Key_Backspace || k == Qt::Key_Left || k == Qt::Key_Right ||
                             k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Delete;
        return !(digit || editing);
    }
    if (isLowerAscii(key->text())) {
        // Lower-case letters go in as capitals.
        QKeyEvent upper(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::ShiftModifier,
                        key->text().toUpper(), key->isAutoRepeat(), ushort(key->count()));
        QCoreApplication::sendEvent(watched, &upper);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CFGSHEET::closeEvent(QCloseEvent* e) {
    if (!finished_) {
        if (!boxesHeld() || !listEditorsStored()) return e->ignore();
        finish(false);
    }
    e->accept();
    forms::unload<CFGSHEET>();
}
