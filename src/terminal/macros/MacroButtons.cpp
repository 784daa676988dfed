#include "terminal/macros/MacroButtons.h"

#include "core/Globals.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFilter.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroCwIdCombo.h"
#include "terminal/macros/MacroSend.h"
#include "terminal/macros/MacroStore.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QApplication>
#include <QMouseEvent>

namespace terminal::macros {
namespace {

constexpr int kTipLength = 120;
const QString kMoveSourcePrompt = QStringLiteral("マクロ釦移動作業中、移動元の釦をクリックして下さい");
int moveSource = -1;

QPushButton* button(int i) {
    return forms::PSK31MAIN().Command8[static_cast<std::size_t>(i)];
}

void emptySlot(int i) {
    showOnButton(i, {QString(), colour::kButtonFace, QString()});
}

// Presses on the macro buttons.
// The macro buttons' presses, left and right, before the button acts on them.
class ButtonPressFilter : public forms::WindowFilter {
  public:
    explicit ButtonPressFilter(PSK31MAIN& w) : WindowFilter(&w) {
        for (QPushButton* b : w.Command8)
            watch(b);
    }

  protected:
    bool filter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) return buttonPress(watched, static_cast<QMouseEvent*>(e));
        return false;
    }

  private:
    static bool buttonPress(QObject* watched, const QMouseEvent* m) {
        if (!forms::isLoaded<PSK31MAIN>()) return false;
        const auto& buttons = forms::PSK31MAIN().Command8;
        for (int i = 0; i < kCount; ++i) {
            if (watched != buttons[static_cast<std::size_t>(i)]) continue;
            if (!buttons[static_cast<std::size_t>(i)]->isEnabled()) return false;
            Command8_MouseDown(i, m->button());
            return true;
        }
        return false;
    }
};

void setMoveButtons(bool moving) {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.Command1->setEnabled(!moving);
    w.Command3->setEnabled(!moving && core::g.OpMode >= core::ModeBpsk &&
                           core::g.OpMode <= core::ModeQpskLsb);
    w.Command5->setEnabled(!moving);
    w.Command6->setEnabled(!moving);
}

} // namespace

void showOnButton(int i, const Macro& m) {
    QPushButton* b = button(i);
    b->setText(m.name);
    colour::setBackColor(b, m.colour);
    b->setToolTip(m.text.left(kTipLength));
}

void showColourOnButton(int i, std::uint32_t ref) {
    colour::setBackColor(button(i), ref);
}

void showAllOnButtons() {
    const MACRO_FORM& f = forms::MACRO_FORM();
    for (int i = 0; i < kCount; ++i)
        showOnButton(i, macroInStore(f, i));
}

void focusCallSignBox() {
    forms::PSK31MAIN().Text5->setFocus();
}

void showMainWindow() {
    forms::PSK31MAIN().show();
}

int macroForShortcut(int key) {
    for (int i = 0; i < kCount; ++i)
        if (core::g.MacroShortcutKeys[static_cast<std::size_t>(i)] == key) return i;
    return -1;
}

void Command8_MouseDown(int i, Qt::MouseButton b) {
    if (b == Qt::RightButton) {
        MACRO_FORM& f = forms::MACRO_FORM();
        f.showMacro(i);
        f.show();
        f.raise();
        return;
    }
    if (b != Qt::LeftButton) return;
    if (g.MacroMoveMode != 1) {
        SendMacro(i);
        return;
    }
    PSK31MAIN& w = forms::PSK31MAIN();
    if (moveSource < 0) {
        moveSource = i;
        w.Text3->setText(QStringLiteral("移動先の釦をクリックして下さい。"));
        return;
    }
    const int source = moveSource;
    moveSource = -1;
    MoveMacroButton(source, i);
}

void MoveMacroButton(int s, int t) {
    PSK31MAIN& w = forms::PSK31MAIN();
    if (s == t) {
        w.Text3->setText(kMoveSourcePrompt);
        return;
    }
    MACRO_FORM& f = forms::MACRO_FORM();
    if (!f.macroText(t).trimmed().isEmpty() &&
        ui::msgBox(QStringLiteral("ここは空き地ではありません\r\nOK を押すと上書きされます、ご注意を！"),
                   ui::OkCancel | ui::Critical, QStringLiteral("マクロ釦の移動")) != ui::Ok) {
        w.Text3->setText(kMoveSourcePrompt);
        return;
    }
    const Macro moved = macroInStore(f, s);
    putInStore(f, t, moved);
    showOnButton(t, moved);
    putInStore(f, s, {QString(), colour::kButtonFace, QString()});
    emptySlot(s);
    // The moved macro keeps the shortcut it has now, saved or not.
    core::g.MacroShortcutKeys[static_cast<std::size_t>(t)] =
        core::g.MacroShortcutKeys[static_cast<std::size_t>(s)];
    core::g.MacroShortcutKeys[static_cast<std::size_t>(s)] = 0;
    w.Text3->setText(kMoveSourcePrompt);
    w.Text1->setFocus();
}

void MACROMOV_Click() {
    PSK31MAIN& w = forms::PSK31MAIN();
    moveSource = -1;
    if (g.MacroMoveMode != 1) {
        ui::msgBox(QStringLiteral("移動作業を終了させる時は再度 Menu「ﾏｸﾛ釦の移動」をｸﾘｯｸして下さい"),
                   ui::OkOnly);
        setMoveButtons(true);
        w.MACROMOV->setChecked(true);
        g.MacroMoveMode = 1;
        w.Text3->setText(kMoveSourcePrompt);
        w.Text3->show();
        return;
    }
    setMoveButtons(false);
    w.MACROMOV->setChecked(false);
    g.MacroMoveMode = 0;
    w.Text3->hide();
    w.Text3->setText(QStringLiteral("タイマ送信モード中です、中断は　ESCキーで。"));
    SaveMacroFile();
}

void Roundqso_Click() {
    const auto answer = ui::inputBox(QStringLiteral("ラウンドＱＳＯ参加局を記入下さい\r\n"
                                                    "そのままマクロ変数ＣＰの内容になります\r\n"
                                                    "例　'CP' de 'MYCALL'"),
                                     QStringLiteral("Round QSO 参加局"), g.RoundQsoCalls);
    g.RoundQsoCalls = answer.value_or(QString());
}

void connectMacroButtons(PSK31MAIN& w) {
    new ButtonPressFilter(w);
    connectCwIdCombo(w);
    w.MACROMOV->setCheckable(true);
    QObject::connect(w.MACROMOV, &QAction::triggered, &w, [] { MACROMOV_Click(); });
    QObject::connect(w.MAC_LOAD, &QAction::triggered, &w, [] { MAC_LOAD_Click(); });
    QObject::connect(w.Roundqso, &QAction::triggered, &w, [] { Roundqso_Click(); });
}

} // namespace terminal::macros
