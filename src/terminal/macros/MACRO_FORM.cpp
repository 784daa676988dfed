#include "terminal/macros/MACRO_FORM.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/forms/windows/WindowFrame.h"
#include "terminal/engines/LeaveQuestions.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/macros/MacroFile.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QMenuBar>
#include <QTextDocument>
#include <QVBoxLayout>

using terminal::macros::g;

namespace {
constexpr std::uint32_t kClearedColour = 0xC0C0C0;
const QString kNothingStored = QStringLiteral("何も保存されません\r\n宜しいですか");
} // namespace

MACRO_FORM::MACRO_FORM()
    : SSTab1(new QTabWidget), Label6(new QLabel(QStringLiteral("1頁目"))), Label3(new QLabel),
      Frame1(new QGroupBox(QStringLiteral("CW ID List"))), Command1(new QPushButton(QStringLiteral("OK"))),
      Command2(new QPushButton(QStringLiteral("Can"))) {
    setWindowTitle(QStringLiteral("MACRO文　作成"));
    auto* menu = new QMenuBar(this);
    MACSAVE = menu->addAction(QStringLiteral("設定完了"));
    SETCAN = menu->addAction(QStringLiteral("設定中止"));
    CWIDSET = menu->addAction(QStringLiteral("ＣＷＩＤ参照・設定"));
    MACCLR = menu->addAction(QStringLiteral("新規マクロ作成"));
    MCHLP = menu->addAction(QStringLiteral("Ｈｅｌｐ"));
    buildMacroTabs();
    buildCwIdFrame();
    Label3->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(Label6);
    layout->addWidget(SSTab1);
    layout->addWidget(new QLabel(QStringLiteral(
        "  ﾏｸﾛ変数>>>   'MYCALL'    'HISCALL'   'HISNAME'   'HISQTH'   'HISRST'   'TXON'   'TXOFF'")));
    layout->addWidget(
        new QLabel(QStringLiteral("'CP'  'CWID'  'CWIDn'(n=1～5)  'TIME'  'GREET'  'NOW'  'NUMB'  "
                                  "'LOGTIME'  'RIGCALL'  'RPTx'(x=秒 最大65)  'VARITYPE'\n'TXBPSK'  "
                                  "'TXQPSKU'  'TXQPSKL'  'RXBPSK'  'RXQPSKU'  'RXQPSKL'")));
    layout->addWidget(new QLabel(QStringLiteral("= -> BT   + -> AR   * -> SK")));
    layout->addWidget(Label3);
    layout->addWidget(Frame1);
    connectHandlers();
    resize(760, 540);
}

void MACRO_FORM::buildMacroTabs() {
    for (int i = 0; i < terminal::macros::kCount; ++i) {
        auto* page = new QWidget;
        auto* box = new QVBoxLayout(page);
        Text2[i] = new QLineEdit;
        Text1[i] = new QPlainTextEdit;
        Text1[i]->installEventFilter(this);
        Text1[i]->viewport()->installEventFilter(this);
        Text2[i]->installEventFilter(this);
        box->addWidget(Text2[i]);
        box->addWidget(Text1[i]);
        SSTab1->addTab(page, terminal::macros::caption(i, {}));
        setNameColour(i, colour::kWindowBackground);
    }
}

void MACRO_FORM::buildCwIdFrame() {
    auto* grid = new QGridLayout(Frame1);
    for (int n = 0; n < 5; ++n) {
        Text3[n] = new QLineEdit;
        grid->addWidget(new QLabel(QStringLiteral("CWID%1").arg(n + 1)), n, 0);
        grid->addWidget(Text3[n], n, 1);
    }
    grid->addWidget(Command1, 5, 0);
    grid->addWidget(Command2, 5, 1);
    Frame1->hide();
}

void MACRO_FORM::connectHandlers() {
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });
    for (int i = 0; i < terminal::macros::kCount; ++i)
        connect(Text2[i], &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
    connect(MACSAVE, &QAction::triggered, this, [this] { MACSAVE_Click(); });
    connect(SETCAN, &QAction::triggered, this, [this] { SETCAN_Click(); });
    connect(MACCLR, &QAction::triggered, this, [this] { MACCLR_Click(); });
    connect(MCHLP, &QAction::triggered, this, [] { terminal::mainwindow::OpenHelpContext(3); });
    connect(CWIDSET, &QAction::triggered, this, [this] { CWIDSET_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void MACRO_FORM::Form_Load() {
    if (core::g.MacrosFromFile == 1) return;
    core::g.ShortcutRegistering = 0;
    terminal::macros::fillStoreAtLoad(*this);
}

QString MACRO_FORM::macroText(int i) const {
    return terminal::macros::toCrLf(ui::plainText(*Text1[static_cast<std::size_t>(i)]->document()));
}

QString MACRO_FORM::macroTextAsTyped(int i) const {
    return ui::typedText(*Text1[static_cast<std::size_t>(i)]->document());
}

void MACRO_FORM::setMacroText(int i, const QString& crLfText) {
    ui::setShownText(Text1[static_cast<std::size_t>(i)], terminal::macros::fromCrLf(crLfText));
}

std::uint32_t MACRO_FORM::nameColour(int i) const {
    return colour::backColor(Text2[static_cast<std::size_t>(i)]);
}

void MACRO_FORM::setNameColour(int i, std::uint32_t ref) {
    colour::setBackColor(Text2[static_cast<std::size_t>(i)], ref);
}

void MACRO_FORM::showMacro(int i) {
    SSTab1->setCurrentIndex(i);
}

void MACRO_FORM::SSTab1_Click() {
    Label6->setText(QStringLiteral("%1頁目").arg(SSTab1->currentIndex() / terminal::macros::kPerPage + 1));
}

void MACRO_FORM::Text2_Change(int i) {
    SSTab1->setTabText(i, terminal::macros::caption(i, Text2[static_cast<std::size_t>(i)]->text()));
}

void MACRO_FORM::Text2_DblClick(int i) {
    const std::uint32_t now = nameColour(i);
    const auto chosen = ui::chooseColour(colour::fromRef(now));
    const std::uint32_t ref = chosen ? colour::toRef(*chosen) : now;
    setNameColour(i, ref);
    terminal::macros::showColourOnButton(i, ref);
    core::PutIniText(QStringLiteral("MACROCOLOR"), core::IniKey::built(QStringLiteral("BTN%1").arg(i)),
                     QString::number(ref));
}

void MACRO_FORM::MACSAVE_Click() {
    if (core::g.ShortcutRegistering == 1) {
        ui::msgBox(QStringLiteral("ｼｮｰﾄｶｯﾄ設定中ですが、設定は中止されます"), ui::OkOnly);
        endRegistration();
    }
    // A save that did not happen keeps the editor open with every edit.
    if (terminal::macros::SaveMacroFile()) forms::unload<MACRO_FORM>();
}

void MACRO_FORM::SETCAN_Click() {
    forms::unload<MACRO_FORM>();
    terminal::macros::focusCallSignBox();
    terminal::macros::showMainWindow();
}

void MACRO_FORM::Form_Unload() {
    core::g.ShortcutRegistering = 0;
}

void MACRO_FORM::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (ui::msgBox(kNothingStored, ui::YesNo | ui::Question) == ui::Yes) SETCAN_Click();
}

void MACRO_FORM::showEvent(QShowEvent* e) {
    // Shown from hidden it holds what was stored; the window system's show
    // after a minimise finds the typing still there.
    if (!e->spontaneous()) keepAsStored();
    QWidget::showEvent(e);
}

QStringList MACRO_FORM::boxTexts() const {
    QStringList texts;
    for (int i = 0; i < terminal::macros::kCount; ++i)
        texts << macroName(i) << macroTextAsTyped(i);
    return texts;
}

void MACRO_FORM::keepAsStored() {
    stored_ = boxTexts();
}

bool MACRO_FORM::holdsMacroTyping() const {
    return isVisible() && boxTexts() != stored_;
}

bool MACRO_FORM::holdsCwIdTyping() const {
    if (!isVisible() || Frame1->isHidden()) return false;
    for (int n = 0; n < 5; ++n)
        if (Text3[n]->text() != core::g.CwIdList[static_cast<std::size_t>(n + 1)]) return true;
    return false;
}

bool MACRO_FORM::holdsTyping() const {
    return holdsMacroTyping() || holdsCwIdTyping();
}

// Only asked: the edits go with the window that takes the editor away, once
// every other question has been answered Yes too.
bool MACRO_FORM::mayDropTyping() {
    // No goes back to the box last typed in.
    QWidget* box = focusWidget() ? focusWidget() : Text1[std::size_t(SSTab1->currentIndex())];
    return terminal::engines::AgreesToDropTyping(this, box, kNothingStored);
}

// New macros: the boxes are emptied; the shortcut keys stay as they are until
// the macros are saved, so that leaving without saving loses nothing.
void MACRO_FORM::MACCLR_Click() {
    for (int i = 0; i < terminal::macros::kCount; ++i) {
        setMacroText(i, QString());
        setMacroName(i, QString());
        setNameColour(i, kClearedColour);
    }
    g.UsedShortcutKeys = terminal::macros::kReservedShortcutLetters;
}

void MACRO_FORM::CWIDSET_Click() {
    // The stored list is read only into a list the operator has not begun
    // to change: what is typed stays until OK or Can.
    if (holdsCwIdTyping()) return;
    for (int n = 0; n < 5; ++n) {
        core::g.CwIdList[static_cast<std::size_t>(n + 1)] =
            core::IniStored(QStringLiteral("PG_CWID"), QStringLiteral("CWID%1").arg(n + 1))
                .value_or(QString());
        Text3[n]->setText(core::g.CwIdList[static_cast<std::size_t>(n + 1)]);
    }
    Frame1->show();
    winframe::keepOnScreen(this);
}

void MACRO_FORM::Command1_Click() {
    // A text the settings cannot hold keeps the list open on its box; nothing is stored.
    for (int n = 0; n < 5; ++n) {
        QLineEdit* box = Text3[n];
        if (core::IniHolds(box->text(), Frame1->title() + QStringLiteral(" CWID%1").arg(n + 1))) continue;
        box->setFocus();
        return;
    }
    Frame1->hide();
    for (int n = 0; n < 5; ++n) {
        core::PutIniText(QStringLiteral("PG_CWID"), core::IniKey::built(QStringLiteral("CWID%1").arg(n + 1)),
                         Text3[n]->text());
        core::g.CwIdList[static_cast<std::size_t>(n + 1)] = Text3[n]->text();
    }
}

void MACRO_FORM::Command2_Click() {
    Frame1->hide();
}
